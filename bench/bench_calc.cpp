// Cost of the calculation behind the window's button and of the --calc
// filter per line, next to a baseline that formats the same three values and
// the sum with the C library (which gets the rounding rules wrong, but shows
// what plain formatting costs).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/calc_filter.h"
#include "app/injection.h"

namespace {

// Inputs in the window's ranges, the same for every benchmark.
std::vector<TCalcInputs> Inputs(size_t count) {
  std::mt19937 random(7);
  std::vector<TCalcInputs> inputs(count);
  for (TCalcInputs& in : inputs)
    in = {int32_t(std::uniform_int_distribution<>(20, 1000)(random)),
          int32_t(std::uniform_int_distribution<>(-1, 4)(random)),
          int32_t(std::uniform_int_distribution<>(5, 30)(random)),
          int32_t(std::uniform_int_distribution<>(-1, 2)(random)),
          int32_t(std::uniform_int_distribution<>(-1, 0)(random))};
  return inputs;
}

const std::vector<TCalcInputs>& Sample() {
  static const std::vector<TCalcInputs> sample = Inputs(4096);
  return sample;
}

void BM_Values(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    const TCalcInputs& in = Sample()[i++ % Sample().size()];
    benchmark::DoNotOptimize(ComputeInjectionValues(in[0], in[1], in[2], in[3], in[4]));
  }
}
BENCHMARK(BM_Values);

void BM_ValuesAndTexts(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    const TCalcInputs& in = Sample()[i++ % Sample().size()];
    benchmark::DoNotOptimize(ComputeInjection(in[0], in[1], in[2], in[3], in[4]));
  }
}
BENCHMARK(BM_ValuesAndTexts);

void BM_Baseline_ValuesAndSnprintf(benchmark::State& state) {
  size_t i = 0;
  char text[128];
  for (auto _ : state) {
    const TCalcInputs& in = Sample()[i++ % Sample().size()];
    const auto v = ComputeInjectionValues(in[0], in[1], in[2], in[3], in[4]);
    benchmark::DoNotOptimize(
        std::snprintf(text, sizeof text, "%.2f %.2f %.2f\t%.2Lf", v->E, v->B, v->D, v->S));
  }
}
BENCHMARK(BM_Baseline_ValuesAndSnprintf);

void BM_FilterOutputLine(benchmark::State& state) {
  size_t i = 0;
  std::string out;
  for (auto _ : state) {
    out.clear();
    AppendCalcOutput(Sample()[i++ % Sample().size()], out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_FilterOutputLine);

// The whole filter over an in-memory input of 100000 lines.
void BM_FilterLines(benchmark::State& state) {
  std::string input;
  for (const TCalcInputs& in : Inputs(100000))
    input += std::to_string(in[0]) + ' ' + std::to_string(in[1]) + ' ' + std::to_string(in[2]) + ' ' +
             std::to_string(in[3]) + ' ' + std::to_string(in[4]) + '\n';
  for (auto _ : state) {
    std::FILE* in = fmemopen(input.data(), input.size(), "r");
    std::FILE* out = std::fopen("/dev/null", "w");
    benchmark::DoNotOptimize(RunCalcFilter(in, out, stderr));
    std::fclose(in);
    std::fclose(out);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FilterLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
