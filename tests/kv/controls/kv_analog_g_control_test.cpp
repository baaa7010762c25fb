#include "kv/controls/kv_analog_g_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/date_time.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// An indicator that writes every hook and event into one log, so that tests
// see the order of all of them.
class TProbeIndicator : public TKvAnalogGControl {
 public:
  TProbeIndicator() {
    SetOnSectorChange([this](TObject* s, bool s1, bool s2, bool s3, bool enter) {
      Expect(s);
      Log("sector(" + Bits({s1, s2, s3}) + (enter ? " in)" : " out)"));
    });
    SetOnLimit([this](TObject* s, bool lower, bool upper) {
      Expect(s);
      Log("limit(" + Bits({lower, upper}) + ")");
    });
    SetOnOverflow([this](TObject* s, int32_t ppt) {
      Expect(s);
      Log("overflow(" + std::to_string(ppt) + ")");
    });
    SetOnValueChange([this](TObject* s) {
      Expect(s);
      Log("value");
    });
    SetOnMinMaxChange([this](TObject* s) {
      Expect(s);
      Log("minmax");
    });
    SetOnSettingsChange([this](TObject* s) {
      Expect(s);
      Log("settings");
    });
  }
  std::string log;

 protected:
  void OverflowChange(int32_t ppt) override { Log("overflow-hook(" + std::to_string(ppt) + ")"); }
  void LimitChange() override { Log("limit-hook"); }

 private:
  void Log(const std::string& entry) { log += (log.empty() ? "" : " ") + entry; }
  void Expect(TObject* sender) { EXPECT_EQ(sender, this); }
  static std::string Bits(std::initializer_list<bool> bits) {
    std::string s;
    for (bool b : bits) s += b ? '1' : '0';
    return s;
  }
};

struct Step {
  float value;
  const char* events;
  int32_t ppt;  // ValuePPT afterwards
};

struct Scenario {
  const char* name;
  std::function<void(TKvAnalogGControl&)> setup;
  std::vector<Step> steps;
};

TEST(KvAnalogGControl, ValueChangesReportEveryTransitionInTheFixedOrder) {
  const Scenario scenarios[] = {
      {"defaults",
       [](TKvAnalogGControl&) {},
       {
           // The first value after loading only records the extremes.
           {95, "sector(001 in) limit-hook limit(01) value", 950},
           {95, "", 950},
           // Over the range: the sector is left at the unclamped position.
           {120, "sector(001 out) overflow-hook(1200) overflow(1200) minmax value value", 1000},
           {130, "minmax value value", 1000},
           {50, "sector(010 in) limit-hook limit(00) overflow-hook(500) overflow(500) minmax value value",
            500},
           {60, "value", 600},
           {-5, "sector(010 out) limit-hook limit(10) overflow-hook(-50) overflow(-50) minmax value value",
            0},
       }},
      {"overlapping sectors",
       [](TKvAnalogGControl& c) {
         c.SectorSettings()->SetSector1To(300);
         c.SectorSettings()->SetSector2From(250);
         c.SectorSettings()->SetSector2To(600);
         c.SectorSettings()->SetSector3From(700);
         c.SetLimitLower(-100);
         c.SetLimitUpper(100);
       },
       {
           // The limits' value changes already placed 50 in sector 2.
           {28, "sector(100 in) minmax value value", 280},
           {50, "sector(100 out) value", 500},
           {26, "sector(100 in) minmax value value", 260},
       }},
  };
  for (const Scenario& sc : scenarios) {
    SCOPED_TRACE(sc.name);
    TProbeIndicator c;
    c.Loaded();
    sc.setup(c);
    c.log.clear();
    for (const Step& step : sc.steps) {
      SCOPED_TRACE(step.value);
      c.SetValue(step.value);
      EXPECT_EQ(c.log, step.events);
      EXPECT_EQ(c.ValuePPT(), step.ppt);
      c.log.clear();
    }
  }
}

TEST(KvAnalogGControl, StateAfterTheWorkedSequence) {
  TProbeIndicator c;
  c.Loaded();
  c.SetValue(95);
  EXPECT_EQ(c.Digit(), 950);
  EXPECT_TRUE(c.InSector3());
  EXPECT_EQ(c.SectorColor(), clRed);
  EXPECT_TRUE(c.UpperExceeded());
  c.SetValue(120);
  EXPECT_TRUE(c.OverRange());
  EXPECT_EQ(c.MaxPPT(), 1000);
  EXPECT_EQ(c.SectorColor(), clRed);  // outside every sector: the last colour stays
  c.SetValue(-5);
  EXPECT_TRUE(c.UnderRange());
  EXPECT_FALSE(c.OverRange());
  EXPECT_EQ(c.MinMax()->Min(), -5);
  EXPECT_EQ(c.MinMax()->Max(), 120);
  EXPECT_EQ(c.MinPPT(), 0);
  EXPECT_EQ(c.DigitText(), "-50");
  EXPECT_EQ(c.ValueText(), "-5.0");

  // Overlapping sectors: the highest-numbered one gives the colour.
  c.SectorSettings()->SetSector2From(250);
  c.SectorSettings()->SetSector1To(300);
  c.SetValue(28);
  EXPECT_TRUE(c.InSector1());
  EXPECT_TRUE(c.InSector2());
  EXPECT_EQ(c.SectorColor(), clGreen);
}

TEST(KvAnalogGControl, ConstructionAndLimits) {
  TProbeIndicator c;
  EXPECT_EQ(c.Value(), 50);
  EXPECT_EQ(c.Digit(), 500);
  EXPECT_EQ(c.ValuePPT(), 500);
  EXPECT_FALSE(c.UpperExceeded());
  EXPECT_FALSE(c.LowerExceeded());
  EXPECT_EQ(c.Font()->Name(), "Arial");
  EXPECT_FALSE(c.ParentFont());
  EXPECT_EQ(c.HintOptions(), kAllHintOptions);

  c.SetLimitLower(0);
  EXPECT_EQ(c.LimitLower(), 0.0001f);
  EXPECT_EQ(c.LowerPPT(), 0);
  c.SetLimitUpper(75);
  EXPECT_EQ(c.UpperPPT(), 750);
  c.log.clear();
  c.SetValue(75);  // equal to the limit: not exceeded
  EXPECT_EQ(c.log.find("limit"), std::string::npos) << c.log;
  c.SetValue(75.5f);
  EXPECT_NE(c.log.find("limit-hook limit(01)"), std::string::npos) << c.log;
}

TEST(KvAnalogGControl, AutomaticHint) {
  double clock = 46000.75;  // 6 December 2025, 18:00
  SetNowSource([&] { return clock; });
  TProbeIndicator c;
  c.Loaded();
  c.SetHintOptions(THintOptions(hoAutoHint) | hoValue);
  c.SetValue(42.5f);
  EXPECT_EQ(c.Hint(), "Value= 42.5 %");

  c.SetHintOptions(THintOptions(hoAutoHint) | hoValue | hoMin | hoMinMaxTime | hoName2);
  c.SetValue(40);
  const QString stamp = TimeToStr(clock);
  EXPECT_EQ(c.Hint(), "Value= 40.0 %\rMIN= 40.0 % " + stamp + "\rSignalName2");

  // Switched off: the last text stays; switched on again: rebuilt.
  c.SetHintOptions(THintOptions(hoValue));
  c.SetValue(41);
  EXPECT_EQ(c.Hint(), "Value= 40.0 %\rMIN= 40.0 % " + stamp + "\rSignalName2");
  c.SetHintOptions(THintOptions(hoAutoHint) | hoMax | hoMinMaxDate);
  EXPECT_EQ(c.Hint(), "MAX= 42.5 % " + DateToStr(clock));
  SetNowSource(nullptr);
}

TEST(KvAnalogGControl, SettingsChangesRecomputeTheDigitAndReport) {
  TProbeIndicator c;
  c.Loaded();
  c.SetValue(25);
  c.log.clear();
  c.SignalSettings()->SetDigitalTo(4000);
  EXPECT_EQ(c.Digit(), 1000);
  EXPECT_EQ(c.log, "settings");
  c.SectorSettings()->SetSector1Color(clBlue);
  EXPECT_EQ(c.log, "settings settings");
  c.log.clear();
  c.MinMax()->SetMaxColor(clRed);
  EXPECT_EQ(c.log, "minmax value");
}

TEST(KvAnalogGControl, ExtremesSetAndResetFromOutside) {
  TProbeIndicator c;
  c.Loaded();
  c.SetValue(30);
  c.log.clear();
  c.SetMax(80, 45000.5);
  EXPECT_EQ(c.MinMax()->Max(), 80);
  EXPECT_EQ(c.MinMax()->MaxDateTime(), 45000.5);
  EXPECT_EQ(c.MaxPPT(), 800);
  EXPECT_EQ(c.log, "minmax value");
  c.SetMax(80, 1);
  EXPECT_EQ(c.MinMax()->MaxDateTime(), 45000.5);
  c.log.clear();
  c.ResetMinMax();
  EXPECT_EQ(c.MinMax()->Max(), 30);
  EXPECT_EQ(c.MaxPPT(), 300);
  EXPECT_EQ(c.log, "minmax value value");
}

TEST(KvAnalogGControl, LogarithmicScale) {
  TProbeIndicator c;
  c.Loaded();
  c.SignalSettings()->SetValueFrom(1);
  c.SignalSettings()->SetValueTo(1000);
  c.SetLogScale(true);
  EXPECT_TRUE(c.SignalSettings()->LogScale);
  EXPECT_TRUE(c.SectorSettings()->LogScale);
  EXPECT_NEAR(c.DigitsPerDecade(), 333.33, 0.01);
  EXPECT_EQ(c.LogOffset(), 0);
  c.SetValue(10);
  EXPECT_EQ(c.Digit(), 333);
  c.SetDigit(667);
  EXPECT_EQ(c.Value(), float(std::pow(10.0L, 667.0L / (1000.0L / 3))));
  EXPECT_NEAR(c.Value(), 100.23, 0.01);
  c.SetValue(0);  // not above 0: ignored
  c.SetValue(-3);
  EXPECT_NEAR(c.Value(), 100.23, 0.01);
  // The range ends move to decades as they are set.
  c.SignalSettings()->SetValueTo(4000);
  EXPECT_EQ(c.SignalSettings()->ValueTo(), 10000);
  EXPECT_NEAR(c.DigitsPerDecade(), 250, 1e-9);

  c.SetLogScale(false);
  EXPECT_EQ(c.Digit(),
            RoundToInt32((static_cast<long double>(c.Value()) - 1) * c.SignalSettings()->DigitsPerValue));
}

// Ranges without decades, and numbers without a position: the control ends
// in a defined state and nothing raises.
TEST(KvAnalogGControl, DegenerateRangesAndValuesLeaveADefinedState) {
  const struct {
    const char* name;
    std::function<void(TKvAnalogGControl&)> setup;
    float value;
    int32_t ppt;  // ValuePPT afterwards
    float stored;
  } cases[] = {
      {"equal digital ends",
       [](TKvAnalogGControl& c) {
         c.SignalSettings()->SetDigitalFrom(500);
         c.SignalSettings()->SetDigitalTo(500);
       },
       75, 750, 75},
      {"reversed digital range",
       [](TKvAnalogGControl& c) {
         c.SignalSettings()->SetDigitalFrom(1000);
         c.SignalSettings()->SetDigitalTo(0);
       },
       75, 750, 75},
      {"reversed value range", [](TKvAnalogGControl& c) { c.SignalSettings()->SetValueTo(-100); }, 75, 750,
       75},
      {"NaN", [](TKvAnalogGControl&) {}, kNaN, 500, 50},
      {"infinity", [](TKvAnalogGControl&) {}, kInf, 1000, kInf},
      {"minus infinity", [](TKvAnalogGControl&) {}, -kInf, 0, -kInf},
      {"largest float", [](TKvAnalogGControl&) {}, std::numeric_limits<float>::max(), 1000,
       std::numeric_limits<float>::max()},
      {"log scale from below 0",
       [](TKvAnalogGControl& c) {
         c.SignalSettings()->SetValueFrom(-10);
         c.SignalSettings()->SetValueTo(0.001f);
         c.SetLogScale(true);
       },
       75, 1000, 75},
      {"log scale from 0",
       [](TKvAnalogGControl& c) {
         c.SignalSettings()->SetValueTo(0.001f);
         c.SetLogScale(true);
       },
       75, 1000, 75},
      {"log scale with an end at 0",
       [](TKvAnalogGControl& c) {
         c.SignalSettings()->SetValueFrom(1);
         c.SignalSettings()->SetValueTo(0);
         c.SetLogScale(true);
       },
       75, 747, 75},
      {"log scale, infinite value",
       [](TKvAnalogGControl& c) {
         c.SignalSettings()->SetValueFrom(1);
         c.SetLogScale(true);
       },
       kInf, 1000, kInf},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    TProbeIndicator c;
    c.Loaded();
    ASSERT_NO_THROW(k.setup(c));
    ASSERT_NO_THROW(c.SetValue(k.value));
    EXPECT_EQ(c.Value(), k.stored);
    EXPECT_GE(c.ValuePPT(), 0);
    EXPECT_LE(c.ValuePPT(), 1000);
    EXPECT_EQ(c.ValuePPT(), k.ppt);
    ASSERT_NO_THROW(c.SetDigit(123));
    ASSERT_NO_THROW(c.SetDigit(std::numeric_limits<int32_t>::max()));
    ASSERT_NO_THROW(c.SetDigit(std::numeric_limits<int32_t>::min()));
    EXPECT_FALSE(std::isnan(c.Value()));
  }
}

}  // namespace
