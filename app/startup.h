#pragma once
// Start-up of the calculator program and its screenshot mode.

#include <QString>
#include <functional>

#include "platform/controls/application.h"

// Runs the start-up steps in `body` (initialise the application object,
// create the main window, run the message loop). An exception that escapes
// them is shown with the application's standard exception display; a thrown
// object that is not an exception shows as an exception with an empty
// message. The program ends normally either way, so this returns 0.
int RunGuarded(TApplication& app, const std::function<void()>& body);

// Shows `form`, waits until it has been painted (at most `timeoutMs`), and
// saves its client area as a PNG file. Returns the time from the call to the
// end of the first paint in milliseconds, or a negative value if the file
// could not be written (a message names it on stderr).
double SaveFormScreenshot(TForm* form, const QString& fileName, int timeoutMs = 10000);
