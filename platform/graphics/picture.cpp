#include "platform/graphics/picture.h"

#include <QFileInfo>

#include "platform/core/exceptions.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/jpeg_image.h"

std::unique_ptr<TGraphic> CreateGraphic(const QString& className) {
  if (className.compare(QLatin1String("TBitmap"), Qt::CaseInsensitive) == 0)
    return std::make_unique<TBitmap>();
  if (className.compare(QLatin1String("TJPEGImage"), Qt::CaseInsensitive) == 0)
    return std::make_unique<TJPEGImage>();
  return nullptr;
}

TPicture::TPicture(QObject* parent) : TPersistent(parent) {}

TPicture::~TPicture() = default;

void TPicture::Changed() {
  on_change_(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->SetOnChange([this](TObject*) { Changed(); });
  Changed();
}

void TPicture::SetGraphic(TGraphic* value) {
  if (value == graphic_.get()) return;
  if (!value) {
    Adopt(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy = CreateGraphic(value->ClassName());
  if (!copy) throw EInvalidGraphic(Exception::Fmt("Unsupported graphic class %s", value->ClassName()));
  copy->Assign(value);
  Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (auto* bitmap = qobject_cast<TBitmap*>(graphic_.get())) return bitmap;
  auto bitmap = std::make_unique<TBitmap>();
  TBitmap* result = bitmap.get();
  Adopt(std::move(bitmap));
  return result;
}

int TPicture::Width() const {
  return graphic_ ? graphic_->Width() : 0;
}

int TPicture::Height() const {
  return graphic_ ? graphic_->Height() : 0;
}

void TPicture::LoadFromFile(const QString& fileName) {
  const QString ext = QFileInfo(fileName).suffix().toLower();
  std::unique_ptr<TGraphic> graphic;
  if (ext == QLatin1String("bmp") || ext == QLatin1String("dib"))
    graphic = std::make_unique<TBitmap>();
  else if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe") ||
           ext == QLatin1String("jfif"))
    graphic = std::make_unique<TJPEGImage>();
  else
    throw EInvalidGraphic(Exception::Fmt("Unknown picture file extension (.%s)", ext));
  graphic->LoadFromFile(fileName);
  Adopt(std::move(graphic));
}

QByteArray TPicture::Data() const {
  if (!graphic_) return QByteArray();
  const QByteArray name = graphic_->ClassName().toLatin1();
  QByteArray out;
  out.append(char(uint8_t(name.size())));
  out.append(name);
  out.append(graphic_->SaveToData());
  return out;
}

void TPicture::SetData(const QByteArray& value) {
  if (value.isEmpty()) {
    if (graphic_) Adopt(nullptr);
    return;
  }
  const int n = uint8_t(value[0]);
  if (n == 0 || value.size() < 1 + n) throw EReadError(QStringLiteral("Invalid picture data"));
  const QString name = QString::fromLatin1(value.mid(1, n));
  std::unique_ptr<TGraphic> graphic = CreateGraphic(name);
  if (!graphic) throw EReadError(Exception::Fmt("Unknown graphic class %s", name));
  graphic->LoadFromData(value.mid(1 + n));
  Adopt(std::move(graphic));
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
    return;
  }
  if (auto* picture = qobject_cast<TPicture*>(Source)) {
    if (picture != this) SetGraphic(picture->Graphic());
    return;
  }
  if (auto* graphic = qobject_cast<TGraphic*>(Source)) {
    SetGraphic(graphic);
    return;
  }
  TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (graphic_ && qobject_cast<TGraphic*>(Dest)) {
    Dest->Assign(graphic_.get());
    return;
  }
  TPersistent::AssignTo(Dest);
}
