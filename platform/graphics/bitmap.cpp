#include "platform/graphics/bitmap.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "platform/core/exceptions.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"
#include "platform/graphics/resources.h"

namespace {

constexpr int kMaxBitmapSide = 1 << 15;

uint32_t ReadLe32(const QByteArray& data, int at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(data[at + i]);
  return v;
}

}  // namespace

QImage DecodeBmp(const QByteArray& data) {
  // Checked here rather than left to the reader so that the caller gets a
  // reason, and so that a header promising a huge image is refused before
  // any memory is allocated for it.
  if (data.size() < 26 || data[0] != 'B' || data[1] != 'M')
    throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
  const uint32_t headerSize = ReadLe32(data, 14);
  if (headerSize >= 40 && data.size() >= 26) {
    const int32_t w = int32_t(ReadLe32(data, 18));
    const int32_t h = int32_t(ReadLe32(data, 22));
    if (w <= 0 || w > kMaxBitmapSide || h == 0 || h == INT32_MIN || std::abs(h) > kMaxBitmapSide)
      throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: bad size"));
  }
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "bmp");
  QImage image;
  if (!reader.read(&image) || image.isNull())
    throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: ") + reader.errorString());
  return image.convertToFormat(QImage::Format_RGB32);
}

QByteArray EncodeBmp(const QImage& image) {
  if (image.isNull()) return QByteArray();
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
  return out;
}

TBitmap::TBitmap(QObject* parent) : TGraphic(parent), canvas_(std::make_unique<TCanvas>()) {
  canvas_->SetImage(&image_);
}

TBitmap::~TBitmap() {
  canvas_->ReleasePainter();
}

TCanvas* TBitmap::Canvas() {
  return canvas_.get();
}

QImage& TBitmap::Image() {
  canvas_->ReleasePainter();
  return image_;
}

QImage TBitmap::ToImage() const {
  canvas_->ReleasePainter();
  return image_;
}

void TBitmap::SetImage(const QImage& image) {
  canvas_->ReleasePainter();
  image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
  Changed();
}

void TBitmap::SetSize(int width, int height) {
  width = std::clamp(width, 0, kMaxBitmapSide);
  height = std::clamp(height, 0, kMaxBitmapSide);
  if (width == Width() && height == Height()) return;
  canvas_->ReleasePainter();
  if (width == 0 || height == 0) {
    image_ = QImage();
  } else {
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(Qt::white);
    const int w = std::min(width, image_.width());
    const int h = std::min(height, image_.height());
    for (int y = 0; y < h; ++y) std::memcpy(resized.scanLine(y), image_.constScanLine(y), size_t(w) * 4);
    image_ = std::move(resized);
  }
  Changed();
}

TColor TBitmap::Pixel(int x, int y) const {
  if (!image_.valid(x, y)) return clInvalid;
  return FromQRgb(image_.pixel(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (!image_.valid(x, y)) return;
  canvas_->ReleasePainter();
  image_.setPixel(x, y, ToQRgb(color));
}

TColor TBitmap::TransparentColor() const {
  if (transparent_color_ != clDefault || image_.isNull()) return transparent_color_;
  return FromQRgb(image_.pixel(0, image_.height() - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == transparent_color_) return;
  transparent_color_ = value;
  Changed();
}

void TBitmap::LoadFromResourceName(const QString& name) {
  LoadFromData(LoadResource(name));
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
  if (!canvas || image_.isNull()) return;
  std::optional<QRgb> key;
  if (Transparent()) key = ToQRgb(TransparentColor());
  if (canvas == canvas_.get()) {
    const QImage copy = image_.copy();  // drawing a bitmap onto itself
    canvas->DrawImage(rect, copy, copy.rect(), key);
    return;
  }
  canvas->DrawImage(rect, image_, image_.rect(), key);
}

void TBitmap::LoadFromData(const QByteArray& data) {
  QImage image;
  if (!data.isEmpty()) image = DecodeBmp(data);
  canvas_->ReleasePainter();
  image_ = std::move(image);
  Changed();
}

QByteArray TBitmap::SaveToData() const {
  canvas_->ReleasePainter();
  return EncodeBmp(image_);
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    canvas_->ReleasePainter();
    image_ = QImage();
    Changed();
    return;
  }
  if (auto* bitmap = qobject_cast<TBitmap*>(Source)) {
    canvas_->ReleasePainter();
    bitmap->canvas_->ReleasePainter();
    image_ = bitmap->image_.copy();
    transparent_color_ = bitmap->transparent_color_;
    SetTransparent(bitmap->Transparent());
    Changed();
    return;
  }
  if (auto* graphic = qobject_cast<TGraphic*>(Source)) {
    canvas_->ReleasePainter();
    image_ = graphic->ToImage().convertToFormat(QImage::Format_RGB32);
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}
