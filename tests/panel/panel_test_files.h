#pragma once
// Panel texts and helpers shared by the panel suite.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace panel_test {

// A small good panel: an analog indicator moved by the simulation, a knob
// with its own linked indicator, a label; `caption` is the label's text.
QByteArray GoodPanel(const QString& caption = QStringLiteral("first"));

// Writes `bytes` to `path` in place (truncate and write), or by writing a
// new file beside it and renaming it over `path`.
void WriteInPlace(const QString& path, const QByteArray& bytes);
void WriteByRename(const QString& path, const QByteArray& bytes);

// The kvpanel program next to the test executable (empty if not built).
QString ProgramPath();

}  // namespace panel_test
