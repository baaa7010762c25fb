#pragma once
// TPicture: holds one graphic of any kind (bitmap, JPEG). Streams as the
// property Data: one byte N, the N ASCII bytes of the graphic's class name,
// then the graphic's file bytes; empty data means no picture.

#include <QByteArray>
#include <QString>
#include <memory>

#include "platform/core/events.h"
#include "platform/core/persistent.h"

class TGraphic;
class TBitmap;

class TPicture : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
 public:
  Q_INVOKABLE explicit TPicture(QObject* parent = nullptr);
  ~TPicture() override;

  // The graphic held (null when empty).
  TGraphic* Graphic() const { return graphic_.get(); }
  // Holds a copy of `value` (null empties the picture).
  void SetGraphic(TGraphic* value);
  // The graphic as a bitmap; a picture holding something else (or nothing)
  // is replaced by an empty bitmap first.
  TBitmap* Bitmap();

  int Width() const;
  int Height() const;

  // Loads a file by its extension: .bmp as TBitmap, .jpg/.jpeg as
  // TJPEGImage; raises EInvalidGraphic for other extensions or bad data.
  void LoadFromFile(const QString& fileName);

  QByteArray Data() const;
  // Raises EReadError for an unknown class name and EInvalidGraphic for bad
  // graphic bytes; the picture is unchanged then.
  void SetData(const QByteArray& value);

  // From another picture, a graphic or null.
  void Assign(TPersistent* Source) override;

  const TNotifyEvent& OnChange() const { return on_change_; }
  void SetOnChange(TNotifyEvent value) { on_change_ = std::move(value); }

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed();

 private:
  void Adopt(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> graphic_;
  TNotifyEvent on_change_;
};

// Creates an empty graphic of a registered class ("TBitmap", "TJPEGImage";
// case-insensitive), or null.
std::unique_ptr<TGraphic> CreateGraphic(const QString& className);
