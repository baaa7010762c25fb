#pragma once
// TRegistry: a typed, hierarchical store of settings. Keys are paths of names
// separated by backslashes ("SOFTWARE\Kavel VCL\Data\TForm1") under a root
// key; a key holds named values, each of one type: text, expandable text, a
// 32-bit integer, binary bytes, or bytes of another numbered kind.
//
// Where the values live. Each root is one text file in the ini format, a
// section per key and a line per value, in the user's configuration folder:
//   $XDG_CONFIG_HOME/vort/registry/HKEY_LOCAL_MACHINE.ini  (~/.config/... by default)
//   $XDG_CONFIG_HOME/vort/registry/HKEY_CURRENT_USER.ini
// The machine-wide root also reads, for what the user's file does not have,
// the files an administrator installed: <dir>/vort/registry/HKEY_LOCAL_MACHINE.ini
// for each folder of $XDG_CONFIG_DIRS (/etc/xdg by default). Those are never
// written: every write goes to the user's file, where the user has rights.
// The variable VORT_REGISTRY_DIR moves the whole store (user files in it,
// machine-wide files in its "system" subfolder), for tests and portable use.
//
// Values in the file:
//   [SOFTWARE\Kavel VCL]
//   RootDir=text:/opt/kavel          (a line without a type prefix is text too)
//   Path=expand:$HOME/kavel
//   Count=dword:0000002a
//   Position=hex:ec,ff,ff,ff,1e,00,00,00
//   Big=hex(b):01,00,00,00,00,00,00,00     (other kinds: the kind number in hex)
// Key and value names compare without regard to case. Each write replaces
// the file atomically under its lock (FileStore::Update); every read looks at
// the files as they are now, so no handle or cache outlives a call.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "platform/core/exceptions.h"

using HKEY = uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

// Kinds of stored values.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;
inline constexpr uint32_t REG_QWORD = 11;

// Access rights a key is opened with.
inline constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr uint32_t KEY_READ = 0x20019;
inline constexpr uint32_t KEY_WRITE = 0x20006;
inline constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = TRegDataType::rdUnknown;
  int DataSize = 0;
};

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SInvalidRegType = "Invalid data type for '%s'";
inline constexpr const char* SRegSetDataFailed = "Failed to set data for '%s'";
inline constexpr const char* SRegGetDataFailed = "Failed to get data for '%s'";
inline constexpr const char* SRegCreateFailed = "Failed to create key %s";

// One stored value: its kind and its bytes (text as UTF-8 without a
// terminator, integers as 4 little-endian bytes).
struct TRegValue {
  uint32_t Kind = REG_NONE;
  QByteArray Data;
};

class TRegistry {
 public:
  // The local-machine root, opened with full access.
  TRegistry() = default;
  explicit TRegistry(uint32_t AAccess) : access_(AAccess) {}
  ~TRegistry() = default;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return rootKey_; }
  // Changing the root closes the open key.
  void SetRootKey(HKEY value);
  uint32_t Access() const { return access_; }
  void SetAccess(uint32_t value) { access_ = value; }
  // The open key's path from the root ("" when none is open or the root is).
  const QString& CurrentPath() const { return currentPath_; }
  bool KeyOpen() const { return open_; }

  // Opens Key (relative to the open key unless it begins with a backslash),
  // creating it and its parents when CanCreate. With write rights in Access
  // it fails when the user's file of the root cannot be written. Returns
  // false, leaving the previous key open, when the key cannot be opened.
  bool OpenKey(const QString& Key, bool CanCreate);
  // Opens an existing key for reading; sets Access to KEY_READ.
  bool OpenKeyReadOnly(const QString& Key);
  void CloseKey();
  bool CreateKey(const QString& Key);
  // Removes the key with its subkeys from the user's file (machine-wide
  // values stay); false when the user's file had none of it.
  bool DeleteKey(const QString& Key);
  bool KeyExists(const QString& Key) const;
  // Names of the subkeys and of the values of the open key.
  QStringList GetKeyNames() const;
  QStringList GetValueNames() const;

  bool ValueExists(const QString& Name) const;
  bool DeleteValue(const QString& Name);
  // False (and a zeroed info) when the value does not exist.
  bool GetDataInfo(const QString& ValueName, TRegDataInfo& Value) const;
  TRegDataType GetDataType(const QString& ValueName) const;
  // Size in bytes, -1 when the value does not exist.
  int GetDataSize(const QString& ValueName) const;

  // Copies a binary value (or one of a kind without a type of its own) into
  // Buffer and returns its size; 0 when it does not exist. A text or integer
  // value, or one longer than BufSize, raises "Invalid data type for '%s'".
  int ReadBinaryData(const QString& Name, void* Buffer, int BufSize) const;
  void WriteBinaryData(const QString& Name, const void* Buffer, int BufSize);
  // Text or expandable text; "" when the value does not exist; another type
  // raises "Invalid data type for '%s'".
  QString ReadString(const QString& Name) const;
  void WriteString(const QString& Name, const QString& Value);
  void WriteExpandString(const QString& Name, const QString& Value);
  // A missing value raises "Failed to get data for '%s'", another type
  // "Invalid data type for '%s'".
  int ReadInteger(const QString& Name) const;
  void WriteInteger(const QString& Name, int Value);
  // Any value as it is stored; nothing when it does not exist.
  std::optional<TRegValue> ReadValue(const QString& Name) const;
  // Writes a value of any kind. Without an open key with write rights, or when
  // the file cannot be written, raises "Failed to set data for '%s'".
  void WriteValue(const QString& Name, const TRegValue& Value);

  // The file the user's values of `root` are written to, and the
  // machine-wide files read after it (none except for HKEY_LOCAL_MACHINE).
  static QString UserStorePath(HKEY root);
  static QStringList SystemStorePaths(HKEY root);

 private:
  QString Resolve(const QString& Key) const;
  bool CanWrite() const;

  HKEY rootKey_ = HKEY_LOCAL_MACHINE;
  uint32_t access_ = KEY_ALL_ACCESS;
  QString currentPath_;
  bool open_ = false;
};

// Turns a value to and from its text in the store's files (exposed for tests).
namespace RegistryText {
QString Encode(const TRegValue& value);
TRegValue Decode(const QString& text);
}  // namespace RegistryText
