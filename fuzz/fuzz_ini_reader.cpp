// Feeds arbitrary bytes to the ini reader. Whatever the input:
//  - reading never fails, and writing the text out again gives the same bytes;
//  - every value the section and key lists name reads back as listed;
//  - setting a value changes nothing else: read again, the file gives the new
//    value, and every other key of every section keeps its value;
//  - removing the key again gives a text in which it is gone.

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/storage/ini_document.h"

namespace {

[[noreturn]] void Die(const char* why, const QString& detail = QString()) {
  std::fprintf(stderr, "fuzz_ini_reader: %s\n%s\n", why, detail.toUtf8().constData());
  std::abort();
}

using Snapshot = std::map<std::pair<QString, QString>, QString>;

// Every (section, key) -> value the document offers, names case-folded.
Snapshot Take(const TIniDocument& doc) {
  Snapshot all;
  QStringList sections = doc.Sections();
  sections.prepend(QString());
  for (const QString& s : sections)
    for (const auto& [key, value] : doc.Entries(s)) {
      const auto found = doc.Value(s, key);
      if (!found || *found != value) Die("a listed key does not read back", s + u'/' + key);
      all.emplace(std::make_pair(s.toCaseFolded(), key.toCaseFolded()), value);
    }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  TIniDocument doc = TIniDocument::Parse(bytes);
  if (doc.ToBytes() != bytes) Die("the text does not write back unchanged");
  const Snapshot before = Take(doc);

  // Pick a section of the input (or a new one) and a key and value derived
  // from the input, then set it.
  const QStringList sections = doc.Sections();
  const QString section = sections.isEmpty() || size % 3 == 0
                              ? QStringLiteral("Fuzz Section")
                              : sections.at(qsizetype(size % sections.size()));
  const QString key = size % 2 ? QStringLiteral("FuzzKey") : QStringLiteral("fuzzkey2");
  QString value = QString::fromUtf8(bytes.left(24));
  value.remove(u'\n');
  value.remove(u'\r');
  if (!TIniDocument::CheckSectionName(section).isEmpty()) return 0;
  doc.SetValue(section, key, value);

  const TIniDocument reread = TIniDocument::Parse(doc.ToBytes());
  const auto got = reread.Value(section, key);
  if (!got || *got != value) Die("a value set does not read back", section + u'/' + key + u'=' + value);
  Snapshot after = Take(reread);
  after.erase(std::make_pair(section.trimmed().toCaseFolded(), key.toCaseFolded()));
  Snapshot expected = before;
  expected.erase(std::make_pair(section.trimmed().toCaseFolded(), key.toCaseFolded()));
  if (after != expected) Die("setting one value changed another", section + u'/' + key);

  TIniDocument removed = TIniDocument::Parse(doc.ToBytes());
  removed.RemoveKey(section, key);
  if (TIniDocument::Parse(removed.ToBytes()).Value(section, key)) Die("a removed key still reads");
  return 0;
}
