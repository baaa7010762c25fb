#pragma once
// KvExecuteFile: opens a file with its default action (ShellExecute), with
// the application's main window as owner, the given parameters, working
// folder and show command. Returns the shell's code: above 32 is success.
// The texts are passed whole, whatever their length. Failures are reported
// only through the code.

#include <QString>

#include "platform/controls/shell.h"

int KvExecuteFile(const QString& FileName, const QString& Params, const QString& DefaultDir, int ShowCmd);
