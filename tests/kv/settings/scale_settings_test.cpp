#include "kv/settings/scale_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

// Fixture: a settings object whose listener records every sender.
class ScaleSettingsTest : public ::testing::Test {
 protected:
  ScaleSettingsTest() {
    settings_.SetOnChange([this](TObject* sender) { senders_.push_back(sender); });
  }
  TScaleSettings settings_;
  std::vector<TObject*> senders_;
};

TEST_F(ScaleSettingsTest, StartsWithItsDefaultsAndWorkingFields) {
  const TScaleSettings s;
  EXPECT_EQ(s.Color(), clBlack);
  EXPECT_EQ(s.PointerColor(), clLime);
  EXPECT_TRUE(s.DrawLine());
  EXPECT_EQ(s.Font()->Name(), QStringLiteral("Arial"));
  EXPECT_EQ(s.Font()->Size(), 14);
  EXPECT_FALSE(s.PosLeftTop());
  EXPECT_EQ(s.Steps(), 5);
  EXPECT_EQ(s.SubSteps(), 2);
  EXPECT_EQ(s.ValueFormat(), QStringLiteral("##0"));
  EXPECT_EQ(s.ValueFormatLog(), QStringLiteral("0e-0"));
  EXPECT_FALSE(s.LogScale);
  EXPECT_EQ(s.StepLength, 14);
  EXPECT_EQ(s.SubStepLength, 7);
  EXPECT_EQ(s.StepWidth, 2);
  EXPECT_EQ(s.SubStepWidth, 1);
  EXPECT_EQ(s.TextSpace, 4);
  EXPECT_TRUE(s.ScaleText.isEmpty());
  EXPECT_EQ(s.LogSteps + s.LogFrom + s.LogTo + s.TextWidth + s.TextHeight + s.NeedWidth + s.NeedHeight +
                s.EdgeSpace + s.PosFrom + s.PosTo,
            0);
  for (const TPoint& p : {s.Center, s.ArcTopLeft, s.ArcBottomRight, s.ArcStart, s.ArcEnd})
    EXPECT_EQ(p, TPoint());
}

// One write and what it must do: how many reports, and the value afterwards.
struct SetterCase {
  const char* what;
  std::function<void(TScaleSettings&)> write;
  size_t reports;
  std::function<bool(const TScaleSettings&)> holds;
};

TEST_F(ScaleSettingsTest, SettersCompareClampOrAlwaysReportAsEachPropertyRequires) {
  const std::vector<SetterCase> cases = {
      {"new colour", [](auto& s) { s.SetColor(clRed); }, 1, [](auto& s) { return s.Color() == clRed; }},
      {"same colour", [](auto& s) { s.SetColor(clRed); }, 0, [](auto& s) { return s.Color() == clRed; }},
      {"new pointer colour", [](auto& s) { s.SetPointerColor(clAqua); }, 1,
       [](auto& s) { return s.PointerColor() == clAqua; }},
      {"same pointer colour", [](auto& s) { s.SetPointerColor(clAqua); }, 0, [](auto&) { return true; }},
      {"base line off", [](auto& s) { s.SetDrawLine(false); }, 1, [](auto& s) { return !s.DrawLine(); }},
      {"base line off again", [](auto& s) { s.SetDrawLine(false); }, 1,
       [](auto& s) { return !s.DrawLine(); }},
      {"labels left/top", [](auto& s) { s.SetPosLeftTop(true); }, 1, [](auto& s) { return s.PosLeftTop(); }},
      {"labels left/top again", [](auto& s) { s.SetPosLeftTop(true); }, 0, [](auto&) { return true; }},
      {"steps 20", [](auto& s) { s.SetSteps(20); }, 1, [](auto& s) { return s.Steps() == 20; }},
      {"steps 20 again", [](auto& s) { s.SetSteps(20); }, 1, [](auto& s) { return s.Steps() == 20; }},
      {"steps 21", [](auto& s) { s.SetSteps(21); }, 0, [](auto& s) { return s.Steps() == 20; }},
      {"steps 0", [](auto& s) { s.SetSteps(0); }, 0, [](auto& s) { return s.Steps() == 20; }},
      {"steps 1", [](auto& s) { s.SetSteps(1); }, 1, [](auto& s) { return s.Steps() == 1; }},
      {"sub-steps 10", [](auto& s) { s.SetSubSteps(10); }, 1, [](auto& s) { return s.SubSteps() == 10; }},
      {"sub-steps 10 again", [](auto& s) { s.SetSubSteps(10); }, 1, [](auto&) { return true; }},
      {"sub-steps 11", [](auto& s) { s.SetSubSteps(11); }, 0, [](auto& s) { return s.SubSteps() == 10; }},
      {"sub-steps -1", [](auto& s) { s.SetSubSteps(-1); }, 0, [](auto& s) { return s.SubSteps() == 10; }},
      {"format", [](auto& s) { s.SetValueFormat("0.0"); }, 1,
       [](auto& s) { return s.ValueFormat() == "0.0"; }},
      {"same format", [](auto& s) { s.SetValueFormat("0.0"); }, 0, [](auto&) { return true; }},
      {"log format", [](auto& s) { s.SetValueFormatLog("0"); }, 1,
       [](auto& s) { return s.ValueFormatLog() == "0"; }},
      {"same log format", [](auto& s) { s.SetValueFormatLog("0"); }, 0, [](auto&) { return true; }},
  };
  for (const SetterCase& c : cases) {
    senders_.clear();
    c.write(settings_);
    EXPECT_EQ(senders_.size(), c.reports) << c.what;
    EXPECT_TRUE(c.holds(settings_)) << c.what;
    for (TObject* sender : senders_) EXPECT_EQ(sender, &settings_) << c.what;
  }
}

TEST_F(ScaleSettingsTest, FontChangesReportAsChangesOfTheSettings) {
  settings_.Font()->SetHeight(-30);
  ASSERT_EQ(senders_.size(), 1u);
  EXPECT_EQ(senders_[0], &settings_);

  TFont other;
  other.SetName("Courier New");
  other.SetColor(clGreen);
  senders_.clear();
  settings_.SetFont(&other);
  // Once through the font, once by the setter.
  EXPECT_EQ(senders_, (std::vector<TObject*>{&settings_, &settings_}));
  EXPECT_EQ(settings_.Font()->Name(), QStringLiteral("Courier New"));
  EXPECT_EQ(settings_.Font()->Color(), clGreen);
  EXPECT_NE(settings_.Font(), &other);
}

TEST_F(ScaleSettingsTest, CopyGoesThroughTheSettersInItsOrderAndLeavesTheWorkingFields) {
  TScaleSettings source;
  source.SetColor(clRed);
  source.SetDrawLine(false);
  source.Font()->SetHeight(-25);
  source.SetPointerColor(clYellow);
  source.SetPosLeftTop(true);
  source.SetSteps(8);
  source.SetSubSteps(4);
  source.SetValueFormat("0.00");
  source.SetValueFormatLog("0e+00");
  source.ScaleText = "1;2;";
  source.StepLength = 99;

  // Record which properties have arrived at each report.
  std::vector<int> arrived;
  settings_.SetOnChange([&](TObject*) {
    const TScaleSettings& d = settings_;
    arrived.push_back((d.Color() == clRed) + (!d.DrawLine()) + (d.Font()->Height() == -25) +
                      (d.PointerColor() == clYellow) + d.PosLeftTop() + (d.Steps() == 8) +
                      (d.SubSteps() == 4) + (d.ValueFormat() == "0.00") + (d.ValueFormatLog() == "0e+00"));
  });
  settings_.Assign(&source);
  // Every property differs, so each step reports once; no extra final report.
  EXPECT_EQ(arrived, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(settings_.ScaleText.isEmpty());
  EXPECT_EQ(settings_.StepLength, 14);

  // Copying equal settings: only the setters that always report do, and the
  // font, whose copy always reports.
  arrived.clear();
  settings_.Assign(&source);
  EXPECT_EQ(arrived.size(), 4u);  // DrawLine, Font, Steps, SubSteps
}

TEST_F(ScaleSettingsTest, CopyingIntoAnotherClassRaisesTheAssignmentError) {
  TKvPersistent other;
  try {
    settings_.AssignTo(&other);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TScaleSettings to a TKvPersistent"));
  }
  EXPECT_TRUE(senders_.empty());
}

TEST(ScaleLogSteps, LargestDivisorOfTheDecadeSpanNotAboveTheCount) {
  struct Case {
    int count, decades, expected;
  };
  for (const Case& c :
       {Case{5, 6, 3}, Case{5, 4, 4}, Case{5, 7, 1}, Case{0, 3, 1}, Case{5, 0, 1}, Case{20, 20, 20},
        Case{3, -6, 3}, Case{-4, 8, 1}, Case{20, 19, 19}, Case{10, 60, 10}, Case{7, 49, 7}})
    EXPECT_EQ(TScaleSettings::CalcLogScaleSteps(c.count, c.decades), c.expected)
        << c.count << ", " << c.decades;
}

// --- Size calculations ---------------------------------------------------------

// A 14-pixel Arial measures the labels of 0..100 as 24 x 16 pixels: the size
// of the worked example.
std::unique_ptr<TBitmap> SmallLabels(TScaleSettings& s) {
  s.Font()->SetHeight(-14);
  auto bitmap = kv::test::MakeSurface(40, 40);
  return bitmap;
}

TEST(ScaleSize, WorkedExampleForEachShape) {
  struct Expected {
    const char* shape;
    void (TScaleSettings::*calc)(TCanvas*, float, float);
    const char* labels;
    int textSpace, stepLength, subStepLength, needWidth, needHeight;
  };
  // The round calculation leaves tick lengths and room as they were.
  const Expected cases[] = {
      {"vertical", &TScaleSettings::CalcSize, "100;80;60;40;20;0;", 5, 11, 5, 40, 112},
      {"horizontal", &TScaleSettings::CalcHSize, "0;20;40;60;80;100;", 3, 11, 5, 168, 22},
      {"round", &TScaleSettings::CalcRSize, "0;20;40;60;80;100;", 13, 14, 7, 0, 0},
  };
  for (const Expected& c : cases) {
    TScaleSettings s;
    auto bitmap = SmallLabels(s);
    (s.*c.calc)(bitmap->Canvas(), 0, 100);
    ASSERT_EQ(s.TextWidth, 24) << "font metrics differ from the example";
    ASSERT_EQ(s.TextHeight, 16) << "font metrics differ from the example";
    EXPECT_EQ(s.ScaleText, QString::fromLatin1(c.labels)) << c.shape;
    EXPECT_EQ(s.StepWidth, 1) << c.shape;
    EXPECT_EQ(s.EdgeSpace, 3) << c.shape;
    EXPECT_EQ(s.TextSpace, c.textSpace) << c.shape;
    EXPECT_EQ(s.StepLength, c.stepLength) << c.shape;
    EXPECT_EQ(s.SubStepLength, c.subStepLength) << c.shape;
    EXPECT_EQ(s.NeedWidth, c.needWidth) << c.shape;
    EXPECT_EQ(s.NeedHeight, c.needHeight) << c.shape;
    EXPECT_EQ(bitmap->Canvas()->Font()->Height(), -14) << c.shape;
    EXPECT_EQ(bitmap->Canvas()->Pen()->Color(), clBlack) << c.shape;
  }
}

TEST(ScaleSize, LogarithmicListsRunWithTheScaleAndCountDecades) {
  struct Case {
    void (TScaleSettings::*calc)(TCanvas*, float, float);
    float from, to;
    int logFrom, logTo, logSteps;
    const char* labels;
    int needHeightSteps;  // n in the vertical room, 0 where not checked
  };
  const Case cases[] = {
      {&TScaleSettings::CalcHSize, 0.1f, 1000, -1, 3, 4, "1e-1;1e0;1e1;1e2;1e3;", 0},
      {&TScaleSettings::CalcSize, 0.1f, 1000, -1, 3, 4, "1e3;1e2;1e1;1e0;1e-1;", 4},
      {&TScaleSettings::CalcSize, 1, 10000, 0, 4, 4, "1e4;1e3;1e2;1e1;1e0;", 4},
      {&TScaleSettings::CalcRSize, 1, 1e6f, 0, 6, 3, "1e0;1e2;1e4;1e6;", 0},
      // Ends are rounded to their nearest decades.
      {&TScaleSettings::CalcHSize, 3.5f, 290, 1, 2, 1, "1e1;1e2;", 0},
  };
  for (const Case& c : cases) {
    TScaleSettings s;
    s.LogScale = true;
    auto bitmap = kv::test::MakeSurface(10, 10);
    (s.*c.calc)(bitmap->Canvas(), c.from, c.to);
    EXPECT_EQ(s.LogFrom, c.logFrom) << c.labels;
    EXPECT_EQ(s.LogTo, c.logTo) << c.labels;
    EXPECT_EQ(s.LogSteps, c.logSteps) << c.labels;
    EXPECT_EQ(s.ScaleText, QString::fromLatin1(c.labels));
    if (c.needHeightSteps) {
      EXPECT_EQ(s.NeedHeight, int(std::nearbyint(s.TextHeight * c.needHeightSteps * 1.4)));
    }
  }
}

TEST(ScaleSize, LogarithmOfAStartOrEndNotAboveZeroFailsAndKeepsTheLabels) {
  struct Case {
    float from, to;
    bool zeroDivide;  // else an invalid operation
  };
  for (const Case& c : {Case{0, 100, true}, Case{1, 0, true}, Case{-1, 100, false}, Case{10, -5, false}}) {
    TScaleSettings s;
    s.LogScale = true;
    auto bitmap = kv::test::MakeSurface(10, 10);
    s.CalcHSize(bitmap->Canvas(), 1, 100);
    const QString before = s.ScaleText;
    try {
      s.CalcHSize(bitmap->Canvas(), c.from, c.to);
      ADD_FAILURE() << "no error for " << c.from << ".." << c.to;
    } catch (const EZeroDivide&) {
      EXPECT_TRUE(c.zeroDivide) << c.from << ".." << c.to;
    } catch (const EInvalidOp&) {
      EXPECT_FALSE(c.zeroDivide) << c.from << ".." << c.to;
    }
    EXPECT_EQ(s.ScaleText, before);
    EXPECT_EQ(s.LogFrom, 0);
    EXPECT_EQ(s.LogTo, 2);
    EXPECT_EQ(s.LogSteps, 2);
  }
}

// --- Form descriptions ---------------------------------------------------------

class TScaleHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TScaleSettings* Scale READ Scale)
 public:
  Q_INVOKABLE explicit TScaleHolder(TComponent* owner = nullptr) : TComponent(owner) {}
  TScaleSettings* Scale() const { return scale_.get(); }

 private:
  std::unique_ptr<TScaleSettings> scale_ = std::make_unique<TScaleSettings>();
};

TEST(ScaleSettingsStreaming, EveryPropertyIsWrittenAndReadBack) {
  TScaleHolder holder;
  holder.SetName("Holder1");
  const QString initial = WriteComponentToText(&holder);
  for (const char* line :
       {"Scale.Color = clBlack", "Scale.DrawLine = True", "Scale.PointerColor = clLime",
        "Scale.PosLeftTop = False", "Scale.Steps = 5", "Scale.SubSteps = 2", "Scale.ValueFormat = '##0'",
        "Scale.ValueFormatLog = '0e-0'", "Scale.Font.Name = 'Arial'"})
    EXPECT_TRUE(initial.contains(QLatin1String(line))) << line << "\n" << initial.toStdString();

  TScaleSettings* s = holder.Scale();
  s->SetColor(clBtnShadow);
  s->SetDrawLine(false);
  s->Font()->SetHeight(-22);
  s->SetPointerColor(RGBColor(1, 2, 3));
  s->SetPosLeftTop(true);
  s->SetSteps(12);
  s->SetSubSteps(7);
  s->SetValueFormat("0.0#");
  s->SetValueFormatLog("0.0e+0");
  const QString text = WriteComponentToText(&holder);

  TScaleHolder copy;
  ReadComponentFromText(text, &copy, "HOLDER");
  const TScaleSettings* c = copy.Scale();
  EXPECT_EQ(c->Color(), clBtnShadow);
  EXPECT_FALSE(c->DrawLine());
  EXPECT_EQ(c->Font()->Height(), -22);
  EXPECT_EQ(c->PointerColor(), RGBColor(1, 2, 3));
  EXPECT_TRUE(c->PosLeftTop());
  EXPECT_EQ(c->Steps(), 12);
  EXPECT_EQ(c->SubSteps(), 7);
  EXPECT_EQ(c->ValueFormat(), QStringLiteral("0.0#"));
  EXPECT_EQ(c->ValueFormatLog(), QStringLiteral("0.0e+0"));
}

}  // namespace

#include "scale_settings_test.moc"
