// The surface bevel: where its frame lines fall, the content area it hands
// back for every line style and spacing, the surface gradient, and its
// notifications and copies.

#include "kv/settings/surface_bevel.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::kBackground;
using kv::test::MakeSurface;

constexpr TColor kPen = RGBColor(200, 0, 0);
constexpr TColor kLight = RGBColor(250, 250, 250);
constexpr TColor kDark = RGBColor(90, 90, 90);
constexpr TColor kFace = RGBColor(0, 120, 0);

TEST(SurfaceBevel, ContentAreaForEachLineStyleWidthAndSpacing) {
  struct Case {
    TBevelLine line;
    int width, spacing;
    int shrink;  // expected distance from the edge to the content
  };
  const Case cases[] = {
      {blNone, 2, 5, 7}, {blOuter, 2, 0, 3}, {blInner, 2, 3, 6}, {blBoth, 2, 0, 4},
      {blBoth, 0, 1, 3}, {blInner, 0, 0, 1}, {blNone, 2, -2, 0}, {blBoth, 3, -5, 0},
  };
  for (const Case& c : cases) {
    for (bool filled : {false, true}) {
      SCOPED_TRACE(testing::Message() << "line " << c.line << " width " << c.width << " spacing " << c.spacing
                                      << (filled ? " filled" : ""));
      TKvSBevel bevel;
      bevel.SetBevelLine(c.line);
      bevel.SetWidth(c.width);
      bevel.SetSpacing(c.spacing);
      EXPECT_EQ(bevel.TotalWidth(), c.shrink);
      auto bitmap = MakeSurface(80, 60);
      TRect r(10, 10, 70, 50);
      (bevel.*(filled ? &TKvSBevel::PaintFilledBevel : &TKvSBevel::PaintBevel))(bitmap->Canvas(), r);
      EXPECT_EQ(r, TRect(10 + c.shrink, 10 + c.shrink, 70 - c.shrink, 50 - c.shrink));
      bevel.Offset()->Write(1, 2, 3, 4);  // margins come on top of the frame
      r = TRect(10, 10, 70, 50);
      (bevel.*(filled ? &TKvSBevel::PaintFilledBevel : &TKvSBevel::PaintBevel))(bitmap->Canvas(), r);
      EXPECT_EQ(r, TRect(12 + c.shrink, 11 + c.shrink, 67 - c.shrink, 46 - c.shrink));
    }
  }
}

TEST(SurfaceBevel, LinesAndBevelColumnByColumn) {
  // The row y = 30 of the rectangle (10, 10, 60, 50): from its left edge
  // inwards and from its right edge inwards.
  struct Case {
    TBevelLine line;
    TBevelStyle style;
    int width;
    bool filled;
    std::vector<TColor> left, right;
  };
  const Case cases[] = {
      {blBoth,
       bsRaised,
       2,
       false,
       {kPen, kLight, kLight, kPen, kBackground},
       {kPen, kDark, kDark, kPen, kBackground}},
      {blBoth, bsRaised, 2, true, {kPen, kLight, kLight, kPen, kFace}, {kPen, kDark, kDark, kPen, kFace}},
      {blOuter, bsRaised, 1, true, {kPen, kLight, kFace}, {kPen, kDark, kFace}},
      {blInner, bsRaised, 0, false, {kPen, kBackground}, {kPen, kBackground}},
      {blNone, bsRaised, 2, true, {kLight, kLight, kFace}, {kDark, kDark, kFace}},
      {blNone, bsLowered, 2, true, {kDark, kDark, kFace}, {kLight, kLight, kFace}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << " style " << c.style << " width " << c.width);
    TKvSBevel bevel;
    bevel.SetPenColor(kPen);
    bevel.SetColorHighLightFrom(kLight);
    bevel.SetColorHighLightTo(kLight);
    bevel.SetColorShadowFrom(kDark);
    bevel.SetColorShadowTo(kDark);
    bevel.SetColor(kFace);
    bevel.SetBevelLine(c.line);
    bevel.SetStyle(c.style);
    bevel.SetWidth(c.width);
    bevel.SetSpacing(0);
    auto bitmap = MakeSurface(70, 60);
    TRect r(10, 10, 60, 50);
    (bevel.*(c.filled ? &TKvSBevel::PaintFilledBevel : &TKvSBevel::PaintBevel))(bitmap->Canvas(), r);
    for (size_t i = 0; i < c.left.size(); ++i) {
      EXPECT_EQ(bitmap->Pixel(10 + int(i), 30), c.left[i]) << "left +" << i;
      EXPECT_EQ(bitmap->Pixel(59 - int(i), 30), c.right[i]) << "right -" << i;
    }
    EXPECT_EQ(kv::test::InkBox(*bitmap), QRect(10, 10, 50, 40));
    // Painters leave the pen colour and a clear brush.
    EXPECT_EQ(bitmap->Canvas()->Pen()->Color(), kPen);
    EXPECT_EQ(bitmap->Canvas()->Brush()->Style(), bsClear);
    kv::test::SaveIfFailed(*bitmap, "surface_bevel_lines");
  }
}

TEST(SurfaceBevel, GradientCoversEverythingInsideTheInnerLineSpacingIncluded) {
  TKvSBevel bevel;
  bevel.SetBevelLine(blInner);
  bevel.SetSpacing(5);
  const TColor grad = RGBColor(0, 0, 200);
  bevel.SurfaceGrad()->SetColorFrom(grad);
  bevel.SurfaceGrad()->SetColorTo(grad);  // a flat gradient, easy to count
  bevel.SurfaceGrad()->SetVisible(true);
  auto bitmap = MakeSurface(60, 50);
  TRect r(10, 10, 50, 40);
  bevel.PaintFilledBevel(bitmap->Canvas(), r);
  EXPECT_EQ(r, TRect(18, 18, 42, 32));
  // Inside the bevel (2) and the inner line (1): (13, 13) to (47, 37).
  EXPECT_EQ(kv::test::CountColor(*bitmap, grad, QRect(0, 0, 60, 50)), 34 * 24);
  EXPECT_EQ(kv::test::CountColor(*bitmap, grad, QRect(13, 13, 34, 24)), 34 * 24);
}

TEST(SurfaceBevel, SubObjectsReportTheBevelAndTotalWidthIsCurrent) {
  TKvSBevel bevel;
  std::vector<std::pair<TObject*, int>> seen;
  bevel.SetOnChange([&](TObject* sender) { seen.push_back({sender, bevel.TotalWidth()}); });
  bevel.Offset()->SetLeft(3);
  bevel.SurfaceGrad()->SetVisible(true);
  bevel.SetBevelLine(blBoth);
  bevel.SetWidth(-1);  // refused
  bevel.SetWidth(0);
  const std::vector<std::pair<TObject*, int>> expected = {{&bevel, 7}, {&bevel, 7}, {&bevel, 9}, {&bevel, 7}};
  EXPECT_EQ(seen, expected);
}

TEST(SurfaceBevel, CopiesEverythingAndEndsConsistent) {
  TKvSBevel source, dest;
  source.SetStyle(bsLowered);
  source.SetBevelLine(blOuter);
  source.SetWidth(4);
  source.SetColorHighLightTo(clAqua);
  source.Offset()->Write(1, 2, 3, 4);
  source.SurfaceGrad()->SetStyle(gsDiamond1);
  std::vector<TObject*> seen;
  dest.SetOnChange([&](TObject* sender) { seen.push_back(sender); });
  dest.Assign(&source);
  EXPECT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.back(), &dest);
  EXPECT_EQ(dest.Style(), bsLowered);
  EXPECT_EQ(dest.ColorHighLightTo(), clAqua);
  EXPECT_EQ(dest.Offset()->Bottom(), 4);
  EXPECT_EQ(dest.SurfaceGrad()->Style(), gsDiamond1);
  EXPECT_EQ(dest.TotalWidth(), 10);
}

}  // namespace
