// The gradient gallery: the fourteen fill styles from red to blue, 120 x 80
// pixels each and labelled with the style's name, written to <test
// output>/gradient_gallery.png (docs/ keeps a copy). Each tile must show the
// start colour where its style puts it and the end colour where it ends.

#include <gtest/gtest.h>

#include <QMetaEnum>

#include "kv/proc/gradient_fill.h"
#include "kv/proc/text_output.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

constexpr int kTileWidth = 120;
constexpr int kTileHeight = 80;
constexpr int kColumns = 7;
constexpr int kMargin = 12;
constexpr int kLabelHeight = 20;
constexpr TColor kSheet = RGBColor(236, 238, 242);
constexpr TColor kInk = RGBColor(30, 30, 30);

// Red and blue only: the distance from pure red, 0 for the start colour.
int FromRed(TColor c) {
  return (255 - GetRValue(c)) + GetGValue(c) + GetBValue(c);
}
int FromBlue(TColor c) {
  return GetRValue(c) + GetGValue(c) + (255 - GetBValue(c));
}

// Where each style shows (nearly) its start colour and its end colour.
struct Landmarks {
  TPoint start;
  TPoint end;
};

Landmarks LandmarksOf(TGradientStyle style) {
  const int w = kTileWidth, h = kTileHeight;
  switch (style) {
    case gsHorizontal1:
      return {{w / 2, 0}, {w / 2, h - 1}};
    case gsHorizontal2:
      return {{w / 2, h / 2}, {w / 2, 0}};
    case gsHorizontal3:
      return {{w / 2, h / 3}, {w / 2, h - 1}};
    case gsVertical1:
      return {{0, h / 2}, {w - 1, h / 2}};
    case gsVertical2:
      return {{w / 2, h / 2}, {0, h / 2}};
    case gsVertical3:
      return {{w / 3, h / 2}, {w - 1, h / 2}};
    case gsElliptic1:
    case gsElliptic2:
    case gsRectangle:
    case gsDiamond1:
    case gsDiamond2:
      return {{w / 2, h / 2}, {0, 0}};
    case gsElliptic3:
      return {{w / 2 - w / 4 + 1, h / 2 - h / 4 + 1}, {w - 1, h - 1}};
    case gsTopLeft:
      return {{0, 0}, {w - 1, h - 1}};
    case gsTopRight:
      return {{w - 1, 0}, {0, h - 1}};
  }
  return {};
}

TEST(GradientGallery, EveryStyleRunsFromRedToBlue) {
  const int rows = (kGradientStyleCount + kColumns - 1) / kColumns;
  const int sheetWidth = kMargin + kColumns * (kTileWidth + kMargin);
  const int sheetHeight = kMargin + rows * (kTileHeight + kLabelHeight + kMargin);
  TBitmap sheet;
  sheet.SetSize(sheetWidth, sheetHeight);
  TCanvas* s = sheet.Canvas();
  s->Brush()->SetColor(kSheet);
  s->FillRect(TRect(0, 0, sheetWidth, sheetHeight));
  const QMetaEnum names = QMetaEnum::fromType<TGradientStyle>();
  for (int i = 0; i < kGradientStyleCount; ++i) {
    const auto style = TGradientStyle(i);
    const QString name = QString::fromLatin1(names.valueToKey(style));
    SCOPED_TRACE(name.toStdString());
    const int left = kMargin + (i % kColumns) * (kTileWidth + kMargin);
    const int top = kMargin + (i / kColumns) * (kTileHeight + kLabelHeight + kMargin);
    KvGradFill(s, Bounds(left, top, kTileWidth, kTileHeight), clRed, clBlue, style);

    const Landmarks marks = LandmarksOf(style);
    const TColor start = sheet.Pixel(left + marks.start.X, top + marks.start.Y);
    const TColor end = sheet.Pixel(left + marks.end.X, top + marks.end.Y);
    EXPECT_LE(FromRed(start), 24) << std::hex << int(start);
    EXPECT_LE(FromBlue(end), 24) << std::hex << int(end);
    // The tile is wholly painted, and nothing spills past it.
    EXPECT_EQ(kv::test::CountColor(sheet, kSheet, QRect(left, top, kTileWidth, kTileHeight)), 0);
    EXPECT_EQ(sheet.Pixel(left - 1, top + 10), kSheet);
    EXPECT_EQ(sheet.Pixel(left + kTileWidth, top + 10), kSheet);

    s->Brush()->SetStyle(bsClear);
    s->Font()->SetColor(kInk);
    KvTextOut(s, left + kTileWidth / 2, top + kTileHeight + 3, name, toTopCenter);
    s->Brush()->SetStyle(bsSolid);
    EXPECT_GT(kv::test::CountColor(sheet, kInk, QRect(left, top + kTileHeight, kTileWidth, kLabelHeight)),
              20);
  }
  kv::test::savePng(sheet.Image(), QStringLiteral("gradient_gallery"));
}

}  // namespace
