// The knob driven through its real widget (keys, wheel, a drag) moving a
// linked meter, and what assistive technology reads from the instruments:
// values and ranges of analog controls, the state of two-state controls,
// windowless controls as children of their parent's interface, and the
// events the instruments announce.

#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "kv/controls/kv_bin_control.h"
#include "kv/instruments/analog_instruments.h"
#include "kv/instruments/instrument_accessible.h"
#include "kv/instruments/kv_knob.h"
#include "kv/instruments/kv_round_meter.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"

namespace {

class KnobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(360);
    form->SetClientHeight(200);
    knob = new TKvKnob(form.get());
    knob->SetParent(form.get());
    knob->SetBounds(10, 10, 120, 120);
    knob->SignalSettings()->SetValueTo(50);
    knob->SignalSettings()->SetDigitalTo(500);
    knob->Loaded();
    meter = new TKvRoundMeter(form.get());
    meter->SetBounds(150, 10, 180, 180);
    meter->Loaded();
    knob->SetValueIndicator(meter);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    knob->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(knob->Focused());
  }
  void TearDown() override {
    form.reset();
    app.reset();
    QApplication::processEvents();
  }
  void Wheel(int delta) {
    QWheelEvent event(QPointF(20, 20), knob->Widget()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(knob->Widget(), &event);
  }

  std::unique_ptr<TApplication> app;
  std::unique_ptr<TForm> form;
  TKvKnob* knob = nullptr;
  TKvRoundMeter* meter = nullptr;
};

TEST_F(KnobTest, KeysAndWheelMoveTheLinkedMeter) {
  // The meter took the knob's signal: 0..50 over 500 digits, 0.1 a digit.
  struct Step {
    const char* name;
    Qt::Key key;  // Qt::Key_unknown: a wheel notch instead
    int wheel;
    float expected;
  };
  const Step steps[] = {
      {"up", Qt::Key_Up, 0, 0.1f},
      {"page up", Qt::Key_PageUp, 0, 1.1f},
      {"wheel up", Qt::Key_unknown, 120, 1.2f},
      {"wheel down", Qt::Key_unknown, -120, 1.1f},
      {"left", Qt::Key_Left, 0, 1.0f},
      {"end", Qt::Key_End, 0, 50},
      {"page down", Qt::Key_PageDown, 0, 49},
      {"home", Qt::Key_Home, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    const int64_t paints = meter->PaintCount();
    if (s.key != Qt::Key_unknown)
      QTest::keyClick(knob->Widget(), s.key);
    else
      Wheel(s.wheel);
    EXPECT_NEAR(knob->Value(), s.expected, 1e-4);
    EXPECT_EQ(meter->Value(), knob->Value());
    // The meter repaints for the new value.
    QApplication::processEvents();
    EXPECT_GT(meter->PaintCount(), paints);
  }
}

TEST_F(KnobTest, DraggingAroundTheKnobSetsTheValueAtTheMouseAngle) {
  QApplication::processEvents();
  const TPoint c = knob->KnobCentre();
  ASSERT_GT(knob->KnobRadius(), 10);
  const int d = knob->KnobRadius() / 2;
  QTest::mousePress(knob->Widget(), Qt::LeftButton, {}, QPoint(c.X, c.Y - d));  // 12 o'clock: the middle
  EXPECT_NEAR(knob->Value(), 25, 0.1);
  QTest::mouseMove(knob->Widget(), QPoint(c.X + d, c.Y));  // 3 o'clock: 225 of 270 degrees
  EXPECT_NEAR(knob->Value(), 50 * 225.0 / 270, 0.2);
  QTest::mouseRelease(knob->Widget(), Qt::LeftButton, {}, QPoint(c.X + d, c.Y));
  EXPECT_EQ(meter->Value(), knob->Value());
}

// --- Accessibility ----------------------------------------------------------------------

TEST_F(KnobTest, AnalogControlsReadBackValueAndRange) {
  knob->SignalSettings()->SetValueFrom(-10);
  knob->SignalSettings()->SetName1("Injection");
  knob->SetValue(12.5f);
  for (QObject* object : {static_cast<QObject*>(meter), static_cast<QObject*>(knob->Widget())}) {
    SCOPED_TRACE(object->metaObject()->className());
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    ASSERT_NE(iface, nullptr);
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_NEAR(knob->Value(), 12.5f, 0.12f);  // on a digit step
    EXPECT_FLOAT_EQ(value->currentValue().toFloat(), knob->Value());
    EXPECT_FLOAT_EQ(value->minimumValue().toFloat(), -10);
    EXPECT_FLOAT_EQ(value->maximumValue().toFloat(), 50);
    EXPECT_EQ(iface->text(QAccessible::Name), "Injection");
  }
  // The knob takes a value from outside; the meter, an indicator, does not.
  QAccessible::queryAccessibleInterface(knob->Widget())->valueInterface()->setCurrentValue(30.0);
  EXPECT_NEAR(knob->Value(), 30, 0.12f);
  EXPECT_FLOAT_EQ(meter->Value(), knob->Value());
  QAccessible::queryAccessibleInterface(meter)->valueInterface()->setCurrentValue(5.0);
  EXPECT_FLOAT_EQ(meter->Value(), knob->Value());
}

TEST_F(KnobTest, WindowlessControlsAreChildrenOfTheirParentsInterface) {
  auto* lamp = new TKvBinGControl(form.get());
  lamp->SetName("Lamp1");
  lamp->SetBounds(10, 150, 20, 20);
  lamp->SetCaption("Pump");
  lamp->SetHint("Feed pump running");
  QAccessibleInterface* parent = QAccessible::queryAccessibleInterface(form->Widget());
  ASSERT_NE(parent, nullptr);
  std::vector<QObject*> children;
  for (int i = 0; i < parent->childCount(); ++i) {
    QAccessibleInterface* child = parent->child(i);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(parent->indexOfChild(child), i);
    children.push_back(child->object());
  }
  for (QObject* expected :
       {static_cast<QObject*>(meter), static_cast<QObject*>(lamp), static_cast<QObject*>(knob->Widget())})
    EXPECT_NE(std::find(children.begin(), children.end(), expected), children.end());

  QAccessibleInterface* m = QAccessible::queryAccessibleInterface(meter);
  EXPECT_EQ(m->parent()->object(), form->Widget());
  EXPECT_EQ(m->rect(), QRect(form->Widget()->mapToGlobal(QPoint(150, 10)), QSize(180, 180)));
  EXPECT_EQ(parent->childAt(m->rect().center().x(), m->rect().center().y())->object(), meter);

  QAccessibleInterface* l = QAccessible::queryAccessibleInterface(lamp);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->text(QAccessible::Name), "Pump");
  EXPECT_EQ(l->text(QAccessible::Description), "Feed pump running");
  EXPECT_TRUE(l->state().checkable);
  EXPECT_FALSE(l->state().checked);
  lamp->SetChecked(true);
  EXPECT_TRUE(l->state().checked);
  lamp->SetMode(mRadioButton);
  EXPECT_EQ(l->role(), QAccessible::RadioButton);
}

// Events announced while the log observes them.
struct TEventLog {
  static inline std::vector<std::pair<QObject*, QVariant>> values;
  static inline std::vector<QObject*> states;
  static void Handler(QAccessibleEvent* event) {
    if (event->type() == QAccessible::ValueChanged)
      values.emplace_back(event->object(), static_cast<QAccessibleValueChangeEvent*>(event)->value());
    if (event->type() == QAccessible::StateChanged) states.push_back(event->object());
  }
};

TEST_F(KnobTest, ValueAndStateChangesAreAnnounced) {
  const TKvAccessibleObserver previous = KvSetAccessibleObserver(&TEventLog::Handler);
  TEventLog::values.clear();
  TEventLog::states.clear();
  auto* lamp = new TKvBinGControl(form.get());
  QTest::keyClick(knob->Widget(), Qt::Key_PageUp);
  KvAccessibleStateChanged(lamp);
  KvSetAccessibleObserver(previous);
  // The knob announces its value, and the meter it drives its own.
  std::vector<QObject*> senders;
  for (const auto& [object, value] : TEventLog::values) {
    senders.push_back(object);
    EXPECT_FLOAT_EQ(value.toFloat(), 1.0f);
  }
  EXPECT_NE(std::find(senders.begin(), senders.end(), knob->Widget()), senders.end());
  EXPECT_NE(std::find(senders.begin(), senders.end(), meter), senders.end());
  EXPECT_EQ(TEventLog::states, std::vector<QObject*>{lamp});
}

}  // namespace
