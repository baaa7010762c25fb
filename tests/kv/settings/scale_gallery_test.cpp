// The scale gallery: round, dial, horizontal and vertical scales, linear and
// logarithmic, labels on either side, with and without base line, written to
// <test output>/scale_gallery.png (docs/ keeps a copy). Each scale must stay
// inside its tile and show both ticks and labels.

#include <gtest/gtest.h>

#include <functional>

#include "kv/proc/text_output.h"
#include "kv/settings/scale_settings.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

constexpr int kTile = 260;
constexpr int kColumns = 4;
constexpr int kMargin = 14;
constexpr int kCaption = 22;
constexpr TColor kSheet = RGBColor(236, 238, 242);
constexpr TColor kPanel = clWhite;
constexpr TColor kTickColor = RGBColor(20, 40, 120);
constexpr TColor kLabelColor = RGBColor(30, 30, 30);
constexpr TColor kPointer = RGBColor(200, 30, 30);

struct Tile {
  const char* caption;
  std::function<void(TScaleSettings&, TCanvas*, const TRect&)> paint;
};

// A pointer from the centre of a round scale towards the end of its arc, as a
// gauge would place it from the fields the painter left.
void Pointer(TScaleSettings& s, TCanvas* c) {
  c->Pen()->SetColor(s.PointerColor());
  c->Pen()->SetWidth(3);
  c->MoveTo(s.Center.X, s.Center.Y);
  c->LineTo((s.Center.X * 2 + s.ArcEnd.X * 3) / 5, (s.Center.Y * 2 + s.ArcEnd.Y * 3) / 5);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(s.PointerColor());
  c->Ellipse(s.Center.X - 5, s.Center.Y - 5, s.Center.X + 6, s.Center.Y + 6);
  c->Brush()->SetStyle(bsClear);
}

// A straight scale centred in the tile at the room its calculation asked for.
TRect HorizontalPlace(const TScaleSettings& s, const TRect& t, int width) {
  const int top = t.Top + (t.Bottom - t.Top - s.NeedHeight) / 2;
  const int left = t.Left + (t.Right - t.Left - width) / 2;
  return TRect(left, top, left + width, top + s.NeedHeight);
}
TRect VerticalPlace(const TScaleSettings& s, const TRect& t, int height) {
  const int left = t.Left + (t.Right - t.Left - s.NeedWidth) / 2;
  const int top = t.Top + (t.Bottom - t.Top - height) / 2;
  return TRect(left, top, left + s.NeedWidth, top + height);
}

const Tile kTiles[] = {
    {"RoundScala 0..100, 225 + 270",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.CalcRSize(c, 0, 100);
       TRect r = t;
       s.RoundScala(c, r, 225, 270);
       c->Pen()->SetColor(s.Color());
       c->Pen()->SetWidth(1);
       c->Arc(s.ArcTopLeft.X, s.ArcTopLeft.Y, s.ArcBottomRight.X, s.ArcBottomRight.Y, s.ArcEnd.X, s.ArcEnd.Y,
              s.ArcStart.X, s.ArcStart.Y);
       Pointer(s, c);
     }},
    {"RoundScala log 1..10000, 270 + 180",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.LogScale = true;
       s.SetSubSteps(10);
       s.CalcRSize(c, 1, 10000);
       TRect r = t;
       s.RoundScala(c, r, 270, 180);
       Pointer(s, c);
     }},
    {"DialScala 0..50, 10 steps, 210 + 300",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.SetSteps(10);
       s.SetSubSteps(5);
       s.CalcRSize(c, 0, 50);
       TRect r = t;
       s.DialScala(c, r, 210, 300);
       Pointer(s, c);
     }},
    {"DialScala log 0.1..1000, 240 + 240",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.LogScale = true;
       s.SetSteps(4);
       s.SetSubSteps(5);
       s.CalcRSize(c, 0.1f, 1000);
       TRect r = t;
       s.DialScala(c, r, 240, 240);
       Pointer(s, c);
     }},
    {"HorizScala 0..100, below, line",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.CalcHSize(c, 0, 100);
       s.HorizScala(c, HorizontalPlace(s, t, 210));
     }},
    {"HorizScala log 1..1e5, above, no line",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.LogScale = true;
       s.SetPosLeftTop(true);
       s.SetDrawLine(false);
       s.SetSubSteps(10);
       s.CalcHSize(c, 1, 100000);
       s.HorizScala(c, HorizontalPlace(s, t, 210));
     }},
    {"VertiScala -50..50, right, no line",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.SetDrawLine(false);
       s.SetSteps(10);
       s.CalcSize(c, -50, 50);
       s.VertiScala(c, VerticalPlace(s, t, 210));
     }},
    {"VertiScala log 1..10000, left, line",
     [](TScaleSettings& s, TCanvas* c, const TRect& t) {
       s.LogScale = true;
       s.SetPosLeftTop(true);
       s.SetSubSteps(10);
       s.CalcSize(c, 1, 10000);
       s.VertiScala(c, VerticalPlace(s, t, 210));
     }},
};

TEST(ScaleGallery, EveryShapeStaysInItsTileWithTicksAndLabels) {
  constexpr int count = int(std::size(kTiles));
  const int rows = (count + kColumns - 1) / kColumns;
  const int width = kMargin + kColumns * (kTile + kMargin);
  const int height = kMargin + rows * (kTile + kCaption + kMargin);
  TBitmap sheet;
  sheet.SetSize(width, height);
  TCanvas* c = sheet.Canvas();
  c->Brush()->SetColor(kSheet);
  c->FillRect(TRect(0, 0, width, height));
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(kTiles[i].caption);
    const int left = kMargin + (i % kColumns) * (kTile + kMargin);
    const int top = kMargin + (i / kColumns) * (kTile + kCaption + kMargin);
    const TRect tile(left, top, left + kTile, top + kTile);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(kPanel);
    c->FillRect(tile);

    TScaleSettings s;
    s.SetColor(kTickColor);
    s.SetPointerColor(kPointer);
    s.Font()->SetColor(kLabelColor);
    s.Font()->SetHeight(-15);
    TRect inner = tile;
    inner.Left += 8;
    inner.Top += 8;
    inner.Right -= 8;
    inner.Bottom -= 8;
    kTiles[i].paint(s, c, inner);

    const QRect area(left, top, kTile, kTile);
    EXPECT_GT(kv::test::CountColor(sheet, kTickColor, area), 40);
    EXPECT_GT(kv::test::CountColor(sheet, kLabelColor, area), 40);
    // Nothing of the scale outside its tile: the sheet around it is untouched.
    EXPECT_EQ(kv::test::CountColor(sheet, kSheet, area), 0);
    EXPECT_EQ(kv::test::CountColor(sheet, kSheet, QRect(left - kMargin, top - kMargin / 2, kMargin, kTile)),
              kMargin * kTile);

    c->Brush()->SetStyle(bsClear);
    c->Font()->SetHeight(-13);
    c->Font()->SetColor(RGBColor(60, 60, 60));
    KvTextOut(c, left + kTile / 2, top + kTile + 4, QString::fromLatin1(kTiles[i].caption), toTopCenter);
  }
  kv::test::savePng(sheet.Image(), QStringLiteral("scale_gallery"));
}

}  // namespace
