// Puts the library's gradient background on a window, renders the window
// off screen into a PNG and checks its pixels and the library's compiled-in
// resources. Exit code 0 when everything is as expected.
// Usage: consumer [out.png]

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "kv/controls/kv_gradient.h"
#include "kv/core/unit_init.h"
#include "kv/settings/grad_settings.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/graphics/colors.h"
#include "platform/graphics/resources.h"

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "consumer: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TUnitsInitialization units;
  TApplication application(argc, argv);
  Application->Initialize();

  // The resources the library compiles in must have been registered, also
  // when it is linked statically.
  if (FindResource(QStringLiteral("TFORM1")).isEmpty()) return Fail("the library's resources are missing");

  TForm form(nullptr);
  form.SetClientWidth(120);
  form.SetClientHeight(80);
  auto* gradient = new TKvGradient(&form);
  gradient->SetParent(&form);
  gradient->SetAlign(alClient);
  // One colour at both ends: every pixel of the client area shows it.
  const TColor teal = RGBColor(0, 128, 160);
  gradient->GradSettings()->SetColorFrom(teal);
  gradient->GradSettings()->SetColorTo(teal);
  form.Show();

  const QImage shot = form.Widget()->grab(QRect(0, 0, 120, 80)).toImage();
  if (argc > 1 && !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) return Fail("cannot write the PNG");
  for (const QPoint p : {QPoint(0, 0), QPoint(60, 40), QPoint(119, 79)}) {
    const QRgb pixel = shot.pixel(p);
    if (qRed(pixel) != 0 || qGreen(pixel) != 128 || qBlue(pixel) != 160) {
      std::fprintf(stderr, "consumer: pixel (%d, %d) is #%06x, expected #0080a0\n", p.x(), p.y(),
                   unsigned(pixel & 0xffffff));
      return 1;
    }
  }
  std::puts("consumer: gradient painted, resources present");
  return EXIT_SUCCESS;
}
