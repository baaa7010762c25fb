#include "kv/settings/signal_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "kv/settings/min_max.h"
#include "kv/settings/sector_settings.h"
#include "platform/core/component.h"
#include "platform/core/date_time.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// --- Derived factors ----------------------------------------------------------------

struct FactorCase {
  const char* name;
  std::function<void(TSignalSettings&)> apply;
  float valueRange;
  int32_t digitalRange;
  float valuePerDigit;
  float digitsPerValue;
  float pptFactor;
};

TEST(SignalSettings, DerivedFactorsFollowTheRangesAndSkipDivisionsByNonPositiveRanges) {
  const FactorCase cases[] = {
      {"fresh", [](TSignalSettings&) {}, 100, 1000, 0.1f, 10, 10},
      {"symmetric range",
       [](TSignalSettings& s) {
         s.SetValueFrom(-50);
         s.SetValueTo(50);
       },
       100, 1000, 0.1f, 10, 10},
      {"both ends negative",
       [](TSignalSettings& s) {
         s.SetValueFrom(-200);
         s.SetValueTo(-150);
       },
       50, 1000, 0.05f, 20, 20},
      // ValueTo 200, ValueFrom 100, then ValueTo 0: From >= 0 >= To keeps 100.
      {"reversed pair keeps the previous range",
       [](TSignalSettings& s) {
         s.SetValueTo(200);
         s.SetValueFrom(100);
         s.SetValueTo(0);
       },
       100, 1000, 0.1f, 10, 10},
      // A negative range is stored but no factor divides by it: the factors
      // of the step before (-10..100) stay.
      {"reversed negative range",
       [](TSignalSettings& s) {
         s.SetValueFrom(-10);
         s.SetValueTo(-60);
       },
       -50, 1000, -0.05f, float(1000.0L / 110), float(1000.0L / 110)},
      {"equal digital ends",
       [](TSignalSettings& s) {
         s.SetDigitalFrom(500);
         s.SetDigitalTo(500);
       },
       100, 0, 0.2f, 0, 10},  // 0.2 from the step before (500..1000)
      {"reversed digital range",
       [](TSignalSettings& s) {
         s.SetDigitalFrom(-100);
         s.SetDigitalTo(-300);
       },
       100, -200, float(100.0L / 1100), -2, 10},
      {"negative digital start",
       [](TSignalSettings& s) {
         s.SetDigitalFrom(-1000);
         s.SetDigitalTo(1000);
       },
       100, 2000, 0.05f, 20, 10},
      // 2^32 - 1 digits do not fit: the digital range stays as it was.
      {"digital span beyond 32 bits",
       [](TSignalSettings& s) {
         s.SetDigitalFrom(std::numeric_limits<int32_t>::min());
         s.SetDigitalTo(std::numeric_limits<int32_t>::max());
       },
       100, 1000, 0.1f, 10, 10},
      {"single-precision range",
       [](TSignalSettings& s) {
         s.SetValueFrom(0.1f);
         s.SetValueTo(0.4f);
       },
       float(0.4f - static_cast<long double>(0.1f)), 1000,
       float(float(0.4f - static_cast<long double>(0.1f)) / 1000.0L),
       float(1000.0L / float(0.4f - static_cast<long double>(0.1f))),
       float(1000.0L / float(0.4f - static_cast<long double>(0.1f)))},
  };
  for (const FactorCase& c : cases) {
    SCOPED_TRACE(c.name);
    TSignalSettings s;
    c.apply(s);
    EXPECT_EQ(s.ValueRange, c.valueRange);
    EXPECT_EQ(s.DigitalRange, c.digitalRange);
    EXPECT_EQ(s.ValuePerDigit, c.valuePerDigit);
    EXPECT_EQ(s.DigitsPerValue, c.digitsPerValue);
    EXPECT_EQ(s.PPTFactor, c.pptFactor);
  }
}

TEST(SignalSettings, FactorsAreUpToDateWhenTheListenerHears) {
  TSignalSettings s;
  std::vector<float> seen;
  s.SetOnChange([&](TObject* sender) {
    EXPECT_EQ(sender, &s);
    seen.push_back(s.PPTFactor);
  });
  s.SetValueTo(200);
  s.SetValueFormat("0.00;-0.000");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], 5);
  EXPECT_EQ(s.EffectiveFormat, "-0.000");
}

// --- Range ends -------------------------------------------------------------------------

struct EndCase {
  const char* name;
  bool log;
  float from, to;  // set up before listening
  bool setFrom;    // which setter the case calls
  float v;
  float wantFrom, wantTo;
  int reports;
};

TEST(SignalSettings, RangeEndSettersFollowTheirRules) {
  const EndCase cases[] = {
      {"0 as start is stored as 1e-6", false, 10, 100, true, 0, 0.000001f, 100, 1},
      {"0 on a fresh start is unchanged", false, 0, 100, true, 0, 0, 100, 0},
      {"start equal to the end is ignored", false, 0, 100, true, 100, 0, 100, 0},
      {"end equal to the start is ignored", false, 0, 100, false, 0, 0, 100, 0},
      {"0 as end is kept", false, 10, 100, false, 0, 10, 0, 1},
      {"plain start", false, 0, 100, true, 12.5f, 12.5f, 100, 1},
      {"NaN start is ignored", false, 0, 100, true, kNaN, 0, 100, 0},
      {"infinite end is ignored", false, 0, 100, false, kInf, 0, 100, 0},
      // Logarithmic: the stored value goes round once more as its decade.
      {"log start to its decade", true, 1, 1000, true, 3.2f, 10, 1000, 2},
      {"log end to its decade", true, 1, 1000, false, 400, 1, 1000, 2},
      {"log end 300 rounds down", true, 1, 1000, false, 300, 1, 100, 2},
      {"log start already a decade", true, 1, 1000, true, 100, 100, 1000, 1},
      {"log 0 start is 1e-6, its own decade", true, 1, 1000, true, 0, 0.000001f, 1000, 1},
      // The decade equals the other end: the unrounded value stays.
      {"log decade equal to the end", true, 1, 1000, true, 800, 800, 1000, 1},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    TSignalSettings s;
    s.SetValueTo(c.to);
    s.SetValueFrom(c.from);
    s.LogScale = c.log;
    int reports = 0;
    s.SetOnChange([&](TObject*) { ++reports; });
    if (c.setFrom)
      s.SetValueFrom(c.v);
    else
      s.SetValueTo(c.v);
    EXPECT_EQ(s.ValueFrom(), c.wantFrom);
    EXPECT_EQ(s.ValueTo(), c.wantTo);
    EXPECT_EQ(reports, c.reports);
  }
}

TEST(SignalSettings, PositionsAndValues) {
  TSignalSettings s;
  EXPECT_EQ(s.GetPPT(50), 500);
  EXPECT_EQ(s.GetPPT(150), 1500);
  EXPECT_EQ(s.GetPPT(-7.5f), -75);
  EXPECT_EQ(s.GetValue(250), 25);
  EXPECT_EQ(s.GetPPT(kInf), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(s.GetPPT(-kInf), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(s.GetPPT(kNaN), 0);
  s.SetValueFrom(-50);
  s.SetValueTo(50);
  EXPECT_EQ(s.GetPPT(0), 500);
  EXPECT_EQ(s.GetValue(0), -50);
}

TEST(SignalSettings, EffectiveFormatOfSections) {
  const struct {
    const char* format;
    const char* effective;
  } cases[] = {
      {"0.0;-0.00", "-0.00"},
      {"0.000;0", "0.000"},
      {"0.0;0.0", "0.0"},
      {"##0.0", "##0.0"},
      {"0;a;b", "a;b"},
      {";", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TSignalSettings::KvGetValueFormat(c.format), c.effective) << c.format;
}

TEST(SignalSettings, CopyGoesThroughTheDestinationsSettersInOrder) {
  TSignalSettings source;
  source.SetValueTo(200);
  source.SetValueFrom(100);
  source.SetDigitalTo(4000);
  source.SetName2("Pressure");
  source.SetValueUnit("bar");
  TSignalSettings dest;
  int reports = 0;
  dest.SetOnChange([&](TObject*) { ++reports; });
  dest.Assign(&source);
  // ValueFrom 100 arrives while the destination's end is still 100 and is
  // refused; ValueTo 200 is taken afterwards.
  EXPECT_EQ(dest.ValueFrom(), 0);
  EXPECT_EQ(dest.ValueTo(), 200);
  EXPECT_EQ(dest.DigitalTo(), 4000);
  EXPECT_EQ(dest.Name2(), "Pressure");
  EXPECT_EQ(dest.ValueUnit(), "bar");
  EXPECT_EQ(reports, 4);  // DigitalTo, ValueTo, ValueUnit, Name2; no final report
  EXPECT_EQ(dest.DigitsPerValue, 20);

  TSectorSettings sectors;
  try {
    source.AssignTo(&sectors);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TSignalSettings to a TSectorSettings"));
  }
}

// --- Channels -------------------------------------------------------------------------------

TEST(ChSettings, ValueAndDigitConvertAndReportOnlyThroughOnValueChange) {
  TChSettings ch;
  int changes = 0, values = 0;
  ch.SetOnChange([&](TObject*) { ++changes; });
  ch.SetOnValueChange([&](TObject* sender) {
    EXPECT_EQ(sender, &ch);
    ++values;
  });
  ch.SetDigit(250);
  EXPECT_EQ(ch.Value(), 25);
  EXPECT_EQ(ch.AbsDigit(), 250);
  EXPECT_EQ(values, 1);
  ch.SetDigit(250);
  ch.SetValue(42.5f);
  EXPECT_EQ(ch.Digit(), 425);
  ch.SetDigit(333);
  EXPECT_EQ(ch.Value(), 33.3f);
  ch.SetValue(kNaN);
  EXPECT_EQ(ch.Digit(), 333);
  ch.SetValue(kInf);  // saturates instead of wrapping
  EXPECT_EQ(ch.Digit(), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(values, 4);
  EXPECT_EQ(changes, 0);

  ch.SetDigitalFrom(100);
  ch.SetDigitalTo(1100);
  ch.SetDigit(600);
  EXPECT_EQ(ch.AbsDigit(), 500);
  EXPECT_EQ(ch.AbsDigitToValue(500), 50);
  ch.SetColor(clRed);
  ch.SetPenWidth(3);
  ch.SetVisible(false);
  ch.SetVisible(false);
  EXPECT_EQ(changes, 5);
}

// --- Sectors and extremes ------------------------------------------------------------------------

TEST(SectorSettings, CheckSectorColorTakesTheLowestSectorContainingThePosition) {
  const struct {
    int32_t position;
    bool found;
    TColor color;
  } defaults[] = {{0, true, clYellow}, {333, true, clYellow}, {334, true, clGreen},  {666, true, clGreen},
                  {667, true, clRed},  {1000, true, clRed},   {1001, false, clBlue}, {-1, false, clBlue}};
  TSectorSettings s;
  for (const auto& c : defaults) {
    TColor color = clBlue;
    EXPECT_EQ(s.CheckSectorColor(c.position, color), c.found) << c.position;
    EXPECT_EQ(color, c.color) << c.position;
  }
  s.SetSector2From(250);
  TColor color = clBlue;
  EXPECT_TRUE(s.CheckSectorColor(280, color));
  EXPECT_EQ(color, clYellow);
}

TEST(SectorSettings, CopyLeavesOffsetsAndScaleModeAlone) {
  TSectorSettings source, dest;
  source.SetSector3Color(clAqua);
  source.SetSector1To(100);
  source.SetOffset(7);
  source.LogScale = true;
  int reports = 0;
  dest.SetOnChange([&](TObject*) { ++reports; });
  dest.Assign(&source);
  EXPECT_EQ(dest.Sector3Color(), clAqua);
  EXPECT_EQ(dest.Sector1To(), 100);
  EXPECT_EQ(dest.Offset(), 0);
  EXPECT_FALSE(dest.LogScale);
  EXPECT_EQ(reports, 2);
}

TEST(MinMax, ExtremesAreStampedWithoutReportingTheOtherPropertiesReport) {
  double clock = 45000.25;
  SetNowSource([&] { return clock; });
  TMinMax m;
  EXPECT_EQ(m.Min(), 9999999);
  EXPECT_EQ(m.Max(), -9999999);
  EXPECT_EQ(m.MinDateTime(), 45000.25);
  int reports = 0;
  m.SetOnChange([&](TObject*) { ++reports; });
  clock = 45001.5;
  m.SetMax(3);
  EXPECT_EQ(m.MaxDateTime(), 45001.5);
  EXPECT_EQ(m.MinDateTime(), 45000.25);
  clock = 45002;
  m.SetMin(3);
  m.SetMin(3);  // no comparison: stamped again
  EXPECT_EQ(m.MinDateTime(), 45002);
  EXPECT_EQ(reports, 0);
  m.SetMinColor(clRed);
  m.SetUseSectorCol(false);
  m.SetMaxVisible(true);
  EXPECT_EQ(reports, 2);
  SetNowSource(nullptr);
}

// --- Form descriptions -------------------------------------------------------------------------------

class TSignalHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TChSettings* Signal READ Signal)
  Q_PROPERTY(TSectorSettings* Sectors READ Sectors)
  Q_PROPERTY(TMinMax* Extremes READ Extremes)
 public:
  Q_INVOKABLE explicit TSignalHolder(TComponent* owner = nullptr) : TComponent(owner) {}
  TChSettings* Signal() const { return signal_.get(); }
  TSectorSettings* Sectors() const { return sectors_.get(); }
  TMinMax* Extremes() const { return extremes_.get(); }

 private:
  std::unique_ptr<TChSettings> signal_ = std::make_unique<TChSettings>();
  std::unique_ptr<TSectorSettings> sectors_ = std::make_unique<TSectorSettings>();
  std::unique_ptr<TMinMax> extremes_ = std::make_unique<TMinMax>();
};

TEST(SignalStreaming, DeclaredDefaultsAreLeftOutAndChangedValuesRoundTrip) {
  TSignalHolder holder;
  holder.SetName("Holder1");
  const QString fresh = WriteComponentToText(&holder);
  for (const char* omitted :
       {"DigitalFrom", "DigitalTo", "Sector1", "Sector2", "Sector3", "MaxColor", "UseSectorCol", "Visible",
        "PenWidth", "Extremes.Min", "Extremes.Max ", "DateTime"})
    EXPECT_FALSE(fresh.contains(omitted)) << omitted << "\n" << fresh.toStdString();
  for (const char* written : {"Signal.Name1 = 'SignalName1'", "Signal.ValueTo = 100",
                              "Signal.ValueUnit = '%'", "Sectors.Offset = 0"})
    EXPECT_TRUE(fresh.contains(written)) << written << "\n" << fresh.toStdString();

  holder.Signal()->SetDigitalFrom(-20);
  holder.Signal()->SetValueTo(2.5f);
  holder.Signal()->SetName1("Flow");
  holder.Signal()->SetPenWidth(2);
  holder.Sectors()->SetSector2Color(clBlue);
  holder.Sectors()->SetSector3To(990);
  holder.Extremes()->SetMinVisible(false);
  const QString text = WriteComponentToText(&holder);
  TSignalHolder copy;
  ReadComponentFromText(text, &copy, "HOLDER");
  EXPECT_EQ(copy.Signal()->DigitalFrom(), -20);
  EXPECT_EQ(copy.Signal()->ValueTo(), 2.5f);
  EXPECT_EQ(copy.Signal()->DigitalRange, 1020);
  EXPECT_EQ(copy.Signal()->Name1(), "Flow");
  EXPECT_EQ(copy.Signal()->PenWidth(), 2);
  EXPECT_EQ(copy.Sectors()->Sector2Color(), clBlue);
  EXPECT_EQ(copy.Sectors()->Sector3To(), 990);
  EXPECT_FALSE(copy.Extremes()->MinVisible());
}

}  // namespace

#include "signal_settings_test.moc"
