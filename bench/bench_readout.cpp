// One value update of a read-out (format the number, compose the value area
// off-screen, copy it onto the surface) against the plain Qt way of showing
// the same text: fill the area and draw the text straight onto the surface.
// Both run on a 200 x 60 image with the read-out's font.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include "kv/settings/val_ind.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"

namespace {

double NextValue(int& i) {
  i = (i + 37) % 10000;
  return i / 10.0;
}

void BM_ReadoutDrawValue(benchmark::State& state) {
  TBitmap surface;
  surface.SetSize(200, 60);
  TKvValInd readout;
  readout.Draw(surface.Canvas(), TPoint(20, 10), toTopLeft);
  int i = 0;
  for (auto _ : state) readout.DrawValue(surface.Canvas(), NextValue(i));
}
BENCHMARK(BM_ReadoutDrawValue);

void BM_ReadoutRawQPainter(benchmark::State& state) {
  QImage surface(200, 60, QImage::Format_RGB32);
  surface.fill(Qt::white);
  TKvValInd readout;
  const QFont font = readout.Font()->ToQFont();
  const QFontMetrics metrics(font);
  const QRect area(25, 12, metrics.horizontalAdvance(QStringLiteral("##0.0")) + 4, metrics.height());
  QPainter painter(&surface);
  painter.setFont(font);
  painter.setPen(QColor(Qt::green));
  int i = 0;
  for (auto _ : state) {
    const QString text = QString::number(NextValue(i), 'f', 1);
    painter.fillRect(area, Qt::black);
    painter.drawText(area, Qt::AlignRight | Qt::AlignTop, text);
  }
}
BENCHMARK(BM_ReadoutRawQPainter);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
