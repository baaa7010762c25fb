// Bars, LEDs and arrows: bar geometry on pixels in both directions and all
// shapes, the caption, and the settings' notifications and copies.

#include "kv/settings/bar_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <vector>

#include "kv/settings/arrow_settings.h"
#include "kv/settings/led_settings.h"
#include "platform/core/exceptions.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::kBackground;
using kv::test::MakeSurface;

constexpr TColor kBar = RGBColor(0, 255, 0);
constexpr TColor kBk = RGBColor(0, 0, 0);

// Lit runs along a row (horizontal bars) or a column read bottom-up
// (vertical bars) of the painted bar: [first, last] pixel indices.
struct Span {
  int first, last;
  friend bool operator==(const Span&, const Span&) = default;
};
std::ostream& operator<<(std::ostream& os, const Span& r) {
  return os << '[' << r.first << ',' << r.last << ']';
}

std::vector<Span> Runs(const TBitmap& b, const TRect& bar, bool vertical, TColor lit = kBar) {
  std::vector<Span> runs;
  const int length = vertical ? bar.Height() : bar.Width();
  for (int i = 0; i < length; ++i) {
    // Vertical bars are read from the bottom edge upwards.
    const int x = vertical ? bar.Left + bar.Width() / 2 : bar.Left + i;
    const int y = vertical ? bar.Bottom - 1 - i : bar.Top + bar.Height() / 2;
    if (b.Pixel(x, y) != lit) continue;
    if (!runs.empty() && runs.back().last == i - 1)
      runs.back().last = i;
    else
      runs.push_back({i, i});
  }
  return runs;
}

std::vector<Span> PaintRuns(TBarSettings& bar, TRect rect, int value, bool vertical) {
  auto bitmap = MakeSurface(rect.Right + 10, rect.Bottom + 10);
  bar.BarRect = rect;
  bar.PaintBar(bitmap->Canvas(), value);
  // Outside the rectangle nothing changes; inside nothing is left unpainted.
  EXPECT_EQ(kv::test::InkBox(*bitmap), rect.toQRect());
  const auto runs = Runs(*bitmap, rect, vertical);
  kv::test::SaveIfFailed(*bitmap, "bar_runs");
  return runs;
}

constexpr int kHuge = std::numeric_limits<int32_t>::max();
constexpr int kHugeNegative = std::numeric_limits<int32_t>::min();

TEST(BarPainting, PlainBarEndsInBothDirections) {
  struct Case {
    int value;
    std::vector<Span> runs;  // for a length of 200
  };
  const Case cases[] = {
      {0, {}},
      {1, {}},
      {3, {{0, 0}}},
      {500, {{0, 99}}},
      {999, {{0, 199}}},
      {1000, {{0, 199}}},
      {1500, {{0, 199}}},
      {kHuge, {{0, 199}}},
      {-10, {}},
      {kHugeNegative, {}},
  };
  for (bool vertical : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << (vertical ? "vertical " : "horizontal ") << c.value);
      TBarSettings bar;
      const TRect rect = vertical ? TRect(5, 5, 17, 205) : TRect(5, 5, 205, 17);
      EXPECT_EQ(PaintRuns(bar, rect, c.value, vertical), c.runs);
    }
  }
}

TEST(BarPainting, BidirectionalBarRunsBetweenOriginAndValue) {
  struct Case {
    int value;
    std::vector<Span> runs;  // length 200, origin 500
  };
  const Case cases[] = {{250, {{50, 99}}}, {750, {{100, 149}}},  {500, {}},
                        {0, {{0, 99}}},    {1000, {{100, 199}}}, {-400, {{0, 99}}}};
  for (bool vertical : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << (vertical ? "vertical " : "horizontal ") << c.value);
      TBarSettings bar;
      bar.SetOptions(opBidir);
      bar.BidirOrigin = 500;
      const TRect rect = vertical ? TRect(0, 0, 10, 200) : TRect(0, 0, 200, 10);
      EXPECT_EQ(PaintRuns(bar, rect, c.value, vertical), c.runs);
    }
  }
}

TEST(BarPainting, PointMarkerIsThreePixelsAndStaysInside) {
  struct Case {
    int value;
    std::vector<Span> runs;  // length 103: factor 0.1
  };
  const Case cases[] = {{0, {{0, 2}}},        {1, {{0, 2}}}, {500, {{50, 52}}}, {999, {{100, 102}}},
                        {1000, {{100, 102}}}, {2000, {}},    {-50, {}}};
  for (bool vertical : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << (vertical ? "vertical " : "horizontal ") << c.value);
      TBarSettings bar;
      bar.SetStyle(bsPoint);
      const TRect rect = vertical ? TRect(0, 0, 9, 103) : TRect(0, 0, 103, 9);
      EXPECT_EQ(PaintRuns(bar, rect, c.value, vertical), c.runs);
    }
  }
}

// Segments of 3 lit pixels with a 1-pixel gap, numbered from the start.
std::vector<Span> Segments(int count, int first) {
  std::vector<Span> runs;
  for (int i = 0; i < count; ++i) runs.push_back({first + 4 * i, first + 4 * i + 2});
  return runs;
}

TEST(BarPainting, LedSegmentCountsAndGaps) {
  struct Case {
    bool vertical;
    int length;
    int value;
    std::vector<Span> runs;
  };
  const Case cases[] = {
      // 101 pixels: 25 segments, centred one pixel in.
      {false, 101, 1000, Segments(25, 1)},
      {false, 101, 0, {}},
      {false, 101, 19, {}},                // 0.48 of a segment
      {false, 101, 20, Segments(1, 1)},    // 0.505 of a segment
      {false, 101, 500, Segments(13, 1)},  // 12.6
      {false, 200, 1000, Segments(50, 0)},
      {false, 200, 999, Segments(50, 0)},
      {false, 200, 1, {}},
      {false, 200, kHuge, Segments(50, 0)},
      {false, 200, kHugeNegative, {}},
      // Vertical: the bottom row stays dark.
      {true, 101, 1000, Segments(25, 1)},
      {true, 101, 500, Segments(13, 1)},
      {true, 200, 1000, Segments(50, 1)},
      {true, 200, 1, {}},
      {true, 200, 3000, Segments(50, 1)},  // nothing beyond the top
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.vertical ? "vertical " : "horizontal ") << c.length << " at "
                                    << c.value);
    TBarSettings bar;
    bar.SetStyle(bsLED_Bar);
    const TRect rect = c.vertical ? TRect(2, 2, 14, 2 + c.length) : TRect(2, 2, 2 + c.length, 14);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PaintRuns(bar, rect, c.value, c.vertical), c.runs);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  }
}

TEST(BarPainting, TheRectangleShapeChoosesTheDirection) {
  struct Case {
    TRect rect;
    bool vertical;
  };
  const Case cases[] = {
      {TRect(0, 0, 100, 100), true}, {TRect(0, 0, 101, 100), false}, {TRect(0, 0, 20, 60), true}};
  for (const Case& c : cases) {
    TBarSettings bar;
    auto bitmap = MakeSurface(110, 110);
    bar.BarRect = c.rect;
    bar.PaintBar(bitmap->Canvas(), 500);
    // Half lit: the lower half of a vertical bar, the left half of a horizontal one.
    const TColor lowerLeft = bitmap->Pixel(1, c.rect.Bottom - 2);
    const TColor upperLeft = bitmap->Pixel(1, 1);
    const TColor lowerRight = bitmap->Pixel(c.rect.Right - 2, c.rect.Bottom - 2);
    EXPECT_EQ(lowerLeft, kBar);
    EXPECT_EQ(upperLeft, c.vertical ? kBk : kBar);
    EXPECT_EQ(lowerRight, c.vertical ? kBar : kBk);
    EXPECT_EQ(bar.BarWidth(), c.rect.Width());
    EXPECT_EQ(bar.BarHeight(), c.rect.Height());
  }
}

TEST(BarPainting, EmptyOrInvertedRectanglesPaintNothing) {
  for (const TRect& r :
       {TRect(10, 10, 10, 30), TRect(10, 10, 40, 10), TRect(40, 10, 10, 30), TRect(10, 30, 40, 10)}) {
    TBarSettings bar;
    auto bitmap = MakeSurface(50, 50);
    bar.BarRect = r;
    bar.PaintBar(bitmap->Canvas(), 500);
    bar.PaintHBar(bitmap->Canvas(), 500);
    bar.PaintVBar(bitmap->Canvas(), 500);
    EXPECT_TRUE(kv::test::InkBox(*bitmap).isEmpty());
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
  EXPECT_EQ(Runs(*bitmap, bar.BarRect, false, clRed), (std::vector<Span>{{0, 29}}));
  EXPECT_EQ(bitmap->Pixel(50, 5), clYellow);
  EXPECT_EQ(kv::test::CountColor(*bitmap, clBlue, QRect(0, 0, 110, 20)), 0);
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
                        {TRect(0, 0, 50, 120), opValue | opUnit},
                        {TRect(0, 0, 160, 30), opUnit}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rect.Width() << "x" << c.rect.Height() << " options "
                                    << int(c.options));
    TBarSettings bar;
    bar.Font()->SetColor(clRed);  // ignored by the caption
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
        if (p != light && p != inverted && p != kBar && p != kBk) ++other;
      }
    EXPECT_EQ(other, 0);
    if (!(c.options & opValue)) {
      EXPECT_TRUE(onLit.isEmpty() && onDark.isEmpty());
      continue;
    }
    // Centred text straddling the bar's end: some of it on each part.
    EXPECT_FALSE(onLit.isEmpty());
    EXPECT_FALSE(onDark.isEmpty());
    const QRect text = onLit | onDark;
    EXPECT_NEAR(text.center().x(), c.rect.Width() / 2, 4);
    EXPECT_NEAR(text.center().y(), c.rect.Height() / 2, 4);
    const bool twoLines = c.rect.Height() > c.rect.Width();
    if (twoLines) {
      EXPECT_GT(text.height(), 2 * 8);
    } else if (c.options & opUnit) {
      EXPECT_GT(text.width(), 4 * 6);  // "88 mm"
    }
    kv::test::SaveIfFailed(*bitmap, "bar_caption");
  }
}

// --- Settings -------------------------------------------------------------------

TEST(BarSettings, InitialValuesAndTheBevelItStartsWith) {
  TBarSettings bar;
  EXPECT_EQ(bar.Style(), bsBar);
  EXPECT_EQ(bar.Font()->Color(), clBtnHighlight);
  EXPECT_EQ(bar.Options(), TBarOptions());
  EXPECT_EQ(bar.Color(), clLime);
  EXPECT_EQ(bar.BkColor(), clBlack);
  EXPECT_EQ(bar.minHeight(), 5);
  EXPECT_EQ(bar.minWidth(), 5);
  EXPECT_EQ(bar.Bevel()->Style(), bsLowered);
  EXPECT_EQ(bar.Bevel()->Spacing(), 0);
  EXPECT_EQ(bar.Bevel()->BevelLine(), blNone);
  EXPECT_EQ(bar.Bevel()->Width(), 1);
  EXPECT_EQ(bar.Bevel()->TotalWidth(), 1);
  EXPECT_EQ(bar.Bevel()->PenColor(), clBlack);
  EXPECT_TRUE(bar.Bevel()->OnChange().Assigned());
  EXPECT_TRUE(bar.Font()->OnChange().Assigned());
}

TEST(BarSettings, SubObjectsReportThemselvesAndCopiesAreNotAdopted) {
  TBarSettings bar;
  std::vector<TObject*> seen;
  bar.SetOnChange([&](TObject* sender) { seen.push_back(sender); });
  bar.Font()->SetHeight(-20);
  bar.Bevel()->Offset()->SetTop(2);  // reaches the bar through the bevel
  bar.Bevel()->SetWidth(3);
  EXPECT_EQ(seen, (std::vector<TObject*>{bar.Font(), bar.Bevel(), bar.Bevel()}));

  seen.clear();
  TKvSBevel mine;
  mine.SetWidth(6);
  TKvSBevel* owned = bar.Bevel();
  bar.SetBevel(&mine);
  EXPECT_EQ(bar.Bevel(), owned);
  EXPECT_EQ(owned->Width(), 6);
  ASSERT_FALSE(seen.empty());
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
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), bar.Font());
  EXPECT_EQ(seen.back(), &bar);
}

TEST(BarSettings, MinimumSizesTakeOnlyPositiveValuesAndAlwaysReport) {
  TBarSettings bar;
  int calls = 0;
  bar.SetOnChange([&](TObject*) { ++calls; });
  bar.SetMinWidth(5);
  bar.SetMinHeight(5);
  EXPECT_EQ(calls, 2);
  bar.SetMinWidth(0);
  bar.SetMinHeight(-3);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(bar.minWidth(), 5);
  bar.SetMinHeight(9);
  EXPECT_EQ(bar.minHeight(), 9);
  EXPECT_EQ(calls, 3);
}

TEST(BarSettings, CopiesSettingsButNotThePaintState) {
  TBarSettings source, dest;
  source.SetColor(clRed);
  source.SetBkColor(clNavy);
  source.Font()->SetName("Liberation Mono");
  source.SetOptions(opValue | opBidir);
  source.SetStyle(bsPoint);
  source.Bevel()->SetBevelLine(blBoth);
  source.SetMinWidth(11);
  source.SetMinHeight(12);
  source.BarRect = TRect(1, 2, 3, 4);
  source.ValueText = "x";
  source.BidirOrigin = 300;
  std::vector<TObject*> seen;
  dest.SetOnChange([&](TObject* s) { seen.push_back(s); });
  dest.Assign(&source);
  EXPECT_EQ(dest.Color(), clRed);
  EXPECT_EQ(dest.BkColor(), clNavy);
  EXPECT_EQ(dest.Font()->Name(), QStringLiteral("Liberation Mono"));
  EXPECT_EQ(dest.Options(), opValue | opBidir);
  EXPECT_EQ(dest.Style(), bsPoint);
  EXPECT_EQ(dest.Bevel()->BevelLine(), blBoth);
  EXPECT_EQ(dest.minWidth(), 11);
  EXPECT_EQ(dest.minHeight(), 12);
  EXPECT_EQ(dest.BarRect, TRect());
  EXPECT_TRUE(dest.ValueText.isEmpty());
  EXPECT_EQ(dest.BidirOrigin, 0);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), &dest);
}

TEST(SettingsCopy, UnsupportedPairsRaiseTheAssignmentError) {
  TBarSettings bar;
  TArrowSettings arrow;
  TLED led1, led2;
  struct Case {
    TPersistent* dest;
    TPersistent* source;
    const char* message;
  };
  const Case cases[] = {
      {&led1, &led2, "Cannot assign a TLED to a TLED"},
      {&bar, &arrow, "Cannot assign a TArrowSettings to a TBarSettings"},
      {&arrow, &bar, "Cannot assign a TBarSettings to a TArrowSettings"},
  };
  for (const Case& c : cases) {
    try {
      c.dest->Assign(c.source);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QString::fromLatin1(c.message));
    }
  }
}

TEST(Led, SizesOutsideFourToFortyAreIgnored) {
  struct Case {
    int value;
    bool taken;
  };
  const Case cases[] = {{3, false}, {4, true}, {40, true}, {41, false}, {-4, false}};
  for (const Case& c : cases) {
    TLED led;
    int calls = 0;
    led.SetOnChange([&](TObject*) { ++calls; });
    led.SetWidth(c.value);
    led.SetHeight(c.value);
    EXPECT_EQ(led.Width(), c.taken ? c.value : 13) << c.value;
    EXPECT_EQ(led.Height(), c.taken ? c.value : 13) << c.value;
    EXPECT_EQ(calls, c.taken ? 2 : 0) << c.value;
  }
}

TEST(Led, DrawsOnAndOffColoursInItsRectangle) {
  TLED led;
  led.SetShape(sRectangle);
  led.SetColorOff(clMaroon);
  led.LEDRect = TRect(4, 4, 24, 20);
  auto bitmap = MakeSurface(30, 30);
  led.Draw(bitmap->Canvas(), true);
  EXPECT_EQ(bitmap->Pixel(14, 12), clLime);
  EXPECT_EQ(bitmap->Pixel(4, 4), ColorToRGB(clBtnShadow));
  led.Draw(bitmap->Canvas(), false);
  EXPECT_EQ(bitmap->Pixel(14, 12), clMaroon);
  EXPECT_EQ(kv::test::InkBox(*bitmap), QRect(4, 4, 20, 16));
}

TEST(Arrow, CopiesItsSevenFieldsAndReportsOnce) {
  TArrowSettings source, dest;
  EXPECT_EQ(source.ColorBrush(), clLime);
  EXPECT_EQ(source.ColorCP2Brush(), clBtnFace);
  source.SetShape(3);
  source.SetColorPen(clRed);
  source.SetColorBrush(clBlue);
  source.SetColorCP1Pen(clYellow);
  source.SetColorCP1Brush(clAqua);
  source.SetColorCP2Pen(clWhite);
  source.SetColorCP2Brush(clGray);
  int calls = 0;
  dest.SetOnChange([&](TObject*) { ++calls; });
  dest.Assign(&source);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(dest.Shape(), 3);
  EXPECT_EQ(dest.ColorPen(), clRed);
  EXPECT_EQ(dest.ColorBrush(), clBlue);
  EXPECT_EQ(dest.ColorCP1Pen(), clYellow);
  EXPECT_EQ(dest.ColorCP1Brush(), clAqua);
  EXPECT_EQ(dest.ColorCP2Pen(), clWhite);
  EXPECT_EQ(dest.ColorCP2Brush(), clGray);
}

}  // namespace
