#pragma once
// TGraphic: an image that can draw itself on a canvas and be kept as bytes
// (a bitmap, a JPEG picture). Pictures hold one and stream its bytes.

#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/core/events.h"
#include "platform/core/persistent.h"

class TCanvas;

class TGraphic : public TPersistent {
  Q_OBJECT
 public:
  explicit TGraphic(QObject* parent = nullptr) : TPersistent(parent) {}
  ~TGraphic() override = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const = 0;
  // Draws the graphic into `rect` of `canvas`, stretched to the rectangle;
  // a rectangle with swapped sides mirrors it (see TCanvas::StretchDraw).
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
  // Replaces the graphic by the one encoded in `data` (its file format);
  // raises EInvalidGraphic when the data is not a valid image.
  virtual void LoadFromData(const QByteArray& data) = 0;
  // The graphic in its file format (empty for an empty graphic).
  virtual QByteArray SaveToData() const = 0;
  // The pixels as a 32-bit image (null image when empty).
  virtual QImage ToImage() const = 0;

  // Reads a whole file and loads it; raises EInvalidGraphic if it cannot be read.
  void LoadFromFile(const QString& fileName);
  void SaveToFile(const QString& fileName) const;

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  const TNotifyEvent& OnChange() const { return on_change_; }
  void SetOnChange(TNotifyEvent value) { on_change_ = std::move(value); }

 protected:
  virtual void Changed();

 private:
  bool transparent_ = false;
  TNotifyEvent on_change_;
};
