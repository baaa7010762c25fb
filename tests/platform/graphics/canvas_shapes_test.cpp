#include <QSet>
#include <cmath>

#include "platform/graphics/frame3d.h"
#include "tests/platform/graphics/pixel_test.h"

namespace {

using CanvasShapes = PixelTest;

TEST_F(CanvasShapes, RectangleOutlinesItsBoxWithThePenAndFillsTheInsideWithTheBrush) {
  for (const QRect box : {QRect(5, 7, 10, 6), QRect(3, 3, 2, 2), QRect(10, 10, 1, 1), QRect(0, 0, 1, 9)}) {
    Reset(32, 32);
    canvas->Brush()->SetColor(clRed);
    canvas->Rectangle(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool inside = box.contains(x, y);
        const bool border =
            inside && (x == box.left() || x == box.right() || y == box.top() || y == box.bottom());
        const TColor expected = border ? clBlack : inside ? clRed : clWhite;
        ASSERT_EQ(At(x, y), expected)
            << "pixel " << x << "," << y << " of box " << box.width() << "x" << box.height();
      }
  }
}

TEST_F(CanvasShapes, RectangleWithSwappedCornersDrawsTheSameBox) {
  canvas->Rectangle(20, 15, 5, 3);
  EXPECT_EQ(Painted(), QRect(5, 3, 15, 12));
}

TEST_F(CanvasShapes, ClearPenFillsTheWholeBoxAndClearBrushLeavesTheInside) {
  canvas->Pen()->SetStyle(psClear);
  canvas->Brush()->SetColor(clBlue);
  canvas->Rectangle(2, 2, 8, 6);
  EXPECT_EQ(Count(clBlue), 24);
  Reset(64, 64);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Rectangle(2, 2, 8, 6);
  EXPECT_EQ(Count(clBlack), 16);
  EXPECT_EQ(At(4, 4), clWhite);
}

TEST_F(CanvasShapes, WidePenIsCentredOnTheOutline) {
  canvas->Pen()->SetWidth(3);
  canvas->Brush()->SetColor(clRed);
  canvas->Rectangle(10, 10, 30, 30);
  EXPECT_EQ(Painted(), QRect(9, 9, 22, 22));  // one pixel outside, one inside the one-pixel outline
  EXPECT_EQ(At(11, 20), clBlack);
  EXPECT_EQ(At(12, 20), clRed);
  canvas->Pen()->SetStyle(psInsideFrame);
  Reset(64, 64);
  canvas->Pen()->SetWidth(3);
  canvas->Pen()->SetStyle(psInsideFrame);
  canvas->Rectangle(10, 10, 30, 30);
  EXPECT_EQ(Painted(), QRect(10, 10, 20, 20));
  EXPECT_EQ(At(12, 20), clBlack);
  EXPECT_EQ(At(13, 20), clWhite);
}

TEST_F(CanvasShapes, FillRectAndFrameRectUseTheBrushOnly) {
  canvas->Brush()->SetColor(clGreen);
  canvas->FillRect(TRect(1, 1, 5, 4));
  EXPECT_EQ(Count(clGreen), 12);
  canvas->Brush()->SetColor(clRed);
  canvas->FrameRect(TRect(10, 10, 15, 14));
  EXPECT_EQ(Count(clRed), 14);
  EXPECT_EQ(At(12, 12), clWhite);
  canvas->FillRect(TRect(20, 20, 20, 30));  // empty: nothing
  canvas->Brush()->SetStyle(bsClear);
  canvas->FillRect(TRect(30, 30, 40, 40));
  EXPECT_EQ(Count(clRed), 14);
  EXPECT_EQ(Count(clBlack), 0);
}

// Ellipses of every size stay inside their box and touch all four sides.
TEST_F(CanvasShapes, EllipseCoversItsBoxForEverySizeAndAspectRatio) {
  std::vector<QSize> sizes;
  for (int d = 1; d <= 20; ++d) sizes.emplace_back(d, d);
  for (const QSize s : {QSize(40, 10), QSize(10, 40), QSize(40, 2), QSize(2, 40), QSize(33, 7), QSize(5, 13),
                        QSize(60, 60), QSize(41, 40)})
    sizes.push_back(s);
  for (const QSize s : sizes) {
    Reset(64, 64);
    canvas->Brush()->SetColor(clRed);
    canvas->Ellipse(2, 3, 2 + s.width(), 3 + s.height());
    ASSERT_EQ(Painted(), QRect(2, 3, s.width(), s.height())) << s.width() << "x" << s.height();
    // Symmetric about both axes of the box.
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x) {
        const TColor c = At(2 + x, 3 + y);
        ASSERT_EQ(c, At(2 + s.width() - 1 - x, 3 + y))
            << s.width() << "x" << s.height() << " at " << x << "," << y;
        ASSERT_EQ(c, At(2 + x, 3 + s.height() - 1 - y))
            << s.width() << "x" << s.height() << " at " << x << "," << y;
      }
    // Closed outline: no brush pixel touches the outside.
    for (const QPoint p : PixelsOf(clRed))
      for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
        ASSERT_NE(At(p.x() + d.x(), p.y() + d.y()), clWhite) << s.width() << "x" << s.height();
  }
}

TEST_F(CanvasShapes, LargeCircleIsRound) {
  Reset(64, 64);
  canvas->Ellipse(0, 0, 61, 61);
  // Every outline pixel lies within about a pixel of the ideal circle.
  for (const QPoint p : PixelsOf(clBlack)) {
    const double r = std::hypot(p.x() + 0.5 - 30.5, p.y() + 0.5 - 30.5);
    EXPECT_NEAR(r, 30.0, 1.0) << p.x() << "," << p.y();
  }
  EXPECT_EQ(At(30, 30), clWhite);
  EXPECT_EQ(At(0, 30), clBlack);
  EXPECT_EQ(At(1, 1), clWhite);
}

// Pixel maps worked out by hand: a pixel is covered when, in its row or in its
// column, it lies no further from the centre than the pixel nearest to the
// ideal ellipse through the outermost pixel centres.
TEST_F(CanvasShapes, EllipseAndEllipticRegionCoverTheHandWorkedPixels) {
  struct Shape {
    int w, h;
    std::vector<const char*> rows;
  };
  const Shape shapes[] = {
      {7, 7, {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."}},
      {21,
       5,
       {"....#############....", ".###################.", "#####################", ".###################.",
        "....#############...."}},
      {5, 21, {"..#..", ".###.", ".###.", ".###.", "#####", "#####", "#####",
               "#####", "#####", "#####", "#####", "#####", "#####", "#####",
               "#####", "#####", "#####", ".###.", ".###.", ".###.", "..#.."}},
  };
  for (const Shape& shape : shapes) {
    Reset(32, 32);
    canvas->Brush()->SetColor(clRed);
    canvas->Ellipse(3, 4, 3 + shape.w, 4 + shape.h);
    const QRegion region = CreateEllipticRgn(3, 4, 3 + shape.w, 4 + shape.h);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const int i = y - 4, j = x - 3;
        const bool covered =
            i >= 0 && i < shape.h && j >= 0 && j < shape.w && shape.rows[size_t(i)][j] == '#';
        ASSERT_EQ(At(x, y) != clWhite, covered) << shape.w << "x" << shape.h << " at " << j << "," << i;
        ASSERT_EQ(region.contains(QPoint(x, y)), covered)
            << shape.w << "x" << shape.h << " at " << j << "," << i;
      }
  }
}

TEST_F(CanvasShapes, LineDrawsItsStartAndLeavesOutItsEndInEveryDirection) {
  const QPoint directions[] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  for (const QPoint d : directions) {
    Reset(64, 64);
    const QPoint a(32, 32);
    const QPoint b = a + d * 10;
    canvas->MoveTo(a.x(), a.y());
    canvas->LineTo(b.x(), b.y());
    EXPECT_EQ(At(a.x(), a.y()), clBlack) << d.x() << "," << d.y();
    EXPECT_EQ(At(b.x(), b.y()), clWhite) << d.x() << "," << d.y();
    EXPECT_EQ(Count(clBlack), 10) << d.x() << "," << d.y();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(At(a.x() + d.x() * i, a.y() + d.y() * i), clBlack);
    EXPECT_EQ(canvas->PenPos(), TPoint(b.x(), b.y()));
  }
}

TEST_F(CanvasShapes, LineAtAnExactHalfPixelTieRoundsUpInBothDirections) {
  // From (0, 0) to (4, 2) the ideal y at x = 1 and x = 3 is a half: the
  // pixels after the start are (1, 1), (2, 1), (3, 2); reversed, the same.
  struct Case {
    QPoint from, to;
    std::vector<QPoint> pixels;
  };
  const Case cases[] = {
      {{10, 10}, {14, 12}, {{10, 10}, {11, 11}, {12, 11}, {13, 12}}},
      {{14, 12}, {10, 10}, {{11, 11}, {12, 11}, {13, 12}, {14, 12}}},
      {{10, 10}, {12, 14}, {{10, 10}, {11, 11}, {11, 12}, {12, 13}}},
  };
  for (const Case& c : cases) {
    Reset(32, 32);
    canvas->MoveTo(c.from.x(), c.from.y());
    canvas->LineTo(c.to.x(), c.to.y());
    EXPECT_EQ(PixelsOf(clBlack), c.pixels)
        << c.from.x() << "," << c.from.y() << " to " << c.to.x() << "," << c.to.y();
  }
}

TEST_F(CanvasShapes, SteepLineAndItsReverseShareTheirInnerPixels) {
  canvas->MoveTo(3, 5);
  canvas->LineTo(10, 30);
  const std::vector<QPoint> forward = PixelsOf(clBlack);
  Reset(64, 64);
  canvas->MoveTo(10, 30);
  canvas->LineTo(3, 5);
  const std::vector<QPoint> backward = PixelsOf(clBlack);
  ASSERT_EQ(forward.size(), 25u);
  ASSERT_EQ(backward.size(), 25u);
  QSet<QPair<int, int>> f, b;
  for (const QPoint p : forward) f.insert({p.x(), p.y()});
  for (const QPoint p : backward) b.insert({p.x(), p.y()});
  f.remove({3, 5});
  b.remove({10, 30});
  EXPECT_EQ(f, b);
  // One pixel per row: a steep line has no gaps and no doubled rows.
  QSet<int> rows;
  for (const QPoint p : forward) rows.insert(p.y());
  EXPECT_EQ(rows.size(), 25);
}

TEST_F(CanvasShapes, DashedLineLeavesGapsInTheBrushColourOrClear) {
  canvas->Pen()->SetStyle(psDot);
  canvas->Brush()->SetColor(clRed);
  canvas->MoveTo(0, 5);
  canvas->LineTo(12, 5);
  EXPECT_EQ(Count(clBlack), 6);
  EXPECT_EQ(Count(clRed), 6);
  EXPECT_EQ(At(0, 5), clBlack);
  EXPECT_EQ(At(3, 5), clRed);
  canvas->Brush()->SetStyle(bsClear);
  canvas->MoveTo(0, 10);
  canvas->LineTo(12, 10);
  EXPECT_EQ(Count(clBlack), 12);
  EXPECT_EQ(At(3, 10), clWhite);
}

TEST_F(CanvasShapes, PolylineLeavesOutOnlyItsLastPoint) {
  const TPoint pts[] = {{2, 2}, {10, 2}, {10, 8}, {4, 12}};
  canvas->Polyline(pts, 4);
  EXPECT_EQ(At(2, 2), clBlack);
  EXPECT_EQ(At(10, 2), clBlack);
  EXPECT_EQ(At(10, 8), clBlack);
  EXPECT_EQ(At(4, 12), clWhite);
  EXPECT_EQ(Count(clBlack), 8 + 6 + 6);
}

TEST_F(CanvasShapes, PolygonDrawsEveryVertexAndFillsTheInside) {
  const TPoint pts[] = {{5, 0}, {10, 8}, {0, 8}};
  canvas->Brush()->SetColor(clRed);
  canvas->Polygon(pts, 3);
  for (const TPoint& p : pts) EXPECT_EQ(At(p.X, p.Y), clBlack) << p.X << "," << p.Y;
  EXPECT_EQ(At(5, 5), clRed);
  EXPECT_EQ(Painted(), QRect(0, 0, 11, 9));
  // A slanted quadrilateral.
  Reset(64, 64);
  const TPoint quad[] = {{3, 20}, {40, 3}, {60, 45}, {20, 60}};
  canvas->Brush()->SetStyle(bsClear);
  canvas->Polygon(quad, 4);
  for (const TPoint& p : quad) EXPECT_EQ(At(p.X, p.Y), clBlack) << p.X << "," << p.Y;
  EXPECT_EQ(Painted(), QRect(3, 3, 58, 58));
}

TEST_F(CanvasShapes, PolygonFillCoversThePixelsWhoseCentresAreInside) {
  canvas->Pen()->SetStyle(psClear);
  canvas->Brush()->SetColor(clRed);
  const TPoint square[] = {{4, 4}, {14, 4}, {14, 14}, {4, 14}};
  canvas->Polygon(square, 4);
  EXPECT_EQ(Painted(), QRect(4, 4, 10, 10));  // as a rectangle (4, 4, 14, 14)
  EXPECT_EQ(Count(clRed), 100);
  // A self-crossing outline leaves its doubly covered middle empty.
  Reset(64, 64);
  canvas->Pen()->SetStyle(psClear);
  canvas->Brush()->SetColor(clRed);
  const TPoint star[] = {{32, 2}, {44, 60}, {2, 22}, {62, 22}, {20, 60}};
  canvas->Polygon(star, 5);
  EXPECT_EQ(At(32, 34), clWhite);
  EXPECT_EQ(At(32, 10), clRed);
}

TEST_F(CanvasShapes, PieFromSixToThreeOClockCoversTheLowerRightQuarterOnly) {
  Reset(64, 64);
  canvas->Pen()->SetColor(clBlue);
  canvas->Brush()->SetColor(clRed);
  // Counter-clockwise from the radial through 6 o'clock to the one through 3.
  canvas->Pie(10, 10, 50, 50, 30, 50, 50, 30);
  const QRect painted = Painted();
  EXPECT_EQ(painted, QRect(30, 30, 20, 20));
  EXPECT_EQ(At(30, 30), clBlue);   // the centre corner lies on both radial edges
  EXPECT_EQ(At(35, 30), clBlue);   // the edge along 3 o'clock
  EXPECT_EQ(At(30, 35), clBlue);   // the edge along 6 o'clock
  EXPECT_EQ(At(38, 38), clRed);    // inside
  EXPECT_EQ(At(45, 45), clWhite);  // beyond the rim
  EXPECT_EQ(At(49, 30), clBlue);   // the rim at 3 o'clock
  EXPECT_EQ(At(30, 49), clBlue);   // and at 6 o'clock
}

TEST_F(CanvasShapes, PieAnglesFollowTheEllipseAxes) {
  // On a flat ellipse, the radial through the box corner is 45 degrees of
  // the ellipse, not of the screen.
  Reset(64, 64);
  canvas->Brush()->SetColor(clRed);
  canvas->Pen()->SetStyle(psClear);
  canvas->Pie(0, 20, 60, 40, 60, 20, 0, 20);  // upper half: corner radials at 45 and 135
  const QRect painted = Painted();
  EXPECT_EQ(painted.top(), 20);
  EXPECT_LE(painted.bottom(), 30);
  // Between the box's diagonals in ellipse terms: about 60 / sqrt(2) wide
  // (through the screen angles of the corners it would be nearly 60).
  EXPECT_NEAR(painted.width(), 43, 3);
}

TEST_F(CanvasShapes, ArcDrawsOnlyTheRimBetweenItsRadials) {
  Reset(64, 64);
  canvas->Brush()->SetColor(clRed);
  // Upper-left quarter: counter-clockwise from 12 to 9 o'clock.
  canvas->Arc(0, 0, 40, 40, 20, 0, 0, 20);
  EXPECT_EQ(Count(clRed), 0);
  const QRect painted = Painted();
  EXPECT_EQ(painted, QRect(0, 0, 20, 20));
  EXPECT_EQ(At(0, 19), clBlack);
  EXPECT_EQ(At(19, 0), clBlack);
  EXPECT_EQ(At(10, 10), clWhite);
  // The same radial twice is the whole ellipse.
  Reset(64, 64);
  canvas->Arc(0, 0, 40, 40, 20, 0, 20, 0);
  EXPECT_EQ(Painted(), QRect(0, 0, 40, 40));
}

TEST_F(CanvasShapes, ChordFillsTheSideOfTheArc) {
  canvas->Brush()->SetColor(clRed);
  // Upper half: counter-clockwise from 3 to 9 o'clock; the chord is the diameter.
  canvas->Chord(0, 0, 40, 40, 40, 20, 0, 20);
  EXPECT_EQ(At(20, 10), clRed);
  EXPECT_EQ(At(20, 30), clWhite);
  EXPECT_EQ(Painted(), QRect(0, 0, 40, 20));
  EXPECT_EQ(At(20, 19), clBlack);  // the chord is outlined
}

TEST_F(CanvasShapes, RoundRectStaysInsideItsBoxWithRoundedCorners) {
  canvas->Brush()->SetColor(clRed);
  canvas->RoundRect(5, 5, 45, 35, 16, 12);
  EXPECT_EQ(Painted(), QRect(5, 5, 40, 30));
  EXPECT_EQ(At(5, 5), clWhite);
  EXPECT_EQ(At(44, 34), clWhite);
  EXPECT_EQ(At(25, 5), clBlack);
  EXPECT_EQ(At(5, 20), clBlack);
  EXPECT_EQ(At(25, 20), clRed);
  // A 1 x 1 corner ellipse is a plain rectangle.
  Reset(64, 64);
  canvas->RoundRect(5, 5, 15, 15, 1, 1);
  EXPECT_EQ(At(5, 5), clBlack);
  EXPECT_EQ(At(14, 14), clBlack);
}

TEST_F(CanvasShapes, WidePenEllipseRingStaysAroundTheOutline) {
  canvas->Pen()->SetWidth(2);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Ellipse(10, 10, 50, 50);
  EXPECT_EQ(Painted(), QRect(10, 10, 40, 40));
  EXPECT_EQ(At(10, 30), clBlack);
  EXPECT_EQ(At(11, 30), clBlack);
  EXPECT_EQ(At(12, 30), clWhite);
  EXPECT_EQ(At(30, 30), clWhite);
}

TEST_F(CanvasShapes, Draw3DFrameDrawsTopLeftAndBottomRightAndShrinksTheRectangle) {
  TRect r(2, 2, 12, 10);
  Draw3DFrame(canvas, r, clRed, clBlue, 2);
  EXPECT_EQ(r, TRect(4, 4, 10, 8));
  EXPECT_EQ(canvas->Pen()->Width(), 1);
  // Outer frame: left column and top row red (the top-right pixel is blue),
  // right column and bottom row blue.
  EXPECT_EQ(At(2, 2), clRed);
  EXPECT_EQ(At(10, 2), clRed);
  EXPECT_EQ(At(11, 2), clBlue);
  EXPECT_EQ(At(11, 9), clBlue);
  EXPECT_EQ(At(2, 9), clBlue);  // bottom-left belongs to the bottom line
  EXPECT_EQ(At(2, 8), clRed);
  EXPECT_EQ(At(3, 3), clRed);  // second frame
  EXPECT_EQ(At(10, 8), clBlue);
  EXPECT_EQ(At(4, 4), clWhite);
  EXPECT_EQ(At(12, 5), clWhite);
  EXPECT_EQ(Count(clRed) + Count(clBlue), 32 + 24);
}

TEST_F(CanvasShapes, PixelsReadAndWrite) {
  canvas->SetPixels(3, 4, clRed);
  EXPECT_EQ(canvas->Pixels(3, 4), clRed);
  EXPECT_EQ(canvas->Pixels(-1, 4), clInvalid);
  EXPECT_EQ(canvas->Pixels(64, 0), clInvalid);
  canvas->SetPixels(3, 5, clBtnFace);
  EXPECT_EQ(canvas->Pixels(3, 5), ColorToRGB(clBtnFace));
}

}  // namespace
