// The spin box: steps from the spin button (single clicks and auto-repeat
// while held, with the flash timer ticked by the test), keys, typed text and
// the bounds.

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "kv/instruments/kv_spin_box.h"
#include "platform/core/numbers.h"
#include "tests/kv/controls/flash_fixture.h"

namespace {

using kv::test::FlashDrivenTest;

class SpinBox : public FlashDrivenTest {
 protected:
  void SetUp() override {
    FlashDrivenTest::SetUp();
    SetDecimalSeparator(QChar('.'));
    box = new TKvSpinBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(20, 20, 80, 24);
    box->SetOnChange([this](TObject* sender) {
      EXPECT_EQ(sender, box);
      changes.push_back(box->Value());
    });
    box->SetOnInvalidText([this](TObject*) { ++invalid; });
  }
  void TearDown() override {
    ResetSeparators();
    FlashDrivenTest::TearDown();
  }
  void Configure(double min, double max, double increment, int decimals, double value) {
    box->SetMaxValue(max);
    box->SetMinValue(min);
    box->SetIncrement(increment);
    box->SetDecimals(decimals);
    box->SetValue(value);
    changes.clear();
    invalid = 0;
  }
  QLineEdit* Line() const { return box->Edit()->LineEdit(); }
  void Type(const QString& text, Qt::Key finish = Qt::Key_Return) {
    Line()->clear();
    QTest::keyClicks(Line(), text);
    if (finish != Qt::Key_unknown) QTest::keyClick(Line(), finish);
  }
  // Presses a spin button for `ms` of the test's clock, then releases it.
  void Hold(bool up, uint32_t ms) {
    QWidget* w = box->SpinButton()->Widget();
    const QPoint at = up ? QPoint(7, 5) : QPoint(7, 18);
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    const uint32_t until = now + ms;
    while (TickDiff(until, now + kTickMs) >= 0) Tick();
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
  }

  TKvSpinBox* box = nullptr;
  std::vector<double> changes;
  int invalid = 0;
};

// A click steps once; holding repeats after the start delay (500 ms) at the
// interval (100 ms) and once more on release; steps stop at the bounds. The
// field always shows the value.
TEST_F(SpinBox, SpinButtonStepsAndRepeatsWithinTheBounds) {
  ASSERT_TRUE(ShowForm());
  const struct {
    double min, max, increment;
    int decimals;
    double start;
    bool up;
    uint32_t hold;
    int minSteps, maxSteps;  // steps expected (one either way while repeating)
    double limit;            // where the steps stop, NaN if not reached
    const char* text;        // shown afterwards, null if it depends on the steps
  } cases[] = {
      {0, 100, 1, 0, 5, true, 0, 1, 1, NAN, "6"},
      {0, 100, 1, 0, 5, false, 0, 1, 1, NAN, "4"},
      {0, 1, 0.1, 1, 0.3, true, 0, 1, 1, NAN, "0.4"},
      {-5, 5, 2.5, 1, 5, true, 0, 0, 0, 5, "5.0"},
      {-5, 5, 2.5, 2, -2.5, false, 0, 1, 1, NAN, "-5.00"},
      {0, 1000, 1, 0, 10, true, 1000, 5, 7, NAN, nullptr},
      {0, 1000, 0.25, 2, 500, false, 1000, 5, 7, NAN, nullptr},
      {0, 100, 1, 0, 98, true, 1000, 2, 2, 100, "100"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << int(&c - cases));
    Configure(c.min, c.max, c.increment, c.decimals, c.start);
    Hold(c.up, c.hold);
    const int steps = int(changes.size());
    EXPECT_GE(steps, c.minSteps);
    EXPECT_LE(steps, c.maxSteps);
    if (std::isnan(c.limit)) {
      const double expected = c.start + (c.up ? 1 : -1) * steps * c.increment;
      EXPECT_NEAR(box->Value(), expected, 1e-9);
      // Every repeat is a step of its own.
      for (size_t i = 0; i < changes.size(); ++i)
        EXPECT_NEAR(changes[i], c.start + (c.up ? 1.0 : -1.0) * double(i + 1) * c.increment, 1e-9);
    } else {
      EXPECT_EQ(box->Value(), c.limit);
    }
    if (c.text) {
      EXPECT_EQ(box->Edit()->Text(), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(box->Edit()->Text(), box->ValueText());
  }
}

// Typed text counts on Return or when the field loses the focus: numbers are
// rounded and clamped, other text keeps the value, is reported and replaced
// by the value; Escape drops the typing; Up and Down step.
TEST_F(SpinBox, TypedTextAndKeys) {
  ASSERT_TRUE(ShowForm());
  auto* other = new TEdit(form.get());
  other->SetParent(form.get());
  other->SetBounds(20, 60, 80, 24);
  enum Finish { kReturn, kLeave, kEscape, kUpKey, kDownKey };
  const struct {
    const char* typed;
    QChar separator;
    Finish finish;
    double value;  // afterwards, from 50 in -10..100 with 1 decimal
    const char* shown;
    bool rejected;
  } cases[] = {
      {"42", '.', kReturn, 42, "42.0", false},
      {" 7.25 ", '.', kReturn, 7.2, "7.2", false},
      {"7.26", '.', kReturn, 7.3, "7.3", false},
      {"1e2", '.', kReturn, 100, "100.0", false},
      {"250", '.', kReturn, 100, "100.0", false},
      {"-1e300", '.', kReturn, -10, "-10.0", false},
      {"2,5", ',', kReturn, 2.5, "2,5", false},
      {"2.5", ',', kReturn, 50, "50,0", true},
      {"abc", '.', kReturn, 50, "50.0", true},
      {"", '.', kReturn, 50, "50.0", true},
      {"nan", '.', kReturn, 50, "50.0", true},
      {"12x", '.', kLeave, 50, "50.0", true},
      {"33", '.', kLeave, 33, "33.0", false},
      {"33", '.', kEscape, 50, "50.0", false},
      // The typed number is taken before the step: two changes.
      {"60", '.', kUpKey, 61, "61.0", false},
      {"-9.5", '.', kDownKey, -10, "-10.0", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "typed '" << c.typed << "'");
    SetDecimalSeparator(c.separator);
    Configure(-10, 100, 1, 1, 50);
    box->Edit()->SetFocus();
    const QString typed = QString::fromLatin1(c.typed);
    switch (c.finish) {
      case kReturn:
        Type(typed, Qt::Key_Return);
        break;
      case kEscape:
        Type(typed, Qt::Key_Escape);
        break;
      case kUpKey:
        Type(typed, Qt::Key_Up);
        break;
      case kDownKey:
        Type(typed, Qt::Key_Down);
        break;
      case kLeave:
        Type(typed, Qt::Key_unknown);
        other->SetFocus();
        break;
    }
    EXPECT_DOUBLE_EQ(box->Value(), c.value);
    EXPECT_EQ(box->Edit()->Text(), QString::fromLatin1(c.shown));
    EXPECT_EQ(invalid, c.rejected ? 1 : 0);
    if (c.rejected) {
      EXPECT_EQ(box->RejectedText(), typed);
    }
    const size_t expectedChanges = c.value == 50 ? 0 : (c.finish == kUpKey || c.finish == kDownKey) ? 2 : 1;
    EXPECT_EQ(changes.size(), expectedChanges);
  }
}

// Setters ignore what a form could not store and keep the value in range.
TEST_F(SpinBox, SettersKeepTheValueInRange) {
  const double inf = std::numeric_limits<double>::infinity();
  Configure(0, 100, 1, 0, 40);
  box->SetValue(NAN);
  box->SetValue(inf);
  box->SetMinValue(NAN);
  box->SetMaxValue(-inf);
  box->SetIncrement(0);
  box->SetIncrement(-1);
  box->SetDecimals(16);
  box->SetDecimals(-1);
  EXPECT_EQ(
      std::make_tuple(box->Value(), box->MinValue(), box->MaxValue(), box->Increment(), box->Decimals()),
      std::make_tuple(40.0, 0.0, 100.0, 1.0, 0));
  EXPECT_TRUE(changes.empty());

  box->SetMaxValue(30);  // pulls the value down
  EXPECT_EQ(box->Value(), 30);
  box->SetMinValue(60);  // above the maximum: both move, so does the value
  EXPECT_EQ(box->MaxValue(), 60);
  EXPECT_EQ(box->Value(), 60);
  box->SetMaxValue(-5);  // below the minimum
  EXPECT_EQ(box->MinValue(), -5);
  EXPECT_EQ(box->Value(), -5);
  EXPECT_EQ(changes, (std::vector<double>{30, 60, -5}));
  EXPECT_EQ(box->Edit()->Text(), QStringLiteral("-5"));
  box->SetMaxValue(1e300);
  box->SetValue(1e300);
  box->Step(1);  // no room left: stays
  EXPECT_EQ(box->Value(), 1e300);
}

}  // namespace
