#pragma once

#include <QImage>
#include <QString>

namespace kv::test {

// Folder where tests write what a person should look at (PNG of a failed
// pixel test, galleries). Taken from KV_TEST_OUTPUT, else "test-output".
QString outputDir();

// Saves the image as <outputDir>/<name>.png and returns the path.
QString savePng(const QImage& image, const QString& name);

}  // namespace kv::test
