// Cost of the procedure unit's hot paths (rotating scale points, bearings,
// label lists) against plain double-precision baselines that skip the
// single-precision stores and extended arithmetic the library keeps.
#include <benchmark/benchmark.h>

#include <cmath>

#include "kv/proc/kvproc.h"

namespace {

void BM_KvRotate(benchmark::State& state) {
  const TPoint centre(100, 100);
  float angle = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(KvRotate(TPoint(100, 10), centre, angle, true));
    angle += 0.5f;
    if (angle > 360) angle = 0;
  }
}
BENCHMARK(BM_KvRotate);

void BM_RotateBaseline(benchmark::State& state) {
  const TPoint centre(100, 100);
  double angle = 0;
  for (auto _ : state) {
    const double a = angle * 0.017453292519943295;
    const double dx = 0, dy = -90;
    TPoint p(centre.X + int(std::lround(dx * std::cos(a) - dy * std::sin(a))),
             centre.Y + int(std::lround(dy * std::cos(a) + dx * std::sin(a))));
    benchmark::DoNotOptimize(p);
    angle += 0.5;
    if (angle > 360) angle = 0;
  }
}
BENCHMARK(BM_RotateBaseline);

void BM_KvGetAngle(benchmark::State& state) {
  const TPoint centre(100, 100);
  int x = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(KvGetAngle(TPoint(x, 37), centre));
    x = (x + 7) % 200;
  }
}
BENCHMARK(BM_KvGetAngle);

void BM_BearingBaseline(benchmark::State& state) {
  const TPoint centre(100, 100);
  int x = 0;
  for (auto _ : state) {
    double b = std::atan2(double(x - centre.X), double(centre.Y - 37)) * 57.29577951308232;
    if (b < 0) b += 360;
    benchmark::DoNotOptimize(b);
    x = (x + 7) % 200;
  }
}
BENCHMARK(BM_BearingBaseline);

void BM_KvRangeStr(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(KvRangeStr(0, 100, 10, "##0.0"));
}
BENCHMARK(BM_KvRangeStr);

void BM_RangeStrBaseline(benchmark::State& state) {
  for (auto _ : state) {
    QString list;
    for (int k = 0; k <= 10; ++k) list += QString::number(100 - k * 10.0, 'f', 1) + QLatin1Char(';');
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK(BM_RangeStrBaseline);

void BM_KvLogRangeStr(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(KvLogRangeStr(-3, 6, 9, "0e-0", false));
}
BENCHMARK(BM_KvLogRangeStr);

}  // namespace

BENCHMARK_MAIN();
