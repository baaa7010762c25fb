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
    ++rebuilds_;
    return;
  }
  if (!valid_ || size != size_ || ratio != ratio_ || image_.isNull()) {
    if (image_.size() != device) image_ = QImage(device, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::transparent);
    QPainter layer(&image_);
    PaintWith(layer, paintLayer);
    layer.end();
    size_ = size;
    ratio_ = ratio;
    valid_ = true;
    ++rebuilds_;
  }
  painter.drawImage(QPointF(0, 0), image_);
}
