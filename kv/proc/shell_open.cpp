#include "kv/proc/shell_open.h"

#include "platform/controls/application.h"

int KvExecuteFile(const QString& FileName, const QString& Params, const QString& DefaultDir, int ShowCmd) {
  TForm* owner = Application ? Application->MainForm() : nullptr;
  return ShellExecute(owner, QStringLiteral("open"), FileName, Params, DefaultDir, ShowCmd);
}
