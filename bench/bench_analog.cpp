// The cost of one value change of an analog indicator: 100,000 SetValue
// calls on a loaded indicator with all its events assigned (texts, position,
// sectors, limits, range, extremes and hint are recomputed each time),
// against a loop that only stores the same values in a float. The values
// sweep the range and beyond it, so sectors, limits and the range state
// change along the way.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <vector>

#include "kv/controls/kv_analog_g_control.h"

namespace {

constexpr int kCalls = 100000;

std::vector<float> Values() {
  std::vector<float> values(kCalls);
  for (int i = 0; i < kCalls; ++i) values[size_t(i)] = float(i % 1300) / 10.0f - 10.0f;  // -10 .. 119.9
  return values;
}

void BM_StoreOnly(benchmark::State& state) {
  const std::vector<float> values = Values();
  float stored = 0;
  for (auto _ : state) {
    for (float v : values) {
      stored = v;
      benchmark::DoNotOptimize(stored);
    }
  }
  state.SetItemsProcessed(state.iterations() * kCalls);
}
BENCHMARK(BM_StoreOnly)->Unit(benchmark::kMillisecond);

void BM_SetValueWithEvents(benchmark::State& state) {
  const std::vector<float> values = Values();
  TKvAnalogGControl indicator(nullptr);
  indicator.Loaded();
  int64_t events = 0;
  indicator.SetOnValueChange([&](TObject*) { ++events; });
  indicator.SetOnSectorChange([&](TObject*, bool, bool, bool, bool) { ++events; });
  indicator.SetOnLimit([&](TObject*, bool, bool) { ++events; });
  indicator.SetOnOverflow([&](TObject*, int32_t) { ++events; });
  indicator.SetOnMinMaxChange([&](TObject*) { ++events; });
  for (auto _ : state) {
    for (float v : values) indicator.SetValue(v);
    // Each pass starts from the same state: the last value differs from the first.
    indicator.ResetMinMax();
  }
  benchmark::DoNotOptimize(events);
  state.SetItemsProcessed(state.iterations() * kCalls);
  state.counters["events/call"] = double(events) / double(state.iterations() * kCalls);
}
BENCHMARK(BM_SetValueWithEvents)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
