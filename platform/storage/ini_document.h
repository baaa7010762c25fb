#pragma once
// TIniDocument: the text of an ini file held as its lines, so that a rewrite
// changes only the lines whose values changed and keeps everything else byte
// for byte: comments, blank lines, lines it cannot make sense of, the byte
// order mark, the line endings and text in any encoding.
//
// What the lines mean:
//   [Section]      starts a section (the name is trimmed; text after "]" is ignored)
//   key=value      a value of the current section; key and value are trimmed, and
//                  one pair of matching quotes ("..." or '...') around the value
//                  is removed, so that a value may keep leading or trailing spaces
//   ; text, # text comments
// Lines before the first section header belong to the section "". Section
// and key names compare without regard to case; a section that appears more
// than once is one section, and the first line of a key is the one that counts.
// A line is read as UTF-8 when it is valid UTF-8 and as Latin-1 otherwise.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

class TIniDocument {
 public:
  TIniDocument() = default;
  // Splits `bytes` into lines; never fails (what is not a section or a value
  // is kept as it stands).
  static TIniDocument Parse(const QByteArray& bytes);
  // The text again: the parsed bytes unchanged, plus the edits made since.
  QByteArray ToBytes() const;

  std::optional<QString> Value(const QString& section, const QString& key) const;
  bool HasSection(const QString& section) const;
  bool HasKey(const QString& section, const QString& key) const { return Value(section, key).has_value(); }
  // Section names in file order, each once (in the spelling of its first header).
  QStringList Sections() const;
  // The keys of a section and their values, in file order, each key once.
  std::vector<std::pair<QString, QString>> Entries(const QString& section) const;

  // Why a section or key name cannot be written, or an empty text when it can.
  static QString CheckSectionName(const QString& section);
  static QString CheckKeyName(const QString& key);
  static QString CheckValue(const QString& value);

  // Sets a value: rewrites the key's line in place (keeping what precedes the
  // value on it), or adds a line after the section's last value, or a new
  // section at the end. The names and the value must have passed the checks
  // above. Returns false when the value was already there.
  bool SetValue(const QString& section, const QString& key, const QString& value);
  // Adds an empty section header at the end unless the section exists.
  bool AddSection(const QString& section);
  // Removes every line of the key in the section; false when there was none.
  bool RemoveKey(const QString& section, const QString& key);
  // Removes the section's headers and lines up to the next section.
  bool RemoveSection(const QString& section);

 private:
  enum class Kind { Other, Section, Entry };
  struct Line {
    QByteArray raw;  // the line's bytes with its end-of-line bytes
    Kind kind = Kind::Other;
    QString name;           // section name or key
    QString value;          // the value of an entry
    qsizetype valueAt = 0;  // where the value starts in raw (entries)
  };
  static Line ParseLine(QByteArray raw);
  static QByteArray EncodeValue(const QString& value);
  // Index of the section each line belongs to is tracked while walking; these
  // helpers walk the lines.
  template <typename F>
  void ForEachInSection(const QString& section, F&& f) const;
  void EnsureEndsWithNewline();
  // Index of the last line belonging to the section that is a value, else of
  // its first header; -1 when the section does not exist.
  qsizetype InsertionPoint(const QString& section) const;

  std::vector<Line> lines_;
  QByteArray eol_ = "\n";  // what new lines end with: the first line's ending
};

// Whether two section or key names are the same name.
bool SameIniName(const QString& a, const QString& b);
