// Shared set-up of the fuzz targets: the controls need a QApplication, which
// the targets create once on the offscreen platform (no display is needed),
// and a failed check aborts with the input's consequence spelled out.
#pragma once

#include <QApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void EnsureApplication() {
  if (QApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

[[noreturn]] inline void Die(const char* target, const char* why, const QString& detail = QString()) {
  std::fprintf(stderr, "%s: %s\n%s\n", target, why, detail.toUtf8().constData());
  std::abort();
}

}  // namespace fuzz
