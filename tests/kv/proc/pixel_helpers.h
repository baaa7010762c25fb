#pragma once
// Bitmaps to paint on and small pixel queries for the drawing tests.

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <memory>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"
#include "tests/support/test_support.h"

namespace kv::test {

// A colour no painter uses, so that every changed pixel shows.
inline constexpr TColor kBackground = RGBColor(20, 40, 60);

inline std::unique_ptr<TBitmap> MakeSurface(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(width, height);
  TCanvas* canvas = bitmap->Canvas();
  canvas->Brush()->SetColor(kBackground);
  canvas->FillRect(TRect(0, 0, width, height));
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetColor(clBlack);
  return bitmap;
}

// Bounding box of the pixels in `area` that differ from the background
// (empty if none).
inline QRect InkBox(const TBitmap& bitmap, const QRect& area) {
  QRect box;
  const QRect within = area & QRect(0, 0, bitmap.Width(), bitmap.Height());
  for (int y = within.top(); y <= within.bottom(); ++y)
    for (int x = within.left(); x <= within.right(); ++x)
      if (bitmap.Pixel(x, y) != kBackground) box |= QRect(x, y, 1, 1);
  return box;
}
inline QRect InkBox(const TBitmap& bitmap) {
  return InkBox(bitmap, QRect(0, 0, bitmap.Width(), bitmap.Height()));
}

// Number of pixels of exactly `color` inside `area`.
inline int CountColor(const TBitmap& bitmap, TColor color, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += bitmap.Pixel(x, y) == ColorToRGB(color);
  return n;
}

// Saves the picture of a failed test so a person can look at it.
inline void SaveIfFailed(const TBitmap& bitmap, const QString& name) {
  if (::testing::Test::HasFailure()) savePng(bitmap.Image(), name);
}

// Two surfaces painted the same way are equal pixel for pixel; saves both
// side by side otherwise.
inline ::testing::AssertionResult SameImage(const TBitmap& actual, const TBitmap& expected,
                                            const QString& name) {
  if (actual.Image() == expected.Image()) return ::testing::AssertionSuccess();
  QImage both(actual.Width() * 2 + 4, actual.Height(), QImage::Format_RGB32);
  both.fill(Qt::magenta);
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x) {
      both.setPixel(x, y, actual.Image().pixel(x, y));
      both.setPixel(actual.Width() + 4 + x, y, expected.Image().pixel(x, y));
    }
  return ::testing::AssertionFailure()
         << "pixels differ; saved " << savePng(both, name).toStdString() << " (actual left, expected right)";
}

}  // namespace kv::test
