#pragma once
// TKvLayerCache: the static layer of an instrument (bevel, scale, sectors,
// read-out frame) kept as an image at the device resolution of the surface
// it is shown on, so that a value change only blits the layer and draws the
// moving parts (pointer, bar, read-out digits) over it.
//
// The layer is keyed by the logical size and the device pixel ratio of the
// painter's device; it is painted again only when that key changes or after
// Invalidate() (the owner calls it when a settings object reports). Every
// repaint of the layer counts in RebuildCount(), which tests read to prove
// that value changes never rebuild it.
//
// The layer is painted through a TCanvas attached to a painter on an image
// with the device pixel ratio set, so the canvas works in logical pixels
// while text and shapes are rasterised at device resolution (sharp at 1.5x
// and 2x), and the finished image is copied 1:1 onto the device.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>

class QPainter;
class TCanvas;

class TKvLayerCache {
 public:
  using TPainterFn = std::function<void(TCanvas* canvas)>;

  // Marks the layer stale; the next Draw paints it again.
  void Invalidate() {
    valid_ = false;
    opaque_ = false;
  }
  bool Valid() const { return valid_; }
  // Times the layer was painted since construction.
  int64_t RebuildCount() const { return rebuilds_; }

  // Copies the layer for `size` (logical pixels) onto `painter` at 0,0,
  // painting it first with `paintLayer` when it is stale or was made for
  // another size or pixel ratio. Empty or absurd sizes paint nothing.
  void Draw(QPainter& painter, const QSize& size, const TPainterFn& paintLayer);

  // True when the layer drawn last covers every pixel of its size with full
  // alpha: it is then kept in an opaque format and copied, not blended, and
  // its owner may tell its parent that nothing beneath it needs painting.
  // OpaqueFor asks whether the layer made for `size` is still current and so.
  bool Opaque() const { return opaque_; }
  bool OpaqueFor(const QSize& size) const { return valid_ && opaque_ && size == size_; }

  // The current layer image (null before the first Draw), for tests.
  const QImage& Image() const { return image_; }

  // The largest side the layer is made for; a bigger control paints its
  // static parts directly every time rather than allocating a huge image.
  static constexpr int kMaxSide = 8192;

 private:
  QImage image_;
  QSize size_;
  qreal ratio_ = 0;
  bool valid_ = false;
  bool opaque_ = false;
  int64_t rebuilds_ = 0;
};
