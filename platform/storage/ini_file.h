#pragma once
// TIniFile: an ini file on the disk, read and written by section and key.
//
// Every read looks at the file as it is now; every write changes the one line
// concerned and replaces the file at once (FileStore::Update: atomic, under
// the file's lock), so nothing waits in memory to be lost and two programs
// writing different keys of one file keep each other's values. Comments,
// blank lines and unknown lines stay as they are (TIniDocument). Section and
// key names are compared without regard to case and trimmed.
//
// A missing file reads as empty: every read gives its default. A write
// creates the file, but not its folder. Values that a line cannot hold (a
// line break in a value, "=" in a key, "]" in a section name) are refused
// with EIniFileException before anything is written.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "platform/core/exceptions.h"
#include "platform/storage/ini_document.h"

class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SIniFileWriteError = "Unable to write to %s";

class TIniFile {
 public:
  explicit TIniFile(const QString& FileName);
  ~TIniFile() = default;
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const QString& FileName() const { return fileName_; }

  QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
  void WriteString(const QString& Section, const QString& Ident, const QString& Value);
  // Decimal, or hexadecimal written 0x1F or $1F; anything else gives Default.
  int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
  void WriteInteger(const QString& Section, const QString& Ident, int Value);
  // 1/0 as written by WriteBool; also true/false, yes/no, on/off and any
  // integer (non-zero is true). Anything else gives Default.
  bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
  void WriteBool(const QString& Section, const QString& Ident, bool Value);
  // A decimal number with "." (written that way, with the digits needed to
  // read back the same double); "," is accepted in its place.
  double ReadFloat(const QString& Section, const QString& Ident, double Default) const;
  void WriteFloat(const QString& Section, const QString& Ident, double Value);
  // ISO 8601 ("2024-05-01T13:45:00"); anything else gives Default.
  QDateTime ReadDateTime(const QString& Section, const QString& Ident, const QDateTime& Default) const;
  void WriteDateTime(const QString& Section, const QString& Ident, const QDateTime& Value);
  // Bytes as hexadecimal digits.
  QByteArray ReadBinary(const QString& Section, const QString& Ident, const QByteArray& Default) const;
  void WriteBinary(const QString& Section, const QString& Ident, const QByteArray& Value);

  bool SectionExists(const QString& Section) const;
  bool ValueExists(const QString& Section, const QString& Ident) const;
  // The keys of a section, the sections, and "key=value" texts of a section.
  QStringList ReadSection(const QString& Section) const;
  QStringList ReadSections() const;
  QStringList ReadSectionValues(const QString& Section) const;
  void EraseSection(const QString& Section);
  void DeleteKey(const QString& Section, const QString& Ident);
  // Writes go to the disk at once; kept for callers that flush explicitly.
  void UpdateFile() {}

 private:
  TIniDocument Load() const;
  // Applies `edit` to the file's current text and writes it back when it
  // changed anything.
  void Change(const std::function<bool(TIniDocument&)>& edit);
  void CheckNames(const QString& Section, const QString& Ident, const QString& Value) const;

  QString fileName_;
};
