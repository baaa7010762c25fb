// Feeds arbitrary bytes as an instrument panel file through the panel
// viewer's reader, with every ready instrument registered (the example panel
// and a few small panels are seeds). Whatever the input, the read either
// gives a panel or one error line naming the file; a panel is laid out,
// painted, ticked by its simulation and written out, and the written text
// must read back and write the same again (but for the automatic hints).

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "panel/panel_classes.h"
#include "panel/panel_file.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_writer.h"

namespace {

constexpr const char* kTarget = "fuzz_panel";

void Exercise(TKvPanelForm& panel) {
  // A panel may ask for any size; paint it the way the viewer clamps it.
  if (QWidget* widget = panel.Widget()) {
    widget->resize(std::clamp(widget->width(), 1, 1024), std::clamp(widget->height(), 1, 1024));
    const QImage shot = widget->grab().toImage();
    (void)shot;
  }
  for (int i = 0; i < 3; ++i) panel.SimulateTick(&panel);
}

// The text without its hints: an analog instrument writes its automatic hint,
// which carries the time its extremes were taken, so a panel read back at
// another moment has another hint.
QString WithoutHints(const QString& text) {
  QStringList lines = text.split(u'\n');
  lines.removeIf([](const QString& line) { return line.trimmed().startsWith(QLatin1String("Hint = ")); });
  return lines.join(u'\n');
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  RegisterPanelClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  TPanelRead read = ReadPanelBytes(bytes, QStringLiteral("fuzz.panel"));
  if (!read.panel) {
    if (!read.error.startsWith(QLatin1String("fuzz.panel")))
      fuzz::Die(kTarget, "error does not name the file", read.error);
    if (read.error.contains(u'\n')) fuzz::Die(kTarget, "error is more than one line", read.error);
    return 0;
  }
  Exercise(*read.panel);
  QString written;
  try {
    written = WriteComponentToText(read.panel.get());
  } catch (const EWriteError&) {
    return 0;  // what cannot be written faithfully is refused, not garbled
  }
  TPanelRead again = ReadPanelBytes(written.toUtf8(), QStringLiteral("fuzz-written.panel"));
  if (!again.panel) fuzz::Die(kTarget, "written text does not read back", again.error + u'\n' + written);
  const QString rewritten = WriteComponentToText(again.panel.get());
  if (WithoutHints(rewritten) != WithoutHints(written))
    fuzz::Die(kTarget, "written text changes on a round trip", written + u'\n' + rewritten);
  return 0;
}
