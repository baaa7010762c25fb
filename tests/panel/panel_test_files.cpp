#include "panel_test_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace panel_test {

QByteArray GoodPanel(const QString& caption) {
  return QStringLiteral(
             "object TestPanel: TKvPanelForm\n"
             "  ClientWidth = 300\n"
             "  ClientHeight = 200\n"
             "  Scaled = False\n"
             "  object Meter: TKvAnalogGControl\n"
             "    Left = 10\n"
             "    Width = 50\n"
             "    Height = 50\n"
             "    SignalSettings.ValueFrom = -40\n"
             "    SignalSettings.ValueTo = 160\n"
             "  end\n"
             "  object Linked: TKvAnalogGControl\n"
             "    Left = 70\n"
             "  end\n"
             "  object Knob: TKvAnalogCControl\n"
             "    Left = 130\n"
             "    ValueIndicator = Linked\n"
             "  end\n"
             "  object Label1: TLabel\n"
             "    Top = 100\n"
             "    Caption = '%1'\n"
             "  end\n"
             "end\n")
      .arg(caption)
      .toUtf8();
}

void WriteInPlace(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
}

void WriteByRename(const QString& path, const QByteArray& bytes) {
  // QSaveFile writes a temporary file in the same folder and renames it over
  // the target, as saving editors do.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
  if (!file.commit()) qFatal("cannot replace %s", qPrintable(path));
}

QString ProgramPath() {
  const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/kvpanel");
  return QFileInfo(path).isExecutable() ? path : QString();
}

}  // namespace panel_test
