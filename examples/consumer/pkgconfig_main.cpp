// Built with nothing but `pkg-config --cflags --libs vort`: fills an
// off-screen bitmap with a gradient procedure of the library and reads a
// pixel back. Exit code 0 on success.

#include <QGuiApplication>
#include <cstdio>

#include "kv/proc/gradient_fill.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/colors.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const TColor color = RGBColor(200, 40, 10);
  TBitmap bitmap;
  bitmap.SetSize(16, 16);
  KvGradFill(bitmap.Canvas(), TRect(0, 0, 16, 16), color, color, gsHorizontal1);
  const bool ok = bitmap.Pixel(8, 8) == color;
  std::printf("pkg-config consumer: %s\n", ok ? "gradient filled" : "wrong pixel");
  return ok ? 0 : 1;
}
