#include "tests/support/test_support.h"

#include <QDir>

namespace kv::test {

QString outputDir() {
  QString dir = qEnvironmentVariable("KV_TEST_OUTPUT");
  if (dir.isEmpty()) dir = QStringLiteral("test-output");
  QDir().mkpath(dir);
  return dir;
}

QString savePng(const QImage& image, const QString& name) {
  const QString path = outputDir() + QLatin1Char('/') + name + QStringLiteral(".png");
  image.save(path, "PNG");
  return path;
}

}  // namespace kv::test
