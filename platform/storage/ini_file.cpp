#include "platform/storage/ini_file.h"

#include <QDir>
#include <QFileInfo>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "platform/storage/file_store.h"

namespace {

std::optional<long long> ParseInteger(QString text) {
  text = text.trimmed();
  bool ok = false;
  long long v = 0;
  if (text.startsWith(u'$'))
    v = text.mid(1).toLongLong(&ok, 16);
  else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    v = text.mid(2).toLongLong(&ok, 16);
  else if (text.startsWith(QLatin1String("-0x"), Qt::CaseInsensitive))
    v = -text.mid(3).toLongLong(&ok, 16);
  else
    v = text.toLongLong(&ok, 10);
  if (!ok) return std::nullopt;
  return v;
}

}  // namespace

TIniFile::TIniFile(const QString& FileName) : fileName_(FileName) {}

TIniDocument TIniFile::Load() const {
  if (fileName_.isEmpty()) return TIniDocument();
  try {
    return TIniDocument::Parse(FileStore::Read(fileName_).value_or(QByteArray()));
  } catch (const EFileStoreError& e) {
    throw EIniFileException(e.Message());
  }
}

void TIniFile::Change(const std::function<bool(TIniDocument&)>& edit) {
  if (fileName_.isEmpty()) throw EIniFileException(Exception::Fmt(SIniFileWriteError, "an unnamed file"));
  try {
    FileStore::Update(fileName_, [&](QByteArray& bytes) {
      TIniDocument doc = TIniDocument::Parse(bytes);
      if (!edit(doc)) return false;
      bytes = doc.ToBytes();
      return true;
    });
  } catch (const EFileStoreError& e) {
    throw EIniFileException(Exception::Fmt(SIniFileWriteError, QDir::toNativeSeparators(fileName_)) +
                            QStringLiteral(" (") + e.Message() + u')');
  }
}

void TIniFile::CheckNames(const QString& Section, const QString& Ident, const QString& Value) const {
  QString why = TIniDocument::CheckSectionName(Section);
  if (why.isEmpty()) why = TIniDocument::CheckKeyName(Ident);
  if (why.isEmpty()) why = TIniDocument::CheckValue(Value);
  if (why.isEmpty()) return;
  throw EIniFileException(QStringLiteral("Cannot write [%1] %2 to %3: %4")
                              .arg(Section, Ident, QDir::toNativeSeparators(fileName_), why));
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
  return Load().Value(Section, Ident).value_or(Default);
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
  CheckNames(Section, Ident, Value);
  Change([&](TIniDocument& doc) { return doc.SetValue(Section, Ident, Value); });
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
  const auto text = Load().Value(Section, Ident);
  if (!text) return Default;
  const auto v = ParseInteger(*text);
  if (!v || *v < INT32_MIN) return Default;
  // Hexadecimal up to 8 digits may set the top bit ($FFFFFFFF is -1).
  const QString t = text->trimmed();
  const bool hex = t.startsWith(u'$') || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
  if (*v > (hex ? (long long)UINT32_MAX : (long long)INT32_MAX)) return Default;
  return int(uint32_t(*v));
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
  WriteString(Section, Ident, QString::number(Value));
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const {
  const auto text = Load().Value(Section, Ident);
  if (!text) return Default;
  const QString t = text->trimmed().toLower();
  if (t == u"true" || t == u"yes" || t == u"on") return true;
  if (t == u"false" || t == u"no" || t == u"off") return false;
  const auto v = ParseInteger(t);
  return v ? *v != 0 : Default;
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TIniFile::ReadFloat(const QString& Section, const QString& Ident, double Default) const {
  const auto text = Load().Value(Section, Ident);
  if (!text) return Default;
  QString t = text->trimmed();
  t.replace(u',', u'.');
  const QByteArray ascii = t.toLatin1();
  double v = 0;
  const auto [end, ec] = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), v);
  if (ec != std::errc() || end != ascii.constData() + ascii.size() || ascii.isEmpty()) return Default;
  return v;
}

void TIniFile::WriteFloat(const QString& Section, const QString& Ident, double Value) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, Value);
  WriteString(Section, Ident, QString::fromLatin1(buffer, ec == std::errc() ? end - buffer : 0));
}

QDateTime TIniFile::ReadDateTime(const QString& Section, const QString& Ident,
                                 const QDateTime& Default) const {
  const auto text = Load().Value(Section, Ident);
  if (!text) return Default;
  const QDateTime v = QDateTime::fromString(text->trimmed(), Qt::ISODateWithMs);
  return v.isValid() ? v : Default;
}

void TIniFile::WriteDateTime(const QString& Section, const QString& Ident, const QDateTime& Value) {
  WriteString(Section, Ident, Value.toString(Qt::ISODateWithMs));
}

QByteArray TIniFile::ReadBinary(const QString& Section, const QString& Ident,
                                const QByteArray& Default) const {
  const auto text = Load().Value(Section, Ident);
  if (!text) return Default;
  const QByteArray hex = text->trimmed().toLatin1();
  if (hex.size() % 2 != 0) return Default;
  for (char c : hex)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return Default;
  return QByteArray::fromHex(hex);
}

void TIniFile::WriteBinary(const QString& Section, const QString& Ident, const QByteArray& Value) {
  WriteString(Section, Ident, QString::fromLatin1(Value.toHex()));
}

bool TIniFile::SectionExists(const QString& Section) const {
  return Load().HasSection(Section);
}

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const {
  return Load().HasKey(Section, Ident);
}

QStringList TIniFile::ReadSection(const QString& Section) const {
  QStringList keys;
  for (const auto& [key, value] : Load().Entries(Section)) keys.push_back(key);
  return keys;
}

QStringList TIniFile::ReadSections() const {
  return Load().Sections();
}

QStringList TIniFile::ReadSectionValues(const QString& Section) const {
  QStringList lines;
  for (const auto& [key, value] : Load().Entries(Section)) lines.push_back(key + u'=' + value);
  return lines;
}

void TIniFile::EraseSection(const QString& Section) {
  if (!QFileInfo::exists(fileName_)) return;
  Change([&](TIniDocument& doc) { return doc.RemoveSection(Section); });
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident) {
  if (!QFileInfo::exists(fileName_)) return;
  Change([&](TIniDocument& doc) { return doc.RemoveKey(Section, Ident); });
}
