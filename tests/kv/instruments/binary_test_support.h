#pragma once
// Painting a windowless instrument into an image for the binary instrument
// tests and their gallery.

#include <QImage>
#include <QPainter>

#include "platform/controls/graphic_control.h"
#include "platform/graphics/colors.h"

namespace kv::test {

// A colour none of the instruments paints, so untouched pixels show.
inline constexpr TColor kUntouched = RGBColor(20, 40, 60);

// The control painted at (x, y) of `image`.
inline void PaintAt(TGraphicControl& control, QImage& image, int x, int y) {
  QPainter painter(&image);
  painter.translate(x, y);
  painter.setClipRect(0, 0, control.Width(), control.Height());
  control.PaintTo(painter);
}

// The control alone on the untouched colour.
inline QImage Painted(TGraphicControl& control) {
  QImage image(control.Width(), control.Height(), QImage::Format_RGB32);
  image.fill(ToQColor(kUntouched));
  PaintAt(control, image, 0, 0);
  return image;
}

inline TColor PixelAt(const QImage& image, int x, int y) {
  return FromQRgb(image.pixel(x, y));
}

}  // namespace kv::test
