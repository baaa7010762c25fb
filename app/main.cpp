// The calculator program. Without arguments it shows its window; see Usage()
// for the command-line modes.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/calc_filter.h"
#include "app/startup.h"
#include "app/vorta.h"
#include "kv/core/unit_init.h"
#include "kv/proc/proc_values.h"

namespace {

constexpr const char* kVersion = "1.0.0";

void Usage(std::FILE* out) {
  std::fputs(
      "Usage: vort [option]\n"
      "Injection calculator. Without an option it shows its window.\n"
      "\n"
      "  --calc               read lines \"q i2 t k3 k1\" (five integers) from standard input and\n"
      "                       write for each the memo text, a TAB and the result text\n"
      "  --screenshot FILE    show the window off screen, save its client area as PNG, exit\n"
      "  --timing             with --screenshot: report the time to the first painted frame\n"
      "  --help               show this text\n"
      "  --version            show the version\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  const char* screenshot = nullptr;
  bool timing = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      Usage(stdout);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::printf("vort %s\n", kVersion);
      return 0;
    }
    if (std::strcmp(arg, "--calc") == 0) return RunCalcFilter(stdin, stdout, stderr);
    if (std::strcmp(arg, "--screenshot") == 0 && i + 1 < argc) {
      screenshot = argv[++i];
    } else if (std::strcmp(arg, "--timing") == 0) {
      timing = true;
    } else {
      std::fprintf(stderr, "vort: unknown option '%s'\n", arg);
      Usage(stderr);
      return 2;
    }
  }
  // The screenshot is taken without a display.
  if (screenshot) qputenv("QT_QPA_PLATFORM", "offscreen");

  // Every library unit is initialised before the application object and the
  // forms, and finalised after them (objects are destroyed in reverse order).
  // The procedure unit's values (program folder, library folder) are read at
  // start-up although the calculator uses none of them; naming the unit here
  // also links it into the program.
  RegisterUnit(KvprocUnit());
  // A unit that fails (a library folder of the wrong type in the registry)
  // fails the start-up: its error is shown in the standard error box once
  // the application object exists, instead of ending the program unexplained.
  std::exception_ptr unitError;
  TUnitsInitialization units(&unitError);
  TApplication application(argc, argv);
  // Ties the windows to the desktop entry (its name and icon).
  QGuiApplication::setDesktopFileName(QStringLiteral("vort"));
  if (unitError) {
    application.HandleException(unitError);
    return 1;
  }
  bool screenshotFailed = false;
  RunGuarded(application, [&] {
    Application->Initialize();
    Application->CreateForm(Form1);
    if (!screenshot) {
      Application->Run();
      return;
    }
    const double startMs = double(clock.nsecsElapsed()) / 1e6;
    const double paintMs = SaveFormScreenshot(Form1, QString::fromLocal8Bit(screenshot));
    if (paintMs < 0) {
      screenshotFailed = true;
    } else if (timing) {
      std::fprintf(stderr, "vort: window created after %.1f ms, first frame painted after %.1f ms\n", startMs,
                   startMs + paintMs);
    }
  });
  return screenshotFailed ? 1 : 0;
}
