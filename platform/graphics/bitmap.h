#pragma once
// TBitmap: an off-screen 32-bit image with its own canvas. Reads and writes
// BMP files (1/4/8-bit palette, 16/24/32-bit), loads bitmap resources by
// name, and draws itself 1:1, stretched, mirrored or with a transparent
// colour.

#include <QImage>
#include <memory>

#include "platform/graphics/graphic.h"

class TCanvas;

class TBitmap : public TGraphic {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TBitmap(QObject* parent = nullptr);
  ~TBitmap() override;

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void SetWidth(int value) { SetSize(value, Height()); }
  void SetHeight(int value) { SetSize(Width(), value); }
  // Keeps the pixels that still fit; new pixels are white. Negative sizes count as 0.
  void SetSize(int width, int height);
  bool Empty() const override { return image_.isNull(); }

  // The bitmap's own drawing surface.
  TCanvas* Canvas();

  // Pixel access; out of range reads give clInvalid, writes are ignored.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  // The colour left out when drawing a transparent bitmap: the one set, or
  // (while none is set, clDefault) the colour of the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);

  // Loads the bitmap resource `name` (case-insensitive; with or without its
  // extension); raises EResNotFound when there is none.
  void LoadFromResourceName(const QString& name);

  // The pixels (QImage::Format_RGB32). The non-const access ends any drawing
  // in progress on the canvas, so the image may be changed or copied freely.
  QImage& Image();
  const QImage& Image() const { return image_; }
  // Replaces the pixels (converted to Format_RGB32).
  void SetImage(const QImage& image);

  void Draw(TCanvas* canvas, const TRect& rect) override;
  void LoadFromData(const QByteArray& data) override;
  QByteArray SaveToData() const override;
  QImage ToImage() const override;

  // Copies another bitmap, or draws any other graphic onto a bitmap of its size.
  void Assign(TPersistent* Source) override;

 private:
  QImage image_;
  std::unique_ptr<TCanvas> canvas_;
  TColor transparent_color_ = clDefault;
};

// Decodes a BMP file (header included) into a Format_RGB32 image; raises
// EInvalidGraphic with a reason when the data is not a supported bitmap.
QImage DecodeBmp(const QByteArray& data);
// Encodes an image as a 24-bit BMP file.
QByteArray EncodeBmp(const QImage& image);
