// The instrument panel viewer. See Usage() for the command line.

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <exception>

#include "kv/controls/kv_gradient.h"
#include "kv/controls/kv_spin_button.h"
#include "kv/core/unit_init.h"
#include "kv/instruments/analog_instruments.h"
#include "kv/instruments/binary_instruments.h"
#include "kv/timers/flash_timer.h"
#include "panel/panel_classes.h"
#include "panel/panel_file.h"
#include "panel/panel_window.h"
#include "platform/controls/application.h"

namespace {

constexpr const char* kVersion = "1.0.0";

void Usage(std::FILE* out) {
  std::fputs(
      "Usage: kvpanel [option] PANEL\n"
      "Shows the instrument panel described in the file PANEL and reloads it when the file\n"
      "changes; a file with an error keeps the last good panel and shows the error.\n"
      "\n"
      "  --check PANEL                 read the panel without showing it; report the first\n"
      "                                error (file, line, property) and exit 1, or exit 0\n"
      "  --screenshot FILE.png PANEL   show the panel off screen, save it as PNG, exit\n"
      "  --help                        show this text\n"
      "  --version                     show the version\n",
      out);
}

int UsageError(const char* problem, const char* arg) {
  std::fprintf(stderr, "kvpanel: %s%s%s%s\n", problem, arg ? " '" : "", arg ? arg : "", arg ? "'" : "");
  Usage(stderr);
  return 2;
}

void PrintError(const QString& message) {
  std::fprintf(stderr, "kvpanel: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  const char* screenshot = nullptr;
  const char* panelFile = nullptr;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      Usage(stdout);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::printf("kvpanel %s\n", kVersion);
      return 0;
    }
    if (std::strcmp(arg, "--check") == 0) {
      check = true;
    } else if (std::strcmp(arg, "--screenshot") == 0) {
      if (i + 1 >= argc) return UsageError("--screenshot needs a file name", nullptr);
      screenshot = argv[++i];
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return UsageError("unknown option", arg);
    } else if (panelFile) {
      return UsageError("one panel file only; extra argument", arg);
    } else {
      panelFile = arg;
    }
  }
  if (!panelFile) return UsageError("no panel file given", nullptr);
  if (check && screenshot) return UsageError("--check and --screenshot exclude each other", nullptr);
  // Neither checking nor the screenshot needs a display.
  if (check || screenshot) qputenv("QT_QPA_PLATFORM", "offscreen");

  // The library units the panel classes live in start before the
  // application object and end after every panel is gone.
  RegisterUnit(KvflashtUnit());
  RegisterUnit(KvgradientUnit());
  RegisterUnit(KvSpinButtonUnit());
  RegisterUnit(KvAnalogInstrumentsUnit());
  RegisterUnit(KvBinaryInstrumentsUnit());
  std::exception_ptr unitError;
  TUnitsInitialization units(&unitError);
  TApplication application(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("kvpanel"));
  if (unitError) {
    application.HandleException(unitError);
    return 1;
  }
  RegisterPanelClasses();
  const QString path = QString::fromLocal8Bit(panelFile);

  if (check) {
    const TPanelRead read = ReadPanelFile(path);
    if (!read.panel) {
      PrintError(read.error);
      return 1;
    }
    std::printf("kvpanel: %s: OK, %s with %d components\n", path.toLocal8Bit().constData(),
                read.panel->Name().toLocal8Bit().constData(), read.panel->ComponentCount());
    return 0;
  }

  application.Initialize();
  TKvPanelWindow* window = nullptr;
  application.CreateForm(window);
  const bool shown = window->Open(path);
  if (!shown) {
    PrintError(window->StatusText());
    // Nothing to show and nothing to watch for: the name is wrong.
    if (!QFileInfo::exists(path) || screenshot) return 1;
  }
  if (screenshot) {
    QString error;
    if (!SavePanelScreenshot(window, QString::fromLocal8Bit(screenshot), &error)) {
      PrintError(error);
      return 1;
    }
    return 0;
  }
  application.Run();
  return 0;
}
