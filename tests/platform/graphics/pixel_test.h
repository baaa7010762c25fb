#pragma once
// A fixture for drawing tests: a white bitmap to paint on, helpers to read
// back which pixels changed, and a PNG of the bitmap when a test fails.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"
#include "tests/support/test_support.h"

class PixelTest : public ::testing::Test {
 protected:
  TBitmap bitmap;
  TCanvas* canvas = nullptr;

  void SetUp() override { Reset(64, 64); }

  void TearDown() override {
    if (HasFailure()) {
      const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
      kv::test::savePng(bitmap.Image(), QStringLiteral("%1_%2").arg(info->test_suite_name(), info->name()));
    }
  }

  // A fresh white bitmap of w x h with default pen and brush.
  void Reset(int w, int h, TColor background = clWhite) {
    bitmap.SetSize(0, 0);
    bitmap.SetSize(w, h);
    bitmap.Image().fill(ToQColor(background));
    canvas = bitmap.Canvas();
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Brush()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->ResetClipRegion();
    canvas->SetOrigin(TPoint(0, 0));
    canvas->SetCopyMode(cmSrcCopy);
  }

  TColor At(int x, int y) { return bitmap.Pixel(x, y); }

  // Every pixel of the given colour.
  std::vector<QPoint> PixelsOf(TColor color) {
    std::vector<QPoint> out;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (At(x, y) == color) out.emplace_back(x, y);
    return out;
  }

  // Bounding box of every pixel that is not `background` (empty if none).
  QRect Painted(TColor background = clWhite) {
    QRect box;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (At(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
  }

  int Count(TColor color) { return int(PixelsOf(color).size()); }
};
