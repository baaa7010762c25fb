#include "platform/storage/file_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace {

// How long a writer waits for another one before it gives up.
constexpr int kLockTimeoutMs = 10000;
// A lock whose process is gone is taken over at once. One that names no
// process (its writer was killed between making the file and writing its
// number into it) is taken over when it is this old; writers hold the lock
// for milliseconds.
constexpr int kStaleLockMs = 5000;

[[noreturn]] void Fail(const QString& what, const QString& path, const QString& why) {
  throw EFileStoreError(QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(path), why));
}

void SyncDirectory(const QString& dir) {
  const QByteArray native = QFile::encodeName(dir);
  const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

namespace FileStore {

std::optional<QByteArray> Read(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (!file.exists()) return std::nullopt;
    Fail(QStringLiteral("Cannot read"), path, file.errorString());
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) Fail(QStringLiteral("Cannot read"), path, file.errorString());
  return bytes;
}

bool Writable(const QString& path, bool createDirectory) {
  const QFileInfo file(path);
  if (file.exists()) return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
  QFileInfo dir(file.absolutePath());
  if (dir.exists()) return dir.isDir() && dir.isWritable();
  if (!createDirectory) return false;
  // The first folder on the way up that exists decides.
  QString up = dir.absoluteFilePath();
  while (!QFileInfo(up).exists()) {
    const QString parent = QFileInfo(up).absolutePath();
    if (parent == up) return false;
    up = parent;
  }
  return QFileInfo(up).isDir() && QFileInfo(up).isWritable();
}

void Update(const QString& path, const std::function<bool(QByteArray&)>& edit, bool createDirectory) {
  const QFileInfo info(path);
  const QString dir = info.absolutePath();
  if (createDirectory && !QDir().mkpath(dir))
    Fail(QStringLiteral("Cannot write"), path, QStringLiteral("the folder cannot be created"));

  QLockFile lock(info.absoluteFilePath() + QStringLiteral(".lock"));
  lock.setStaleLockTime(kStaleLockMs);
  if (!lock.tryLock(kLockTimeoutMs)) {
    switch (lock.error()) {
      case QLockFile::LockFailedError:
        Fail(QStringLiteral("Cannot write"), path, QStringLiteral("another program keeps it locked"));
      case QLockFile::PermissionError:
        Fail(QStringLiteral("Cannot write"), path, QStringLiteral("permission denied"));
      default:
        Fail(QStringLiteral("Cannot write"), path, QStringLiteral("the lock file cannot be made"));
    }
  }

  QByteArray bytes = Read(path).value_or(QByteArray());
  if (!edit(bytes)) return;

  QSaveFile out(info.absoluteFilePath());
  if (!out.open(QIODevice::WriteOnly)) Fail(QStringLiteral("Cannot write"), path, out.errorString());
  if (out.write(bytes) != bytes.size()) {
    const QString why = out.errorString();
    out.cancelWriting();
    Fail(QStringLiteral("Cannot write"), path, why);
  }
  // The data reaches the disk before the rename makes it the file.
  if (!out.flush() || ::fsync(out.handle()) != 0) {
    const QString why = out.errorString();
    out.cancelWriting();
    Fail(QStringLiteral("Cannot write"), path, why);
  }
  if (!out.commit()) Fail(QStringLiteral("Cannot write"), path, out.errorString());
  SyncDirectory(dir);
}

}  // namespace FileStore
