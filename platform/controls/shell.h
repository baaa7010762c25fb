#pragma once
// ShellExecute: opens a file, folder or address with the desktop's default
// action and answers with a shell-style code: above 32 is success, 32 or
// less names the failure (the codes below).
//
// On this desktop the default action is the user's preferred application
// (QDesktopServices, which goes through the desktop's opener): a document
// opens in its application, a folder in the file manager, an address
// ("https://...", "mailto:...") in the browser or mail program. A file with
// execute permission is started itself, with the parameters split like a
// command line and the given working folder. A relative file name is looked
// up in the given folder, else in the current one; a bare program name also
// on the PATH. The owner window and the show command have no counterpart
// here (the desktop places the new window) and are accepted as given.
//
// The launching itself goes through a TShellLauncher that a test may replace,
// so that the decisions are tested without starting programs.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class TForm;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;

// Failure codes (32 or less).
inline constexpr int ERROR_FILE_NOT_FOUND = 2;
inline constexpr int ERROR_PATH_NOT_FOUND = 3;
inline constexpr int ERROR_BAD_FORMAT = 11;
inline constexpr int SE_ERR_NOASSOC = 31;
// What a successful call returns.
inline constexpr int SHELL_SUCCESS = 42;

struct TShellLauncher {
  // Hands a file, folder or address to the desktop's opener; false when
  // nothing could open it.
  std::function<bool(const QUrl& url)> OpenUrl;
  // Starts a program detached from this process; false when it could not start.
  std::function<bool(const QString& program, const QStringList& arguments, const QString& directory)>
      StartProgram;
};

// Replaces the launcher (an empty one restores the desktop's); returns the
// previous one.
TShellLauncher SetShellLauncher(TShellLauncher launcher);

// Operation "open" or "" (the default action); any other operation answers
// SE_ERR_NOASSOC. Texts of any length are passed whole.
int ShellExecute(TForm* Owner, const QString& Operation, const QString& File, const QString& Parameters,
                 const QString& Directory, int ShowCmd);
