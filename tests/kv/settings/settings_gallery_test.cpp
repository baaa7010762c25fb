// The settings gallery: button and surface bevels in every style, bars in
// every shape both ways at several values, and LEDs on and off, written to
// <test output>/settings_gallery.png (docs/ keeps a copy). Each element is
// checked at a landmark so that a broken painter fails here too.

#include <gtest/gtest.h>

#include <QMetaEnum>

#include "kv/proc/text_output.h"
#include "kv/settings/bar_settings.h"
#include "kv/settings/bevel_settings.h"
#include "kv/settings/led_settings.h"
#include "kv/settings/surface_bevel.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

constexpr TColor kSheet = RGBColor(236, 238, 242);
constexpr TColor kInk = RGBColor(30, 30, 30);
constexpr TColor kContent = RGBColor(40, 90, 200);
constexpr int kMargin = 16;

void Caption(TCanvas* c, int x, int y, const QString& text, toPos pos = toTopCenter) {
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(kInk);
  KvTextOut(c, x, y, text, pos);
}

void Title(TCanvas* c, int y, const QString& text) {
  c->Font()->SetStyle(fsBold);
  Caption(c, kMargin, y, text, toTopLeft);
  c->Font()->SetStyle({});
}

// A bar framed by its own bevel; `frame` is the outer rectangle.
void FramedBar(TCanvas* c, TBarSettings& bar, TRect frame, int value) {
  bar.Bevel()->PaintFilledBevel(c, frame);
  bar.BarRect = frame;
  bar.PaintBar(c, value);
}

QString EnumName(const QMetaEnum& e, int value) {
  return QString::fromLatin1(e.valueToKey(value));
}

TEST(SettingsGallery, BevelsSurfacesBarsAndLeds) {
  const int width = 860, height = 680;
  TBitmap sheet;
  sheet.SetSize(width, height);
  TCanvas* s = sheet.Canvas();
  s->Brush()->SetColor(kSheet);
  s->FillRect(TRect(0, 0, width, height));
  s->Font()->SetName("Liberation Sans");
  s->Font()->SetHeight(-12);

  // --- Bevels ----------------------------------------------------------------------
  const int tileW = 88, tileH = 60, pitch = tileW + 10;
  int y = kMargin;
  Title(s, y, "Button bevels (TKvBtnBevel) and surface bevels (TKvSBevel); blue: the content area");
  y += 22;
  struct Btn {
    bool raised;
    int width;
  };
  const Btn btns[] = {{true, 2}, {false, 2}, {true, 4}, {false, 4}};
  int x = kMargin;
  for (const Btn& b : btns) {
    TKvBtnBevel bevel;
    bevel.SetWidth(b.width);
    TRect r(x, y, x + tileW, y + tileH);
    bevel.PaintBevel(s, r, b.raised, true, clBtnFace);
    EXPECT_EQ(r.Width(), tileW - 2 * b.width);
    Caption(s, x + tileW / 2, y + tileH + 3, b.raised ? "raised" : "sunken");
    Caption(s, x + tileW / 2, y + tileH + 17, QString("width %1").arg(b.width));
    x += pitch;
  }
  const QMetaEnum lines = QMetaEnum::fromType<TBevelLine>();
  struct Surface {
    TBevelLine line;
    TBevelStyle style;
    int spacing;
    bool gradient;
    TGradientStyle gradStyle;
  };
  const Surface surfaces[] = {
      {blNone, bsRaised, 5, false, gsHorizontal1},  {blOuter, bsLowered, 5, false, gsHorizontal1},
      {blInner, bsRaised, 3, false, gsHorizontal1}, {blBoth, bsLowered, 3, false, gsHorizontal1},
      {blBoth, bsRaised, 0, false, gsHorizontal1},  {blOuter, bsRaised, 4, true, gsHorizontal1},
      {blBoth, bsLowered, 4, true, gsVertical2},    {blInner, bsLowered, 2, true, gsElliptic1},
      {blNone, bsLowered, 6, true, gsDiamond2},     {blOuter, bsLowered, 0, true, gsTopLeft},
      {blBoth, bsRaised, 8, true, gsRectangle},     {blInner, bsRaised, 4, true, gsHorizontal3},
  };
  int column = 4;
  for (const Surface& f : surfaces) {
    if (column == 8) {
      column = 0;
      y += tileH + 40;
    }
    x = kMargin + column * pitch;
    TKvSBevel bevel;
    bevel.SetBevelLine(f.line);
    bevel.SetStyle(f.style);
    bevel.SetSpacing(f.spacing);
    bevel.SetWidth(2);
    bevel.SetPenColor(RGBColor(60, 60, 60));
    bevel.SetColorShadowFrom(RGBColor(40, 40, 40));
    bevel.SetColorHighLightFrom(RGBColor(200, 200, 200));
    bevel.SurfaceGrad()->SetVisible(f.gradient);
    bevel.SurfaceGrad()->SetStyle(f.gradStyle);
    TRect r(x, y, x + tileW, y + tileH);
    bevel.PaintFilledBevel(s, r);
    EXPECT_EQ(r, TRect(x + bevel.TotalWidth(), y + bevel.TotalWidth(), x + tileW - bevel.TotalWidth(),
                       y + tileH - bevel.TotalWidth()));
    s->Brush()->SetStyle(bsSolid);
    s->Brush()->SetColor(kContent);
    s->FrameRect(r);
    Caption(s, x + tileW / 2, y + tileH + 3,
            EnumName(lines, f.line).mid(2) + (f.style == bsRaised ? ", raised" : ", lowered"));
    Caption(s, x + tileW / 2, y + tileH + 17,
            f.gradient ? EnumName(QMetaEnum::fromType<TGradientStyle>(), f.gradStyle)
                       : QString("spacing %1").arg(f.spacing));
    ++column;
  }
  y += tileH + 44;

  // --- Horizontal bars ---------------------------------------------------------------
  Title(s, y, "Bars (TBarSettings) at 0, 333, 666 and 1000 per mille");
  y += 22;
  const int values[] = {0, 333, 666, 1000};
  struct BarRow {
    const char* name;
    TBarStyle style;
    TBarOptions options;
    TColor color;
  };
  const BarRow rows[] = {
      {"bsBar", bsBar, {}, clLime},
      {"bsLED_Bar", bsLED_Bar, {}, clLime},
      {"bsPoint", bsPoint, {}, clYellow},
      {"caption", bsBar, opValue | opUnit, RGBColor(0, 90, 210)},
      {"bidir from 500", bsBar, opBidir, RGBColor(255, 140, 0)},
      {"sector colour", bsLED_Bar, opUseSectorCol, clLime},
  };
  const int barW = 168, barH = 24;
  for (const BarRow& row : rows) {
    Caption(s, kMargin, y + 5, row.name, toTopLeft);
    for (int i = 0; i < 4; ++i) {
      TBarSettings bar;
      bar.SetStyle(row.style);
      bar.SetOptions(row.options);
      bar.SetColor(row.color);
      bar.BidirOrigin = 500;
      bar.SectorColor = values[i] > 600 ? clRed : clLime;
      bar.ValueText = QString::number(values[i] / 10.0, 'f', 1);
      bar.UnitText = "%";
      bar.Font()->SetName("Liberation Sans");
      bar.Font()->SetHeight(-13);
      const int bx = kMargin + 110 + i * (barW + 10);
      const int value = row.options & opBidir ? (i < 2 ? 150 + 150 * i : 650 + 150 * (i - 2)) : values[i];
      FramedBar(s, bar, TRect(bx, y, bx + barW, y + barH), value);
      // Landmarks: a full bar is lit at its far end, an empty one is dark at its start.
      if (row.options == TBarOptions() && row.style == bsBar) {
        const TColor expected = values[i] == 1000 ? row.color : values[i] == 0 ? clBlack : clNone;
        const int at = values[i] == 1000 ? bx + barW - 3 : bx + 2;
        if (expected != clNone) {
          EXPECT_EQ(sheet.Pixel(at, y + barH / 2), expected) << values[i];
        }
      }
    }
    y += barH + 8;
  }
  y += 10;

  // --- Vertical bars and LEDs ------------------------------------------------------------
  Title(s, y, "Vertical bars, and LEDs (TLED) in every shape, on and off");
  y += 22;
  const int vH = 150, vW = 22;
  x = kMargin;
  const TBarStyle vStyles[] = {bsBar, bsLED_Bar, bsPoint};
  const QMetaEnum barStyles = QMetaEnum::fromType<TBarStyle>();
  for (TBarStyle style : vStyles) {
    for (int value : values) {
      TBarSettings bar;
      bar.SetStyle(style);
      if (style == bsPoint) bar.SetColor(clYellow);
      FramedBar(s, bar, TRect(x, y, x + vW, y + vH), value);
      x += vW + 6;
    }
    Caption(s, x - 2 * (vW + 6) - 3, y + vH + 3, EnumName(barStyles, style));
    x += 14;
  }
  {
    TBarSettings bar;  // bidirectional, both sides of the middle
    bar.SetOptions(opBidir);
    bar.BidirOrigin = 500;
    bar.SetColor(RGBColor(255, 140, 0));
    for (int value : {200, 800}) {
      FramedBar(s, bar, TRect(x, y, x + vW, y + vH), value);
      x += vW + 6;
    }
    Caption(s, x - (vW + 6) - 3, y + vH + 3, "bidir");
    x += 14;
    TBarSettings captioned;
    captioned.SetOptions(opValue | opUnit);
    captioned.SetColor(RGBColor(0, 90, 210));
    captioned.ValueText = "42";
    captioned.UnitText = "bar";
    captioned.Font()->SetName("Liberation Sans");
    captioned.Font()->SetHeight(-13);
    FramedBar(s, captioned, TRect(x, y, x + 44, y + vH), 420);
    Caption(s, x + 22, y + vH + 3, "caption");
    x += 44 + 24;
  }
  const QMetaEnum shapes = QMetaEnum::fromType<TLEDShape>();
  const TColor onColors[] = {clLime, clRed, clYellow, RGBColor(0, 90, 210), RGBColor(255, 140, 0), clLime};
  const int ledX = x;
  for (int i = 0; i < 6; ++i) {
    const int ly = y + i * 25;
    TLED led;
    led.SetShape(TLEDShape(i));
    led.SetColorOn(onColors[i]);
    led.SetColorOff(RGBColor(70, 70, 70));
    for (int on = 1; on >= 0; --on) {
      const int lx = ledX + (1 - on) * 28;
      led.LEDRect = TRect(lx, ly, lx + 18, ly + 18);
      led.Draw(s, on != 0);
      EXPECT_EQ(sheet.Pixel(lx + 9, ly + 9), on ? onColors[i] : RGBColor(70, 70, 70)) << i;
    }
    Caption(s, ledX + 62, ly + 2, EnumName(shapes, i), toTopLeft);
  }
  y += vH + 24;
  EXPECT_LE(y, height);

  const QString path = kv::test::savePng(sheet.Image(), "settings_gallery");
  EXPECT_FALSE(path.isEmpty());
}

}  // namespace
