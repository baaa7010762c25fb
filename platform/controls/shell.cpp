#include "platform/controls/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

namespace {

bool DesktopOpen(const QUrl& url) {
  // QDesktopServices needs the GUI application; without one the desktop's
  // opener is called directly.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return QDesktopServices::openUrl(url);
  return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}

bool StartDetached(const QString& program, const QStringList& arguments, const QString& directory) {
  return QProcess::startDetached(program, arguments, directory);
}

TShellLauncher& Launcher() {
  static TShellLauncher launcher{&DesktopOpen, &StartDetached};
  return launcher;
}

// "https://x", "mailto:a@b": a scheme of two letters or more (a single letter
// would be a drive).
bool IsAddress(const QString& file) {
  const qsizetype colon = file.indexOf(u':');
  if (colon < 2) return false;
  for (qsizetype i = 0; i < colon; ++i) {
    const QChar c = file[i];
    if (!(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.') || (i == 0 && !c.isLetter()))
      return false;
  }
  return true;
}

}  // namespace

TShellLauncher SetShellLauncher(TShellLauncher launcher) {
  TShellLauncher previous = Launcher();
  if (!launcher.OpenUrl) launcher.OpenUrl = &DesktopOpen;
  if (!launcher.StartProgram) launcher.StartProgram = &StartDetached;
  Launcher() = std::move(launcher);
  return previous;
}

int ShellExecute(TForm* /*Owner*/, const QString& Operation, const QString& File, const QString& Parameters,
                 const QString& Directory, int /*ShowCmd*/) {
  if (!Operation.isEmpty() && Operation.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
    return SE_ERR_NOASSOC;
  if (File.isEmpty()) return ERROR_FILE_NOT_FOUND;
  const TShellLauncher& launcher = Launcher();

  if (IsAddress(File) && !QFileInfo::exists(File))
    return launcher.OpenUrl(QUrl(File)) ? SHELL_SUCCESS : SE_ERR_NOASSOC;

  QFileInfo info(File);
  if (info.isRelative() && !Directory.isEmpty()) info = QFileInfo(QDir(Directory), File);
  if (!info.exists()) {
    // A bare program name is also looked for on the PATH.
    if (!File.contains(u'/')) {
      const QString program = QStandardPaths::findExecutable(File);
      if (!program.isEmpty())
        return launcher.StartProgram(program, QProcess::splitCommand(Parameters), Directory)
                   ? SHELL_SUCCESS
                   : ERROR_BAD_FORMAT;
    }
    return QFileInfo(info.absolutePath()).isDir() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  }
  const QString path = info.absoluteFilePath();
  if (info.isFile() && info.isExecutable())
    return launcher.StartProgram(path, QProcess::splitCommand(Parameters), Directory) ? SHELL_SUCCESS
                                                                                      : ERROR_BAD_FORMAT;
  // Documents and folders: the parameters have no place in the default action.
  return launcher.OpenUrl(QUrl::fromLocalFile(path)) ? SHELL_SUCCESS : SE_ERR_NOASSOC;
}
