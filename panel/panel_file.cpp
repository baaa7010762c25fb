#include "panel/panel_file.h"

#include <QFile>
#include <QStringDecoder>
#include <exception>
#include <new>

#include "panel/panel_classes.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"

namespace {

int LineOf(const QByteArray& bytes, qsizetype position) {
  return int(bytes.left(position).count('\n')) + 1;
}

int LineOf(const QString& text, qsizetype position) {
  return int(QStringView(text).left(position).count(u'\n')) + 1;
}

}  // namespace

TPanelRead ReadPanelBytes(const QByteArray& bytes, const QString& name) {
  TPanelRead result;
  result.bytes = bytes;
  if (bytes.size() > kMaxPanelFileBytes) {
    result.error = QStringLiteral("%1: %2 bytes, more than a panel file may have (%3)")
                       .arg(name)
                       .arg(bytes.size())
                       .arg(kMaxPanelFileBytes);
    return result;
  }
  // A zero byte or a broken UTF-8 sequence means this is not a panel
  // description at all; say so instead of a puzzling syntax error.
  if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0) {
    result.error =
        QStringLiteral("%1: not a text file (a zero byte on line %2)").arg(name).arg(LineOf(bytes, zero));
    return result;
  }
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  if (decoder.hasError()) {
    const qsizetype bad = text.indexOf(QChar::ReplacementCharacter);
    result.error =
        QStringLiteral("%1: not UTF-8 text (line %2)").arg(name).arg(LineOf(text, bad < 0 ? 0 : bad));
    return result;
  }
  RegisterPanelClasses();
  auto panel = std::make_unique<TKvPanelForm>(nullptr);
  try {
    ReadComponentFromText(text, panel.get(), name);
  } catch (const Exception& e) {
    result.error = e.Message();
  } catch (const std::bad_alloc&) {
    result.error = QStringLiteral("%1: out of memory while building the panel").arg(name);
  } catch (const std::exception& e) {
    result.error = QString::fromUtf8(e.what());
  }
  if (result.error.isEmpty()) {
    result.panel = std::move(panel);
  } else if (!result.error.startsWith(name)) {
    // The reader names the file in its own errors; a component's Loaded()
    // raises its own text, which then gets the file's name here.
    result.error = QStringLiteral("%1: %2").arg(name, result.error);
  }
  return result;
}

TPanelRead ReadPanelFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    TPanelRead result;
    result.fileMissing = true;
    result.error = QStringLiteral("%1: cannot read the file (%2)").arg(path, file.errorString());
    return result;
  }
  // One byte more than allowed is enough to know that the file is too big.
  const QByteArray bytes = file.read(kMaxPanelFileBytes + 1);
  if (file.error() != QFileDevice::NoError) {
    TPanelRead result;
    result.error = QStringLiteral("%1: cannot read the file (%2)").arg(path, file.errorString());
    return result;
  }
  if (bytes.size() > kMaxPanelFileBytes) {
    TPanelRead result;
    result.error = QStringLiteral("%1: %2 bytes, more than a panel file may have (%3)")
                       .arg(path)
                       .arg(file.size())
                       .arg(kMaxPanelFileBytes);
    return result;
  }
  return ReadPanelBytes(bytes, path);
}
