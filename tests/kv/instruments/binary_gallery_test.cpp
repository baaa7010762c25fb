// The gallery sheet of the binary instruments (docs/instruments_binary.png):
// the lamp's six shapes off and on, framed and bare; one flashing lamp per
// rate sampled over the flash timer's ticks; toggle switches and a radio
// group in their states; spin boxes at rest, held and disabled. The sheet is
// written to the test output folder for a person to look at; the checks are
// the other tests'.

#include <gtest/gtest.h>

#include <QPainter>
#include <memory>
#include <vector>

#include "kv/instruments/kv_led_lamp.h"
#include "kv/instruments/kv_radio_button.h"
#include "kv/instruments/kv_spin_box.h"
#include "kv/instruments/kv_toggle_switch.h"
#include "platform/core/numbers.h"
#include "tests/kv/controls/flash_fixture.h"
#include "tests/kv/instruments/binary_test_support.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::FlashDrivenTest;
using kv::test::PaintAt;

class BinaryInstrumentsGallery : public FlashDrivenTest {};

TEST_F(BinaryInstrumentsGallery, Sheet) {
  SetDecimalSeparator(QChar('.'));
  QImage sheet(560, 388, QImage::Format_RGB32);
  sheet.fill(ToQColor(clBtnFace));
  auto caption = [&](int x, int y, const QString& text) {
    QPainter painter(&sheet);
    painter.setPen(Qt::black);
    painter.drawText(x, y, text);
  };

  caption(10, 16, QStringLiteral("TKvLedLamp: the six shapes, off and on; framed, then bare"));
  const TLEDShape shapes[] = {sRound, sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sRectangle};
  const char* names[] = {"sRound", "sArrowLeft", "sArrowRight", "sArrowUp", "sArrowDown", "sRectangle"};
  for (int s = 0; s < 6; ++s) {
    const int x = 10 + 90 * s;
    caption(x, 34, QString::fromLatin1(names[s]));
    for (int framed = 0; framed < 2; ++framed) {
      for (int on = 0; on < 2; ++on) {
        TKvLedLamp lamp(nullptr);
        lamp.SetBounds(0, 0, 34, 34);
        lamp.LED()->SetShape(shapes[s]);
        lamp.LED()->SetWidth(s == 5 ? 20 : 18);
        lamp.LED()->SetHeight(s == 5 ? 12 : 18);
        lamp.LED()->SetColorOff(RGBColor(0, 90, 0));
        lamp.SetFramed(framed == 0);
        lamp.SetChecked(on == 1);
        PaintAt(lamp, sheet, x + 38 * on, 40 + 38 * framed);
      }
    }
  }

  caption(10, 134, QStringLiteral("Flashing, one lamp per rate, sampled every 4 ticks (64 ms)"));
  const char* rates[] = {"ff8Hz", "ff4Hz", "ff2Hz", "ff1Hz", "ff05Hz"};
  std::vector<std::unique_ptr<TKvLedLamp>> lamps;
  for (int f = 0; f < 5; ++f) {
    auto lamp = std::make_unique<TKvLedLamp>(nullptr);
    lamp->SetBounds(0, 0, 14, 14);
    lamp->SetFramed(false);
    lamp->LED()->SetWidth(12);
    lamp->LED()->SetHeight(12);
    lamp->LED()->SetColorOn(clRed);
    lamp->LED()->SetColorOff(RGBColor(90, 0, 0));
    lamp->SetFrequency(TFlashFreq(f));
    lamp->SetFlashing(true);
    lamp->SetChecked(true);
    caption(10, 154 + 16 * f, QString::fromLatin1(rates[f]));
    lamps.push_back(std::move(lamp));
  }
  Ticks(2);
  for (int column = 0; column < 28; ++column) {
    for (int f = 0; f < 5; ++f) PaintAt(*lamps[size_t(f)], sheet, 70 + 16 * column, 143 + 16 * f);
    Ticks(4);
  }
  lamps.clear();

  caption(10, 240, QStringLiteral("TKvToggleSwitch: off, on, disabled"));
  for (int state = 0; state < 3; ++state) {
    TKvToggleSwitch sw(nullptr);
    sw.SetBounds(0, 0, 110, 22);
    sw.SetCaption(state == 0   ? QStringLiteral("Pump off")
                  : state == 1 ? QStringLiteral("Pump on")
                               : QStringLiteral("Disabled"));
    sw.SetChecked(state == 1);
    sw.SetEnabled(state != 2);
    PaintAt(sw, sheet, 10 + 130 * state, 248);
  }

  caption(10, 292, QStringLiteral("TKvRadioButton: one group, the second chosen; a disabled one"));
  {
    TForm owner(nullptr);
    std::vector<TKvRadioButton*> group;
    for (int i = 0; i < 4; ++i) {
      auto* rb = new TKvRadioButton(&owner);
      rb->SetBounds(0, 0, 120, 21);
      rb->SetGroupIndex(1);
      rb->SetCaption(QStringLiteral("Mode %1").arg(i + 1));
      group.push_back(rb);
    }
    group[1]->SetChecked(true);
    group[3]->SetEnabled(false);
    for (int i = 0; i < 4; ++i) PaintAt(*group[size_t(i)], sheet, 10 + 130 * i, 300);
  }

  caption(10, 344, QStringLiteral("TKvSpinBox: at rest, up held, two decimals, disabled"));
  for (int state = 0; state < 4; ++state) {
    auto* box = new TKvSpinBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10 + 130 * state, 10, 90, 24);
    if (state == 2) {
      box->SetDecimals(2);
      box->SetIncrement(0.25);
    }
    box->SetValue(state == 2 ? 12.5 : 42);
    if (state == 3) box->SetEnabled(false);
  }
  ASSERT_TRUE(ShowForm());
  TKvSpinBox* held = qobject_cast<TKvSpinBox*>(form->Components(1));
  ASSERT_NE(held, nullptr);
  held->SpinButton()->UpButton()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakePointParam(3, 3));
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* box = qobject_cast<TKvSpinBox*>(form->Components(i));
    if (!box) continue;
    const QImage shot = box->Widget()->grab().toImage();
    QPainter painter(&sheet);
    painter.drawImage(box->Left(), 352, shot);
  }
  held->SpinButton()->UpButton()->Perform(WM_LBUTTONUP, 0, MakePointParam(3, 3));
  ResetSeparators();

  const QString path = kv::test::savePng(sheet, QStringLiteral("instruments_binary"));
  EXPECT_FALSE(path.isEmpty());
}

}  // namespace
