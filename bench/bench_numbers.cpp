// Throughput of the number formatters against plain Qt and C formatting of the
// same values, so the cost of the exact 18-digit expansion shows as a ratio.
#include <benchmark/benchmark.h>

#include <QString>
#include <array>
#include <cstdio>

#include "platform/core/float_decimal.h"
#include "platform/core/numbers.h"

namespace {

// Values of the kinds the calculator and the scales format.
const std::array<long double, 8> kValues = {1.96428573L, -0.0993346646L, 73.3333282L, 0.0033333L,
                                            220.0L,      1.96747104L,    1000.0L,     0.1L};

void BM_FloatToDecimal(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FloatToDecimal(kValues[i++ % kValues.size()]));
}
BENCHMARK(BM_FloatToDecimal);

void BM_FloatToStrF_Fixed(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FloatToStrF(kValues[i++ % kValues.size()], ffFixed, 2, 2));
}
BENCHMARK(BM_FloatToStrF_Fixed);

void BM_FloatToStr_General(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FloatToStr(kValues[i++ % kValues.size()]));
}
BENCHMARK(BM_FloatToStr_General);

void BM_FormatFloat(benchmark::State& state, const char* picture) {
  const QString p = QString::fromLatin1(picture);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FormatFloat(p, kValues[i++ % kValues.size()]));
}
BENCHMARK_CAPTURE(BM_FormatFloat, fixed, "##0.0");
BENCHMARK_CAPTURE(BM_FormatFloat, scientific, "0e-0");
BENCHMARK_CAPTURE(BM_FormatFloat, sections, "#,##0.00;(#,##0.00);'zero'");

// Baselines: Qt's and the C library's own fixed formatting.
void BM_Baseline_QStringNumber(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(QString::number(static_cast<double>(kValues[i++ % kValues.size()]), 'f', 2));
}
BENCHMARK(BM_Baseline_QStringNumber);

void BM_Baseline_Snprintf(benchmark::State& state) {
  size_t i = 0;
  char buf[64];
  for (auto _ : state) {
    std::snprintf(buf, sizeof buf, "%.2Lf", kValues[i++ % kValues.size()]);
    benchmark::DoNotOptimize(QString::fromLatin1(buf));
  }
}
BENCHMARK(BM_Baseline_Snprintf);

}  // namespace

BENCHMARK_MAIN();
