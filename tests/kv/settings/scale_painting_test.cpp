// Scale painting on pixels: ticks in the tick colour, labels in the font
// colour, on a background no painter uses.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "kv/settings/scale_settings.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::MakeSurface;
using kv::test::SaveIfFailed;

constexpr TColor kTicks = clRed;
constexpr TColor kLabels = clBlue;
const QString kPercentLabels = QStringLiteral("0;20;40;60;80;100;");

// Settings with 1-pixel major ticks: a 14-pixel Arial gives labels 16 pixels
// high ("100" 24 wide), so StepWidth = round(16 / 14) = 1.
void Prepare(TScaleSettings& s) {
  s.SetColor(kTicks);
  s.Font()->SetColor(kLabels);
  s.Font()->SetHeight(-14);
  s.SetDrawLine(false);
}

// Positions along a row or a column where the pixel has colour c.
std::vector<int> RowHits(const TBitmap& b, int y, int x0, int x1, TColor c = kTicks) {
  std::vector<int> hits;
  for (int x = x0; x <= x1; ++x)
    if (b.Pixel(x, y) == c) hits.push_back(x);
  return hits;
}
std::vector<int> ColumnHits(const TBitmap& b, int x, int y0, int y1, TColor c = kTicks) {
  std::vector<int> hits;
  for (int y = y0; y <= y1; ++y)
    if (b.Pixel(x, y) == c) hits.push_back(y);
  return hits;
}

// Label ink inside `band` projected onto the x axis (or the y axis) and cut
// into labels wherever more than `gap` empty pixels separate it. Each label
// is its (first, last) coordinate.
using Span = std::pair<int, int>;
std::vector<Span> LabelSpans(const TBitmap& b, const QRect& band, bool alongX, int gap = 6) {
  std::vector<Span> spans;
  const int from = alongX ? band.left() : band.top();
  const int to = alongX ? band.right() : band.bottom();
  for (int v = from; v <= to; ++v) {
    bool ink = false;
    for (int w = alongX ? band.top() : band.left(); !ink && w <= (alongX ? band.bottom() : band.right()); ++w)
      ink = alongX ? b.Pixel(v, w) == kLabels : b.Pixel(w, v) == kLabels;
    if (!ink) continue;
    if (spans.empty() || v - spans.back().second > gap)
      spans.push_back({v, v});
    else
      spans.back().second = v;
  }
  return spans;
}
// Bounding box of the label ink inside `area`.
QRect LabelBox(const TBitmap& b, const QRect& area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (b.Pixel(x, y) == kLabels) box |= QRect(x, y, 1, 1);
  return box;
}
int Middle(const Span& s) {
  return (s.first + s.second) / 2;
}
int Extent(const Span& s) {
  return s.second - s.first + 1;
}

// Labels "0", "20", ..., "100" inside `band`, in the order of the axis: six
// of them, each centred on its tick, "0" the narrowest and "100" the widest.
void ExpectPercentLabels(const TBitmap& b, const QRect& band, bool alongX, const std::vector<int>& ticks,
                         bool ascending) {
  const std::vector<Span> spans = LabelSpans(b, band, alongX, alongX ? 6 : 3);
  ASSERT_EQ(spans.size(), 6u);
  std::vector<int> widths;
  for (size_t i = 0; i < spans.size(); ++i) {
    EXPECT_NEAR(Middle(spans[i]), ticks[i], 2) << "label " << i;
    const QRect part = alongX ? QRect(spans[i].first, band.top(), Extent(spans[i]), band.height())
                              : QRect(band.left(), spans[i].first, band.width(), Extent(spans[i]));
    widths.push_back(LabelBox(b, part).width());
  }
  const int zero = ascending ? widths.front() : widths.back();
  const int hundred = ascending ? widths.back() : widths.front();
  for (const int w : widths) {
    EXPECT_LE(zero, w);
    EXPECT_GE(hundred, w);
  }
  EXPECT_LT(zero, hundred);
}

// --- Straight scales ---------------------------------------------------------------

TEST(HorizontalScale, ZeroToHundredInFiveStepsOnEitherSideWithAndWithoutBaseLine) {
  struct Case {
    bool labelsOnTop;
    bool baseLine;
  };
  for (const Case& c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message() << "on top " << c.labelsOnTop << ", base line " << c.baseLine);
    TScaleSettings s;
    Prepare(s);
    s.SetPosLeftTop(c.labelsOnTop);
    s.SetDrawLine(c.baseLine);
    auto bitmap = MakeSurface(300, 90);
    TCanvas* canvas = bitmap->Canvas();
    s.CalcHSize(canvas, 0, 100);
    ASSERT_EQ(s.StepWidth, 1);
    const TRect rect(20, 20, 270, 80);
    s.HorizScala(canvas, rect);

    // 250 pixels in 10 minor steps: majors every 50 pixels from the left edge.
    EXPECT_EQ(s.PosFrom, 20);
    EXPECT_EQ(s.PosTo, 270);
    std::vector<int> majors, all;
    for (int i = 0; i <= 5; ++i) majors.push_back(20 + 50 * i);
    for (int j = 0; j <= 10; ++j) all.push_back(20 + 25 * j);

    // Ticks leave the base line y0 towards the side away from the labels.
    const int y0 = c.labelsOnTop ? s.TextHeight / 2 + rect.Top + s.TextSpace + s.StepLength : rect.Top;
    const int dir = c.labelsOnTop ? -1 : 1;
    // Beyond the minor ticks' ends only the six majors remain; near the base
    // line the ten minors show as well, every other one on a major.
    EXPECT_EQ(RowHits(*bitmap, y0 + dir * (s.StepLength - 1), 0, 299), majors);
    EXPECT_EQ(RowHits(*bitmap, y0 + dir * s.SubStepLength, 0, 299), majors);
    EXPECT_EQ(RowHits(*bitmap, y0 + dir * (s.SubStepLength - 1), 0, 299), all);
    EXPECT_TRUE(RowHits(*bitmap, y0 + dir * s.StepLength, 0, 299).empty()) << "tick ends are left out";
    const std::vector<int> baseRow = RowHits(*bitmap, y0, 0, 299);
    if (c.baseLine) {
      // From the left end up to the right end, which the base line leaves
      // out and the last tick starts on.
      EXPECT_EQ(baseRow.size(), 251u);
      EXPECT_EQ(baseRow.front(), 20);
      EXPECT_EQ(baseRow.back(), 270);
    } else {
      EXPECT_EQ(baseRow, all);
    }

    // Labels: centred on their ticks below the tick ends, or centred on the
    // rectangle's top edge.
    const QRect band =
        c.labelsOnTop ? QRect(0, 0, 300, y0 - s.StepLength) : QRect(0, y0 + s.StepLength, 300, 40);
    ExpectPercentLabels(*bitmap, band, true, majors, true);
    const QRect ink = LabelBox(*bitmap, band);
    if (c.labelsOnTop)
      EXPECT_NEAR((ink.top() + ink.bottom()) / 2, rect.Top, 3);
    else
      EXPECT_GE(ink.top(), rect.Top + s.StepLength + s.TextSpace);
    SaveIfFailed(*bitmap, "scale_horizontal");
  }
}

TEST(VerticalScale, HundredAtTheTopZeroAtTheBottomOnEitherSide) {
  for (const bool labelsLeft : {false, true}) {
    SCOPED_TRACE(labelsLeft ? "labels left" : "labels right");
    TScaleSettings s;
    Prepare(s);
    s.SetPosLeftTop(labelsLeft);
    s.SetDrawLine(true);
    auto bitmap = MakeSurface(140, 290);
    TCanvas* canvas = bitmap->Canvas();
    s.CalcSize(canvas, 0, 100);
    ASSERT_EQ(s.ScaleText, QStringLiteral("100;80;60;40;20;0;"));
    const TRect rect(20, 20, 120, 270);
    s.VertiScala(canvas, rect);

    EXPECT_EQ(s.PosFrom, 270);
    EXPECT_EQ(s.PosTo, 20);
    std::vector<int> majors, all;
    for (int i = 0; i <= 5; ++i) majors.push_back(20 + 50 * i);
    for (int j = 0; j <= 10; ++j) all.push_back(20 + 25 * j);
    const int x0 = labelsLeft ? rect.Right : rect.Left;
    const int dir = labelsLeft ? -1 : 1;
    EXPECT_EQ(ColumnHits(*bitmap, x0 + dir * (s.StepLength - 1), 0, 289), majors);
    EXPECT_EQ(ColumnHits(*bitmap, x0 + dir * (s.SubStepLength - 1), 0, 289), all);
    EXPECT_EQ(ColumnHits(*bitmap, x0, 0, 289).size(), 251u) << "base line from the top to the last tick";

    const int labelX =
        labelsLeft ? rect.Right - s.StepLength - s.TextSpace + 1 : rect.Left + s.StepLength + s.TextSpace;
    const QRect band = labelsLeft ? QRect(0, 0, labelX, 290) : QRect(labelX, 0, 140 - labelX, 290);
    ExpectPercentLabels(*bitmap, band, false, majors, false);
    const QRect ink = LabelBox(*bitmap, band);
    if (labelsLeft)
      EXPECT_LT(ink.right(), labelX);
    else
      EXPECT_GE(ink.left(), labelX);
    SaveIfFailed(*bitmap, "scale_vertical");
  }
}

TEST(VerticalScale, LogarithmicOneToTenThousandHasDecadeTicksAndLogSpacedMinors) {
  TScaleSettings s;
  Prepare(s);
  s.SetSubSteps(10);
  s.LogScale = true;
  auto bitmap = MakeSurface(140, 440);
  TCanvas* canvas = bitmap->Canvas();
  s.CalcSize(canvas, 1, 10000);
  ASSERT_EQ(s.ScaleText, QStringLiteral("1e4;1e3;1e2;1e1;1e0;"));
  ASSERT_EQ(s.LogSteps, 4);
  const TRect rect(20, 20, 120, 420);
  s.VertiScala(canvas, rect);
  EXPECT_EQ(s.PosFrom, 420);
  EXPECT_EQ(s.PosTo, 20);

  // A decade is 100 pixels; 2 .. 9 lie 100 * log10(k) above the decade below:
  // 30, 48, 60, 70, 78, 85, 90 and 95 pixels.
  const int above[] = {30, 48, 60, 70, 78, 85, 90, 95};
  std::vector<int> majors, all;
  for (int i = 0; i <= 4; ++i) majors.push_back(20 + 100 * i);
  for (int i = 0; i < 4; ++i) {
    all.push_back(20 + 100 * i);
    for (int k = 7; k >= 0; --k) all.push_back(20 + 100 * (i + 1) - above[k]);
  }
  all.push_back(420);
  EXPECT_EQ(ColumnHits(*bitmap, rect.Left + s.StepLength - 1, 0, 439), majors);
  EXPECT_EQ(ColumnHits(*bitmap, rect.Left + s.SubStepLength - 1, 0, 439), all);

  const QRect band(rect.Left + s.StepLength + s.TextSpace, 0, 140, 440);
  const std::vector<Span> labels = LabelSpans(*bitmap, band, false, 3);
  ASSERT_EQ(labels.size(), 5u);
  for (size_t i = 0; i < labels.size(); ++i) EXPECT_NEAR(Middle(labels[i]), majors[i], 2);
  SaveIfFailed(*bitmap, "scale_vertical_log");
}

TEST(HorizontalScale, LogarithmicMinorTicksStartAfterTheDecadeAndEndOnTheNext) {
  TScaleSettings s;
  Prepare(s);
  s.SetSubSteps(10);
  s.LogScale = true;
  auto bitmap = MakeSurface(240, 60);
  s.CalcHSize(bitmap->Canvas(), 1, 100);
  ASSERT_EQ(s.LogSteps, 2);
  s.HorizScala(bitmap->Canvas(), TRect(10, 10, 210, 50));
  std::vector<int> all;
  for (int i = 0; i < 2; ++i)
    for (const int at : {0, 30, 48, 60, 70, 78, 85, 90, 95}) all.push_back(10 + 100 * i + at);
  all.push_back(210);
  EXPECT_EQ(RowHits(*bitmap, 10 + s.SubStepLength - 1, 0, 239), all);
  SaveIfFailed(*bitmap, "scale_horizontal_log");
}

// --- Round and dial scales ------------------------------------------------------------

// The rotation as stated for the library: degrees narrowed to a single
// float, sums in extended precision, each offset rounded half to even.
TPoint Turned(TPoint p, TPoint c, float degrees) {
  const float a = static_cast<float>(degrees * 0.017453292519943295L);
  const long double sin = std::sin(static_cast<long double>(a)), cos = std::cos(static_cast<long double>(a));
  const long double dx = p.X - c.X, dy = p.Y - c.Y;
  return TPoint(c.X + int(std::nearbyint(dx * cos - dy * sin)),
                c.Y + int(std::nearbyint(dy * cos + dx * sin)));
}

// The size calculation's results for 24 x 16 labels, set by hand so that the
// geometry does not depend on font metrics.
void ExampleLayout(TScaleSettings& s) {
  Prepare(s);
  s.ScaleText = kPercentLabels;
  s.TextWidth = 24;
  s.TextHeight = 16;
  s.StepWidth = 1;
  s.TextSpace = 13;
}

TEST(RoundScale, ExampleGeometryAndTickEndsFollowTheRotation) {
  struct Case {
    int start, sweep;
  };
  for (const Case& c :
       {Case{225, 270}, Case{0, 360}, Case{270, 180}, Case{-30, 97}, Case{1500, 200}, Case{7, -300}}) {
    SCOPED_TRACE(testing::Message() << "start " << c.start << ", sweep " << c.sweep);
    TScaleSettings s;
    ExampleLayout(s);
    auto bitmap = MakeSurface(200, 200);
    TRect rect(0, 0, 200, 200);
    s.RoundScala(bitmap->Canvas(), rect, c.start, c.sweep);
    EXPECT_EQ(s.StepLength, 11);
    EXPECT_EQ(s.SubStepLength, 5);
    EXPECT_EQ(s.Center, TPoint(100, 96));
    EXPECT_EQ(rect, TRect(25, 21, 175, 171));
    EXPECT_EQ(s.ArcTopLeft, TPoint(35, 31));
    EXPECT_EQ(s.ArcBottomRight, TPoint(164, 161));

    // Majors from distance 75 in to 64, minors from 64 out to 69, labels
    // centred at 88; all first turned to the start angle.
    const TPoint centre(100, 96);
    const TPoint a = Turned({100, 96 - 75}, centre, c.start);
    const TPoint b = Turned({100, 96 - 64}, centre, c.start);
    const TPoint m = Turned({100, 96 - 69}, centre, c.start);
    const TPoint d = Turned({100, 96 - 88}, centre, c.start);
    EXPECT_EQ(s.ArcStart, a);
    EXPECT_EQ(s.ArcEnd, Turned(b, centre, c.sweep));
    const float step = float(float(c.sweep / 10.0L) * 2);
    for (int i = 0; i <= 5; ++i) {
      const float angle = i < 5 ? float(i * step) : float(c.sweep);
      EXPECT_EQ(bitmap->Pixel(Turned(a, centre, angle).X, Turned(a, centre, angle).Y), kTicks)
          << "major " << i;
      if (i == 5) break;
      // The one minor tick of the interval, at a whole degree.
      const float minor = float(std::nearbyint(i * step + c.sweep / 10.0L));
      const TPoint mb = Turned(b, centre, minor);
      EXPECT_EQ(bitmap->Pixel(mb.X, mb.Y), kTicks) << "minor " << i;
      const TPoint mc = Turned(m, centre, minor);
      EXPECT_NE(bitmap->Pixel(mc.X, mc.Y), kTicks) << "minor end left out " << i;
      // The label's ink is centred on its anchor.
      const TPoint at = Turned(d, centre, float(i * step));
      const QRect ink = LabelBox(*bitmap, QRect(at.X - 14, at.Y - 9, 29, 19));
      EXPECT_NEAR(ink.center().x(), at.X, 2) << "label " << i;
      EXPECT_NEAR(ink.center().y(), at.Y, 3) << "label " << i;
    }
    SaveIfFailed(*bitmap, "scale_round");
  }
}

TEST(RoundScale, FullCircleLeavesOutTheLastLabelWhereTheDialDrawsIt) {
  struct Case {
    bool dial;
    int sweep;
    bool lastLabel;
  };
  // Width of the ink at 12 o'clock: "0" alone, or "100" drawn over it (a
  // sweep just short of the circle draws the last label beside the first).
  int widthAlone = 0;
  for (const Case& c : {Case{false, 360, false}, Case{true, 360, true}, Case{false, 359, true}}) {
    TScaleSettings s;
    ExampleLayout(s);
    auto bitmap = MakeSurface(200, 200);
    TRect rect(0, 0, 200, 200);
    if (c.dial)
      s.DialScala(bitmap->Canvas(), rect, 0, c.sweep);
    else
      s.RoundScala(bitmap->Canvas(), rect, 0, c.sweep);
    const QRect top = LabelBox(*bitmap, QRect(80, 0, 40, 16));
    if (!c.dial && c.sweep == 360) widthAlone = top.width();
    if (c.lastLabel)
      EXPECT_GT(top.width(), widthAlone + 4) << c.dial << " " << c.sweep;
    else
      EXPECT_EQ(top.width(), widthAlone) << c.sweep;
  }
}

TEST(DialScale, LongerTicksAndAtLeastThreeAndOnePixels) {
  struct Case {
    int size;
    int stepLength, subStepLength;
  };
  // Labels 10 x 8 with a gap of 6: r = (size - 12) div 2 + 1. The labels
  // are left empty, so that no text covers the ticks of so small a ring.
  for (const Case& c : {Case{30, 3, 1}, Case{44, 3, 1}, Case{200, 13, 6}}) {
    TScaleSettings s;
    Prepare(s);
    s.ScaleText.clear();
    s.TextWidth = 10;
    s.TextHeight = 8;
    s.StepWidth = 1;
    s.TextSpace = 6;
    auto bitmap = MakeSurface(c.size, c.size);
    TRect rect(0, 0, c.size, c.size);
    s.DialScala(bitmap->Canvas(), rect, 0, 300);
    EXPECT_EQ(s.StepLength, c.stepLength) << c.size;
    EXPECT_EQ(s.SubStepLength, c.subStepLength) << c.size;
    // The first major tick runs down from its outer end at 12 o'clock.
    const int r = (c.size - 12) / 2 + 1;
    const int outer = s.Center.Y - (r - 6);
    std::vector<int> tick;
    for (int k = 0; k < c.stepLength; ++k) tick.push_back(outer + k);
    EXPECT_EQ(ColumnHits(*bitmap, s.Center.X, outer - 1, outer + c.stepLength), tick) << c.size;
    SaveIfFailed(*bitmap, "scale_dial_small");
  }
}

TEST(DialScale, LogarithmicScaleKeepsTheLinearStepCountWithEmptyLastLabels) {
  TScaleSettings s;
  Prepare(s);
  s.LogScale = true;
  auto bitmap = MakeSurface(220, 220);
  s.CalcRSize(bitmap->Canvas(), 1, 1000);
  ASSERT_EQ(s.LogSteps, 3);  // 3 decades, 5 steps
  TRect rect(0, 0, 220, 220);
  s.DialScala(bitmap->Canvas(), rect, 270, 180);
  // Five intervals over 180 degrees: the major ticks lie 36 degrees apart;
  // the labels 1e0 .. 1e3 take the first four of them.
  const TPoint centre = s.Center;
  for (int i = 0; i <= 5; ++i) {
    const TPoint a = Turned(s.ArcStart, centre, float(i * 36.0f));
    EXPECT_EQ(bitmap->Pixel(a.X, a.Y), kTicks) << i;
  }
  const int r = (220 - 2 * s.TextSpace) / 2 + s.TextSpace - s.TextWidth / 2;
  for (int i = 0; i <= 5; ++i) {
    const TPoint d = Turned(Turned({centre.X, centre.Y - r}, centre, 270), centre, float(i * 36.0f));
    const int labelInk = kv::test::CountColor(*bitmap, kLabels, QRect(d.X - 8, d.Y - 6, 17, 13));
    if (i < 4)
      EXPECT_GT(labelInk, 5) << i;
    else
      EXPECT_EQ(labelInk, 0) << i;
  }
  SaveIfFailed(*bitmap, "scale_dial_log");
}

}  // namespace
