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
// Run-length coded data may describe any size in a few bytes (its end code
// leaves the rest blank), so a file is also held to this many pixels (256 MiB
// as 32-bit pixels, 8192 x 8192).
constexpr long long kMaxBitmapPixels = 1LL << 26;

uint32_t ReadLe32(const QByteArray& data, int at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(data[at + i]);
  return v;
}

uint16_t ReadLe16(const QByteArray& data, int at) {
  return uint16_t(uint8_t(data[at]) | (uint8_t(data[at + 1]) << 8));
}

[[noreturn]] void Refuse(const QString& why) {
  throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: ") + why);
}

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;

// Walks run-length coded pixel data from `at` to its end-of-bitmap code; the
// offset after it, or -1 when the data ends first. A missing end code means
// the file was cut, and the reader would fill the missing rows with black.
qsizetype EndOfRunLengthData(const QByteArray& data, qsizetype at, bool fourBits) {
  const qsizetype size = data.size();
  while (at + 2 <= size) {
    const uint8_t count = uint8_t(data[at]);
    const uint8_t code = uint8_t(data[at + 1]);
    at += 2;
    if (count != 0) continue;  // a run of `count` pixels
    if (code == 1) return at;  // end of bitmap
    if (code == 0) continue;   // end of line
    if (code == 2) {           // move by the next two bytes
      at += 2;
      continue;
    }
    // `code` literal pixels, padded to a whole number of 16-bit words.
    qsizetype bytes = fourBits ? (code + 1) / 2 : code;
    at += (bytes + 1) & ~qsizetype(1);
  }
  return -1;
}

// The header's promise checked against the data before the reader sees it:
// a size the reader would allocate without the data to fill it, or pixel
// rows cut short, are refused with the reason.
void CheckBmpData(const QByteArray& data) {
  if (data.size() < 26 || data[0] != 'B' || data[1] != 'M')
    throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
  const uint32_t offset = ReadLe32(data, 10);
  const uint32_t headerSize = ReadLe32(data, 14);
  long long width = 0, height = 0;
  uint32_t bits = 0, compression = 0;
  if (headerSize == 12) {  // the old core header: 16-bit sizes
    width = ReadLe16(data, 18);
    height = ReadLe16(data, 20);
    bits = ReadLe16(data, 24);
  } else if (headerSize >= 40) {
    if (data.size() < 14 + 40) Refuse(QStringLiteral("the file ends inside its header"));
    const int32_t w = int32_t(ReadLe32(data, 18));
    const int32_t h = int32_t(ReadLe32(data, 22));
    if (w <= 0 || w > kMaxBitmapSide || h == 0 || h == INT32_MIN || std::abs(h) > kMaxBitmapSide)
      Refuse(QStringLiteral("bad size"));
    width = w;
    height = std::abs(h);
    bits = ReadLe16(data, 28);
    compression = ReadLe32(data, 30);
  } else {
    return;  // not a header the reader knows; it says so itself
  }
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
    Refuse(QStringLiteral("bad size"));
  if (width * height > kMaxBitmapPixels)
    Refuse(QStringLiteral("%1 x %2 pixels are more than %3").arg(width).arg(height).arg(kMaxBitmapPixels));
  if (offset > uint32_t(data.size()))
    Refuse(QStringLiteral("its pixel data would start at byte %1 of a %2-byte file")
               .arg(offset)
               .arg(data.size()));
  if (compression == kRle8 || compression == kRle4) {
    if (EndOfRunLengthData(data, offset, compression == kRle4) < 0)
      Refuse(QStringLiteral("the file ends before the end of its run-length coded pixels"));
    return;
  }
  if (bits == 0 || bits > 32) return;  // the reader refuses these
  const long long rowBytes = (width * bits + 31) / 32 * 4;
  const long long needed = offset + rowBytes * height;
  if (needed > data.size())
    Refuse(QStringLiteral("the file holds %1 bytes, its %2 x %3 pixels at %4 bits need %5")
               .arg(data.size())
               .arg(width)
               .arg(height)
               .arg(bits)
               .arg(needed));
}

}  // namespace

QImage DecodeBmp(const QByteArray& data) {
  // Checked here rather than left to the reader so that the caller gets a
  // reason, and so that a header promising a huge image is refused before
  // any memory is allocated for it.
  CheckBmpData(data);
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
  // Sizes come from controls whose bounds may be anything: a bitmap as large
  // as both side limits allow (4 GiB) is cut to the pixel limit instead.
  if (width > 0 && (long long)width * height > kMaxBitmapPixels) height = int(kMaxBitmapPixels / width);
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
