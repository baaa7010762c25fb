// The surface bevel: where its frame lines fall, the content area it hands
// back for every line style and spacing, the surface gradient, and its
// notifications and copies.

#include "kv/settings/surface_bevel.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/exceptions.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::kBackground;
using kv::test::MakeSurface;

constexpr TColor kPen = RGBColor(200, 0, 0);
constexpr TColor kLight = RGBColor(250, 250, 250);
constexpr TColor kDark = RGBColor(90, 90, 90);
constexpr TColor kFace = RGBColor(0, 120, 0);

void UsePlainColours(TKvSBevel& bevel) {
  bevel.SetPenColor(kPen);
  bevel.SetColorHighLightFrom(kLight);
  bevel.SetColorHighLightTo(kLight);
  bevel.SetColorShadowFrom(kDark);
  bevel.SetColorShadowTo(kDark);
  bevel.SetColor(kFace);
}

TEST(SurfaceBevel, ContentAreaForEachLineStyleWidthAndSpacing) {
  struct Case {
    TBevelLine line;
    int width;
    int spacing;
    int shrink;  // expected distance from the edge to the content
  };
  const Case cases[] = {
      {blNone, 2, 5, 7}, {blOuter, 2, 0, 3}, {blInner, 2, 3, 6}, {blBoth, 2, 0, 4},
      {blBoth, 0, 1, 3}, {blInner, 0, 0, 1}, {blNone, 2, -2, 0}, {blBoth, 3, -5, 0},
  };
  for (const Case& c : cases) {
    for (bool filled : {false, true}) {
      SCOPED_TRACE(testing::Message() << "line " << c.line << " width " << c.width << " spacing " << c.spacing
                                      << (filled ? " filled" : " plain"));
      TKvSBevel bevel;
      bevel.SetBevelLine(c.line);
      bevel.SetWidth(c.width);
      bevel.SetSpacing(c.spacing);
      EXPECT_EQ(bevel.TotalWidth(), c.shrink);
      auto bitmap = MakeSurface(80, 60);
      TRect r(10, 10, 70, 50);
      if (filled)
        bevel.PaintFilledBevel(bitmap->Canvas(), r);
      else
        bevel.PaintBevel(bitmap->Canvas(), r);
      EXPECT_EQ(r, TRect(10 + c.shrink, 10 + c.shrink, 70 - c.shrink, 50 - c.shrink));
      // Margins come on top of the frame.
      bevel.Offset()->Write(1, 2, 3, 4);
      r = TRect(10, 10, 70, 50);
      bevel.PaintBevel(bitmap->Canvas(), r);
      EXPECT_EQ(r, TRect(12 + c.shrink, 11 + c.shrink, 67 - c.shrink, 46 - c.shrink));
    }
  }
}

TEST(SurfaceBevel, LinesAndBevelColumnByColumn) {
  // Left edge at x = 10 and right edge at x = 59 of the rectangle (10, 10, 60, 50),
  // looked at on the row y = 30; '-' means untouched.
  struct Case {
    TBevelLine line;
    int width;
    bool filled;
    std::vector<TColor> left;   // x = 10, 11, ...
    std::vector<TColor> right;  // x = 59, 58, ...
  };
  const Case cases[] = {
      {blBoth, 2, false, {kPen, kLight, kLight, kPen, kBackground}, {kPen, kDark, kDark, kPen, kBackground}},
      {blBoth, 2, true, {kPen, kLight, kLight, kPen, kFace}, {kPen, kDark, kDark, kPen, kFace}},
      {blOuter, 1, true, {kPen, kLight, kFace}, {kPen, kDark, kFace}},
      {blInner, 0, false, {kPen, kBackground}, {kPen, kBackground}},
      {blNone, 2, true, {kLight, kLight, kFace}, {kDark, kDark, kFace}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << " width " << c.width);
    TKvSBevel bevel;
    UsePlainColours(bevel);
    bevel.SetBevelLine(c.line);
    bevel.SetWidth(c.width);
    bevel.SetSpacing(0);
    auto bitmap = MakeSurface(70, 60);
    TRect r(10, 10, 60, 50);
    if (c.filled)
      bevel.PaintFilledBevel(bitmap->Canvas(), r);
    else
      bevel.PaintBevel(bitmap->Canvas(), r);
    for (size_t i = 0; i < c.left.size(); ++i) {
      EXPECT_EQ(bitmap->Pixel(10 + int(i), 30), c.left[i]) << "left +" << i;
      EXPECT_EQ(bitmap->Pixel(59 - int(i), 30), c.right[i]) << "right -" << i;
    }
    EXPECT_EQ(bitmap->Pixel(9, 30), kBackground);
    EXPECT_EQ(bitmap->Pixel(60, 30), kBackground);
    // Painters leave pen width 1, the pen colour and a clear brush.
    EXPECT_EQ(bitmap->Canvas()->Pen()->Color(), kPen);
    EXPECT_EQ(bitmap->Canvas()->Brush()->Style(), bsClear);
    kv::test::SaveIfFailed(*bitmap, "surface_bevel_lines");
  }
}

TEST(SurfaceBevel, LoweredSwapsTheGradients) {
  const TColor shFrom = RGBColor(10, 0, 0), shTo = RGBColor(20, 0, 0);
  const TColor hiFrom = RGBColor(0, 0, 30), hiTo = RGBColor(0, 0, 40);
  struct Case {
    TBevelStyle style;
    TColor top, bottom;
  };
  // With one line the colour is the end its gradient runs towards.
  const Case cases[] = {{bsRaised, hiTo, shTo}, {bsLowered, shFrom, hiFrom}};
  for (const Case& c : cases) {
    TKvSBevel bevel;
    bevel.SetColorShadowFrom(shFrom);
    bevel.SetColorShadowTo(shTo);
    bevel.SetColorHighLightFrom(hiFrom);
    bevel.SetColorHighLightTo(hiTo);
    bevel.SetWidth(1);
    bevel.SetStyle(c.style);
    auto bitmap = MakeSurface(20, 20);
    TRect r(0, 0, 20, 20);
    bevel.PaintBevel(bitmap->Canvas(), r);
    EXPECT_EQ(bitmap->Pixel(0, 10), c.top);
    EXPECT_EQ(bitmap->Pixel(10, 0), c.top);
    EXPECT_EQ(bitmap->Pixel(19, 10), c.bottom);
    EXPECT_EQ(bitmap->Pixel(10, 19), c.bottom);
  }
}

TEST(SurfaceBevel, GradientCoversEverythingInsideTheInnerLineSpacingIncluded) {
  TKvSBevel bevel;
  UsePlainColours(bevel);
  bevel.SetBevelLine(blInner);
  bevel.SetSpacing(5);
  const TColor grad = RGBColor(0, 0, 200);
  bevel.SurfaceGrad()->SetColorFrom(grad);
  bevel.SurfaceGrad()->SetColorTo(grad);  // equal colours: a flat gradient, easy to count
  bevel.SurfaceGrad()->SetVisible(true);
  auto bitmap = MakeSurface(60, 50);
  TRect r(10, 10, 50, 40);
  bevel.PaintFilledBevel(bitmap->Canvas(), r);
  EXPECT_EQ(r, TRect(18, 18, 42, 32));
  // Inside the bevel (2) and the inner line (1): (13, 13) to (47, 37).
  const QRect inside(13, 13, 34, 24);
  EXPECT_EQ(kv::test::CountColor(*bitmap, grad, QRect(0, 0, 60, 50)), inside.width() * inside.height());
  EXPECT_EQ(kv::test::CountColor(*bitmap, grad, inside), inside.width() * inside.height());
  EXPECT_EQ(bitmap->Pixel(12, 20), kPen);
}

TEST(SurfaceBevel, SubObjectsReportTheBevelAndKeepTotalWidthCurrent) {
  TKvSBevel bevel;
  std::vector<std::pair<TObject*, int>> seen;
  bevel.SetOnChange([&](TObject* sender) { seen.push_back({sender, bevel.TotalWidth()}); });
  bevel.Offset()->SetLeft(3);
  bevel.SurfaceGrad()->SetVisible(true);
  bevel.SetBevelLine(blBoth);
  bevel.SetWidth(-1);  // ignored
  bevel.SetWidth(0);
  ASSERT_EQ(seen.size(), 4u);
  for (const auto& s : seen) EXPECT_EQ(s.first, &bevel);
  EXPECT_EQ(seen[2].second, 9);
  EXPECT_EQ(seen[3].second, 7);
}

TEST(SurfaceBevel, CopiesEverythingAndEndsConsistent) {
  TKvSBevel source, dest;
  source.SetStyle(bsLowered);
  source.SetSpacing(1);
  source.SetBevelLine(blOuter);
  source.SetWidth(4);
  source.SetColor(clRed);
  source.SetColorShadowFrom(clLime);
  source.SetColorShadowTo(clBlue);
  source.SetColorHighLightFrom(clYellow);
  source.SetColorHighLightTo(clAqua);
  source.SetPenColor(clWhite);
  source.Offset()->Write(1, 2, 3, 4);
  source.SurfaceGrad()->SetStyle(gsDiamond1);
  int calls = 0;
  TObject* last = nullptr;
  dest.SetOnChange([&](TObject* sender) {
    ++calls;
    last = sender;
  });
  dest.Assign(&source);
  EXPECT_GE(calls, 2);
  EXPECT_EQ(last, &dest);
  EXPECT_EQ(dest.Style(), bsLowered);
  EXPECT_EQ(dest.Spacing(), 1);
  EXPECT_EQ(dest.BevelLine(), blOuter);
  EXPECT_EQ(dest.Width(), 4);
  EXPECT_EQ(dest.Color(), clRed);
  EXPECT_EQ(dest.ColorShadowFrom(), clLime);
  EXPECT_EQ(dest.ColorShadowTo(), clBlue);
  EXPECT_EQ(dest.ColorHighLightFrom(), clYellow);
  EXPECT_EQ(dest.ColorHighLightTo(), clAqua);
  EXPECT_EQ(dest.PenColor(), clWhite);
  EXPECT_EQ(dest.Offset()->Bottom(), 4);
  EXPECT_EQ(dest.SurfaceGrad()->Style(), gsDiamond1);
  EXPECT_EQ(dest.TotalWidth(), 6);
  EXPECT_NE(dest.Offset(), source.Offset());

  TKvOffset offset;
  try {
    offset.Assign(&source);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TKvSBevel to a TKvOffset"));
  }
}

}  // namespace
