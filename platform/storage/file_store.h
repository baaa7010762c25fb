#pragma once
// Whole-file reads and replacements for the ini and registry stores.
//
// A replacement never leaves a half-written file behind: the new contents go
// to a temporary file next to the target (QSaveFile), are flushed to the disk,
// and take the target's place in one rename; the directory is then flushed
// too, so that the rename itself survives a crash. A reader therefore sees
// either the old or the new complete file, whatever happens to the writer.
//
// Writers of the same file, in this process or in others, take turns through
// an exclusive lock on a file next to it ("<file>.lock", which stays there).
// Each change is a read-modify-write under the lock, so two programs that
// change different values of one file keep both changes. The kernel releases
// the lock of a writer that dies, so a killed program never blocks the others.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "platform/core/exceptions.h"

// A file could not be read or written; the message names the file and the cause.
class EFileStoreError : public Exception {
 public:
  using Exception::Exception;
};

namespace FileStore {

// The file's bytes, or nothing when it does not exist. Raises EFileStoreError
// when it exists but cannot be read.
std::optional<QByteArray> Read(const QString& path);

// Reads the file (empty when missing), lets `edit` change the bytes and, when
// `edit` returns true, replaces the file with them; all under the file's lock.
// With `createDirectory` the folder of the file is created when missing.
// Raises EFileStoreError when the lock cannot be had within a few seconds or
// the file cannot be read or written; the file is then as it was.
void Update(const QString& path, const std::function<bool(QByteArray&)>& edit, bool createDirectory = false);

// Whether Update could write `path`: its folder exists and is writable (or can
// be created, with `createDirectory`), and so is the file when it exists.
bool Writable(const QString& path, bool createDirectory = false);

}  // namespace FileStore
