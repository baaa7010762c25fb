#include "kv/proc/gradient_fill.h"

#include <gtest/gtest.h>

#include <QMetaEnum>
#include <QSet>

#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::kBackground;
using kv::test::MakeSurface;
using kv::test::SameImage;

TColor Grey(int level) {
  return RGBColor(level, level, level);
}

QString StyleName(TGradientStyle style) {
  return QString::fromLatin1(QMetaEnum::fromType<TGradientStyle>().valueToKey(style));
}

std::vector<TGradientStyle> AllStyles() {
  std::vector<TGradientStyle> styles;
  for (int i = 0; i < kGradientStyleCount; ++i) styles.push_back(TGradientStyle(i));
  return styles;
}

// A surface filled with one gradient over its whole area.
std::unique_ptr<TBitmap> Filled(int w, int h, TColor from, TColor to, TGradientStyle style) {
  auto bitmap = MakeSurface(w, h);
  KvGradFill(bitmap->Canvas(), TRect(0, 0, w, h), from, to, style);
  return bitmap;
}

// The colour of row y when the whole row has one colour, else clInvalid.
TColor RowColour(const TBitmap& bitmap, int y) {
  const TColor first = bitmap.Pixel(0, y);
  for (int x = 1; x < bitmap.Width(); ++x)
    if (bitmap.Pixel(x, y) != first) return clInvalid;
  return first;
}

TColor ColumnColour(const TBitmap& bitmap, int x) {
  const TColor first = bitmap.Pixel(x, 0);
  for (int y = 1; y < bitmap.Height(); ++y)
    if (bitmap.Pixel(x, y) != first) return clInvalid;
  return first;
}

class GradFillTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (bitmap_)
      kv::test::SaveIfFailed(
          *bitmap_, QStringLiteral("gradient_") +
                        QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  }
  std::unique_ptr<TBitmap> bitmap_;
};

// --- Band styles -------------------------------------------------------------

TEST_F(GradFillTest, CalculatorBackgroundBandsFollowTheSinglePrecisionStep) {
  // 341 rows from grey 226 to grey 143: M = 83, h = 4, N = 85, step single(-83/85).
  bitmap_ = Filled(332, 341, Grey(226), Grey(143), gsHorizontal1);
  for (int band = 0; band <= 85; ++band) {
    int level;
    if (band <= 41)
      level = 226 - band;
    else if (band <= 43)
      level = 184;
    else
      level = 183 - (band - 44);
    for (int y = band * 4; y < std::min(band * 4 + 4, 341); ++y)
      ASSERT_EQ(RowColour(*bitmap_, y), Grey(level)) << "band " << band << " row " << y;
  }
  EXPECT_EQ(RowColour(*bitmap_, 340), Grey(142));  // band 85 shows on the last row only
  EXPECT_EQ(RowColour(*bitmap_, 339), Grey(143));
}

TEST_F(GradFillTest, BandsAcrossAreTheBandsDownTurnedOnTheirSide) {
  for (const auto& [w, h] : {std::pair{341, 20}, {9, 3}, {100, 1}}) {
    auto down = Filled(h, w, RGBColor(10, 200, 40), RGBColor(250, 3, 90), gsHorizontal1);
    bitmap_ = Filled(w, h, RGBColor(10, 200, 40), RGBColor(250, 3, 90), gsVertical1);
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(ColumnColour(*bitmap_, x), RowColour(*down, x)) << w << "x" << h << " x " << x;
  }
}

TEST_F(GradFillTest, FewRowsGiveOneBandPerRowAndTruncate) {
  // H = 10 < M = 255: h = 1, N = 10, step 25.5; Trunc(i * 25.5).
  bitmap_ = Filled(7, 10, Grey(0), Grey(255), gsHorizontal1);
  const int expected[] = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229};
  for (int y = 0; y < 10; ++y) EXPECT_EQ(RowColour(*bitmap_, y), Grey(expected[y])) << y;
}

TEST_F(GradFillTest, ColoursOneApartShowOnlyTheStartColour) {
  // M = 1: one band of the full height in c1, the second below the rectangle.
  bitmap_ = Filled(20, 30, RGBColor(10, 20, 30), RGBColor(11, 20, 29), gsHorizontal1);
  EXPECT_EQ(kv::test::CountColor(*bitmap_, RGBColor(10, 20, 30), QRect(0, 0, 20, 30)), 600);
}

TEST_F(GradFillTest, BandComponentsWrapPerComponent) {
  // Red falls while blue rises: each component moves by its own step.
  bitmap_ = Filled(3, 4, RGBColor(255, 0, 0), RGBColor(0, 0, 255), gsHorizontal1);
  // N0 = min(255, 4) = 4, h = 1, N = 4, steps -63.75 and 63.75.
  EXPECT_EQ(RowColour(*bitmap_, 0), RGBColor(255, 0, 0));
  EXPECT_EQ(RowColour(*bitmap_, 1), RGBColor(191, 0, 63));
  EXPECT_EQ(RowColour(*bitmap_, 3), RGBColor(63, 0, 191));
}

// --- Line styles ----------------------------------------------------------------

TEST_F(GradFillTest, MirroredRowsGrowFromTheMiddleRow) {
  // H = 5: N = 2, centre row 2, step 100.
  bitmap_ = Filled(6, 5, Grey(0), Grey(200), gsHorizontal2);
  const int expected[] = {200, 100, 0, 100, 200};
  for (int y = 0; y < 5; ++y) EXPECT_EQ(RowColour(*bitmap_, y), Grey(expected[y])) << y;
}

TEST_F(GradFillTest, ThirdRowsStartOneThirdDown) {
  // H = 6: N = Round(4.02) = 4, row 2 = c1, step 25; rows above stop at 0.
  bitmap_ = Filled(4, 6, Grey(0), Grey(100), gsHorizontal3);
  const int expected[] = {50, 25, 0, 25, 50, 75};
  for (int y = 0; y < 6; ++y) EXPECT_EQ(RowColour(*bitmap_, y), Grey(expected[y])) << y;
}

TEST_F(GradFillTest, ThirdRowsRoundTheStepsTiesToEven) {
  // H = 3: N = Round(2.01) = 2, row 1 = c1; steps +-2.5 round to +-2.
  bitmap_ = Filled(2, 3, Grey(10), Grey(15), gsHorizontal3);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(RowColour(*bitmap_, y), Grey(y == 1 ? 10 : 12)) << y;
  bitmap_ = Filled(2, 3, Grey(15), Grey(10), gsHorizontal3);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(RowColour(*bitmap_, y), Grey(y == 1 ? 15 : 13)) << y;
}

TEST_F(GradFillTest, ColumnStylesAreTheRowStylesTurnedOnTheirSide) {
  const std::pair<TGradientStyle, TGradientStyle> pairs[] = {{gsHorizontal2, gsVertical2},
                                                             {gsHorizontal3, gsVertical3}};
  for (const auto& [rows, columns] : pairs) {
    for (const auto& [w, h] : {std::pair{50, 7}, {1, 3}, {67, 2}, {150, 5}}) {
      auto down = Filled(h, w, RGBColor(0, 128, 255), RGBColor(255, 64, 0), rows);
      bitmap_ = Filled(w, h, RGBColor(0, 128, 255), RGBColor(255, 64, 0), columns);
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(ColumnColour(*bitmap_, x), RowColour(*down, x))
            << StyleName(columns).toStdString() << " " << x;
    }
  }
}

// --- Shapes ---------------------------------------------------------------------

TEST_F(GradFillTest, NestedRectanglesEndInTheStartColourAtTheCentre) {
  // 0 -> 255 grey: 256 rectangles, step 1; rectangle i has the grey level i
  // and half-sizes Round(i * single(0.1)) and Round(i * single(41/510)).
  bitmap_ = Filled(51, 41, Grey(0), Grey(255), gsRectangle);
  EXPECT_EQ(bitmap_->Pixel(25, 20), Grey(0));
  // The corners are reached from i = 245 on (Round(24.5000004) = 25), and the
  // smaller rectangles are drawn later.
  EXPECT_EQ(bitmap_->Pixel(0, 0), Grey(245));
  EXPECT_EQ(bitmap_->Pixel(50, 40), Grey(245));
  EXPECT_EQ(bitmap_->Pixel(1, 1), Grey(235));
  // Along the centre row every pixel outwards belongs to a larger rectangle.
  QSet<int> levels;
  for (int x = 25; x < 51; ++x) {
    const TColor c = bitmap_->Pixel(x, 20);
    EXPECT_EQ(c, bitmap_->Pixel(50 - x, 20)) << x;  // symmetric about the centre
    levels.insert(GetRValue(c));
  }
  EXPECT_EQ(levels.size(), 26);  // one level per pixel: 0 at the centre up to 255
}

TEST_F(GradFillTest, DiamondsKeepTheStartColourAtTheCentre) {
  for (TGradientStyle style : {gsDiamond1, gsDiamond2}) {
    for (const auto& [w, h] : {std::pair{40, 40}, {31, 12}, {3, 50}}) {
      bitmap_ = Filled(w, h, clBtnShadow, RGBColor(255, 255, 0), style);
      EXPECT_EQ(bitmap_->Pixel(w / 2, h / 2), ColorToRGB(clBtnShadow)) << StyleName(style).toStdString();
    }
  }
}

TEST_F(GradFillTest, DiamondsAreFramedByTheEndColour) {
  // 40 x 40 from 0 to 200 grey: gsDiamond1 has N = max(20, 200) and its
  // outermost outline through the midpoints of the sides, so the corners keep
  // the background; gsDiamond2's outermost passes through the corners.
  bitmap_ = Filled(40, 40, Grey(0), Grey(200), gsDiamond1);
  EXPECT_EQ(bitmap_->Pixel(0, 0), Grey(200));
  EXPECT_EQ(bitmap_->Pixel(39, 39), Grey(200));
  // N = 200, sx = single(0.1): outlines i = 195..200 all pass through
  // (cx, cy - 20); the last drawn, i = 195, stays.
  EXPECT_EQ(bitmap_->Pixel(20, 0), Grey(195));
  EXPECT_LT(GetRValue(bitmap_->Pixel(20, 10)), 120);
  bitmap_ = Filled(40, 40, Grey(0), Grey(200), gsDiamond2);
  EXPECT_LT(GetRValue(bitmap_->Pixel(20, 0)), 120);  // half-way out on gsDiamond2
}

TEST_F(GradFillTest, EllipsesLieOnTheEndColourAndNeverDrawTheStartColour) {
  bitmap_ = Filled(100, 60, Grey(0), Grey(255), gsElliptic1);
  EXPECT_EQ(bitmap_->Pixel(0, 0), Grey(255));
  EXPECT_EQ(bitmap_->Pixel(99, 59), Grey(255));
  // sx = 0.196..., sy = 0.1176...: i = 5 is the first ellipse with both radii
  // at least 1 (the smaller ones are empty), so the centre has level 5.
  EXPECT_EQ(bitmap_->Pixel(50, 30), Grey(5));
  EXPECT_EQ(kv::test::CountColor(*bitmap_, Grey(0), QRect(0, 0, 100, 60)), 0);
}

TEST_F(GradFillTest, EllipticStylesDifferInSizeAndCentre) {
  // gsElliptic1's outermost ellipses are inscribed: radius 50 for i = 253 to
  // 255 (Round(253 * 0.196...) = 50), the last of them leaving level 253 at
  // the middle of the left edge. gsElliptic2's reach past the sides, so
  // smaller ones (from i = 182 on: Round(182 * 0.2725...) = 50) cover that
  // pixel, while the corners stay outside the largest.
  bitmap_ = Filled(100, 100, Grey(0), Grey(255), gsElliptic1);
  EXPECT_EQ(bitmap_->Pixel(0, 50), Grey(253));
  EXPECT_EQ(bitmap_->Pixel(0, 0), Grey(255));
  bitmap_ = Filled(100, 100, Grey(0), Grey(255), gsElliptic2);
  EXPECT_EQ(bitmap_->Pixel(0, 50), Grey(182));
  EXPECT_EQ(bitmap_->Pixel(0, 0), Grey(255));
  // gsElliptic3 moves the centre to (26, 26); its smallest ellipse (i = 2,
  // radii Round(2 * 0.3215...) = 1) covers (25..26, 25..26).
  bitmap_ = Filled(100, 100, Grey(0), Grey(255), gsElliptic3);
  EXPECT_EQ(bitmap_->Pixel(26, 26), Grey(2));
  EXPECT_EQ(bitmap_->Pixel(25, 25), Grey(2));
  EXPECT_LT(GetRValue(bitmap_->Pixel(26, 26)), GetRValue(bitmap_->Pixel(50, 50)));
}

TEST_F(GradFillTest, DiagonalsRunFromTheStartCornerToTheEndCorner) {
  // 4 x 4 from 0 to 8 grey: L = N = 4, step 2, so the upper line i has the
  // level i and the lower one 8 - i. The lines are a little steeper than 45
  // degrees ((0, py) to (px, -1)), so later lines take over some pixels;
  // each line's pixels follow the canvas's rule (start drawn, end left out,
  // the minor coordinate rounded with halves upwards).
  const int topLeft[4][4] = {{0, 2, 3, 4}, {1, 2, 4, 4}, {2, 3, 4, 5}, {3, 4, 5, 6}};
  const int topRight[4][4] = {{4, 4, 3, 2}, {5, 4, 4, 3}, {6, 5, 4, 3}, {7, 6, 5, 4}};
  bitmap_ = Filled(4, 4, Grey(0), Grey(8), gsTopLeft);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(bitmap_->Pixel(x, y), Grey(topLeft[y][x])) << x << "," << y;
  bitmap_ = Filled(4, 4, Grey(0), Grey(8), gsTopRight);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(bitmap_->Pixel(x, y), Grey(topRight[y][x])) << x << "," << y;
}

TEST_F(GradFillTest, DiagonalsUseHalfStepsRoundedTiesToEven) {
  // 2 x 2 from 0 to 2: N = 2, step 1. The upper line i = 1 has the colour
  // at 0.5, Round(0.5) = 0, and keeps (0, 1); line i = 2 (colour at 1) takes
  // (1, 0) and (1, 1).
  bitmap_ = Filled(2, 2, Grey(0), Grey(2), gsTopLeft);
  EXPECT_EQ(bitmap_->Pixel(0, 0), Grey(0));
  EXPECT_EQ(bitmap_->Pixel(0, 1), Grey(0));
  EXPECT_EQ(bitmap_->Pixel(1, 0), Grey(1));
  EXPECT_EQ(bitmap_->Pixel(1, 1), Grey(1));
}

// --- Every style -------------------------------------------------------------------

TEST_F(GradFillTest, EqualColoursGiveASolidRectangleInEveryStyle) {
  for (TGradientStyle style : AllStyles()) {
    bitmap_ = Filled(23, 17, RGBColor(9, 99, 199), RGBColor(9, 99, 199), style);
    EXPECT_EQ(kv::test::CountColor(*bitmap_, RGBColor(9, 99, 199), QRect(0, 0, 23, 17)), 23 * 17)
        << StyleName(style).toStdString();
    // A system colour and its own value are equal colours too.
    bitmap_ = Filled(23, 17, clBtnFace, ColorToRGB(clBtnFace), style);
    EXPECT_EQ(kv::test::CountColor(*bitmap_, clBtnFace, QRect(0, 0, 23, 17)), 23 * 17)
        << StyleName(style).toStdString();
  }
}

TEST_F(GradFillTest, FillsExactlyTheRectangleAndLeavesThePenAndBrush) {
  for (TGradientStyle style : AllStyles()) {
    bitmap_ = MakeSurface(40, 30);
    TCanvas* canvas = bitmap_->Canvas();
    canvas->Pen()->SetColor(clRed);
    canvas->Pen()->SetWidth(3);
    canvas->Brush()->SetColor(clLime);
    canvas->Brush()->SetStyle(bsSolid);
    KvGradFill(canvas, TRect(5, 7, 30, 22), Grey(250), Grey(10), style);
    EXPECT_EQ(kv::test::InkBox(*bitmap_), QRect(5, 7, 25, 15)) << StyleName(style).toStdString();
    // No background pixel is left inside: every style covers its rectangle.
    EXPECT_EQ(kv::test::CountColor(*bitmap_, kBackground, QRect(5, 7, 25, 15)), 0)
        << StyleName(style).toStdString();
    EXPECT_EQ(canvas->Pen()->Color(), clRed);
    EXPECT_EQ(canvas->Pen()->Width(), 3);
    EXPECT_EQ(canvas->Brush()->Color(), clLime);
  }
}

TEST_F(GradFillTest, DirectDrawingMatchesThePrimitivesPixelForPixel) {
  const std::pair<int, int> sizes[] = {{1, 1},   {1, 9},    {9, 1},    {2, 2},    {13, 9},
                                       {50, 50}, {101, 37}, {37, 101}, {332, 341}};
  const std::pair<TColor, TColor> colours[] = {{Grey(226), Grey(143)},
                                               {RGBColor(255, 0, 0), RGBColor(0, 0, 255)},
                                               {RGBColor(0, 10, 20), RGBColor(3, 250, 21)}};
  for (TGradientStyle style : AllStyles()) {
    for (const auto& [w, h] : sizes) {
      for (const auto& [from, to] : colours) {
        auto expected = MakeSurface(w + 4, h + 4);
        KvGradFillWithPrimitives(expected->Canvas(), TRect(2, 2, w + 2, h + 2), from, to, style);
        bitmap_ = MakeSurface(w + 4, h + 4);
        KvGradFill(bitmap_->Canvas(), TRect(2, 2, w + 2, h + 2), from, to, style);
        ASSERT_TRUE(SameImage(*bitmap_, *expected,
                              QStringLiteral("gradient_direct_%1_%2x%3").arg(StyleName(style)).arg(w).arg(h)))
            << StyleName(style).toStdString() << " " << w << "x" << h;
      }
    }
  }
}

TEST_F(GradFillTest, RectanglesWithoutAreaDrawNothing) {
  const TRect rects[] = {TRect(5, 5, 5, 20),  TRect(5, 5, 20, 5),  TRect(5, 5, 5, 5),
                         TRect(20, 5, 5, 20), TRect(5, 20, 20, 5), TRect(INT32_MIN, 0, INT32_MAX, 10)};
  for (TGradientStyle style : AllStyles()) {
    for (const TRect& r : rects) {
      bitmap_ = MakeSurface(30, 30);
      KvGradFill(bitmap_->Canvas(), r, Grey(0), Grey(255), style);
      KvGradFillWithPrimitives(bitmap_->Canvas(), r, Grey(0), Grey(255), style);
      EXPECT_TRUE(kv::test::InkBox(*bitmap_).isEmpty()) << StyleName(style).toStdString();
    }
  }
}

TEST_F(GradFillTest, StyleNamesStreamInTheirOrder) {
  const char* names[] = {"gsHorizontal1", "gsHorizontal2", "gsHorizontal3", "gsVertical1", "gsVertical2",
                         "gsVertical3",   "gsElliptic1",   "gsElliptic2",   "gsElliptic3", "gsRectangle",
                         "gsDiamond1",    "gsDiamond2",    "gsTopLeft",     "gsTopRight"};
  const QMetaEnum meta = QMetaEnum::fromType<TGradientStyle>();
  ASSERT_EQ(meta.keyCount(), kGradientStyleCount);
  for (int i = 0; i < kGradientStyleCount; ++i) EXPECT_STREQ(meta.valueToKey(i), names[i]);
}

// --- KvCalcColor ------------------------------------------------------------------

TEST(KvCalcColor, InterpolatesWithRoundingTiesToEven) {
  EXPECT_EQ(KvCalcColor(Grey(0), Grey(100), 4, 0), Grey(0));
  EXPECT_EQ(KvCalcColor(Grey(0), Grey(100), 4, 4), Grey(100));
  EXPECT_EQ(KvCalcColor(Grey(0), Grey(100), 4, 1), Grey(25));
  EXPECT_EQ(KvCalcColor(Grey(0), Grey(5), 2, 1), Grey(2));  // 2.5 -> 2
  EXPECT_EQ(KvCalcColor(Grey(0), Grey(7), 2, 1), Grey(4));  // 3.5 -> 4
  EXPECT_EQ(KvCalcColor(Grey(5), Grey(0), 2, 1), Grey(3));  // 5 + Round(-2.5) = 5 - 2
  EXPECT_EQ(KvCalcColor(RGBColor(10, 20, 30), RGBColor(30, 20, 10), 2, 1), RGBColor(20, 20, 20));
}

TEST(KvCalcColor, ZeroStepsCountAsOne) {
  EXPECT_EQ(KvCalcColor(RGBColor(1, 2, 3), RGBColor(200, 100, 50), 0, 1), RGBColor(200, 100, 50));
  EXPECT_EQ(KvCalcColor(RGBColor(1, 2, 3), RGBColor(200, 100, 50), 0, 0), RGBColor(1, 2, 3));
}

TEST(KvCalcColor, StepsOutsideTheRangeExtrapolateAndWrap) {
  EXPECT_EQ(KvCalcColor(Grey(0), Grey(255), 1, 2), Grey(254));   // 510 mod 256
  EXPECT_EQ(KvCalcColor(Grey(10), Grey(20), 1, -2), Grey(246));  // -10 mod 256
  EXPECT_EQ(KvCalcColor(Grey(0), Grey(1), 1, INT32_MAX), Grey(255));
}

TEST(KvCalcColor, SystemColoursAreResolvedUnlessBothAreEqual) {
  // Button face and scroll bar both resolve to the palette's button colour.
  ASSERT_EQ(ColorToRGB(clBtnFace), ColorToRGB(clScrollBar));
  EXPECT_EQ(KvCalcColor(clBtnFace, clScrollBar, 5, 2), clBtnFace);
  EXPECT_EQ(KvCalcColor(clBtnFace, ColorToRGB(clBtnFace), 5, 2), clBtnFace);
  const TColor face = ColorToRGB(clBtnFace);
  const TColor text = ColorToRGB(clWindowText);
  ASSERT_NE(face, text);
  EXPECT_EQ(KvCalcColor(clBtnFace, clWindowText, 1, 0), face);
  EXPECT_EQ(KvCalcColor(clBtnFace, clWindowText, 1, 1), text);
  EXPECT_GE(KvCalcColor(clBtnFace, clWindowText, 1, 1).value, 0);
}

// --- KvCircleGradFill ------------------------------------------------------------

TEST(KvCircleGradFill, FillsTheDiagonalBandBetweenTheCorners) {
  // W = 100: F = 22, N = 156, step 1: pixel (x, y) with 21 <= x + y <= 177
  // gets grey x + y - 21; the corner triangles keep the background.
  auto bitmap = MakeSurface(110, 110);
  KvCircleGradFill(bitmap->Canvas(), TRect(5, 5, 105, 105), Grey(0), Grey(156));
  int wrong = 0;
  for (int y = 0; y < 110; ++y)
    for (int x = 0; x < 110; ++x) {
      const int k = (x - 5) + (y - 5);
      const bool inside = x >= 5 && y >= 5 && k >= 21 && k <= 177;
      const TColor expected = inside ? Grey(k - 21) : kBackground;
      // Lines run on past the square's right and bottom edges.
      const bool beyond = x >= 105 || y >= 105;
      if (!beyond && bitmap->Pixel(x, y) != expected) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(bitmap->Canvas()->Pen()->Width(), 1);
  EXPECT_EQ(bitmap->Canvas()->Pen()->Color(), Grey(156));
  kv::test::SaveIfFailed(*bitmap, QStringLiteral("circle_grad_fill"));
}

TEST(KvCircleGradFill, ZeroWidthDrawsOnePixelInTheFinalColourNegativeWidthNothing) {
  // W = 0: F = 0 and N = 0 counts as 1, so the line from (L, T) to (L - 1,
  // T + 1) sets the corner pixel in the colour at 1, which is c2.
  auto bitmap = MakeSurface(20, 20);
  bitmap->Canvas()->Pen()->SetWidth(4);
  KvCircleGradFill(bitmap->Canvas(), TRect(5, 5, 5, 15), Grey(0), Grey(255));
  EXPECT_EQ(kv::test::InkBox(*bitmap), QRect(5, 5, 1, 1));
  EXPECT_EQ(bitmap->Pixel(5, 5), Grey(255));
  EXPECT_EQ(bitmap->Canvas()->Pen()->Color(), Grey(255));
  KvCircleGradFill(bitmap->Canvas(), TRect(15, 5, 5, 15), Grey(0), Grey(100));
  EXPECT_EQ(kv::test::InkBox(*bitmap), QRect(5, 5, 1, 1));
  EXPECT_EQ(bitmap->Canvas()->Pen()->Width(), 1);
}

// --- GetBkUpImage -------------------------------------------------------------------

std::unique_ptr<TBitmap> Numbered(int w, int h) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bitmap->SetPixel(x, y, RGBColor(x * 10, y * 10, 77));
  return bitmap;
}

TEST(GetBkUpImage, SavesTheVisiblePartAtItsPlace) {
  auto surface = Numbered(20, 20);
  TBitmap saved;
  GetBkUpImage(surface->Canvas(), &saved, TRect(-5, 12, 10, 25));
  ASSERT_EQ(saved.Width(), 15);
  ASSERT_EQ(saved.Height(), 13);
  // Canvas (0..9, 12..19) lands at (5..14, 0..7).
  for (int y = 0; y < 8; ++y)
    for (int x = 5; x < 15; ++x) ASSERT_EQ(saved.Pixel(x, y), RGBColor((x - 5) * 10, (y + 12) * 10, 77));
}

TEST(GetBkUpImage, HonoursTheClipRectangle) {
  auto surface = Numbered(20, 20);
  surface->Canvas()->SetClipRect(TRect(4, 4, 8, 8));
  TBitmap saved;
  GetBkUpImage(surface->Canvas(), &saved, TRect(2, 2, 12, 12));
  ASSERT_EQ(saved.Width(), 10);
  ASSERT_EQ(saved.Height(), 10);
  EXPECT_EQ(saved.Pixel(2, 2), RGBColor(40, 40, 77));
  EXPECT_EQ(saved.Pixel(5, 5), RGBColor(70, 70, 77));
}

TEST(GetBkUpImage, RectangleOutsideTheClipLeavesTheBitmapAlone) {
  auto surface = Numbered(20, 20);
  auto saved = Numbered(3, 4);
  const QImage before = saved->Image().copy();
  GetBkUpImage(surface->Canvas(), saved.get(), TRect(30, 30, 40, 45));
  surface->Canvas()->SetClipRect(TRect(0, 0, 5, 5));
  GetBkUpImage(surface->Canvas(), saved.get(), TRect(8, 0, 12, 4));
  EXPECT_EQ(saved->Width(), 3);
  EXPECT_EQ(saved->Height(), 4);
  EXPECT_EQ(saved->Image(), before);
  GetBkUpImage(nullptr, saved.get(), TRect(0, 0, 5, 5));
  GetBkUpImage(surface->Canvas(), nullptr, TRect(0, 0, 5, 5));
  EXPECT_EQ(saved->Image(), before);
}

}  // namespace
