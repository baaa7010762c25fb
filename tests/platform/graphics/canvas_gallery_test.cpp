#include <cmath>

#include "platform/graphics/frame3d.h"
#include "tests/platform/graphics/pixel_test.h"

namespace {

// Draws one of everything; the PNG it leaves is for a person to look at.
void DrawGallery(TCanvas* c) {
  c->Brush()->SetColor(clBtnFace);
  c->Pen()->SetStyle(psClear);
  c->Rectangle(0, 0, 400, 220);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clYellow);
  c->Rectangle(10, 10, 60, 50);
  c->Brush()->SetColor(clAqua);
  c->Ellipse(70, 10, 130, 50);
  c->Ellipse(140, 10, 160, 50);
  for (int d = 1; d <= 12; ++d)
    c->Ellipse(170 + d * (d + 1) / 2 + d, 10, 170 + d * (d + 1) / 2 + 2 * d, 10 + d);
  c->Brush()->SetColor(clLime);
  c->RoundRect(10, 60, 70, 100, 16, 16);
  c->Brush()->SetColor(clRed);
  c->Pie(80, 60, 120, 100, 100, 100, 120, 80);
  c->Brush()->SetColor(clFuchsia);
  c->Chord(130, 60, 190, 100, 190, 80, 130, 80);
  c->Pen()->SetWidth(3);
  c->Pen()->SetColor(clNavy);
  c->Arc(200, 60, 260, 100, 230, 60, 200, 80);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clBlack);
  const TPoint star[] = {{300, 60}, {312, 98}, {280, 74}, {320, 74}, {288, 98}};
  c->Brush()->SetColor(clYellow);
  c->Polygon(star, 5);
  for (int i = 0; i < 16; ++i) {
    const double a = i * 3.14159265 / 8;
    c->MoveTo(60, 160);
    c->LineTo(60 + int(std::lround(45 * std::cos(a))), 160 - int(std::lround(45 * std::sin(a))));
  }
  c->Pen()->SetStyle(psDash);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(120, 115, 200, 140);
  c->Pen()->SetStyle(psSolid);
  TRect r(120, 150, 200, 200);
  Draw3DFrame(c, r, clBtnHighlight, clBtnShadow, 2);
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-13);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(r.Left + 4, r.Top + 4, "Bevel");
  c->Font()->SetName("Arial Black");
  c->Font()->SetHeight(-16);
  c->Font()->SetColor(clMaroon);
  c->TextOut(220, 115, "Arial Black");
  TLogFont lf = c->Font()->GetLogFont();
  lf.lfEscapement = 300;
  const TLogFont old = c->SelectFont(lf);
  c->TextOut(220, 200, "30 degrees");
  c->SelectFont(old);
  c->Brush()->SetColor(clWhite);
  c->Font()->SetName("MS Sans Serif");
  c->Font()->SetHeight(-11);
  c->Font()->SetColor(clWindowText);
  c->TextOut(330, 150, "Opaque");
}

TEST(CanvasGallery, DrawsTheSameEveryTime) {
  TBitmap a, b;
  a.SetSize(400, 220);
  b.SetSize(400, 220);
  DrawGallery(a.Canvas());
  DrawGallery(b.Canvas());
  kv::test::savePng(a.Image(), "canvas_gallery");
  EXPECT_EQ(a.Image(), b.Image());
}

}  // namespace
