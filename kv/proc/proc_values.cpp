#include "kv/proc/proc_values.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

struct Values {
  QString appPath;
  QString kvkRoot;
  QString vclRoot;
};

Values& values() {
  static Values v;
  return v;
}

QString ExecutableFolder() {
  // Known before any application object exists, unlike applicationDirPath().
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  QString folder = exe.exists() ? QFileInfo(exe.canonicalFilePath()).absolutePath()
                                : QCoreApplication::applicationDirPath();
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

void InitializeUnit() {
  Values fresh;
  fresh.appPath = ExecutableFolder();
  TRegistry reg(KEY_READ);
  reg.SetRootKey(KavelRootKey);
  if (reg.OpenKeyReadOnly(QString::fromLatin1(KavelRootPath))) {
    fresh.kvkRoot = reg.ReadString(QStringLiteral("RootDir"));  // raises for a non-text value
    reg.CloseKey();
  }
  fresh.vclRoot = fresh.kvkRoot + QStringLiteral("\\CB6");
  values() = std::move(fresh);
}

void FinalizeUnit() {
  values() = Values();
}

[[maybe_unused]] const bool registered = RegisterUnit(KvprocUnit());

}  // namespace

TUnit& KvprocUnit() {
  static TUnit unit("_kvproc", &InitializeUnit, &FinalizeUnit);
  return unit;
}

const QString& AppPath() {
  KvprocUnit().Require();
  return values().appPath;
}

const QString& KvkRoot() {
  KvprocUnit().Require();
  return values().kvkRoot;
}

const QString& VCLRoot() {
  KvprocUnit().Require();
  return values().vclRoot;
}
