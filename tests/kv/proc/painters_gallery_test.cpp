// The painters' gallery: every primitive painter and text placement on one
// sheet, written to <test output>/painters_gallery.png (docs/ keeps a copy).
// Each exhibit is painted on a panel of its own first, and must stay inside
// it: a painter that spills out of its box or draws nothing fails the test.

#include <gtest/gtest.h>

#include <QMetaEnum>
#include <functional>
#include <vector>

#include "kv/proc/geometry.h"
#include "kv/proc/painters.h"
#include "kv/proc/text_output.h"
#include "platform/graphics/frame3d.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

struct Exhibit {
  QString title;
  TRect place;  // on the sheet
  std::function<void(TCanvas*)> paint;
};

constexpr TColor kPanel = clBtnFace;
constexpr TColor kInk = RGBColor(40, 40, 40);
constexpr TColor kAccent = RGBColor(200, 30, 30);

void Mark(TCanvas* c, int x, int y) {
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(kAccent);
  c->MoveTo(x - 3, y);
  c->LineTo(x + 4, y);
  c->MoveTo(x, y - 3);
  c->LineTo(x, y + 4);
}

void Caption(TCanvas* c, int x, int y, const QString& text) {
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(kInk);
  KvTextOut(c, x, y, text, toTopCenter);
}

void Leds(TCanvas* c) {
  const TLEDShape shapes[] = {sRound, sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sRectangle};
  const TColor fills[] = {clLime, clYellow, clYellow, clRed, clRed, clAqua};
  const QMetaEnum names = QMetaEnum::fromType<TLEDShape>();
  for (int i = 0; i < 6; ++i) {
    const int x = 40 + i * 72;
    KvDrawLED(c, TRect(x - 12, 18, x + 12, 42), shapes[i], clBlack, fills[i]);
    Caption(c, x, 52, QString::fromLatin1(names.valueToKey(shapes[i])));
  }
}

void Ellipses(TCanvas* c) {
  TRect raised(10, 10, 60, 60);
  KvEllipse3D(c, raised, clBtnFace, true);
  TRect sunken(75, 10, 125, 60);
  KvEllipse3D(c, sunken, clBtnFace, false);
  KvCircleAtPoint(c, TPoint(160, 35), 18, clBlack, clWhite);
  Caption(c, 35, 64, QStringLiteral("raised"));
  Caption(c, 100, 64, QStringLiteral("sunken"));
  Caption(c, 160, 64, QStringLiteral("circle"));
}

void PictureEllipse(TCanvas* c) {
  // A small dial picture: sky over ground, drawn into an ellipse.
  TBitmap picture;
  picture.SetSize(60, 40);
  TCanvas* p = picture.Canvas();
  p->Brush()->SetColor(RGBColor(70, 140, 220));
  p->FillRect(TRect(0, 0, 60, 20));
  p->Brush()->SetColor(RGBColor(150, 95, 40));
  p->FillRect(TRect(0, 20, 60, 40));
  p->Pen()->SetColor(clWhite);
  p->MoveTo(10, 20);
  p->LineTo(50, 20);
  Kv3DEllipse(c, c->Origin(), TPoint(45, 38), 32, 26, &picture, clBtnShadow, true, true);
  Kv3DEllipse(c, c->Origin(), TPoint(125, 38), 32, 26, &picture, clBtnShadow, false, true);
  Caption(c, 45, 68, QStringLiteral("upright"));
  Caption(c, 125, 68, QStringLiteral("turned"));
}

void ThumbsAndBevels(TCanvas* c) {
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(10, 40);
  c->LineTo(80, 40);
  KvThumb(c, TPoint(45, 40), 36, 0, false, clBtnFace);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(110, 8);
  c->LineTo(110, 73);
  KvThumb(c, TPoint(110, 40), 36, 0, true, clBtnShadow);
  TRect raised(146, 18, 206, 62);
  KvBtnBevel(c, raised, true, true, clBtnFace);
  TRect sunken(218, 18, 278, 62);
  KvBtnBevel(c, sunken, false, true, clWhite);
  Caption(c, 78, 80, QStringLiteral("thumbs"));
  Caption(c, 212, 80, QStringLiteral("bevels"));
}

void Sectors(TCanvas* c) {
  const float sectors[][2] = {{0, 90}, {90, 135}, {300, 120}};
  const TColor colours[] = {clLime, clYellow, clAqua};
  for (int i = 0; i < 3; ++i) {
    const TRect r(12 + i * 62, 14, 64 + i * 62, 66);
    c->Pen()->SetColor(clBtnShadow);
    c->Brush()->SetColor(clWhite);
    c->Ellipse(r);
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(colours[i]);
    KvRoundSector(c, r, sectors[i][0], sectors[i][1]);
    Caption(c, 38 + i * 62, 74, QStringLiteral("%1 + %2").arg(sectors[i][0]).arg(sectors[i][1]));
  }
}

void Scales(TCanvas* c) {
  c->Pen()->SetColor(clBlack);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  TRect top(10, 8, 310, 60);
  KvHorizScala(c, QStringLiteral("0;25;50;75;100;"), top, 4, 5, true);
  c->Pen()->SetWidth(1);
  c->Brush()->SetColor(kAccent);
  KvDrawHPointer(c, TRect(top.Left, top.Bottom + 2, top.Right, top.Bottom + 12), 620, 5, 10, false);

  c->Brush()->SetStyle(bsClear);
  TRect below(10, 92, 310, 150);
  KvHorizScala(c, QStringLiteral("-40;-20;0;20;40;60;"), below, 5, 4, false);
  c->Pen()->SetWidth(1);
  c->Brush()->SetColor(clLime);
  KvDrawHPointer(c, TRect(below.Left, 80, below.Right, 90), 350, 5, 10, false);
}

void Arrows(TCanvas* c) {
  const TPoint centre(75, 80);
  c->Pen()->SetColor(clBtnShadow);
  c->Brush()->SetColor(clWhite);
  c->Ellipse(centre.X - 62, centre.Y - 62, centre.X + 63, centre.Y + 63);
  // A slim needle pointing up, turned about the dial's centre.
  std::vector<TPoint> needle = {{}, centre, {75, 25}, {80, 75}, {75, 90}, {70, 75}};
  KvArrowSettings(needle, 5, 0, 0, 0);
  std::vector<TPoint> turned(needle.size());
  const float angles[] = {0, 45, 120, 225, 300};
  const TColor colours[] = {clRed, clYellow, clLime, clAqua, RGBColor(255, 128, 0)};
  for (int i = 0; i < 5; ++i) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(colours[i]);
    KvArrowDraw(c, angles[i], needle, turned, true);
    c->Brush()->SetStyle(bsClear);
    const TPoint label = KvRotate(TPoint(75, 10), centre, angles[i], true);
    Caption(c, label.X, label.Y - 1, QString::number(angles[i]));
  }
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clBlack);
  c->Ellipse(centre.X - 3, centre.Y - 3, centre.X + 4, centre.Y + 4);
}

void Anchors(TCanvas* c) {
  const QMetaEnum names = QMetaEnum::fromType<toPos>();
  for (int i = 0; i < 9; ++i) {
    const int x = 50 + (i % 3) * 105, y = 20 + (i / 3) * 30;
    Mark(c, x, y);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBlack);
    KvTextOut(c, x, y, QString::fromLatin1(names.valueToKey(i)), static_cast<toPos>(i));
  }
}

void FancyText(TCanvas* c) {
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetHeight(-16);
  c->Font()->SetStyle(fsBold);
  KvTextOut3D(c, 85, 24, clBtnFace, clBtnHighlight, clBtnShadow, QStringLiteral("Engraved"), toMidCenter,
              true);
  KvTextOut3D(c, 85, 52, RGBColor(30, 60, 150), clBtnHighlight, clBtnShadow, QStringLiteral("Embossed"),
              toMidCenter, true);
  c->Font()->SetHeight(-11);
  c->Font()->SetStyle({});
  c->Font()->SetColor(clBlack);
  KvTextOutMultiLine(c, 85, 108, 1, QStringLiteral("three lines|centred on|the mark"), toMidCenter);
}

void RotatedText(TCanvas* c) {
  const TPoint anchor(16, 14);
  Mark(c, anchor.X, anchor.Y);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(clBlack);
  for (float angle : {0.0f, 45.0f, 90.0f})
    KvRotTextOut(c, anchor, angle, QStringLiteral("    rotated %1°").arg(angle), toTopLeft);
}

TEST(PaintersGallery, EveryExhibitStaysInsideItsPanel) {
  const std::vector<Exhibit> exhibits = {
      {QStringLiteral("LED shapes"), Bounds(10, 24, 440, 86), Leds},
      {QStringLiteral("Embossed ellipses"), Bounds(462, 24, 186, 86), Ellipses},
      {QStringLiteral("Pictures in ellipses"), Bounds(660, 24, 176, 86), PictureEllipse},
      {QStringLiteral("Thumbs and bevels"), Bounds(10, 134, 290, 100), ThumbsAndBevels},
      {QStringLiteral("Sectors (start + sweep)"), Bounds(312, 134, 200, 100), Sectors},
      {QStringLiteral("Text anchors"), Bounds(524, 134, 312, 100), Anchors},
      {QStringLiteral("Horizontal scales and pointers"), Bounds(10, 258, 320, 160), Scales},
      {QStringLiteral("Arrows"), Bounds(342, 258, 150, 160), Arrows},
      {QStringLiteral("Rotated text"), Bounds(504, 258, 150, 160), RotatedText},
      {QStringLiteral("Text effects"), Bounds(666, 258, 170, 160), FancyText},
  };
  constexpr int kSheetWidth = 846, kSheetHeight = 430;
  TBitmap sheet;
  sheet.SetSize(kSheetWidth, kSheetHeight);
  TCanvas* s = sheet.Canvas();
  s->Brush()->SetColor(RGBColor(225, 228, 232));
  s->FillRect(TRect(0, 0, kSheetWidth, kSheetHeight));
  for (const Exhibit& e : exhibits) {
    SCOPED_TRACE(e.title.toStdString());
    TBitmap panel;
    panel.SetSize(e.place.Width(), e.place.Height());
    panel.Canvas()->Brush()->SetColor(kPanel);
    panel.Canvas()->FillRect(TRect(0, 0, e.place.Width(), e.place.Height()));
    e.paint(panel.Canvas());
    QRect ink;
    for (int y = 0; y < panel.Height(); ++y)
      for (int x = 0; x < panel.Width(); ++x)
        if (panel.Pixel(x, y) != ColorToRGB(kPanel)) ink |= QRect(x, y, 1, 1);
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(1, 1, panel.Width() - 2, panel.Height() - 2).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    s->Draw(e.place.Left, e.place.Top, &panel);
    TRect frame(e.place.Left - 2, e.place.Top - 2, e.place.Right + 2, e.place.Bottom + 2);
    Draw3DFrame(s, frame, clBtnShadow, clBtnHighlight, 2);
    s->Brush()->SetStyle(bsClear);
    s->Font()->SetColor(kInk);
    s->Font()->SetStyle(fsBold);
    KvTextOut(s, e.place.Left, e.place.Top - 4, e.title, toBotLeft);
    s->Font()->SetStyle({});
  }
  kv::test::savePng(sheet.Image(), QStringLiteral("painters_gallery"));
}

}  // namespace
