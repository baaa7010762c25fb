// The input control driven through its real widget: keys, wheel and mouse
// drags on a shown form, with a linked indicator following every step.

#include "kv/controls/kv_analog_c_control.h"

#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/controls/keys.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

namespace {

// A horizontal slider: the slide area is a 200-pixel track at x 10..209,
// each pixel five digits of the default 0..1000 range.
class TProbeSlider : public TKvAnalogCControl {
 public:
  explicit TProbeSlider(TComponent* owner) : TKvAnalogCControl(owner) {
    SlideRect = Rect(10, 10, 210, 30);
    SetOnValueChange([this](TObject*) { Log("change " + std::to_string(Digit())); });
    SetOnValueChanged([this](TObject*) { Log("changed"); });
  }
  std::string log;
  int valueChanges = 0;
  int slides = 0;
  TPoint lastSlideFrom;
  bool sliding() const { return Sliding; }
  bool changed() const { return Changed; }
  bool inSlideArea() const { return InSlideArea; }
  const QString& valueText() const { return ValueText; }
  void SetArea(TRect area, bool circle) {
    SlideRect = area;
    SlideCircle = circle;
  }
  TPoint lastMousePos() const { return LastMousePos; }
  TCursor normalCursor() const { return NormalCursor; }

 protected:
  void MouseSlide(TShiftState Shift, int X, int Y, TPoint LastPos) override {
    ++slides;
    lastSlideFrom = LastPos;
    TKvAnalogCControl::MouseSlide(Shift, X, Y, LastPos);
    SetDigit((X - 10) * 5);
  }
  void ValueChange() override {
    ++valueChanges;
    TKvAnalogCControl::ValueChange();
  }

 private:
  void Log(const std::string& entry) { log += (log.empty() ? "" : " ") + entry; }
};

class AnalogInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(300);
    form->SetClientHeight(120);
    slider = new TProbeSlider(form.get());
    slider->SetBounds(10, 10, 220, 40);
    slider->SetParent(form.get());
    slider->Loaded();
    indicator = new TKvAnalogGControl(form.get());
    indicator->SetBounds(10, 60, 100, 20);
    indicator->Loaded();
    slider->SetValueIndicator(indicator);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    slider->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(slider->Focused());
    slider->log.clear();
  }
  void TearDown() override {
    form.reset();
    app.reset();
    QApplication::processEvents();
  }
  QWidget* widget() const { return slider->Widget(); }
  void Key(Qt::Key key) { QTest::keyClick(widget(), key); }
  void Wheel(int delta) {
    QWheelEvent event(QPointF(20, 20), widget()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(widget(), &event);
  }
  // The indicator shows the input's value after every step.
  void ExpectIndicatorFollows() {
    EXPECT_EQ(indicator->Value(), slider->Value());
    EXPECT_EQ(indicator->Digit(), slider->Digit());
  }

  std::unique_ptr<TApplication> app;
  std::unique_ptr<TForm> form;
  TProbeSlider* slider = nullptr;
  TKvAnalogGControl* indicator = nullptr;
};

TEST_F(AnalogInputTest, KeysStepTheDigitAndReportTheEndOfEachPress) {
  const struct {
    Qt::Key key;
    int32_t digit;
    const char* log;
  } steps[] = {
      {Qt::Key_Up, 1, "change 1 changed"},
      {Qt::Key_Right, 2, "change 2 changed"},
      {Qt::Key_PageUp, 12, "change 12 changed"},
      {Qt::Key_Left, 11, "change 11 changed"},
      {Qt::Key_Down, 10, "change 10 changed"},
      {Qt::Key_PageDown, 0, "change 0 changed"},
      {Qt::Key_Down, 0, ""},  // already at the start: nothing to report
      {Qt::Key_End, 1000, "change 1000 changed"},
      {Qt::Key_PageUp, 1000, ""},
      {Qt::Key_Home, 0, "change 0 changed"},
      {Qt::Key_A, 0, ""},
  };
  for (const auto& step : steps) {
    const std::unique_ptr<char[]> name(QTest::toString(step.key));  // the caller frees it
    SCOPED_TRACE(name.get());
    Key(step.key);
    EXPECT_EQ(slider->Digit(), step.digit);
    EXPECT_EQ(slider->log, step.log);
    EXPECT_TRUE(slider->Focused());  // arrows did not move the focus
    ExpectIndicatorFollows();
    slider->log.clear();
  }
}

TEST_F(AnalogInputTest, PageUpNearTheEndStopsAtTheEnd) {
  slider->SetDigit(995);
  slider->log.clear();
  Key(Qt::Key_PageUp);
  EXPECT_EQ(slider->Digit(), 1000);
  EXPECT_EQ(slider->Value(), 100);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(slider->log, "change 1000 changed");
  ExpectIndicatorFollows();
}

TEST_F(AnalogInputTest, HeldKeyReportsEveryStepAndTheEndOnce) {
  for (int i = 0; i < 3; ++i)
    QTest::sendKeyEvent(QTest::KeyAction::Press, widget(), Qt::Key_Up, QString(), Qt::NoModifier, 0);
  QTest::sendKeyEvent(QTest::KeyAction::Release, widget(), Qt::Key_Up, QString(), Qt::NoModifier, 0);
  EXPECT_EQ(slider->log, "change 1 change 2 change 3 changed");
  ExpectIndicatorFollows();
}

TEST_F(AnalogInputTest, DisabledKeysStepsAndKeyboard) {
  slider->SetEnabledKeys(kAllEnabledKeys & ~TEnabledKeys(_VK_UP));
  Key(Qt::Key_Up);
  EXPECT_EQ(slider->Digit(), 0);
  Key(Qt::Key_Right);
  EXPECT_EQ(slider->Digit(), 1);
  // A negative step turns the keys round; 0 changes nothing.
  slider->SetChangeSmall(-4);
  Key(Qt::Key_Right);
  EXPECT_EQ(slider->Digit(), 1);
  Key(Qt::Key_Left);
  EXPECT_EQ(slider->Digit(), 5);
  slider->SetChangeLarge(0);
  Key(Qt::Key_PageUp);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(slider->Digit(), 5);
  slider->SetEnableKeyboard(false);
  Key(Qt::Key_End);
  EXPECT_EQ(slider->Digit(), 5);
  ExpectIndicatorFollows();
}

TEST_F(AnalogInputTest, WheelNotchesStepWithoutEndReport) {
  Wheel(120);
  Wheel(120);
  EXPECT_EQ(slider->Digit(), 2);
  ExpectIndicatorFollows();
  Wheel(-120);
  EXPECT_EQ(slider->Digit(), 1);
  Wheel(240);  // two notches in one message: not a notch
  Wheel(60);
  EXPECT_EQ(slider->Digit(), 1);
  EXPECT_EQ(slider->log, "change 1 change 2 change 1");
  ExpectIndicatorFollows();
}

TEST_F(AnalogInputTest, DraggingInsideTheSlideAreaSlidesUntilTheButtonIsReleased) {
  QTest::mouseMove(widget(), QPoint(60, 20));
  EXPECT_TRUE(slider->inSlideArea());
  EXPECT_EQ(slider->Cursor(), 5);
  QTest::mousePress(widget(), Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_TRUE(slider->sliding());
  EXPECT_EQ(slider->Digit(), 250);
  ExpectIndicatorFollows();
  // Sliding goes on outside the area while the button is held.
  const int xs[] = {100, 150, 250, 5};
  const int32_t digits[] = {450, 700, 1000, 0};
  for (int i = 0; i < 4; ++i) {
    QTest::mouseMove(widget(), QPoint(xs[i], 35));
    EXPECT_EQ(slider->Digit(), digits[i]);
    ExpectIndicatorFollows();
  }
  EXPECT_EQ(slider->lastSlideFrom, TPoint(250, 35));
  EXPECT_EQ(slider->lastMousePos(), TPoint(5, 35));
  EXPECT_EQ(slider->Cursor(), slider->normalCursor());
  EXPECT_EQ(slider->log, "change 250 change 450 change 700 change 1000 change 0");
  QTest::mouseRelease(widget(), Qt::LeftButton, {}, QPoint(5, 35));
  EXPECT_FALSE(slider->sliding());
  EXPECT_EQ(slider->log, "change 250 change 450 change 700 change 1000 change 0 changed");
  // Moving without the button slides no more.
  QTest::mouseMove(widget(), QPoint(100, 20));
  EXPECT_EQ(slider->Digit(), 0);
}

TEST_F(AnalogInputTest, PressesOutsideTheAreaOrWithOtherButtonsDoNotSlide) {
  QTest::mousePress(widget(), Qt::LeftButton, {}, QPoint(60, 35));  // below the track
  QTest::mouseMove(widget(), QPoint(100, 35));
  QTest::mouseRelease(widget(), Qt::LeftButton, {}, QPoint(100, 35));
  QTest::mouseClick(widget(), Qt::RightButton, {}, QPoint(60, 20));
  EXPECT_EQ(slider->slides, 0);
  EXPECT_EQ(slider->log, "");

  // A round area: the circle inscribed in a 40-pixel square.
  slider->SetArea(Rect(10, 0, 50, 40), true);
  QTest::mouseClick(widget(), Qt::LeftButton, {}, QPoint(13, 3));  // inside the box, outside the circle
  EXPECT_EQ(slider->slides, 0);
  QTest::mouseClick(widget(), Qt::LeftButton, {}, QPoint(30, 20));
  EXPECT_EQ(slider->slides, 1);
  EXPECT_EQ(slider->log, "change 100 changed");
}

TEST_F(AnalogInputTest, FocusChangesRunTheValueChangeForItsColours) {
  auto* other = new TKvAnalogCControl(form.get());
  other->SetBounds(240, 10, 40, 40);
  other->SetParent(form.get());
  const int before = slider->valueChanges;
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_FALSE(slider->Focused());
  EXPECT_EQ(slider->valueChanges, before + 1);
  // A click focuses the control, whichever button.
  QTest::mouseClick(widget(), Qt::RightButton, {}, QPoint(100, 35));
  QApplication::processEvents();
  EXPECT_TRUE(slider->Focused());
  EXPECT_EQ(slider->valueChanges, before + 2);
  EXPECT_EQ(slider->ColorFocus(), clLime);
  EXPECT_EQ(slider->ColorNonFocus(), clGreen);
}

TEST_F(AnalogInputTest, ValuesAreLimitedAndLieOnDigitSteps) {
  const struct {
    float value;
    int32_t digit;
    float stored;
  } cases[] = {
      {12.34f, 123, 12.3f},
      {12.31f, 123, 12.3f},  // the same digit: the value returns to its step
      {150, 1000, 100},
      {-3, 0, 0},
      {std::numeric_limits<float>::infinity(), 1000, 100},
      {-std::numeric_limits<float>::infinity(), 0, 0},
      {std::numeric_limits<float>::quiet_NaN(), 0, 0},  // ignored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    slider->SetValue(c.value);
    EXPECT_EQ(slider->Digit(), c.digit);
    EXPECT_EQ(slider->Value(), c.stored);
    ExpectIndicatorFollows();
  }
  slider->SetValue(42.5f);
  EXPECT_EQ(slider->valueText(), "42.5");
}

TEST_F(AnalogInputTest, SettingsReachTheIndicatorAndDegenerateRangesStayDefined) {
  slider->SetValue(50);
  slider->SignalSettings()->SetDigitalTo(2000);
  EXPECT_EQ(indicator->SignalSettings()->DigitalTo(), 2000);
  EXPECT_EQ(slider->Digit(), 1000);
  Key(Qt::Key_Up);
  EXPECT_EQ(slider->Value(), 50.05f);
  ExpectIndicatorFollows();

  // Equal digital ends: every value falls on the one digit, the start of the range.
  slider->SignalSettings()->SetDigitalFrom(2000);
  Key(Qt::Key_Down);
  ASSERT_NO_THROW(slider->SetValue(70));
  EXPECT_EQ(slider->Digit(), 2000);
  EXPECT_EQ(slider->Value(), 0);
  EXPECT_EQ(indicator->Value(), 0);
  // Reversed digital ends: the start wins the limiting.
  slider->SignalSettings()->SetDigitalTo(100);
  Key(Qt::Key_End);
  EXPECT_EQ(slider->Digit(), 2000);
  // Reversed value ends: the start wins as well.
  slider->SignalSettings()->SetDigitalFrom(0);
  slider->SignalSettings()->SetDigitalTo(1000);
  slider->SignalSettings()->SetValueTo(-50);
  ASSERT_NO_THROW(slider->SetValue(20));
  EXPECT_EQ(slider->Value(), 0);
  EXPECT_GE(indicator->ValuePPT(), 0);
  EXPECT_LE(indicator->ValuePPT(), 1000);
}

TEST_F(AnalogInputTest, FreeingTheIndicatorDropsTheLink) {
  delete indicator;
  indicator = nullptr;
  EXPECT_EQ(slider->ValueIndicator(), nullptr);
  Key(Qt::Key_Up);
  EXPECT_EQ(slider->Digit(), 1);
}

TEST(KvAnalogCControl, UntilLoadedTheBracketStaysOpenAndUnchangedDigitsAreProcessedAgain) {
  TKvAnalogCControl c(nullptr);
  int changes = 0;
  c.SetOnValueChange([&](TObject*) { ++changes; });
  EXPECT_EQ(c.UpdateCount(), 1);
  EXPECT_TRUE(c.TabStop());
  EXPECT_EQ(c.Font()->Name(), "MS Sans Serif");
  c.SetDigit(0);
  c.SetDigit(0);
  EXPECT_EQ(changes, 2);
  // Not connected yet: a settings change does not recompute the digit.
  c.SetValue(40);
  c.SignalSettings()->SetDigitalTo(2000);
  EXPECT_EQ(c.Digit(), 400);
  c.Loaded();
  EXPECT_EQ(c.UpdateCount(), 0);
  EXPECT_EQ(c.Digit(), 800);
  c.SetDigit(800);
  EXPECT_EQ(changes, 3);
}

}  // namespace

// Both bases write only what differs from their declared defaults and read
// it back through their setters.
TEST(AnalogStreaming, DefaultsAreLeftOutAndChangedValuesRoundTrip) {
  TKvAnalogCControl input(nullptr);
  input.SetName("Input1");
  TKvAnalogGControl indicator(nullptr);
  indicator.SetName("Indicator1");
  for (TComponent* c : {static_cast<TComponent*>(&input), static_cast<TComponent*>(&indicator)}) {
    const QString text = WriteComponentToText(c);
    for (const char* omitted : {"  Value =", "HintOptions", "EnabledKeys", "ChangeLarge", "CursorSlide",
                                "ColorFocus", "Digit", "LimitUpper", "ParentFont", "TabStop", "Sector1"})
      EXPECT_FALSE(text.contains(omitted)) << omitted << "\n" << text.toStdString();
  }
  input.SetEnabledKeys(TEnabledKeys(_VK_PRIOR) | _VK_RIGHT);
  input.SetCursorSlide(-21);
  input.SignalSettings()->SetDigitalTo(50);
  input.SetValue(20);
  indicator.SetHintOptions(THintOptions(hoAutoHint) | hoMinMaxTime);
  indicator.SetLimitUpper(70);
  indicator.SectorSettings()->SetSector2To(700);

  TKvAnalogCControl inputCopy(nullptr);
  ReadComponentFromText(WriteComponentToText(&input), &inputCopy, "INPUT1");
  EXPECT_EQ(inputCopy.EnabledKeys(), TEnabledKeys(_VK_PRIOR) | _VK_RIGHT);
  EXPECT_EQ(inputCopy.CursorSlide(), -21);
  EXPECT_EQ(inputCopy.SignalSettings()->DigitalTo(), 50);
  inputCopy.Loaded();
  EXPECT_EQ(inputCopy.Value(), 20);
  EXPECT_EQ(inputCopy.Digit(), 10);  // from the value once loaded

  TKvAnalogGControl indicatorCopy(nullptr);
  ReadComponentFromText(WriteComponentToText(&indicator), &indicatorCopy, "INDICATOR1");
  EXPECT_EQ(indicatorCopy.HintOptions(), THintOptions(hoAutoHint) | hoMinMaxTime);
  EXPECT_EQ(indicatorCopy.LimitUpper(), 70);
  EXPECT_EQ(indicatorCopy.SectorSettings()->Sector2To(), 700);
}
