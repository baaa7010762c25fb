#include "kv/proc/painters.h"

#include <gtest/gtest.h>

#include <QMetaEnum>
#include <vector>

#include "kv/proc/text_output.h"
#include "platform/core/exceptions.h"
#include "tests/kv/proc/pixel_helpers.h"
#include "tests/kv/proc/print_helpers.h"

namespace {

using kv::test::InkBox;
using kv::test::kBackground;
using kv::test::MakeSurface;
using kv::test::SameImage;

TColor Rgb(TColor c) {
  return ColorToRGB(c);
}

// Fixture: a surface and checks of single pixels by colour.
class PainterTest : public ::testing::Test {
 protected:
  void TearDown() override {
    kv::test::SaveIfFailed(
        *bitmap_, QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  }
  TCanvas* Canvas() { return bitmap_->Canvas(); }
  ::testing::AssertionResult At(int x, int y, TColor color) {
    const TColor actual = bitmap_->Pixel(x, y);
    if (actual == Rgb(color)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex << int(actual)
                                         << ", expected " << int(Rgb(color));
  }
  std::unique_ptr<TBitmap> bitmap_ = MakeSurface(240, 120);
};

TEST(PainterColours, SystemColoursUsedByTheChecksAreDistinct) {
  const TColor colours[] = {Rgb(clBtnHighlight), Rgb(clBtnShadow), Rgb(clBtnFace), clBlack, kBackground};
  for (int i = 0; i < 5; ++i)
    for (int j = i + 1; j < 5; ++j) EXPECT_NE(colours[i], colours[j]) << i << " " << j;
}

using LedTest = PainterTest;

TEST_F(LedTest, ArrowUpTriangleHasTheTableVertices) {
  KvDrawLED(Canvas(), TRect(0, 0, 11, 9), sArrowUp, clBlack, clRed);
  EXPECT_TRUE(At(5, 0, clBlack));
  EXPECT_TRUE(At(10, 8, clBlack));
  EXPECT_TRUE(At(0, 8, clBlack));
  EXPECT_TRUE(At(5, 5, clRed));
  EXPECT_TRUE(At(0, 0, kBackground));
  EXPECT_TRUE(At(10, 0, kBackground));
  EXPECT_TRUE(QRect(0, 0, 11, 9).contains(InkBox(*bitmap_)));
}

TEST_F(LedTest, OtherTrianglesPointWhereTheirNamesSay) {
  struct Case {
    TLEDShape shape;
    TPoint tip, corner1, corner2, empty;
  };
  // r = (20, 10, 31, 21): hw = hh = 5, right and bottom edges 30 and 20.
  const Case cases[] = {{sArrowLeft, {20, 15}, {30, 10}, {30, 20}, {20, 10}},
                        {sArrowRight, {30, 15}, {20, 10}, {20, 20}, {30, 10}},
                        {sArrowDown, {25, 20}, {20, 10}, {30, 10}, {20, 20}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shape);
    bitmap_ = MakeSurface(60, 40);
    KvDrawLED(Canvas(), TRect(20, 10, 31, 21), c.shape, clBlack, clRed);
    for (TPoint p : {c.tip, c.corner1, c.corner2}) EXPECT_TRUE(At(p.X, p.Y, clBlack));
    EXPECT_TRUE(At(25, 15, clRed));
    EXPECT_TRUE(At(c.empty.X, c.empty.Y, kBackground));
  }
}

TEST_F(LedTest, RoundLampHasAHighlightGlintOnItsUpperLeftQuarter) {
  KvDrawLED(Canvas(), TRect(0, 0, 40, 40), sRound, clBlack, clRed);
  EXPECT_EQ(Canvas()->Pen()->Width(), 5);
  EXPECT_EQ(Canvas()->Pen()->Color(), clBtnHighlight);
  EXPECT_TRUE(At(0, 20, clBlack));
  EXPECT_TRUE(At(30, 30, clRed));
  // The glint follows the ellipse in (8, 8, 32, 32) from 12 to 9 o'clock.
  EXPECT_TRUE(At(18, 8, clBtnHighlight));
  EXPECT_TRUE(At(8, 18, clBtnHighlight));
  EXPECT_TRUE(At(12, 12, clBtnHighlight));
  EXPECT_TRUE(At(22, 8, clRed));
  EXPECT_TRUE(At(8, 22, clRed));
  const int glint = kv::test::CountColor(*bitmap_, clBtnHighlight, QRect(0, 0, 40, 40));
  EXPECT_EQ(glint, kv::test::CountColor(*bitmap_, clBtnHighlight, QRect(5, 5, 18, 18)));
  EXPECT_EQ(kv::test::CountColor(*bitmap_, clBtnHighlight, QRect(3, 3, 4, 4)), 0);
  EXPECT_EQ(kv::test::CountColor(*bitmap_, clBtnHighlight, QRect(14, 14, 6, 6)), 0);
}

TEST_F(LedTest, RectangleShapeAndUnknownShapesAndBrushStyles) {
  Canvas()->Brush()->SetStyle(bsClear);
  KvDrawLED(Canvas(), TRect(0, 0, 10, 8), sRectangle, clBlack, clRed);
  EXPECT_TRUE(At(0, 0, clBlack));
  EXPECT_TRUE(At(9, 7, clBlack));
  EXPECT_TRUE(At(10, 8, kBackground));
  EXPECT_TRUE(At(5, 4, clRed));  // the clear brush turned solid
  EXPECT_EQ(Canvas()->Brush()->Style(), bsSolid);

  const QImage before = bitmap_->Image();
  Canvas()->Brush()->SetStyle(bsCross);
  KvDrawLED(Canvas(), TRect(20, 0, 30, 10), static_cast<TLEDShape>(9), clLime, clYellow);
  EXPECT_EQ(bitmap_->Image(), before);
  EXPECT_EQ(Canvas()->Pen()->Color(), clLime);
  EXPECT_EQ(Canvas()->Brush()->Color(), clYellow);
  EXPECT_EQ(Canvas()->Brush()->Style(), bsCross);
}

using BevelTest = PainterTest;

TEST_F(BevelTest, RaisedAndSunkenBevelsShrinkTheRectangleByTwo) {
  TRect raised(0, 0, 20, 20);
  KvBtnBevel(Canvas(), raised, true, true, clRed);
  EXPECT_EQ(raised, TRect(2, 2, 18, 18));
  EXPECT_TRUE(At(0, 0, clBtnHighlight));
  EXPECT_TRUE(At(19, 19, clBlack));
  EXPECT_TRUE(At(1, 1, RGBColor(210, 210, 210)));
  EXPECT_TRUE(At(18, 18, clBtnShadow));
  EXPECT_TRUE(At(10, 10, clRed));

  TRect sunken(30, 0, 50, 20);
  KvBtnBevel(Canvas(), sunken, false, false, clRed);
  EXPECT_EQ(sunken, TRect(32, 2, 48, 18));
  EXPECT_TRUE(At(30, 0, clBlack));
  EXPECT_TRUE(At(49, 19, clBtnHighlight));
  EXPECT_TRUE(At(31, 1, clBtnShadow));
  EXPECT_TRUE(At(48, 18, RGBColor(210, 210, 210)));
  EXPECT_TRUE(At(40, 10, kBackground));  // not filled
}

TEST_F(BevelTest, EmbossedEllipseRimsAndFaceArea) {
  TRect raised(0, 0, 20, 20);
  KvEllipse3D(Canvas(), raised, clRed, true);
  EXPECT_EQ(raised, TRect(1, 1, 18, 18));
  EXPECT_TRUE(At(9, 0, clBtnHighlight));
  EXPECT_TRUE(At(0, 9, clBtnHighlight));
  EXPECT_TRUE(At(10, 19, clBtnShadow));
  EXPECT_TRUE(At(19, 10, clBtnShadow));
  EXPECT_TRUE(At(9, 9, clRed));
  EXPECT_TRUE(QRect(0, 0, 20, 20).contains(InkBox(*bitmap_)));

  TRect sunken(30, 0, 50, 20);
  KvEllipse3D(Canvas(), sunken, clRed, false);
  EXPECT_TRUE(At(39, 0, clBtnShadow));
  EXPECT_TRUE(At(40, 19, clBtnHighlight));
}

TEST_F(BevelTest, SunkenCircleShadowsItsUpperLeftRimAndIgnoresTheFirstColour) {
  KvCircleAtPoint(Canvas(), TPoint(20, 20), 10, clLime, clRed);
  EXPECT_TRUE(At(10, 20, clBtnShadow));
  EXPECT_TRUE(At(20, 10, clBtnShadow));
  EXPECT_TRUE(At(30, 20, clBtnHighlight));
  EXPECT_TRUE(At(20, 30, clBtnHighlight));
  EXPECT_TRUE(At(20, 20, clRed));
  EXPECT_TRUE(QRect(10, 10, 21, 21).contains(InkBox(*bitmap_)));
  auto other = MakeSurface(240, 120);
  KvCircleAtPoint(other->Canvas(), TPoint(20, 20), 10, clYellow, clRed);
  EXPECT_TRUE(SameImage(*bitmap_, *other, QStringLiteral("circle_first_colour")));
}

TEST_F(BevelTest, ThumbAcrossAVerticalTrack) {
  // Size 20, not wide: hx = 4, hy = 10, outer rectangle (46, 40, 55, 61).
  KvThumb(Canvas(), TPoint(50, 50), 20, 99, false, clRed);
  EXPECT_EQ(InkBox(*bitmap_), QRect(46, 40, 9, 21));
  EXPECT_TRUE(At(46, 40, clBtnShadow));
  EXPECT_TRUE(At(54, 60, clBlack));
  EXPECT_TRUE(At(47, 41, clBtnHighlight));
  EXPECT_TRUE(At(53, 59, clBtnShadow));
  EXPECT_TRUE(At(48, 42, clBlack));  // inner outline: the border shrink is 20 div 25 = 0
  EXPECT_TRUE(At(50, 50, clRed));
}

TEST_F(BevelTest, WideThumbOfShadowColourAndLargerBorder) {
  // Size 50, wide: hx = 25, hy = 10, border shrink 2; the inner colour is the shadow.
  KvThumb(Canvas(), TPoint(100, 50), 50, 0, true, clBtnShadow);
  EXPECT_EQ(InkBox(*bitmap_), QRect(75, 40, 51, 21));
  EXPECT_TRUE(At(125, 60, clBtnShadow));
  EXPECT_TRUE(At(77, 45, clBtnFace));  // between the frames and the shrunk face
  EXPECT_TRUE(At(79, 44, clBtnShadow));
  EXPECT_TRUE(At(100, 50, clBtnShadow));
}

using ShapeTest = PainterTest;

TEST_F(ShapeTest, RoundSectorRunsClockwiseFromItsStartBearing) {
  Canvas()->Pen()->SetColor(clBlack);
  Canvas()->Brush()->SetColor(clRed);
  KvRoundSector(Canvas(), TRect(0, 0, 41, 41), 90, 90);
  EXPECT_TRUE(At(30, 30, clRed));
  EXPECT_TRUE(At(10, 10, kBackground));
  EXPECT_TRUE(At(30, 10, kBackground));
  EXPECT_TRUE(At(10, 30, kBackground));
  EXPECT_TRUE(QRect(20, 20, 21, 21).contains(InkBox(*bitmap_)));

  KvRoundSector(Canvas(), TRect(100, 0, 141, 41), 0, 90);
  EXPECT_TRUE(At(130, 10, clRed));
  EXPECT_TRUE(At(110, 10, kBackground));
  EXPECT_TRUE(At(130, 30, kBackground));
}

TEST_F(ShapeTest, PointerTipSitsAtItsPerMilleOfTheWidth) {
  Canvas()->Pen()->SetColor(clBlack);
  Canvas()->Brush()->SetColor(clRed);
  KvDrawHPointer(Canvas(), TRect(10, 5, 210, 50), 500, 6, 10, false);
  EXPECT_TRUE(At(110, 5, clBlack));
  EXPECT_TRUE(At(109, 5, kBackground));
  EXPECT_TRUE(At(111, 5, kBackground));
  EXPECT_TRUE(At(116, 15, clBlack));
  EXPECT_TRUE(At(104, 15, clBlack));
  EXPECT_TRUE(At(110, 12, clRed));
  // The scale is a single float: 20 / 1000 stored as 0.0199999996, so 175
  // per mille of 20 pixels is 3.4999999 and rounds to 3 (not 4).
  bitmap_ = MakeSurface(60, 30);
  KvDrawHPointer(Canvas(), TRect(10, 5, 30, 20), 175, 2, 4, true);
  EXPECT_TRUE(At(13, 5, clBlack));
  EXPECT_TRUE(At(14, 5, kBackground));
  KvDrawHPointer(Canvas(), TRect(10, 20, 30, 29), 1000, 2, 4, true);
  EXPECT_TRUE(At(30, 20, clBlack));
}

class ScaleTest : public PainterTest {
 protected:
  void SetUp() override {
    Canvas()->Font()->SetHeight(-14);  // a cell of 16 or more gives thick ticks
    Canvas()->Pen()->SetColor(clBlack);
    int h = 0;
    KvGetMaxTokenSize(Canvas(), labelWidth_, h, QStringLiteral("0;50;100;"));
    h_ = h;
  }
  // Rows with ink in column x between y1 and y2 (inclusive).
  int InkRows(int x, int y1, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) n += bitmap_->Pixel(x, y) != kBackground;
    return n;
  }
  int labelWidth_ = 0;
  int h_ = 0;
};

TEST_F(ScaleTest, LabelsOnTopCentreTheScaleAndReturnTheTickArea) {
  // Width = widest label + 207: sub = 207 div 10 = 20, major = 100, span 200,
  // shift = (widest label + 7) div 2 (230 wide with 30-pixel labels: shift 15).
  const int left = 10;
  TRect r(left, 5, left + labelWidth_ + 207, 100);
  KvHorizScala(Canvas(), QStringLiteral("0;50;100;"), r, 2, 5, true);
  const int x0 = left + (labelWidth_ + 7) / 2;
  const int m = 5 + 1 + h_ + 3, n = m + h_ / 3, y = n + h_ / 3;
  EXPECT_EQ(r, TRect(x0, m, x0 + 200, m + h_ - 2));
  ASSERT_GE(h_ / 8, 2);
  for (int i = 0; i <= 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(InkRows(x0 + i * 100, m, y - 1), y - m);  // major tick
    EXPECT_EQ(InkRows(x0 + i * 100, y + 2, r.Bottom + 5), 0);
  }
  EXPECT_EQ(InkRows(x0 + 20, m, n - 1), 0);  // minor ticks start lower
  EXPECT_EQ(InkRows(x0 + 140, n, y - 1), y - n);
  EXPECT_TRUE(At(x0 + 199, y, clBlack));  // thick base line
  EXPECT_TRUE(At(x0 + 150, y + 1, clBlack) || At(x0 + 150, y - 1, clBlack));
  EXPECT_EQ(Canvas()->Pen()->Width(), h_ / 8);
  // Labels centred on the major ticks above them.
  const QRect labels = InkBox(*bitmap_, QRect(0, 0, 240, m - 1));
  EXPECT_GE(labels.top(), 6);
  EXPECT_NEAR(labels.left(), x0 - Canvas()->TextWidth(QStringLiteral("0")) / 2, 1);
  EXPECT_NEAR(labels.right(), x0 + 200 + Canvas()->TextWidth(QStringLiteral("100")) / 2, 2);
}

TEST_F(ScaleTest, LabelsBelowTheTicks) {
  TRect r(0, 10, labelWidth_ + 200, 100);
  KvHorizScala(Canvas(), QStringLiteral("0;50;100;"), r, 2, 5, false);
  const int x0 = labelWidth_ / 2, y = 11, n = y + 7, m = y + 14;
  EXPECT_EQ(r, TRect(x0, m, x0 + 200, m + 3 + h_));
  EXPECT_EQ(InkRows(x0 + 100, y + 1, m), m - y);
  EXPECT_EQ(InkRows(x0 + 60, y + 1, n), n - y);
  EXPECT_EQ(InkRows(x0 + 60, n + 1, m), 0);
  const QRect labels = InkBox(*bitmap_, QRect(0, m + 1, 240, 100));
  EXPECT_GE(labels.top(), m + 3);
  EXPECT_LT(labels.bottom(), m + 3 + h_);
}

TEST_F(ScaleTest, ZeroStepsRaiseTheIntegerDivisionErrorAndMissingLabelsDrawEmpty) {
  TRect r(0, 0, 200, 50);
  EXPECT_THROW(KvHorizScala(Canvas(), QStringLiteral("0;"), r, 0, 5, true), EDivByZero);
  EXPECT_THROW(KvHorizScala(Canvas(), QStringLiteral("0;"), r, 3, 0, true), EDivByZero);
  EXPECT_EQ(r, TRect(0, 0, 200, 50));
  KvHorizScala(Canvas(), QStringLiteral("0;"), r, 4, 2, true);
  EXPECT_FALSE(InkBox(*bitmap_, QRect(0, 0, 240, r.Top - 1)).isEmpty());
  EXPECT_EQ(InkBox(*bitmap_, QRect(r.Left + 10, 0, 240, r.Top - 1)), QRect());
}

TEST_F(PainterTest, ArrowSettingsWriteTheHeaderBytesInMemoryOrder) {
  std::vector<TPoint> arrow(5, TPoint(-1, -1));
  KvArrowSettings(arrow, 4, 7, 200, 9);
  const uint8_t bytes[] = {4, 7, 0, 0, 200, 9, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(KvArrowHeaderByte(arrow[0], i), bytes[i]) << i;
  EXPECT_EQ(arrow[0], TPoint(4 | 7 << 8, 200 | 9 << 8));  // little-endian coordinates
  EXPECT_EQ(arrow[1], TPoint(-1, -1));
  EXPECT_THROW(KvArrowSettings({}, 1, 0, 0, 0), EListError);
}

TEST_F(PainterTest, ArrowTurnsAboutItsCentreAndDrawsItsOutline) {
  std::vector<TPoint> arrow = {{}, {50, 50}, {50, 20}, {55, 50}, {45, 50}};
  KvArrowSettings(arrow, 4, 1, 2, 3);
  std::vector<TPoint> out(5);
  Canvas()->Pen()->SetColor(clBlack);
  Canvas()->Brush()->SetColor(clRed);
  KvArrowDraw(Canvas(), 90, arrow, out, true);
  EXPECT_EQ(out[0], arrow[0]);
  EXPECT_EQ(out[1], TPoint(50, 50));
  EXPECT_EQ(out[2], TPoint(80, 50));
  EXPECT_EQ(out[3], TPoint(50, 55));
  EXPECT_EQ(out[4], TPoint(50, 45));
  EXPECT_TRUE(At(80, 50, clBlack));
  EXPECT_TRUE(At(60, 50, clRed));
  EXPECT_TRUE(QRect(50, 45, 31, 11).contains(InkBox(*bitmap_)));

  // In place: the input is read from a copy, so sharing the array is safe.
  KvArrowDraw(Canvas(), 90, arrow, arrow, false);
  EXPECT_EQ(arrow[2], TPoint(20, 50));
  EXPECT_EQ(arrow[3], TPoint(50, 45));
}

TEST_F(PainterTest, ArrowArraysShorterThanTheirHeaderAreRefused) {
  std::vector<TPoint> arrow = {{}, {50, 50}, {50, 20}};
  KvArrowSettings(arrow, 4, 0, 0, 0);
  std::vector<TPoint> out(5, TPoint(7, 7));
  EXPECT_THROW(KvArrowDraw(Canvas(), 0, arrow, out, true), EListError);
  EXPECT_EQ(out[0], TPoint(7, 7));
  KvArrowSettings(arrow, 2, 0, 0, 0);
  EXPECT_THROW(KvArrowDraw(Canvas(), 0, arrow, std::span<TPoint>(out.data(), 2), true), EListError);
  KvArrowSettings(arrow, 1, 0, 0, 0);
  KvArrowDraw(Canvas(), 0, arrow, out, true);
  EXPECT_EQ(out[1], TPoint(50, 50));
  EXPECT_EQ(out[2], TPoint(7, 7));
  EXPECT_TRUE(InkBox(*bitmap_).isEmpty());
}

class PictureEllipseTest : public PainterTest {
 protected:
  void SetUp() override {
    picture_.SetSize(20, 20);
    picture_.Canvas()->Brush()->SetColor(clRed);
    picture_.Canvas()->FillRect(TRect(0, 0, 10, 10));
    picture_.Canvas()->Brush()->SetColor(clYellow);
    picture_.Canvas()->FillRect(TRect(10, 0, 20, 10));
    picture_.Canvas()->Brush()->SetColor(clBlue);
    picture_.Canvas()->FillRect(TRect(0, 10, 20, 20));
  }
  TBitmap picture_;
};

TEST_F(PictureEllipseTest, ShowsThePictureInsideTheEllipseOnly) {
  // Destination (30, 40, 70, 60); the clip is the ellipse one pixel down-right.
  Kv3DEllipse(Canvas(), Canvas()->Origin(), TPoint(50, 50), 20, 10, &picture_, clLime, true, false);
  EXPECT_TRUE(At(40, 43, clRed));
  EXPECT_TRUE(At(60, 43, clYellow));
  EXPECT_TRUE(At(50, 57, clBlue));
  EXPECT_TRUE(At(45, 41, clRed));
  EXPECT_TRUE(At(50, 40, kBackground));
  EXPECT_TRUE(At(32, 42, kBackground));  // corner of the destination
  EXPECT_TRUE(At(68, 58, kBackground));
  EXPECT_TRUE(QRect(31, 41, 40, 20).contains(InkBox(*bitmap_)));
  // No clip region before, none after: the whole surface draws again.
  EXPECT_FALSE(Canvas()->HasClipRegion());
  Canvas()->SetPixels(0, 0, clBlack);
  EXPECT_TRUE(At(0, 0, clBlack));
}

TEST_F(PictureEllipseTest, TurnedPictureRingAndDeviceOrigin) {
  Kv3DEllipse(Canvas(), Canvas()->Origin(), TPoint(50, 50), 20, 10, &picture_, clLime, false, true);
  EXPECT_TRUE(At(50, 45, clBlue));
  EXPECT_TRUE(At(40, 56, clYellow));
  EXPECT_TRUE(At(60, 56, clRed));
  EXPECT_TRUE(At(50, 41, clLime));  // the ring lies on the clip's edge
  EXPECT_TRUE(At(31, 50, clLime));

  // Logical coordinates moved by the origin: the same picture 5 pixels further.
  bitmap_ = MakeSurface(240, 120);
  Canvas()->SetClipRect(TRect(0, 0, 200, 100));
  Canvas()->SetOrigin(TPoint(5, 5));
  Kv3DEllipse(Canvas(), Canvas()->Origin(), TPoint(50, 50), 20, 10, &picture_, clLime, false, true);
  Canvas()->SetOrigin(TPoint(0, 0));
  EXPECT_TRUE(At(55, 50, clBlue));
  EXPECT_TRUE(At(55, 46, clLime));
  EXPECT_TRUE(At(37, 47, kBackground));
  EXPECT_TRUE(Canvas()->HasClipRegion());
  EXPECT_EQ(Canvas()->ClipRect(), TRect(0, 0, 200, 100));
}

TEST_F(PictureEllipseTest, RadiusBelowOneDrawsNothing) {
  Kv3DEllipse(Canvas(), Canvas()->Origin(), TPoint(50, 50), 0, 10, &picture_, clLime, true, true);
  EXPECT_TRUE(InkBox(*bitmap_).isEmpty());
  EXPECT_FALSE(Canvas()->HasClipRegion());
}

TEST(PainterEnumTests, LedShapesAndPositionsStreamByName) {
  EXPECT_STREQ(QMetaEnum::fromType<TLEDShape>().valueToKey(sArrowDown), "sArrowDown");
  EXPECT_EQ(QMetaEnum::fromType<TLEDShape>().keyCount(), 6);
  EXPECT_EQ(QMetaEnum::fromType<TLEDPos>().keyToValue("lpBottom"), 3);
}

}  // namespace
