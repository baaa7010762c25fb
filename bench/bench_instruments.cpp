// The round meter's painting against the same drawing made with raw QPainter
// calls and no cache, interleaved in one run, 200 x 200 pixels:
//  - value repaint: a new value, then a paint (the static layer comes from
//    the cache; the goal is at most 0.2 ms);
//  - full repaint: the layer made stale as a settings change does, then a
//    paint (bevel, scale, sectors and read-out frame painted again).
// The baseline paints everything on every call, as a gauge without a cache
// must. Each benchmark reports kv_us, raw_us and ratio = kv / raw.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>

#include "bench/bench_ratio.h"
#include "kv/instruments/kv_round_meter.h"

namespace {

using bench::Clock;
constexpr int kSize = 200;

// Bevel, 270-degree ring with 5 major and 10 minor ticks and labels, three
// sector arcs, a read-out box with its value and a needle: what the meter
// shows, drawn directly.
void RawMeter(QPainter& p, float value) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(0, 0, kSize, kSize, QColor(240, 240, 240));
  p.setPen(Qt::white);
  p.drawLine(0, 0, kSize - 1, 0);
  p.drawLine(0, 0, 0, kSize - 1);
  p.setPen(Qt::gray);
  p.drawLine(kSize - 1, 0, kSize - 1, kSize - 1);
  p.drawLine(0, kSize - 1, kSize - 1, kSize - 1);
  const QPointF c(kSize / 2.0, kSize / 2.0);
  const double r = 70;
  auto at = [&](double radius, double deg) {
    const double a = deg * M_PI / 180;
    return c + QPointF(radius * std::sin(a), -radius * std::cos(a));
  };
  p.setFont(QFont(QStringLiteral("Arial"), 8));
  for (int i = 0; i <= 10; ++i) {
    const double deg = -135 + 27.0 * i;
    p.setPen(QPen(Qt::black, i % 2 ? 1 : 2));
    p.drawLine(at(r, deg), at(i % 2 ? r + 6 : r + 10, deg));
    if (i % 2 == 0)
      p.drawText(QRectF(at(r + 20, deg) - QPointF(15, 8), QSizeF(30, 16)), Qt::AlignCenter,
                 QString::number(i * 10));
  }
  const QColor sectors[3] = {Qt::yellow, Qt::darkGreen, Qt::red};
  for (int k = 0; k < 3; ++k) {
    p.setPen(QPen(sectors[k], 6, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(c.x() - r + 3, c.y() - r + 3, 2 * r - 6, 2 * r - 6), int((90 + 135 - 90 * k) * 16),
              -90 * 16);
  }
  const QRect box(80, 125, 40, 16);
  p.fillRect(box, Qt::black);
  p.setPen(Qt::green);
  p.drawText(box.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter, QString::number(value, 'f', 1));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::green, 3.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, at(r - 2, -135 + 2.7 * value));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(c, 7, 7);
}

template <bool Full>
void Run(benchmark::State& state) {
  TKvRoundMeter meter(nullptr);
  meter.SetBounds(0, 0, kSize, kSize);
  meter.Loaded();
  QImage kvImage(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  QImage rawImage(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter warm(&kvImage);
    meter.PaintTo(warm);
  }
  Clock::duration kv{}, raw{};
  float value = 0;
  for (auto _ : state) {
    value = value >= 99 ? 0 : value + 1.5f;
    auto t0 = Clock::now();
    {
      if (Full) meter.ParamChange(meter.ScaleSettings());
      meter.SetValue(value);
      QPainter painter(&kvImage);
      meter.PaintTo(painter);
    }
    auto t1 = Clock::now();
    {
      QPainter painter(&rawImage);
      RawMeter(painter, value);
    }
    auto t2 = Clock::now();
    kv += t1 - t0;
    raw += t2 - t1;
    benchmark::DoNotOptimize(kvImage.constBits());
    benchmark::DoNotOptimize(rawImage.constBits());
  }
  bench::ReportRatio(state, kv, raw);
  state.counters["rebuilds"] = double(meter.LayerRebuilds());
}

void BM_MeterValueRepaint(benchmark::State& state) {
  Run<false>(state);
}
BENCHMARK(BM_MeterValueRepaint);

void BM_MeterFullRepaint(benchmark::State& state) {
  Run<true>(state);
}
BENCHMARK(BM_MeterFullRepaint);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
