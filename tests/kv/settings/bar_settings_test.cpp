// Bars and LEDs: bar geometry on pixels in both directions and all shapes,
// the caption, and the bar's sub-objects and copies.

#include "kv/settings/bar_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <vector>

#include "kv/settings/led_settings.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::MakeSurface;

constexpr TColor kBar = clLime;
constexpr int kHuge = std::numeric_limits<int32_t>::max();
constexpr int kHugeNegative = std::numeric_limits<int32_t>::min();

// A lit run [first, last] along the middle row of a horizontal bar, or the
// middle column of a vertical one read from the bottom up.
struct Span {
  int first, last;
  friend bool operator==(const Span&, const Span&) = default;
};
std::ostream& operator<<(std::ostream& os, const Span& r) {
  return os << '[' << r.first << ',' << r.last << ']';
}
using Spans = std::vector<Span>;

Spans Lit(const TBitmap& b, const TRect& bar, bool vertical) {
  Spans runs;
  for (int i = 0; i < (vertical ? bar.Height() : bar.Width()); ++i) {
    const int x = vertical ? bar.Left + bar.Width() / 2 : bar.Left + i;
    const int y = vertical ? bar.Bottom - 1 - i : bar.Top + bar.Height() / 2;
    if (b.Pixel(x, y) != kBar) continue;
    if (!runs.empty() && runs.back().last == i - 1)
      runs.back().last = i;
    else
      runs.push_back({i, i});
  }
  return runs;
}

// Paints `bar` at `value` into a rectangle of `length` along its direction.
Spans Paint(TBarSettings& bar, int length, int value, bool vertical) {
  const TRect rect = vertical ? TRect(3, 2, 15, 2 + length) : TRect(3, 2, 3 + length, 14);
  auto bitmap = MakeSurface(rect.Right + 5, rect.Bottom + 5);
  bar.BarRect = rect;
  const auto start = std::chrono::steady_clock::now();
  bar.PaintBar(bitmap->Canvas(), value);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  // Everything inside the rectangle is painted, nothing outside.
  EXPECT_EQ(kv::test::InkBox(*bitmap), rect.toQRect());
  kv::test::SaveIfFailed(*bitmap, "bar");
  return Lit(*bitmap, rect, vertical);
}

// Segments of 3 lit pixels and a 1-pixel gap.
Spans Segments(int count, int first) {
  Spans runs;
  for (int i = 0; i < count; ++i) runs.push_back({first + 4 * i, first + 4 * i + 2});
  return runs;
}

TEST(BarPainting, EndsOfEveryShapeInBothDirections) {
  struct Case {
    TBarStyle style;
    bool bidir;  // from an origin at 500
    int length, value;
    Spans horizontal, vertical;
  };
  const Case cases[] = {
      {bsBar, false, 200, 0, {}, {}},
      {bsBar, false, 200, 1, {}, {}},
      {bsBar, false, 200, 3, {{0, 0}}, {{0, 0}}},
      {bsBar, false, 200, 500, {{0, 99}}, {{0, 99}}},
      {bsBar, false, 200, 999, {{0, 199}}, {{0, 199}}},
      {bsBar, false, 200, 1000, {{0, 199}}, {{0, 199}}},
      {bsBar, false, 200, 1500, {{0, 199}}, {{0, 199}}},
      {bsBar, false, 200, kHuge, {{0, 199}}, {{0, 199}}},
      {bsBar, false, 200, -10, {}, {}},
      {bsBar, false, 200, kHugeNegative, {}, {}},
      {bsBar, true, 200, 250, {{50, 99}}, {{50, 99}}},
      {bsBar, true, 200, 750, {{100, 149}}, {{100, 149}}},
      {bsBar, true, 200, 500, {}, {}},
      {bsBar, true, 200, 1000, {{100, 199}}, {{100, 199}}},
      {bsBar, true, 200, -400, {{0, 99}}, {{0, 99}}},
      // Points: factor (103 - 3) / 1000, a 3-pixel marker kept inside at 1000.
      {bsPoint, false, 103, 0, {{0, 2}}, {{0, 2}}},
      {bsPoint, false, 103, 1, {{0, 2}}, {{0, 2}}},
      {bsPoint, false, 103, 500, {{50, 52}}, {{50, 52}}},
      {bsPoint, false, 103, 999, {{100, 102}}, {{100, 102}}},
      {bsPoint, false, 103, 1000, {{100, 102}}, {{100, 102}}},
      {bsPoint, false, 103, 2000, {}, {}},
      {bsPoint, false, 103, -50, {}, {}},
      // LED segments: 101 pixels hold 25, one pixel in; a vertical bar keeps its bottom row dark.
      {bsLED_Bar, false, 101, 1000, Segments(25, 1), Segments(25, 1)},
      {bsLED_Bar, false, 101, 0, {}, {}},
      {bsLED_Bar, false, 101, 19, {}, {}},                             // 0.48 of a segment
      {bsLED_Bar, false, 101, 20, Segments(1, 1), Segments(1, 1)},     // 0.505
      {bsLED_Bar, false, 101, 500, Segments(13, 1), Segments(13, 1)},  // 12.6
      {bsLED_Bar, false, 200, 999, Segments(50, 0), Segments(50, 1)},
      {bsLED_Bar, false, 200, 1000, Segments(50, 0), Segments(50, 1)},
      {bsLED_Bar, false, 200, 1, {}, {}},
      {bsLED_Bar, false, 200, kHuge, Segments(50, 0), Segments(50, 1)},
      {bsLED_Bar, false, 200, kHugeNegative, {}, {}},
  };
  for (const Case& c : cases) {
    for (bool vertical : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.style << (c.bidir ? " bidir " : " ") << c.length << " at "
                                      << c.value << (vertical ? " vertical" : " horizontal"));
      TBarSettings bar;
      bar.SetStyle(c.style);
      if (c.bidir) bar.SetOptions(opBidir);
      bar.BidirOrigin = 500;
      EXPECT_EQ(Paint(bar, c.length, c.value, vertical), vertical ? c.vertical : c.horizontal);
    }
  }
}

TEST(BarPainting, ShapeChoosesTheDirectionEmptyRectanglesPaintNothing) {
  struct Case {
    TRect rect;
    TColor upperLeft, lowerRight;  // at 500: lit is the lower half or the left half
  };
  const Case cases[] = {{TRect(0, 0, 100, 100), clBlack, kBar},
                        {TRect(0, 0, 101, 100), kBar, clBlack},
                        {TRect(10, 10, 10, 30), kv::test::kBackground, kv::test::kBackground},
                        {TRect(40, 30, 10, 10), kv::test::kBackground, kv::test::kBackground}};
  for (const Case& c : cases) {
    TBarSettings bar;
    auto bitmap = MakeSurface(110, 110);
    bar.BarRect = c.rect;
    bar.PaintBar(bitmap->Canvas(), 500);
    EXPECT_EQ(bitmap->Pixel(c.rect.Left + 1, c.rect.Top + 1), c.upperLeft);
    EXPECT_EQ(bitmap->Pixel(c.rect.Right - 2, c.rect.Bottom - 2), c.lowerRight);
    EXPECT_EQ(bitmap->Pixel(5, 99), c.rect.Width() > 0 ? kBar : kv::test::kBackground);
  }
}

TEST(BarPainting, SectorColourReplacesTheBarColour) {
  TBarSettings bar;
  bar.SetColor(clBlue);
  bar.SectorColor = clRed;
  bar.SetBkColor(clYellow);
  bar.SetOptions(opUseSectorCol);
  auto bitmap = MakeSurface(110, 20);
  bar.BarRect = TRect(0, 0, 100, 10);
  bar.PaintBar(bitmap->Canvas(), 300);
  EXPECT_EQ(kv::test::CountColor(*bitmap, clRed, QRect(0, 0, 110, 20)), 30 * 10);
  EXPECT_EQ(kv::test::CountColor(*bitmap, clYellow, QRect(0, 0, 110, 20)), 70 * 10);
}

TEST(BarPainting, CaptionIsXoredOverLitAndUnlitParts) {
  const TColor light = ColorToRGB(clBtnHighlight);
  const TColor inverted = TColor(kBar ^ light);
  struct Case {
    TRect rect;
    TBarOptions options;
  };
  const Case cases[] = {{TRect(0, 0, 160, 30), opValue},
                        {TRect(0, 0, 160, 30), opValue | opUnit},
                        {TRect(0, 0, 50, 120), opValue | opUnit},  // value above the middle, unit below
                        {TRect(0, 0, 160, 30), opUnit}};           // no caption without opValue
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rect.Width() << " options " << int(c.options));
    TBarSettings bar;
    bar.Font()->SetColor(clRed);  // the caption ignores it
    bar.Font()->SetHeight(-14);
    bar.SetOptions(c.options);
    bar.ValueText = "88";
    bar.UnitText = "mm";
    bar.BarRect = c.rect;
    auto bitmap = MakeSurface(c.rect.Right, c.rect.Bottom);
    bar.PaintBar(bitmap->Canvas(), 500);
    QRect onLit, onDark;
    int other = 0;
    for (int y = 0; y < c.rect.Bottom; ++y)
      for (int x = 0; x < c.rect.Right; ++x) {
        const TColor p = bitmap->Pixel(x, y);
        if (p == light) onDark |= QRect(x, y, 1, 1);
        if (p == inverted) onLit |= QRect(x, y, 1, 1);
        other += p != light && p != inverted && p != kBar && p != clBlack;
      }
    EXPECT_EQ(other, 0);
    EXPECT_EQ(onLit.isEmpty(), !(c.options & opValue));
    EXPECT_EQ(onDark.isEmpty(), !(c.options & opValue));
    if (!(c.options & opValue)) continue;
    const QRect text = onLit | onDark;
    EXPECT_NEAR(text.center().x(), c.rect.Width() / 2, 4);
    EXPECT_NEAR(text.center().y(), c.rect.Height() / 2, 4);
    EXPECT_GT(c.rect.Width() > c.rect.Height() ? text.width() : text.height(), c.options & opUnit ? 20 : 8);
    kv::test::SaveIfFailed(*bitmap, "bar_caption");
  }
}

TEST(BarSettings, SubObjectsReportThemselvesAndCopiesAreNotAdopted) {
  TBarSettings bar;
  std::vector<TObject*> seen;
  bar.SetOnChange([&](TObject* sender) { seen.push_back(sender); });
  bar.Font()->SetHeight(-20);
  bar.Bevel()->Offset()->SetTop(2);  // reaches the bar through the bevel
  EXPECT_EQ(seen, (std::vector<TObject*>{bar.Font(), bar.Bevel()}));

  seen.clear();
  TKvSBevel mine;
  mine.SetWidth(6);
  TKvSBevel* owned = bar.Bevel();
  bar.SetBevel(&mine);
  EXPECT_EQ(bar.Bevel(), owned);
  EXPECT_EQ(owned->Width(), 6);
  EXPECT_EQ(seen.back(), &bar);
  mine.SetWidth(8);  // the caller's object stays its own
  EXPECT_EQ(owned->Width(), 6);
  seen.clear();
  bar.SetBevel(owned);
  EXPECT_TRUE(seen.empty());

  TFont font;
  font.SetName("Liberation Serif");
  bar.SetFont(&font);
  EXPECT_EQ(bar.Font()->Name(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(seen, (std::vector<TObject*>{bar.Font(), &bar}));
}

TEST(BarSettings, MinimumSizesTakeOnlyPositiveValuesAndAlwaysReport) {
  TBarSettings bar;
  int calls = 0;
  bar.SetOnChange([&](TObject*) { ++calls; });
  bar.SetMinWidth(5);
  bar.SetMinHeight(5);
  bar.SetMinWidth(0);
  bar.SetMinHeight(-3);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(bar.minWidth(), 5);
  EXPECT_EQ(bar.minHeight(), 5);
}

TEST(BarSettings, CopiesSettingsButNotThePaintState) {
  TBarSettings source, dest;
  source.Font()->SetName("Liberation Mono");
  source.SetOptions(opValue | opBidir);
  source.Bevel()->SetBevelLine(blBoth);
  source.SetMinWidth(11);
  source.ValueText = "x";
  source.BidirOrigin = 300;
  std::vector<TObject*> seen;
  dest.SetOnChange([&](TObject* s) { seen.push_back(s); });
  dest.Assign(&source);
  EXPECT_EQ(dest.Font()->Name(), QStringLiteral("Liberation Mono"));
  EXPECT_EQ(dest.Options(), opValue | opBidir);
  EXPECT_EQ(dest.Bevel()->BevelLine(), blBoth);
  EXPECT_EQ(dest.minWidth(), 11);
  EXPECT_TRUE(dest.ValueText.isEmpty());
  EXPECT_EQ(dest.BidirOrigin, 0);
  EXPECT_EQ(seen.back(), &dest);
}

TEST(Led, SizesOutsideFourToFortyAreIgnoredAndDrawUsesTheStateColour) {
  for (int size : {3, 4, 40, 41, -4}) {
    TLED led;
    int calls = 0;
    led.SetOnChange([&](TObject*) { ++calls; });
    led.SetWidth(size);
    led.SetHeight(size);
    const bool taken = size >= 4 && size <= 40;
    EXPECT_EQ(led.Width(), taken ? size : 13) << size;
    EXPECT_EQ(led.Height(), taken ? size : 13) << size;
    EXPECT_EQ(calls, taken ? 2 : 0) << size;
  }
  TLED led;
  led.SetShape(sRectangle);
  led.SetColorOff(clMaroon);
  led.LEDRect = TRect(4, 4, 24, 20);
  auto bitmap = MakeSurface(30, 30);
  led.Draw(bitmap->Canvas(), true);
  EXPECT_EQ(bitmap->Pixel(14, 12), clLime);
  EXPECT_EQ(bitmap->Pixel(4, 10), ColorToRGB(clBtnShadow));
  led.Draw(bitmap->Canvas(), false);
  EXPECT_EQ(bitmap->Pixel(14, 12), clMaroon);
  EXPECT_EQ(kv::test::InkBox(*bitmap), QRect(4, 4, 20, 16));
}

}  // namespace
