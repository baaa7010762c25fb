#include <QPainter>

#include "platform/graphics/picture.h"
#include "tests/platform/graphics/pixel_test.h"

namespace {

using CanvasModes = PixelTest;

// A busy picture to draw over.
void PaintScene(TCanvas* c) {
  c->Brush()->SetColor(clYellow);
  c->Rectangle(2, 2, 40, 30);
  c->Brush()->SetColor(clAqua);
  c->Ellipse(20, 10, 60, 60);
  c->Pen()->SetColor(clRed);
  c->MoveTo(0, 63);
  c->LineTo(63, 0);
}

TEST_F(CanvasModes, XorPenDrawnTwiceRestoresThePicture) {
  PaintScene(canvas);
  const QImage before = bitmap.Image().copy();
  canvas->Pen()->SetMode(pmXor);
  canvas->Pen()->SetColor(clLime);
  canvas->Brush()->SetColor(clFuchsia);
  for (int pass = 0; pass < 2; ++pass) {
    canvas->MoveTo(5, 50);
    canvas->LineTo(60, 3);
    canvas->Rectangle(10, 10, 50, 40);
    canvas->Ellipse(4, 4, 44, 30);
    canvas->Pie(0, 0, 64, 64, 64, 32, 32, 0);
    canvas->RoundRect(30, 30, 62, 62, 10, 10);
    const TPoint star[] = {{32, 2}, {44, 60}, {2, 22}, {62, 22}, {20, 60}};
    canvas->Polygon(star, 5);
    if (pass == 0) {
      EXPECT_NE(bitmap.Image(), before);
    }
  }
  EXPECT_EQ(bitmap.Image(), before);
}

TEST_F(CanvasModes, XorBlockCopyTwiceRestoresThePicture) {
  PaintScene(canvas);
  const QImage before = bitmap.Image().copy();
  TBitmap source;
  source.SetSize(20, 20);
  source.Canvas()->Brush()->SetColor(clBlue);
  source.Canvas()->Ellipse(0, 0, 20, 20);
  canvas->SetCopyMode(cmSrcInvert);
  canvas->Draw(5, 5, &source);
  const TColor xored = At(15, 15);
  EXPECT_EQ(xored, TColor(ColorToRGB(clYellow) ^ ColorToRGB(clBlue)));
  canvas->CopyRect(TRect(5, 5, 25, 25), source.Canvas(), TRect(0, 0, 20, 20));
  EXPECT_EQ(bitmap.Image(), before);
}

// Outline and fill of one shape never overlap, so an XOR shape shows every
// pixel XORed exactly once (and nothing stays at the background).
TEST_F(CanvasModes, XorShapesTouchEveryPixelOnce) {
  Reset(64, 64, clBlack);
  canvas->Pen()->SetMode(pmXor);
  canvas->Pen()->SetColor(clRed);
  canvas->Brush()->SetColor(clBlue);
  const TPoint triangle[] = {{5, 5}, {30, 10}, {10, 40}};
  canvas->Polygon(triangle, 3);
  canvas->Ellipse(35, 30, 60, 50);
  canvas->RoundRect(35, 2, 60, 25, 8, 8);
  canvas->Rectangle(2, 45, 25, 60);
  canvas->Pie(30, 52, 60, 64, 60, 58, 30, 58);
  EXPECT_GT(Count(clRed), 200);
  EXPECT_GT(Count(clBlue), 800);
  EXPECT_EQ(Count(clRed ^ clBlue), 0);  // no pixel got both
  EXPECT_EQ(Count(clRed) + Count(clBlue) + Count(clBlack), 64 * 64);
}

TEST_F(CanvasModes, PenModesMixThePenWithTheSurface) {
  struct Case {
    TPenMode mode;
    TColor expected;
  };
  const TColor d = RGBColor(0x30, 0x60, 0x90);
  const TColor p = RGBColor(0xF0, 0x0F, 0x55);
  const Case cases[] = {
      {pmCopy, p},
      {pmNot, d ^ 0xFFFFFF},
      {pmXor, d ^ p},
      {pmNotXor, (d ^ p) ^ 0xFFFFFF},
      {pmMask, d & p},
      {pmMerge, d | p},
      {pmNotCopy, p ^ 0xFFFFFF},
      {pmBlack, clBlack},
      {pmWhite, clWhite},
      {pmNop, d},
      {pmMaskPenNot, p & (d ^ 0xFFFFFF)},
  };
  for (const Case& c : cases) {
    Reset(8, 8, d);
    canvas->Pen()->SetColor(p);
    canvas->Pen()->SetMode(c.mode);
    canvas->MoveTo(0, 3);
    canvas->LineTo(8, 3);
    EXPECT_EQ(At(4, 3), c.expected) << "mode " << int(c.mode);
    EXPECT_EQ(At(4, 2), d);
  }
}

TEST_F(CanvasModes, CopyModesCombineTheSourceWithTheSurface) {
  const TColor d = RGBColor(0x30, 0x60, 0x90);
  const TColor s = RGBColor(0xF0, 0x0F, 0x55);
  TBitmap source;
  source.SetSize(4, 4);
  source.Image().fill(ToQColor(s));
  const std::pair<TCopyMode, TColor> cases[] = {
      {cmSrcCopy, s},         {cmSrcInvert, s ^ d},         {cmSrcAnd, s & d},
      {cmSrcPaint, s | d},    {cmNotSrcCopy, s ^ 0xFFFFFF}, {cmDstInvert, d ^ 0xFFFFFF},
      {cmBlackness, clBlack}, {cmWhiteness, clWhite}};
  for (const auto& [mode, expected] : cases) {
    Reset(8, 8, d);
    canvas->SetCopyMode(mode);
    canvas->Draw(2, 2, &source);
    EXPECT_EQ(At(3, 3), expected) << std::hex << mode;
    EXPECT_EQ(At(1, 1), d);
  }
}

TEST_F(CanvasModes, ClipRegionsLimitDrawing) {
  canvas->SetClipRegion(CreateRectRgn(10, 10, 20, 20));
  EXPECT_EQ(canvas->ClipRect(), TRect(10, 10, 20, 20));
  canvas->Brush()->SetColor(clRed);
  canvas->Rectangle(0, 0, 64, 64);
  EXPECT_EQ(Painted(), QRect(10, 10, 10, 10));
  EXPECT_EQ(Count(clRed), 100);
  canvas->ResetClipRegion();
  EXPECT_EQ(canvas->ClipRect(), TRect(0, 0, 64, 64));

  Reset(64, 64);
  canvas->SetClipRegion(CreateEllipticRgn(0, 0, 40, 30));
  canvas->Brush()->SetColor(clBlue);
  canvas->Pen()->SetStyle(psClear);
  canvas->Rectangle(0, 0, 64, 64);
  const QRegion ellipse = CreateEllipticRgn(0, 0, 40, 30);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(At(x, y) == clBlue, ellipse.contains(QPoint(x, y))) << x << "," << y;
}

TEST_F(CanvasModes, ClipRegionsAreInDeviceCoordinates) {
  canvas->SetOrigin(TPoint(10, 5));
  canvas->SetPixels(0, 0, clRed);
  EXPECT_EQ(At(10, 5), clRed);
  EXPECT_EQ(canvas->Pixels(0, 0), clRed);
  EXPECT_EQ(canvas->ClipRect(), TRect(-10, -5, 54, 59));
  // The region (20, 20)-(30, 30) in device pixels is (10, 15)-(20, 25) logically.
  canvas->SetClipRegion(CreateRectRgn(20, 20, 30, 30));
  EXPECT_EQ(canvas->ClipRect(), TRect(10, 15, 20, 25));
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(TRect(0, 0, 64, 64));
  QRect blue;
  for (const QPoint p : PixelsOf(clBlue)) blue |= QRect(p, QSize(1, 1));
  EXPECT_EQ(blue, QRect(20, 20, 10, 10));
}

TEST_F(CanvasModes, MirroredStretchDrawTurnsAPictureBy180Degrees) {
  TBitmap pic;
  pic.SetSize(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) pic.SetPixel(x, y, RGBColor(x * 30, y * 50, 7));
  canvas->StretchDraw(TRect(17, 15, 10, 10), &pic);  // both pairs of sides swapped
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(At(10 + 6 - x, 10 + 4 - y), pic.Pixel(x, y)) << x << "," << y;
  EXPECT_EQ(Painted(), QRect(10, 10, 7, 5));
  // Only left and right swapped: a horizontal mirror.
  Reset(64, 64);
  canvas->StretchDraw(TRect(17, 10, 10, 15), &pic);
  EXPECT_EQ(At(16, 10), pic.Pixel(0, 0));
  EXPECT_EQ(At(10, 14), pic.Pixel(6, 4));
}

TEST_F(CanvasModes, StretchDrawScalesByWholePixels) {
  TBitmap pic;
  pic.SetSize(2, 2);
  pic.SetPixel(0, 0, clRed);
  pic.SetPixel(1, 0, clLime);
  pic.SetPixel(0, 1, clBlue);
  pic.SetPixel(1, 1, clBlack);
  canvas->StretchDraw(TRect(0, 0, 8, 6), &pic);
  EXPECT_EQ(Count(clRed), 12);
  EXPECT_EQ(Count(clLime), 12);
  EXPECT_EQ(Count(clBlue), 12);
  EXPECT_EQ(Count(clBlack), 12);
  EXPECT_EQ(At(3, 2), clRed);
  EXPECT_EQ(At(4, 3), clBlack);
}

TEST_F(CanvasModes, TransparentBitmapLeavesItsTransparentColourOut) {
  TBitmap glyph;
  glyph.SetSize(4, 4);
  glyph.Image().fill(ToQColor(clFuchsia));
  glyph.SetPixel(1, 1, clBlack);
  glyph.SetTransparent(true);
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia);  // the bottom-left pixel
  canvas->Draw(0, 0, &glyph);
  EXPECT_EQ(Count(clFuchsia), 0);
  EXPECT_EQ(At(1, 1), clBlack);
  glyph.SetTransparentColor(clBlack);
  canvas->Draw(10, 0, &glyph);
  EXPECT_EQ(Count(clFuchsia), 15);
}

TEST_F(CanvasModes, CopyRectWithinOneSurfaceReadsBeforeWriting) {
  for (int x = 0; x < 10; ++x) canvas->SetPixels(x, 0, RGBColor(x * 20, 0, 0));
  canvas->CopyRect(TRect(3, 0, 13, 1), canvas, TRect(0, 0, 10, 1));  // overlapping, to the right
  for (int x = 0; x < 10; ++x) EXPECT_EQ(At(3 + x, 0), RGBColor(x * 20, 0, 0));
}

TEST_F(CanvasModes, BitmapKeepsItsPixelsWhenResized) {
  canvas->SetPixels(2, 2, clRed);
  bitmap.SetSize(100, 3);
  EXPECT_EQ(At(2, 2), clRed);
  EXPECT_EQ(At(99, 0), clWhite);
  bitmap.SetHeight(0);
  EXPECT_TRUE(bitmap.Empty());
  canvas->Rectangle(0, 0, 5, 5);  // nothing to draw on, no crash
  EXPECT_EQ(canvas->Pixels(0, 0), clInvalid);
}

// Controls hand the canvas the painter of their paint event, translated and
// clipped to the control.
TEST_F(CanvasModes, AttachedPainterKeepsItsTranslationAndClip) {
  QImage surface(50, 40, QImage::Format_RGB32);
  surface.fill(Qt::white);
  QPainter painter(&surface);
  painter.translate(10, 8);
  painter.setClipRect(QRect(0, 0, 20, 15));
  TCanvas c;
  c.Attach(&painter);
  EXPECT_EQ(c.Origin(), TPoint(10, 8));
  EXPECT_EQ(c.ClipRect(), TRect(0, 0, 20, 15));
  c.Brush()->SetColor(clRed);
  c.Rectangle(-5, -5, 100, 100);
  c.SetPixels(1, 1, clBlue);
  EXPECT_EQ(c.Pixels(1, 1), clBlue);
  // An elliptic region in device coordinates, within the control's clip.
  c.SetClipRegion(CreateEllipticRgn(10, 8, 30, 23));
  c.Brush()->SetColor(clLime);
  c.Pen()->SetStyle(psClear);
  c.Rectangle(0, 0, 50, 50);
  c.Detach();
  EXPECT_EQ(painter.transform().dx(), 10);
  painter.end();
  QRect red;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x)
      if (surface.pixel(x, y) != qRgb(255, 255, 255)) red |= QRect(x, y, 1, 1);
  EXPECT_EQ(red, QRect(10, 8, 20, 15));
  EXPECT_EQ(surface.pixel(20, 15), qRgb(0, 255, 0));
  EXPECT_EQ(surface.pixel(10, 8), qRgb(255, 0, 0));  // outside the ellipse the red stays
  if (HasFailure()) kv::test::savePng(surface, "AttachedPainter");
}

// A bitmap's own canvas writes runs of pixels itself; through another
// painter the paint engine does it. Both must give the same pixels.
TEST_F(CanvasModes, OwnSurfaceAndAttachedPainterDrawTheSamePixels) {
  auto scene = [](TCanvas* c) {
    PaintScene(c);
    c->Pen()->SetStyle(psDashDot);
    c->Brush()->SetColor(clGreen);
    c->MoveTo(1, 40);
    c->LineTo(63, 60);
    c->Pen()->SetStyle(psSolid);
    for (TPenMode mode : {pmXor, pmNot, pmMask, pmMergePenNot, pmNotXor, pmCopy}) {
      c->Pen()->SetMode(mode);
      c->Pen()->SetColor(RGBColor(0x35, 0xC1, 0x7A));
      c->Brush()->SetColor(RGBColor(0x9C, 0x0F, 0xE3));
      c->Ellipse(int(mode) * 3, 5, 40 + int(mode), 50);
      c->Pie(0, 0, 50, 50, 50, 25, 25, 0);
      c->RoundRect(10, 30, 60, 60, 12, 8);
    }
    c->SetPixels(63, 63, clRed);
  };
  scene(canvas);
  QImage surface(64, 64, QImage::Format_RGB32);
  surface.fill(Qt::white);
  {
    QPainter painter(&surface);
    TCanvas attached;
    attached.Attach(&painter);
    scene(&attached);
    attached.Detach();
  }
  EXPECT_EQ(surface, bitmap.Image());
  if (HasFailure()) kv::test::savePng(surface, "OwnSurfaceAndAttachedPainter_attached");
}

}  // namespace
