// The auto-repeat button and the spin button, driven through real widgets
// with the flash timer ticked by the test.

#include "kv/controls/kv_spin_button.h"

#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "platform/controls/edit.h"
#include "platform/graphics/colors.h"
#include "tests/kv/controls/flash_fixture.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::FlashDrivenTest;

class SpinButton : public FlashDrivenTest {
 protected:
  void SetUp() override {
    FlashDrivenTest::SetUp();
    spin = new TKvSpinButton(form.get());
    spin->SetParent(form.get());
    spin->SetBounds(20, 20, 15, 24);
    spin->SetOnUpClick([this](TObject* sender) {
      EXPECT_EQ(sender, spin);
      upClicks.push_back(now - pressedAt);
    });
    spin->SetOnDownClick([this](TObject*) { downClicks.push_back(now - pressedAt); });
  }
  QWidget* W() const { return spin->Widget(); }
  QPoint UpCentre() const { return QPoint(7, 5); }
  QPoint DownCentre() const { return QPoint(7, 18); }
  void Press(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    pressedAt = now;
    QTest::mousePress(W(), b, {}, at);
  }
  // Holds for `ms` of the replaced clock, tick by tick.
  void Hold(uint32_t ms) {
    const uint32_t until = pressedAt + ms;
    while (TickDiff(until, now + kTickMs) >= 0) Tick();
  }

  TKvSpinButton* spin = nullptr;
  uint32_t pressedAt = 0;
  std::vector<uint32_t> upClicks;    // ms after the press
  std::vector<uint32_t> downClicks;  // ms after the press
};

TEST_F(SpinButton, SizeRuleSplitsTheHeightBetweenTheButtons) {
  struct Case {
    int width, height;
    int expectWidth, upHeight, downHeight;
  };
  const Case cases[] = {
      {15, 24, 15, 12, 12}, {10, 24, 15, 12, 12}, {15, 25, 15, 12, 13}, {40, 7, 40, 3, 4}, {0, 1, 15, 0, 1},
  };
  TKvSpinButton fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 15);
  EXPECT_EQ(fresh.Height(), 24);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    spin->SetBounds(5, 6, c.width, c.height);
    EXPECT_EQ(spin->Width(), c.expectWidth);
    EXPECT_EQ(spin->Height(), c.height);
    EXPECT_EQ(spin->UpButton()->BoundsRect(), Bounds(0, 0, c.expectWidth, c.upHeight));
    EXPECT_EQ(spin->DownButton()->BoundsRect(), Bounds(0, c.upHeight, c.expectWidth, c.downHeight));
  }
  spin->SetWidth(10);
  EXPECT_EQ(spin->Width(), 15);
  // Resized from outside (by its widget), the buttons follow.
  ASSERT_TRUE(ShowForm());
  spin->Widget()->resize(30, 40);
  EXPECT_EQ(spin->Width(), 30);
  EXPECT_EQ(spin->DownButton()->BoundsRect(), Bounds(0, 20, 30, 20));
}

TEST_F(SpinButton, IntervalAndDelayGoToBothButtons) {
  EXPECT_EQ(spin->Interval(), 100);
  EXPECT_EQ(spin->StartDelay(), 500);
  spin->SetInterval(30);
  EXPECT_EQ(spin->UpButton()->Interval(), 100);
  EXPECT_EQ(spin->DownButton()->Interval(), 100);
  spin->SetInterval(50);
  EXPECT_EQ(spin->DownButton()->Interval(), 50);
  spin->SetStartDelay(0);
  EXPECT_EQ(spin->UpButton()->StartDelay(), 0u);
  EXPECT_EQ(spin->DownButton()->StartDelay(), 0u);
  EXPECT_EQ(spin->KvInfo(), LoadKavelInfo());
  EXPECT_EQ(spin->UpButton()->KvInfo(), LoadKavelInfo());
}

// Holding a button: nothing before the start delay, then one click per
// interval, one more on release over the button, nothing after the release.
TEST_F(SpinButton, HeldButtonRepeatsAfterTheDelayAtTheInterval) {
  ASSERT_TRUE(ShowForm());
  struct Case {
    uint32_t delay, interval, hold;
    bool up;
    bool releaseInside;
  };
  const Case cases[] = {
      {500, 100, 1000, true, true}, {500, 100, 400, true, true},    {200, 50, 600, false, true},
      {0, 250, 1000, true, false},  {300, 120, 1000, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "delay " << c.delay << " interval " << c.interval << " hold "
                                    << c.hold);
    upClicks.clear();
    downClicks.clear();
    spin->SetStartDelay(int(c.delay));
    spin->SetInterval(int(c.interval));
    const QPoint at = c.up ? UpCentre() : DownCentre();
    TKvTimerSpeedBtn* button = c.up ? spin->UpButton() : spin->DownButton();
    Press(at);
    EXPECT_TRUE(Listed(button));
    Hold(c.hold);
    const std::vector<uint32_t> held = c.up ? upClicks : downClicks;
    // While held: none before the delay, then about (hold - delay) / interval
    // (one either way, as the due times fall on the 16 ms ticks).
    if (c.hold < c.delay) {
      EXPECT_TRUE(held.empty());
    } else {
      const int expected = int((c.hold - c.delay) / c.interval);
      EXPECT_GE(int(held.size()), expected - 1) << "clicks while held";
      EXPECT_LE(int(held.size()), expected + 1) << "clicks while held";
    }
    for (size_t i = 0; i < held.size(); ++i) {
      if (i == 0) {
        EXPECT_GE(held[0], c.delay);
        EXPECT_LT(held[0], c.delay + c.interval + kTickMs);
      } else {
        // On the grid of the first due time, seen at the next tick.
        EXPECT_GE(held[i] - held[i - 1], c.interval - kTickMs);
        EXPECT_LE(held[i] - held[i - 1], c.interval + kTickMs);
      }
    }
    const QPoint releaseAt = c.releaseInside ? at : QPoint(60, 60);
    QTest::mouseRelease(W(), Qt::LeftButton, {}, releaseAt);
    EXPECT_FALSE(Listed(button));
    const size_t afterRelease = (c.up ? upClicks : downClicks).size();
    EXPECT_EQ(afterRelease, held.size() + (c.releaseInside ? 1 : 0));
    Ticks(100);
    EXPECT_EQ((c.up ? upClicks : downClicks).size(), afterRelease);
    EXPECT_TRUE((c.up ? downClicks : upClicks).empty());
  }
}

TEST_F(SpinButton, RightButtonRepeatsButDoesNotClickOnRelease) {
  ASSERT_TRUE(ShowForm());
  Press(UpCentre(), Qt::RightButton);
  Hold(1000);
  const size_t held = upClicks.size();
  EXPECT_GE(held, 5u);
  QTest::mouseRelease(W(), Qt::RightButton, {}, UpCentre());
  EXPECT_EQ(upClicks.size(), held);
  EXPECT_FALSE(Listed(spin->UpButton()));
}

TEST_F(SpinButton, TimerDisabledClicksOnlyOnRelease) {
  ASSERT_TRUE(ShowForm());
  spin->UpButton()->SetTimerEnabled(false);
  Press(UpCentre());
  EXPECT_FALSE(Listed(spin->UpButton()));
  Hold(1000);
  EXPECT_TRUE(upClicks.empty());
  QTest::mouseRelease(W(), Qt::LeftButton, {}, UpCentre());
  EXPECT_EQ(upClicks.size(), 1u);
}

TEST_F(SpinButton, RepeatStartSurvivesTheTickCounterWrap) {
  ASSERT_TRUE(ShowForm());
  now = 0xFFFFFFFFu - 200;  // the delay ends past the wrap
  Press(UpCentre());
  Tick();
  Hold(400);
  EXPECT_TRUE(upClicks.empty());
  Hold(700);
  EXPECT_GE(upClicks.size(), 1u);
  QTest::mouseRelease(W(), Qt::LeftButton, {}, UpCentre());
}

TEST_F(SpinButton, FreedWhileHeldIsNeverAddressed) {
  ASSERT_TRUE(ShowForm());
  Press(UpCentre());
  Hold(700);
  ASSERT_FALSE(upClicks.empty());
  delete spin;
  spin = nullptr;
  EXPECT_TRUE(dynFlashList->empty());
  Ticks(100);
  QTest::mouseRelease(form->Widget(), Qt::LeftButton, {}, QPoint(27, 25));
}

TEST_F(SpinButton, ArrowKeysClickTheButtonsAndKeepTheFocus) {
  auto* other = new TEdit(form.get());
  other->SetParent(form.get());
  other->SetBounds(60, 20, 80, 22);
  other->SetTabStop(true);
  spin->SetTabStop(true);
  ASSERT_TRUE(ShowForm());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  spin->SetFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return spin->Focused(); }));
  std::vector<uint16_t> seen;
  spin->SetOnKeyDown([&](TObject*, uint16_t& key, TShiftState) { seen.push_back(key); });
  EXPECT_EQ(spin->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
  QTest::keyClick(W(), Qt::Key_Up);
  QTest::keyClick(W(), Qt::Key_Up);
  QTest::keyClick(W(), Qt::Key_Down);
  QTest::keyClick(W(), Qt::Key_Left);
  EXPECT_EQ(upClicks.size(), 2u);
  EXPECT_EQ(downClicks.size(), 1u);
  // The form did not take the arrows to move the focus.
  EXPECT_TRUE(spin->Focused());
  // The spin button handles its keys itself: no OnKeyDown.
  EXPECT_TRUE(seen.empty());
}

TEST_F(SpinButton, PressingHandsTheFocusOn) {
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(60, 20, 80, 22);
  edit->SetTabStop(true);
  ASSERT_TRUE(ShowForm());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  struct Case {
    bool focusControl;
    bool spinTabStop;
    Qt::MouseButton button;
    const char* expectFocused;  // "edit", "spin" or "none"
  };
  const Case cases[] = {
      {true, false, Qt::LeftButton, "edit"},
      {false, true, Qt::LeftButton, "spin"},
      {false, false, Qt::LeftButton, "none"},
      {true, true, Qt::RightButton, "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expectFocused);
    form->SetActiveControl(nullptr);
    form->Widget()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !edit->Focused() && !spin->Focused(); }));
    spin->SetFocusControl(c.focusControl ? edit : nullptr);
    spin->SetTabStop(c.spinTabStop);
    QTest::mouseClick(W(), c.button, {}, DownCentre());
    QApplication::processEvents();
    EXPECT_EQ(edit->Focused(), std::string(c.expectFocused) == "edit");
    EXPECT_EQ(spin->Focused(), std::string(c.expectFocused) == "spin");
  }
  // A freed focus control is forgotten.
  spin->SetFocusControl(edit);
  delete edit;
  EXPECT_EQ(spin->FocusControl(), nullptr);
  QTest::mouseClick(W(), Qt::LeftButton, {}, DownCentre());
}

// The built-in glyphs: two 9 x 6 images, a solid black arrow and a grey
// outline, on olive.
TEST_F(SpinButton, BuiltInGlyphsAndTheirReplacement) {
  struct Expect {
    TBitmap* glyph;
    int numGlyphs;
    int tipRow, baseRow;
  };
  const Expect expects[] = {{spin->UpGlyph(), spin->UpNumGlyphs(), 0, 3},
                            {spin->DownGlyph(), spin->DownNumGlyphs(), 3, 0}};
  const TColor olive = RGBColor(128, 128, 0), grey = RGBColor(128, 128, 128);
  for (const Expect& e : expects) {
    ASSERT_EQ(e.glyph->Width(), 18);
    ASSERT_EQ(e.glyph->Height(), 6);
    EXPECT_EQ(e.numGlyphs, 2);
    EXPECT_EQ(e.glyph->TransparentColor(), olive);
    for (int x = 0; x < 9; ++x) {
      const bool inBase = x >= 1 && x <= 7;
      EXPECT_EQ(e.glyph->Pixel(x, e.tipRow), x == 4 ? clBlack : olive) << x;
      EXPECT_EQ(e.glyph->Pixel(x, e.baseRow), inBase ? clBlack : olive) << x;
      EXPECT_EQ(e.glyph->Pixel(9 + x, e.baseRow), inBase ? grey : olive) << x;
      EXPECT_EQ(e.glyph->Pixel(x, 4), olive);
      EXPECT_EQ(e.glyph->Pixel(9 + x, 5), olive);
    }
    // The disabled image is an outline: the middle of row 3 (from the tip) is empty.
    const int third = e.tipRow == 0 ? 2 : 1;
    EXPECT_EQ(e.glyph->Pixel(9 + 2, third), grey);
    EXPECT_EQ(e.glyph->Pixel(9 + 4, third), olive);
    EXPECT_EQ(e.glyph->Pixel(4, third), clBlack);
  }
  TBitmap own;
  own.SetSize(8, 4);
  own.Canvas()->Brush()->SetColor(clRed);
  own.Canvas()->FillRect(Rect(0, 0, 8, 4));
  spin->SetUpGlyph(&own);
  EXPECT_EQ(spin->UpGlyph()->Width(), 8);
  EXPECT_EQ(spin->UpGlyph()->Pixel(3, 3), clRed);
  EXPECT_EQ(spin->UpNumGlyphs(), 2);  // unchanged
  spin->SetUpNumGlyphs(1);
  TBitmap empty;
  spin->SetUpGlyph(&empty);
  EXPECT_EQ(spin->UpGlyph()->Width(), 18);
  EXPECT_EQ(spin->UpNumGlyphs(), 2);
}

// What a disabled spin button shows: the grey outline arrows, and no repeat.
TEST_F(SpinButton, DisabledShowsTheDisabledArrowsAndIgnoresTheMouse) {
  ASSERT_TRUE(ShowForm());
  auto grab = [&] { return W()->grab().toImage().convertToFormat(QImage::Format_RGB32); };
  auto count = [](const QImage& image, TColor color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += FromQRgb(image.pixel(x, y)) == color;
    return n;
  };
  const QImage enabled = grab();
  const TColor grey = RGBColor(128, 128, 128);
  spin->SetEnabled(false);
  EXPECT_FALSE(spin->UpButton()->Enabled());
  EXPECT_FALSE(spin->DownButton()->Enabled());
  const QImage disabled = grab();
  kv::test::savePng(disabled, QStringLiteral("spin_disabled"));
  // The frames are the same; the arrows went from two solid ones of
  // 1 + 3 + 5 + 7 black pixels to two outlines of 1 + 2 + 2 + 7 grey ones.
  EXPECT_EQ(count(enabled, clBlack) - count(disabled, clBlack), 2 * 16);
  EXPECT_EQ(count(disabled, grey) - count(enabled, grey), 2 * 12);
  Press(UpCentre());
  Hold(1000);
  QTest::mouseRelease(W(), Qt::LeftButton, {}, UpCentre());
  EXPECT_TRUE(upClicks.empty());
  spin->SetEnabled(true);
  EXPECT_TRUE(spin->UpButton()->Enabled());
}

}  // namespace
