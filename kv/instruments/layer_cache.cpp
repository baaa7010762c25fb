#include "kv/instruments/layer_cache.h"

#include <QPainter>
#include <cmath>

#include "platform/graphics/canvas.h"

namespace {

// The device pixel ratio the painter draws with: the device's own ratio
// (a widget's backing store, or an image that has one set).
qreal RatioOf(const QPainter& painter) {
  const QPaintDevice* device = painter.device();
  const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
  return std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
}

void PaintWith(QPainter& painter, const TKvLayerCache::TPainterFn& paintLayer) {
  TCanvas canvas;
  canvas.Attach(&painter);
  paintLayer(&canvas);
  canvas.Detach();
}

bool FullyOpaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(line[x]) != 255) return false;
  }
  return true;
}

}  // namespace

void TKvLayerCache::Draw(QPainter& painter, const QSize& size, const TPainterFn& paintLayer) {
  if (size.width() <= 0 || size.height() <= 0) return;
  const qreal ratio = RatioOf(painter);
  const QSize device(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
  if (device.width() > kMaxSide || device.height() > kMaxSide) {
    // Too big to keep: paint straight onto the surface.
    painter.save();
    PaintWith(painter, paintLayer);
    painter.restore();
    opaque_ = false;
    ++rebuilds_;
    return;
  }
  if (!valid_ || size != size_ || ratio != ratio_ || image_.isNull()) {
    if (image_.size() != device || image_.format() != QImage::Format_ARGB32_Premultiplied)
      image_ = QImage(device, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::transparent);
    QPainter layer(&image_);
    PaintWith(layer, paintLayer);
    layer.end();
    // An opaque layer changes only its format tag (the pixels are already
    // 0xFFrrggbb): drawn in an opaque format, the raster engine copies its
    // rows instead of blending every pixel.
    opaque_ = FullyOpaque(image_);
    if (opaque_) image_.reinterpretAsFormat(QImage::Format_RGB32);
    size_ = size;
    ratio_ = ratio;
    valid_ = true;
    ++rebuilds_;
  }
  painter.drawImage(QPointF(0, 0), image_);
}
