#include "platform/graphics/resources.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <mutex>

#include "platform/core/exceptions.h"

namespace {

// Resource paths by lower-case name: both the full relative path
// ("glyphs/kvspinup.bmp") and the name without extension ("glyphs/kvspinup",
// and the bare file stem "kvspinup") lead to the file.
struct ResourceIndex {
  QHash<QString, QString> byName;
  int size = -1;
};

QStringList ListResources() {
  QStringList files;
  QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files << it.next();
  // Qt's own resources live under ":/qt-project.org"; they never clash with
  // ours but are skipped to keep the index small.
  files.removeIf([](const QString& f) { return f.startsWith(QLatin1String(":/qt-project.org")); });
  files.sort();
  return files;
}

void Index(ResourceIndex& index, const QStringList& files) {
  index.byName.clear();
  for (const QString& path : files) {
    const QString rel = path.mid(2).toLower();
    index.byName.insert(rel, path);
    const QFileInfo info(rel);
    const QString stem = info.completeBaseName();
    const QString dir = info.path() == QLatin1String(".") ? QString() : info.path() + QLatin1Char('/');
    // Exact names win over names without extension.
    if (!index.byName.contains(dir + stem)) index.byName.insert(dir + stem, path);
    if (!index.byName.contains(stem)) index.byName.insert(stem, path);
  }
  index.size = int(files.size());
}

}  // namespace

QString FindResource(const QString& name) {
  static std::mutex mutex;
  static ResourceIndex index;
  QString key = name.toLower();
  if (key.startsWith(QLatin1String(":/"))) key = key.mid(2);
  while (key.startsWith(QLatin1Char('/'))) key = key.mid(1);
  if (key.isEmpty()) return QString();
  std::lock_guard lock(mutex);
  if (index.size < 0) Index(index, ListResources());
  auto it = index.byName.constFind(key);
  if (it != index.byName.constEnd()) return it.value();
  // Resources registered after the index was built (plugins, tests).
  const QStringList files = ListResources();
  if (int(files.size()) != index.size) {
    Index(index, files);
    it = index.byName.constFind(key);
    if (it != index.byName.constEnd()) return it.value();
  }
  return QString();
}

QByteArray LoadResource(const QString& name) {
  const QString path = FindResource(name);
  if (!path.isEmpty()) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
  }
  throw EResNotFound(Exception::Fmt("Resource %s not found", name));
}
