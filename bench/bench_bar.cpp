// The LED-segment bar painter against the raw QPainter calls it is made of,
// in the same run: one iteration paints a 200 x 24 bar at the 1,000
// successive values 0..999, once through TBarSettings::PaintBar onto a
// bitmap and once as plain QPainter calls (an off-screen image filled with
// the background, the lit rectangle, one background line per segment, the
// copy onto the target). Both keep their off-screen image between values,
// so neither pays an allocation per paint. Alternating the two inside one loop keeps a busy
// machine from favouring either. Counters: kv_us and raw_us per 1,000
// values, ratio = kv / raw (the goal is at most 1.3).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "bench/bench_ratio.h"
#include "kv/settings/bar_settings.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace {

using bench::Clock;

constexpr int kWidth = 200;
constexpr int kHeight = 24;
constexpr int kValues = 1000;

// The same bar as plain QPainter calls, with the same numbers.
void RawLedBar(QImage& image, QImage& target, int value) {
  const float f = float(static_cast<long double>(kWidth) / 4000);
  const int n = int(std::nearbyint(1000 * static_cast<long double>(f)));
  const int s = (kWidth + 1 - 4 * n) / 2;
  const int k = int(std::nearbyint(value * static_cast<long double>(f)));
  {
    QPainter p(&image);
    p.fillRect(QRect(0, 0, kWidth, kHeight), Qt::black);
    if (k > 0) {
      p.fillRect(QRect(s, 0, 4 * k - s, kHeight), Qt::green);
      p.setPen(Qt::black);
      for (int i = 1; i <= k; ++i) {
        const int x = 4 * i + s - 1;
        p.drawLine(x, 0, x, kHeight - 1);
      }
    }
  }
  QPainter p(&target);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(0, 0, image);
}

void BM_LedBar(benchmark::State& state) {
  TBitmap target;
  target.SetSize(kWidth, kHeight);
  TBarSettings bar;
  bar.SetStyle(bsLED_Bar);
  bar.BarRect = TRect(0, 0, kWidth, kHeight);
  QImage raw(kWidth, kHeight, QImage::Format_RGB32);
  raw.fill(Qt::white);
  QImage offscreen(kWidth, kHeight, QImage::Format_RGB32);
  Clock::duration kv{}, qt{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    for (int v = 0; v < kValues; ++v) bar.PaintBar(target.Canvas(), v);
    const auto t1 = Clock::now();
    for (int v = 0; v < kValues; ++v) RawLedBar(offscreen, raw, v);
    const auto t2 = Clock::now();
    kv += t1 - t0;
    qt += t2 - t1;
  }
  // Both must have drawn the same full bar at the last value.
  if (target.Image() != raw) state.SkipWithError("the two bars differ");
  bench::ReportRatio(state, kv, qt);
}

BENCHMARK(BM_LedBar)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
