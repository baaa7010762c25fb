#pragma once
// What the side-by-side benchmarks report: the library's way and its plain
// Qt baseline are timed alternately inside one loop, and the totals are given
// per iteration in microseconds (counters kv_us and raw_us) with their ratio
// (counter ratio, kv / raw).

#include <benchmark/benchmark.h>

#include <chrono>

namespace bench {

using Clock = std::chrono::steady_clock;

// Sets the three counters from the totals of all iterations; returns the ratio.
inline double ReportRatio(benchmark::State& state, Clock::duration kv, Clock::duration raw) {
  const double n = double(state.iterations());
  const double kvUs = std::chrono::duration<double, std::micro>(kv).count() / n;
  const double rawUs = std::chrono::duration<double, std::micro>(raw).count() / n;
  state.counters["kv_us"] = kvUs;
  state.counters["raw_us"] = rawUs;
  state.counters["ratio"] = kvUs / rawUs;
  return kvUs / rawUs;
}

}  // namespace bench
