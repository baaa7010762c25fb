#include "kv/proc/proc_values.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <memory>

namespace {

struct Values {
  QString appPath;
  QString kvkRoot;
  QString vclRoot;
};

// Constant-initialised, so it exists before any static constructor runs and
// after every static destructor: the unit may be finalised at process exit,
// after function-local statics of this file would be gone. Owned by the unit
// between its initialisation and finalisation.
Values* current = nullptr;

QString ExecutableFolder() {
  // Known before any application object exists, unlike applicationDirPath().
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  QString folder = exe.exists() ? QFileInfo(exe.canonicalFilePath()).absolutePath()
                                : QCoreApplication::applicationDirPath();
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

void InitializeUnit() {
  auto fresh = std::make_unique<Values>();
  fresh->appPath = ExecutableFolder();
  TRegistry reg(KEY_READ);
  reg.SetRootKey(KavelRootKey);
  if (reg.OpenKeyReadOnly(QString::fromLatin1(KavelRootPath))) {
    fresh->kvkRoot = reg.ReadString(QStringLiteral("RootDir"));  // raises for a non-text value
    reg.CloseKey();
  }
  fresh->vclRoot = fresh->kvkRoot + QStringLiteral("\\CB6");
  delete current;
  current = fresh.release();
}

void FinalizeUnit() {
  delete current;
  current = nullptr;
}

[[maybe_unused]] const bool registered = RegisterUnit(KvprocUnit());

}  // namespace

TUnit& KvprocUnit() {
  static TUnit unit("_kvproc", &InitializeUnit, &FinalizeUnit);
  return unit;
}

const QString& AppPath() {
  KvprocUnit().Require();
  return current->appPath;
}

const QString& KvkRoot() {
  KvprocUnit().Require();
  return current->kvkRoot;
}

const QString& VCLRoot() {
  KvprocUnit().Require();
  return current->vclRoot;
}
