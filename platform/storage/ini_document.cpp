#include "platform/storage/ini_document.h"

#include <QStringDecoder>

namespace {

QString DecodeLine(QByteArrayView bytes) {
  // A byte order mark inside a line is text like any other (only the one that
  // opens the file is not, and ParseLine skips that).
  QStringDecoder utf8(QStringDecoder::Utf8,
                      QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  QString text = utf8(bytes);
  if (utf8.hasError()) return QString::fromLatin1(bytes.data(), bytes.size());
  return text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

const QByteArray kBom("\xEF\xBB\xBF");

}  // namespace

bool SameIniName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

TIniDocument::Line TIniDocument::ParseLine(QByteArray raw) {
  Line line;
  line.raw = std::move(raw);
  // The content: without the line ending and without a byte order mark.
  qsizetype begin = line.raw.startsWith(kBom) ? kBom.size() : 0;
  qsizetype end = line.raw.size();
  if (end > begin && line.raw[end - 1] == '\n') --end;
  if (end > begin && line.raw[end - 1] == '\r') --end;
  while (begin < end && IsBlank(line.raw[begin])) ++begin;
  while (end > begin && IsBlank(line.raw[end - 1])) --end;
  if (begin == end) return line;
  const char first = line.raw[begin];
  if (first == ';' || first == '#') return line;
  if (first == '[') {
    const qsizetype close = line.raw.indexOf(']', begin + 1);
    if (close < 0 || close >= end) return line;
    line.kind = Kind::Section;
    line.name = DecodeLine(QByteArrayView(line.raw).sliced(begin + 1, close - begin - 1)).trimmed();
    return line;
  }
  const qsizetype eq = line.raw.indexOf('=', begin);
  if (eq < 0 || eq >= end) return line;
  const QString key = DecodeLine(QByteArrayView(line.raw).sliced(begin, eq - begin)).trimmed();
  if (key.isEmpty()) return line;
  qsizetype valueAt = eq + 1;
  while (valueAt < end && IsBlank(line.raw[valueAt])) ++valueAt;
  QString value = DecodeLine(QByteArrayView(line.raw).sliced(valueAt, end - valueAt));
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    value = value.mid(1, value.size() - 2);
  line.kind = Kind::Entry;
  line.name = key;
  line.value = std::move(value);
  line.valueAt = valueAt;
  return line;
}

TIniDocument TIniDocument::Parse(const QByteArray& bytes) {
  TIniDocument doc;
  qsizetype at = 0;
  while (at < bytes.size()) {
    qsizetype nl = bytes.indexOf('\n', at);
    const qsizetype next = nl < 0 ? bytes.size() : nl + 1;
    doc.lines_.push_back(ParseLine(bytes.mid(at, next - at)));
    at = next;
  }
  if (!doc.lines_.empty() && doc.lines_.front().raw.endsWith("\r\n")) doc.eol_ = "\r\n";
  return doc;
}

QByteArray TIniDocument::ToBytes() const {
  QByteArray out;
  qsizetype size = 0;
  for (const Line& line : lines_) size += line.raw.size();
  out.reserve(size);
  for (const Line& line : lines_) out += line.raw;
  return out;
}

template <typename F>
void TIniDocument::ForEachInSection(const QString& section, F&& f) const {
  bool inside = section.isEmpty();  // lines before the first header belong to ""
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::Section) {
      inside = SameIniName(line.name, section);
      if (inside && !f(i, line)) return;
      continue;
    }
    if (inside && !f(i, line)) return;
  }
}

std::optional<QString> TIniDocument::Value(const QString& section, const QString& key) const {
  const QString s = section.trimmed(), k = key.trimmed();
  std::optional<QString> found;
  ForEachInSection(s, [&](size_t, const Line& line) {
    if (line.kind == Kind::Entry && SameIniName(line.name, k)) {
      found = line.value;
      return false;
    }
    return true;
  });
  return found;
}

bool TIniDocument::HasSection(const QString& section) const {
  const QString s = section.trimmed();
  for (const Line& line : lines_)
    if (line.kind == Kind::Section && SameIniName(line.name, s)) return true;
  if (s.isEmpty())
    for (const Line& line : lines_) {
      if (line.kind == Kind::Section) break;
      if (line.kind == Kind::Entry) return true;
    }
  return false;
}

QStringList TIniDocument::Sections() const {
  QStringList names;
  for (const Line& line : lines_) {
    if (line.kind != Kind::Section) continue;
    bool seen = false;
    for (const QString& n : names) seen = seen || SameIniName(n, line.name);
    if (!seen) names.push_back(line.name);
  }
  return names;
}

std::vector<std::pair<QString, QString>> TIniDocument::Entries(const QString& section) const {
  std::vector<std::pair<QString, QString>> entries;
  ForEachInSection(section.trimmed(), [&](size_t, const Line& line) {
    if (line.kind != Kind::Entry) return true;
    for (const auto& e : entries)
      if (SameIniName(e.first, line.name)) return true;
    entries.emplace_back(line.name, line.value);
    return true;
  });
  return entries;
}

QString TIniDocument::CheckSectionName(const QString& section) {
  if (section.contains(u']')) return QStringLiteral("a section name cannot contain \"]\"");
  if (section.contains(u'\n') || section.contains(u'\r'))
    return QStringLiteral("a section name cannot contain a line break");
  return QString();
}

QString TIniDocument::CheckKeyName(const QString& key) {
  const QString k = key.trimmed();
  if (k.isEmpty()) return QStringLiteral("a key cannot be empty");
  if (k.contains(u'=')) return QStringLiteral("a key cannot contain \"=\"");
  if (k.contains(u'\n') || k.contains(u'\r')) return QStringLiteral("a key cannot contain a line break");
  if (k.front() == u'[' || k.front() == u';' || k.front() == u'#')
    return QStringLiteral("a key cannot begin with \"%1\"").arg(k.front());
  return QString();
}

QString TIniDocument::CheckValue(const QString& value) {
  if (value.contains(u'\n') || value.contains(u'\r'))
    return QStringLiteral("a value cannot contain a line break");
  return QString();
}

QByteArray TIniDocument::EncodeValue(const QString& value) {
  // Quote what reading would otherwise change: surrounding blanks (trimmed
  // away) and a value that is itself quoted (one pair of quotes is removed).
  bool quote = false;
  if (!value.isEmpty()) {
    const QChar f = value.front(), b = value.back();
    quote = f.isSpace() || b.isSpace() || (value.size() >= 2 && (f == u'"' || f == u'\'') && b == f);
  }
  const QByteArray utf8 = value.toUtf8();
  return quote ? '"' + utf8 + '"' : utf8;
}

void TIniDocument::EnsureEndsWithNewline() {
  if (!lines_.empty() && !lines_.back().raw.endsWith('\n')) lines_.back().raw += eol_;
}

qsizetype TIniDocument::InsertionPoint(const QString& section) const {
  qsizetype header = -1, lastEntry = -1;
  if (section.isEmpty() && !lines_.empty()) header = -2;  // before the first header
  ForEachInSection(section, [&](size_t i, const Line& line) {
    if (line.kind == Kind::Section && header < 0) header = qsizetype(i);
    if (line.kind == Kind::Entry) lastEntry = qsizetype(i);
    return true;
  });
  if (lastEntry >= 0) return lastEntry;
  if (header == -2) {
    // No value before the first header yet: the new line goes first, after
    // any leading comments.
    qsizetype i = 0;
    while (i < qsizetype(lines_.size()) && lines_[size_t(i)].kind == Kind::Other &&
           !lines_[size_t(i)].raw.trimmed().isEmpty())
      ++i;
    return i - 1;
  }
  return header;
}

bool TIniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
  const QString s = section.trimmed(), k = key.trimmed();
  Line* existing = nullptr;
  ForEachInSection(s, [&](size_t i, const Line& line) {
    if (line.kind == Kind::Entry && SameIniName(line.name, k)) {
      existing = &lines_[i];
      return false;
    }
    return true;
  });
  if (existing) {
    if (existing->value == value) return false;
    // Keep the key's spelling and spacing and the line's ending.
    QByteArray ending;
    if (existing->raw.endsWith("\r\n"))
      ending = "\r\n";
    else if (existing->raw.endsWith('\n'))
      ending = "\n";
    QByteArray raw = existing->raw.left(existing->valueAt) + EncodeValue(value) + ending;
    *existing = ParseLine(std::move(raw));
    return true;
  }
  const QByteArray entry = k.toUtf8() + '=' + EncodeValue(value) + eol_;
  const qsizetype at = InsertionPoint(s);
  if (at == -1 && !s.isEmpty()) {
    // A new section at the end, set off by a blank line.
    EnsureEndsWithNewline();
    if (!lines_.empty() && !lines_.back().raw.trimmed().isEmpty()) lines_.push_back(ParseLine(eol_));
    lines_.push_back(ParseLine('[' + s.toUtf8() + ']' + eol_));
    lines_.push_back(ParseLine(entry));
    return true;
  }
  const size_t pos = size_t(at + 1);
  if (pos == lines_.size())
    EnsureEndsWithNewline();
  else if (at >= 0 && !lines_[size_t(at)].raw.endsWith('\n'))
    lines_[size_t(at)].raw += eol_;
  lines_.insert(lines_.begin() + qsizetype(pos), ParseLine(entry));
  return true;
}

bool TIniDocument::AddSection(const QString& section) {
  const QString s = section.trimmed();
  if (HasSection(s)) return false;
  EnsureEndsWithNewline();
  if (!lines_.empty() && !lines_.back().raw.trimmed().isEmpty()) lines_.push_back(ParseLine(eol_));
  lines_.push_back(ParseLine('[' + s.toUtf8() + ']' + eol_));
  return true;
}

bool TIniDocument::RemoveKey(const QString& section, const QString& key) {
  const QString s = section.trimmed(), k = key.trimmed();
  std::vector<size_t> doomed;
  ForEachInSection(s, [&](size_t i, const Line& line) {
    if (line.kind == Kind::Entry && SameIniName(line.name, k)) doomed.push_back(i);
    return true;
  });
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) lines_.erase(lines_.begin() + qsizetype(*it));
  return !doomed.empty();
}

bool TIniDocument::RemoveSection(const QString& section) {
  const QString s = section.trimmed();
  std::vector<size_t> doomed;
  ForEachInSection(s, [&](size_t i, const Line&) {
    doomed.push_back(i);
    return true;
  });
  if (s.isEmpty()) {
    // Only the values before the first header; their comments stay.
    std::erase_if(doomed, [&](size_t i) { return lines_[i].kind != Kind::Entry; });
  }
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) lines_.erase(lines_.begin() + qsizetype(*it));
  return !doomed.empty();
}
