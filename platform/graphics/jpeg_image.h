#pragma once
// TJPEGImage: a JPEG picture decoded with libjpeg. The encoded bytes are kept
// as loaded (that is what is saved and streamed); the pixels are decoded at
// load time so that a corrupt or cut file fails on loading with
// EInvalidGraphic, never later while painting.

#include <QByteArray>
#include <QImage>

#include "platform/graphics/graphic.h"

class TJPEGImage : public TGraphic {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TJPEGImage(QObject* parent = nullptr) : TGraphic(parent) {}
  ~TJPEGImage() override = default;

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  bool Empty() const override { return image_.isNull(); }
  void Draw(TCanvas* canvas, const TRect& rect) override;
  void LoadFromData(const QByteArray& data) override;
  QByteArray SaveToData() const override { return data_; }
  QImage ToImage() const override { return image_; }

  void Assign(TPersistent* Source) override;

 private:
  QByteArray data_;
  QImage image_;
};

// Decodes JPEG data into a Format_RGB32 image. Errors, and the warnings that
// mean the data is damaged (such as a file cut inside the image data), raise
// EInvalidGraphic("JPEG error #<code>: <libjpeg message>").
QImage DecodeJpeg(const QByteArray& data);
// Encodes an image as baseline JPEG with the given quality (0..100).
QByteArray EncodeJpeg(const QImage& image, int quality = 90);
