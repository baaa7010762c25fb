#include "platform/graphics/graphic.h"

#include <QFile>

#include "platform/core/exceptions.h"

void TGraphic::LoadFromFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EInvalidGraphic(Exception::Fmt("Cannot open file \"%s\". %s", fileName, file.errorString()));
  LoadFromData(file.readAll());
}

void TGraphic::SaveToFile(const QString& fileName) const {
  QFile file(fileName);
  const QByteArray data = SaveToData();
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
    throw EWriteError(Exception::Fmt("Cannot create file \"%s\". %s", fileName, file.errorString()));
}

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

void TGraphic::Changed() {
  on_change_(this);
}
