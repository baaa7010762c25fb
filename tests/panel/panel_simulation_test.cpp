// The simulated signal and the root form's tick handler.

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "kv/controls/kv_analog_c_control.h"
#include "kv/controls/kv_analog_g_control.h"
#include "panel/panel_file.h"
#include "panel/panel_flash.h"
#include "panel/simulated_signal.h"
#include "panel_test_files.h"

namespace {

TEST(SimulatedSignal, LevelStaysInRangeAndMovesSmoothly) {
  const double step = 0.01;
  for (int channel = 0; channel < 6; ++channel) {
    double low = 1, high = 0, previous = SimulatedLevel(0, channel);
    for (double t = step; t < 200; t += step) {
      const double level = SimulatedLevel(t, channel);
      ASSERT_GE(level, 0.0);
      ASSERT_LE(level, 1.0);
      ASSERT_LE(std::abs(level - previous), kMaxLevelRate * step * 1.0001) << "t " << t;
      low = std::min(low, level);
      high = std::max(high, level);
      previous = level;
    }
    // It sweeps most of the range, not a corner of it.
    EXPECT_LT(low, 0.2) << channel;
    EXPECT_GT(high, 0.8) << channel;
  }
  // Neighbouring channels do not move in step.
  EXPECT_GT(std::abs(SimulatedLevel(3, 0) - SimulatedLevel(3, 1)), 0.05);
}

TEST(SimulatedSignal, ValueOnRange) {
  const double nan = std::nan("");
  const double inf = INFINITY;
  const struct {
    double level, from, to;
    bool log;
    double expected;
  } cases[] = {
      {0, -40, 160, false, -40},        {1, -40, 160, false, 160}, {0.25, -40, 160, false, 10},
      {0.5, 200, 0, false, 100},        {2, 0, 10, false, 10},     {-1, 0, 10, false, 0},
      {nan, 0, 10, false, 0},           {0.5, 1, 100, true, 10},   {0.5, -1, 100, true, 49.5},
      {0.5, -3.4e38, 3.4e38, false, 0},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(ValueOnRange(c.level, c.from, c.to, c.log), c.expected, 1e-9)
        << c.level << " " << c.from << ".." << c.to;
  EXPECT_TRUE(std::isnan(ValueOnRange(0.5, nan, 1, false)));
  EXPECT_TRUE(std::isnan(ValueOnRange(0.5, 0, inf, false)));
}

TEST(PanelSimulation, TickMovesFreeIndicatorsOnlyWithinTheirRange) {
  TPanelRead read = ReadPanelBytes(panel_test::GoodPanel(), QStringLiteral("sim.panel"));
  ASSERT_TRUE(read.panel) << read.error.toStdString();
  TKvPanelForm& panel = *read.panel;
  auto* meter = qobject_cast<TKvAnalogGControl*>(panel.FindComponent(QStringLiteral("Meter")));
  auto* linked = qobject_cast<TKvAnalogGControl*>(panel.FindComponent(QStringLiteral("Linked")));
  auto* knob = qobject_cast<TKvAnalogCControl*>(panel.FindComponent(QStringLiteral("Knob")));
  ASSERT_TRUE(meter && linked && knob);
  ASSERT_EQ(panel.SimulatedIndicators(), std::vector<TKvAnalogGControl*>{meter});
  knob->SetValue(30);
  const float linkedValue = linked->Value();
  ASSERT_FLOAT_EQ(linkedValue, 30);
  // Range -40..160, so one tick moves the meter by at most this much.
  const double maxStep = 200 * kMaxLevelRate * TKvPanelForm::kTimeStep * 2 + 1e-3;
  panel.SetSimulationSpeed(2);
  float low = 1e9, high = -1e9, previous = meter->Value();
  for (int i = 0; i < 2000; ++i) {
    panel.SimulateTick(nullptr);
    const float value = meter->Value();
    ASSERT_GE(value, -40);
    ASSERT_LE(value, 160);
    if (i > 0) {
      ASSERT_LE(std::abs(value - previous), maxStep) << i;
    }
    low = std::min(low, value);
    high = std::max(high, value);
    previous = value;
  }
  EXPECT_LT(low, 0);
  EXPECT_GT(high, 120);
  EXPECT_FLOAT_EQ(linked->Value(), linkedValue);
  // Speed 0 freezes it; the spin-button handlers step the speed within bounds.
  panel.SetSimulationSpeed(0);
  const float frozen = meter->Value();
  panel.SimulateTick(nullptr);
  EXPECT_FLOAT_EQ(meter->Value(), frozen);
  panel.SpeedUp(nullptr);
  EXPECT_DOUBLE_EQ(panel.SimulationSpeed(), TKvPanelForm::kMinSpeed);
  for (int i = 0; i < 20; ++i) panel.SpeedUp(nullptr);
  EXPECT_DOUBLE_EQ(panel.SimulationSpeed(), TKvPanelForm::kMaxSpeed);
  for (int i = 0; i < 20; ++i) panel.SlowDown(nullptr);
  EXPECT_DOUBLE_EQ(panel.SimulationSpeed(), TKvPanelForm::kMinSpeed);
}

TEST(PanelSimulation, TheTimerDrivesTheTickHandler) {
  QByteArray text = panel_test::GoodPanel();
  text.replace(
      "  object Label1",
      "  object Ticker: TKvPanelFlash\n    Interval = 5\n    OnTimer = SimulateTick\n  end\n  object Label1");
  TPanelRead read = ReadPanelBytes(text, QStringLiteral("timer.panel"));
  ASSERT_TRUE(read.panel) << read.error.toStdString();
  auto* meter = qobject_cast<TKvAnalogGControl*>(read.panel->FindComponent(QStringLiteral("Meter")));
  ASSERT_TRUE(meter);
  auto* ticker = qobject_cast<TKvPanelFlash*>(read.panel->FindComponent(QStringLiteral("Ticker")));
  ASSERT_TRUE(ticker);
  EXPECT_EQ(ticker->IntervalMs(), TKvPanelFlash::kMinInterval);
  const float start = meter->Value();
  // The ticks come from the worker thread through the event loop.
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return read.panel->SimulatedTime() >= 3 * TKvPanelForm::kTimeStep; }, 5000));
  EXPECT_NE(meter->Value(), start);
  // Freed while ticking: nothing is called on the freed panel afterwards.
  read.panel.reset();
  QTest::qWait(50);
}

}  // namespace
