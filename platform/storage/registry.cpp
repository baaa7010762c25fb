#include "platform/storage/registry.h"

#include <QDir>
#include <QStandardPaths>
#include <QtEndian>
#include <cstring>

#include "platform/storage/file_store.h"
#include "platform/storage/ini_document.h"

namespace {

QString RootName(HKEY root) {
  switch (root) {
    case HKEY_CLASSES_ROOT:
      return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER:
      return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
      return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS:
      return QStringLiteral("HKEY_USERS");
    case HKEY_CURRENT_CONFIG:
      return QStringLiteral("HKEY_CURRENT_CONFIG");
    default:
      return QStringLiteral("HKEY_%1").arg(root, 8, 16, QLatin1Char('0'));
  }
}

QString UserStoreDir() {
  const QString over = qEnvironmentVariable("VORT_REGISTRY_DIR");
  if (!over.isEmpty()) return over;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/vort/registry");
}

QStringList SystemStoreDirs() {
  const QString over = qEnvironmentVariable("VORT_REGISTRY_DIR");
  if (!over.isEmpty()) return {over + QStringLiteral("/system")};
  QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
  const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  dirs.removeAll(user);
  for (QString& d : dirs) d += QStringLiteral("/vort/registry");
  return dirs;
}

// Names in the file: a value name or a key name is written as it is, except
// for the characters a line or a section header cannot hold, which are
// written %XX. The value without a name is "@".
QString EscapeName(const QString& name, bool key) {
  if (!key && name.isEmpty()) return QStringLiteral("@");
  QString out;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const QChar c = name[i];
    const bool edge = i == 0 || i == name.size() - 1;
    const bool special = c == u'%' || c.unicode() < 0x20 || c == u'=' || c == u']' || c == u'\\' ||
                         (edge && c.isSpace()) ||
                         (i == 0 && (c == u'[' || c == u';' || c == u'#' || c == u'@'));
    if (special)
      out += u'%' + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
    else
      out += c;
  }
  return out;
}

QString UnescapeName(const QString& name) {
  if (name == u"@") return QString();
  QString out;
  for (qsizetype i = 0; i < name.size(); ++i) {
    bool ok = false;
    if (name[i] == u'%' && i + 2 < name.size()) {
      const ushort code = name.mid(i + 1, 2).toUShort(&ok, 16);
      if (ok) {
        out += QChar(code);
        i += 2;
        continue;
      }
    }
    out += name[i];
  }
  return out;
}

QStringList SplitPath(const QString& path) {
  QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
  for (QString& p : parts) p = p.trimmed();
  parts.removeAll(QString());
  return parts;
}

// The section of a key path: its escaped names joined by backslashes.
QString SectionOf(const QString& path) {
  QStringList parts = SplitPath(path);
  for (QString& p : parts) p = EscapeName(p, true);
  return parts.join(u'\\');
}

bool IsBelow(const QString& section, const QString& key) {
  if (key.isEmpty()) return true;
  return section.size() > key.size() && section[key.size()] == u'\\' &&
         section.left(key.size()).compare(key, Qt::CaseInsensitive) == 0;
}

struct Store {
  QString userPath;
  std::vector<TIniDocument> docs;  // the user's file first, then machine-wide ones
};

TIniDocument LoadDoc(const QString& path) {
  try {
    return TIniDocument::Parse(FileStore::Read(path).value_or(QByteArray()));
  } catch (const EFileStoreError&) {
    // A file this user may not read counts as empty.
    return TIniDocument();
  }
}

Store LoadStore(HKEY root) {
  Store s;
  s.userPath = TRegistry::UserStorePath(root);
  s.docs.push_back(LoadDoc(s.userPath));
  for (const QString& p : TRegistry::SystemStorePaths(root)) s.docs.push_back(LoadDoc(p));
  return s;
}

bool StoreHasKey(const Store& s, const QString& section) {
  if (section.isEmpty()) return true;
  for (const TIniDocument& doc : s.docs) {
    if (doc.HasSection(section)) return true;
    for (const QString& name : doc.Sections())
      if (IsBelow(name, section)) return true;
  }
  return false;
}

QByteArray LittleEndian32(uint32_t v) {
  QByteArray b(4, '\0');
  qToLittleEndian(v, b.data());
  return b;
}

QString EscapeText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    if (c == u'\\')
      out += QStringLiteral("\\\\");
    else if (c == u'\n')
      out += QStringLiteral("\\n");
    else if (c == u'\r')
      out += QStringLiteral("\\r");
    else
      out += c;
  }
  return out;
}

QString UnescapeText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) {
      const QChar n = text[i + 1];
      if (n == u'\\' || n == u'n' || n == u'r') {
        out += n == u'n' ? QChar(u'\n') : n == u'r' ? QChar(u'\r') : QChar(u'\\');
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::optional<QByteArray> ParseHexList(const QString& text) {
  QByteArray bytes;
  const QString t = text.trimmed();
  if (t.isEmpty()) return bytes;
  for (const QString& part : t.split(u',')) {
    bool ok = false;
    const QString p = part.trimmed();
    const uint v = p.toUInt(&ok, 16);
    if (!ok || p.size() > 2) return std::nullopt;
    bytes.push_back(char(v));
  }
  return bytes;
}

QString HexList(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size() * 3);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (i) out += u',';
    out += QStringLiteral("%1").arg(uchar(bytes[i]), 2, 16, QLatin1Char('0'));
  }
  return out;
}

}  // namespace

namespace RegistryText {

QString Encode(const TRegValue& value) {
  switch (value.Kind) {
    case REG_SZ:
      return QStringLiteral("text:") + EscapeText(QString::fromUtf8(value.Data));
    case REG_EXPAND_SZ:
      return QStringLiteral("expand:") + EscapeText(QString::fromUtf8(value.Data));
    case REG_DWORD:
      if (value.Data.size() == 4)
        return QStringLiteral("dword:%1")
            .arg(qFromLittleEndian<uint32_t>(value.Data.constData()), 8, 16, QLatin1Char('0'));
      break;
    case REG_BINARY:
      return QStringLiteral("hex:") + HexList(value.Data);
    default:
      break;
  }
  return QStringLiteral("hex(%1):").arg(value.Kind, 0, 16) + HexList(value.Data);
}

TRegValue Decode(const QString& text) {
  auto after = [&](const char* prefix) -> std::optional<QString> {
    const QLatin1String p(prefix);
    if (!text.startsWith(p, Qt::CaseInsensitive)) return std::nullopt;
    return text.mid(p.size());
  };
  if (auto rest = after("text:")) return {REG_SZ, UnescapeText(*rest).toUtf8()};
  if (auto rest = after("expand:")) return {REG_EXPAND_SZ, UnescapeText(*rest).toUtf8()};
  if (auto rest = after("dword:")) {
    bool ok = false;
    const QString digits = rest->trimmed();
    const uint v = digits.toUInt(&ok, 16);
    if (ok && digits.size() <= 8) return {REG_DWORD, LittleEndian32(v)};
  }
  if (auto rest = after("hex:")) {
    if (auto bytes = ParseHexList(*rest)) return {REG_BINARY, *bytes};
  }
  if (auto rest = after("hex(")) {
    const qsizetype close = rest->indexOf(QLatin1String("):"));
    bool ok = false;
    const uint kind = close > 0 && close <= 8 ? rest->left(close).toUInt(&ok, 16) : 0;
    if (ok) {
      if (auto bytes = ParseHexList(rest->mid(close + 2))) return {kind, *bytes};
    }
  }
  // Anything else is text as it stands (a value typed in by hand).
  return {REG_SZ, text.toUtf8()};
}

}  // namespace RegistryText

QString TRegistry::UserStorePath(HKEY root) {
  return UserStoreDir() + u'/' + RootName(root) + QStringLiteral(".ini");
}

QStringList TRegistry::SystemStorePaths(HKEY root) {
  QStringList paths;
  if (root != HKEY_LOCAL_MACHINE) return paths;
  for (const QString& dir : SystemStoreDirs())
    paths.push_back(dir + u'/' + RootName(root) + QStringLiteral(".ini"));
  return paths;
}

void TRegistry::SetRootKey(HKEY value) {
  if (value == rootKey_) return;
  CloseKey();
  rootKey_ = value;
}

QString TRegistry::Resolve(const QString& Key) const {
  const bool absolute = Key.startsWith(u'\\') || !open_;
  QStringList parts = absolute ? QStringList() : SplitPath(currentPath_);
  parts += SplitPath(Key);
  return parts.join(u'\\');
}

bool TRegistry::CanWrite() const {
  return FileStore::Writable(UserStorePath(rootKey_), true);
}

bool TRegistry::OpenKey(const QString& Key, bool CanCreate) {
  const QString path = Resolve(Key);
  if ((access_ & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) && !CanWrite()) return false;
  if (!KeyExists(QLatin1Char('\\') + path)) {
    if (!CanCreate || !CreateKey(QLatin1Char('\\') + path)) return false;
  }
  currentPath_ = path;
  open_ = true;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& Key) {
  access_ = KEY_READ;
  const QString path = Resolve(Key);
  if (!KeyExists(QLatin1Char('\\') + path)) return false;
  currentPath_ = path;
  open_ = true;
  return true;
}

void TRegistry::CloseKey() {
  open_ = false;
  currentPath_.clear();
}

bool TRegistry::CreateKey(const QString& Key) {
  const QString section = SectionOf(Resolve(Key));
  if (section.isEmpty()) return true;
  try {
    FileStore::Update(
        UserStorePath(rootKey_),
        [&](QByteArray& bytes) {
          TIniDocument doc = TIniDocument::Parse(bytes);
          if (!doc.AddSection(section)) return false;
          bytes = doc.ToBytes();
          return true;
        },
        true);
  } catch (const EFileStoreError&) {
    return false;
  }
  return true;
}

bool TRegistry::DeleteKey(const QString& Key) {
  const QString section = SectionOf(Resolve(Key));
  if (section.isEmpty()) return false;
  bool removed = false;
  try {
    FileStore::Update(UserStorePath(rootKey_), [&](QByteArray& bytes) {
      TIniDocument doc = TIniDocument::Parse(bytes);
      for (const QString& name : doc.Sections())
        if (SameIniName(name, section) || IsBelow(name, section))
          removed = doc.RemoveSection(name) || removed;
      if (removed) bytes = doc.ToBytes();
      return removed;
    });
  } catch (const EFileStoreError&) {
    return false;
  }
  return removed;
}

bool TRegistry::KeyExists(const QString& Key) const {
  return StoreHasKey(LoadStore(rootKey_), SectionOf(Resolve(Key)));
}

QStringList TRegistry::GetKeyNames() const {
  QStringList names;
  if (!open_) return names;
  const QString section = SectionOf(currentPath_);
  const Store s = LoadStore(rootKey_);
  for (const TIniDocument& doc : s.docs)
    for (const QString& name : doc.Sections()) {
      if (!IsBelow(name, section)) continue;
      const QString rest = section.isEmpty() ? name : name.mid(section.size() + 1);
      const QString child = UnescapeName(rest.section(u'\\', 0, 0));
      if (child.isEmpty()) continue;
      if (!names.contains(child, Qt::CaseInsensitive)) names.push_back(child);
    }
  return names;
}

QStringList TRegistry::GetValueNames() const {
  QStringList names;
  if (!open_) return names;
  const QString section = SectionOf(currentPath_);
  const Store s = LoadStore(rootKey_);
  for (const TIniDocument& doc : s.docs)
    for (const auto& [name, value] : doc.Entries(section)) {
      const QString n = UnescapeName(name);
      if (!names.contains(n, Qt::CaseInsensitive)) names.push_back(n);
    }
  return names;
}

std::optional<TRegValue> TRegistry::ReadValue(const QString& Name) const {
  if (!open_) return std::nullopt;
  const QString section = SectionOf(currentPath_);
  const QString key = EscapeName(Name, false);
  const Store s = LoadStore(rootKey_);
  for (const TIniDocument& doc : s.docs)
    if (auto text = doc.Value(section, key)) return RegistryText::Decode(*text);
  return std::nullopt;
}

void TRegistry::WriteValue(const QString& Name, const TRegValue& Value) {
  if (!open_ || !(access_ & KEY_SET_VALUE)) throw ERegistryException(Exception::Fmt(SRegSetDataFailed, Name));
  const QString section = SectionOf(currentPath_);
  const QString key = EscapeName(Name, false);
  const QString text = RegistryText::Encode(Value);
  try {
    FileStore::Update(
        UserStorePath(rootKey_),
        [&](QByteArray& bytes) {
          TIniDocument doc = TIniDocument::Parse(bytes);
          bool changed = doc.AddSection(section);
          changed = doc.SetValue(section, key, text) || changed;
          if (changed) bytes = doc.ToBytes();
          return changed;
        },
        true);
  } catch (const EFileStoreError& e) {
    throw ERegistryException(Exception::Fmt(SRegSetDataFailed, Name) + QStringLiteral(" (") + e.Message() +
                             u')');
  }
}

bool TRegistry::ValueExists(const QString& Name) const {
  return ReadValue(Name).has_value();
}

bool TRegistry::DeleteValue(const QString& Name) {
  if (!open_ || !(access_ & KEY_SET_VALUE)) return false;
  const QString section = SectionOf(currentPath_);
  const QString key = EscapeName(Name, false);
  bool removed = false;
  try {
    FileStore::Update(UserStorePath(rootKey_), [&](QByteArray& bytes) {
      TIniDocument doc = TIniDocument::Parse(bytes);
      removed = doc.RemoveKey(section, key);
      if (removed) bytes = doc.ToBytes();
      return removed;
    });
  } catch (const EFileStoreError&) {
    return false;
  }
  return removed;
}

bool TRegistry::GetDataInfo(const QString& ValueName, TRegDataInfo& Value) const {
  Value = TRegDataInfo();
  const auto v = ReadValue(ValueName);
  if (!v) return false;
  switch (v->Kind) {
    case REG_SZ:
      Value.RegData = TRegDataType::rdString;
      break;
    case REG_EXPAND_SZ:
      Value.RegData = TRegDataType::rdExpandString;
      break;
    case REG_DWORD:
      Value.RegData = TRegDataType::rdInteger;
      break;
    case REG_BINARY:
      Value.RegData = TRegDataType::rdBinary;
      break;
    default:
      Value.RegData = TRegDataType::rdUnknown;
      break;
  }
  Value.DataSize = int(v->Data.size());
  return true;
}

TRegDataType TRegistry::GetDataType(const QString& ValueName) const {
  TRegDataInfo info;
  GetDataInfo(ValueName, info);
  return info.RegData;
}

int TRegistry::GetDataSize(const QString& ValueName) const {
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

int TRegistry::ReadBinaryData(const QString& Name, void* Buffer, int BufSize) const {
  const auto v = ReadValue(Name);
  if (!v) return 0;
  TRegDataInfo info;
  GetDataInfo(Name, info);
  const bool binary = info.RegData == TRegDataType::rdBinary || info.RegData == TRegDataType::rdUnknown;
  if (!binary || v->Data.size() > BufSize) throw ERegistryException(Exception::Fmt(SInvalidRegType, Name));
  if (!v->Data.isEmpty()) std::memcpy(Buffer, v->Data.constData(), size_t(v->Data.size()));
  return int(v->Data.size());
}

void TRegistry::WriteBinaryData(const QString& Name, const void* Buffer, int BufSize) {
  WriteValue(Name, {REG_BINARY, QByteArray(static_cast<const char*>(Buffer), qMax(BufSize, 0))});
}

QString TRegistry::ReadString(const QString& Name) const {
  const auto v = ReadValue(Name);
  if (!v) return QString();
  if (v->Kind != REG_SZ && v->Kind != REG_EXPAND_SZ)
    throw ERegistryException(Exception::Fmt(SInvalidRegType, Name));
  return QString::fromUtf8(v->Data);
}

void TRegistry::WriteString(const QString& Name, const QString& Value) {
  WriteValue(Name, {REG_SZ, Value.toUtf8()});
}

void TRegistry::WriteExpandString(const QString& Name, const QString& Value) {
  WriteValue(Name, {REG_EXPAND_SZ, Value.toUtf8()});
}

int TRegistry::ReadInteger(const QString& Name) const {
  const auto v = ReadValue(Name);
  if (!v) throw ERegistryException(Exception::Fmt(SRegGetDataFailed, Name));
  if (v->Kind != REG_DWORD || v->Data.size() != 4)
    throw ERegistryException(Exception::Fmt(SInvalidRegType, Name));
  return qFromLittleEndian<int32_t>(v->Data.constData());
}

void TRegistry::WriteInteger(const QString& Name, int Value) {
  WriteValue(Name, {REG_DWORD, LittleEndian32(uint32_t(Value))});
}
