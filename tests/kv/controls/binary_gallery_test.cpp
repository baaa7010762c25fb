// The gallery sheet of the two-state controls and the spin button. The base
// class paints nothing, so a small descendant here paints each mode through
// the library's painters: a bevelled push button with a lamp, a slide switch,
// a round indicator lamp and a radio button. The sheet shows each mode off and
// on, the flash phases of the five rates over 256 ticks of the shared flash
// timer, and spin buttons in their states.

#include <gtest/gtest.h>

#include <QPainter>
#include <memory>
#include <vector>

#include "kv/controls/kv_bin_control.h"
#include "kv/controls/kv_spin_button.h"
#include "kv/proc/painters.h"
#include "platform/graphics/colors.h"
#include "tests/kv/controls/flash_fixture.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::FlashDrivenTest;

class GalleryLamp : public TKvBinGControl {
 public:
  using TKvBinGControl::TKvBinGControl;
  // Lit while on, except in the off phase of flashing.
  bool Lit() const { return Checked() && (!Flashing() || phase_); }
  void Flash(bool state) override {
    phase_ = state;
    Invalidate();
  }
  void StatusChanged() override { Invalidate(); }
  void PaintOn(QPainter& painter, int x, int y) {
    painter.save();
    painter.translate(x, y);
    PaintTo(painter);
    painter.restore();
  }

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    const TColor lit = Lit() ? clLime : clGreen;
    c->Pen()->SetColor(clBlack);
    switch (Mode()) {
      case mButton: {
        TRect r(0, 0, w, h);
        KvBtnBevel(c, r, !Checked(), true, clBtnFace);
        const int d = Checked() ? 1 : 0;
        KvDrawLED(c, TRect(r.Left + 6 + d, r.Top + 6 + d, r.Right - 6 + d, r.Bottom - 6 + d), sRectangle,
                  clBlack, lit);
        break;
      }
      case mSwitch: {
        TRect track(0, h / 4, w, h - h / 4);
        KvBtnBevel(c, track, false, true, Checked() ? clGreen : clGray);
        KvThumb(c, TPoint(Checked() ? w - h / 3 - 2 : h / 3 + 2, h / 2), h / 3, 0, false, clBtnFace);
        break;
      }
      case mIndicator:
        KvDrawLED(c, TRect(2, 2, w - 2, h - 2), sRound, clBlack, Lit() ? clRed : RGBColor(96, 0, 0));
        break;
      case mRadioButton: {
        TRect r(2, 2, w - 2, h - 2);
        KvEllipse3D(c, r, clWhite, false);
        if (Checked()) KvCircleAtPoint(c, TPoint(w / 2, h / 2), w / 5, clBlack, clBlack);
        break;
      }
    }
  }

 private:
  bool phase_ = false;
};

class BinaryGallery : public FlashDrivenTest {};

TEST_F(BinaryGallery, Sheet) {
  QImage sheet(600, 420, QImage::Format_RGB32);
  sheet.fill(ToQColor(clBtnFace));
  QPainter painter(&sheet);
  painter.setPen(Qt::black);
  auto caption = [&](int x, int y, const QString& text) { painter.drawText(x, y, text); };

  // Each mode off and on.
  caption(10, 18, QStringLiteral("Modes, off and on"));
  const struct {
    TMode mode;
    const char* name;
  } modes[] = {
      {mButton, "mButton"}, {mSwitch, "mSwitch"}, {mIndicator, "mIndicator"}, {mRadioButton, "mRadioButton"}};
  int x = 10;
  for (const auto& m : modes) {
    caption(x, 40, QString::fromLatin1(m.name));
    for (bool on : {false, true}) {
      GalleryLamp lamp(nullptr);
      lamp.SetBounds(0, 0, m.mode == mSwitch ? 48 : 32, 32);
      lamp.SetStatusBit(0);
      lamp.SeTMode(m.mode);
      lamp.SetStatusInt(on ? 1 : 0);
      EXPECT_EQ(lamp.Checked(), on);
      lamp.PaintOn(painter, x + (on ? 56 : 0), 48);
    }
    x += 145;
  }

  // Flash phases: one flashing lamp per rate, drawn every 16 ticks.
  caption(10, 112, QStringLiteral("Flashing: each rate sampled every 4 ticks (64 ms), ticks 2 to 126"));
  const char* rates[] = {"ff8Hz", "ff4Hz", "ff2Hz", "ff1Hz", "ff05Hz"};
  std::vector<std::unique_ptr<GalleryLamp>> lamps;
  for (int f = 0; f < 5; ++f) {
    auto lamp = std::make_unique<GalleryLamp>(nullptr);
    lamp->SetBounds(0, 0, 14, 14);
    lamp->SetFrequency(TFlashFreq(f));
    lamp->SetFlashing(true);
    lamp->SetChecked(true);
    lamps.push_back(std::move(lamp));
    caption(10, 138 + 26 * f, QString::fromLatin1(rates[f]));
  }
  // Samples in the middle of the 8 Hz phases (4 ticks each): ticks 2, 6, 10, ...
  ASSERT_EQ(FlashTick, 0u);
  Ticks(2);
  for (int column = 0; column < 32; ++column) {
    const uint32_t tick = FlashTick;
    for (int f = 0; f < 5; ++f) {
      lamps[size_t(f)]->PaintOn(painter, 70 + 16 * column, 125 + 26 * f);
      // The phase shown is bit 2 + rate of the tick counter.
      EXPECT_EQ(lamps[size_t(f)]->Lit(), ((tick >> (2 + f)) & 1) != 0) << "rate " << f << " tick " << tick;
    }
    Ticks(4);
  }
  lamps.clear();
  EXPECT_TRUE(dynFlashList->empty());

  // Spin buttons: normal, up held, down held, disabled, a larger one.
  caption(10, 282, QStringLiteral("TKvSpinButton: normal, up held, down held, disabled, 30 x 48"));
  x = 10;
  for (int state = 0; state < 5; ++state) {
    TKvSpinButton spin(form.get());
    spin.SetParent(form.get());
    if (state == 4) spin.SetBounds(0, 0, 30, 48);
    TKvTimerSpeedBtn* held = state == 1 ? spin.UpButton() : state == 2 ? spin.DownButton() : nullptr;
    if (held) held->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakePointParam(3, 3));
    if (state == 3) spin.SetEnabled(false);
    const QImage shot = spin.Widget()->grab().toImage();
    painter.drawImage(x, 296, shot.scaled(shot.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    if (held) held->Perform(WM_LBUTTONUP, 0, MakePointParam(3, 3));
    x += 90;
  }
  painter.end();
  kv::test::savePng(sheet, QStringLiteral("binary_gallery"));
}

}  // namespace
