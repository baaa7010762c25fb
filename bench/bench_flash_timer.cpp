// The flash timer's costs: one tick over 10, 1,000 and 100,000 records (with
// the heap allocations a tick makes, counted by replacing the global
// allocation functions), and what the process pays while nothing is
// registered (threads, wake-ups, ticks).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <new>

#include "kv/timers/flash_timer.h"
#include "platform/controls/control.h"
#include "platform/core/date_time.h"

// ---- allocation counting ----------------------------------------------------

namespace {
std::atomic<uint64_t> gAllocations{0};

void* CountedAlloc(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (size == 0) size = 1;
  if (void* p = std::malloc(size)) return p;
  throw std::bad_alloc();
}
void* CountedAlignedAlloc(std::size_t size, std::align_val_t align) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  const std::size_t a = std::size_t(align);
  void* p = std::aligned_alloc(a, (size + a - 1) / a * a);
  if (!p) throw std::bad_alloc();
  return p;
}
}  // namespace

void* operator new(std::size_t size) {
  return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
  return CountedAlloc(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return CountedAlloc(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return CountedAlloc(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new(std::size_t size, std::align_val_t a) {
  return CountedAlignedAlloc(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a) {
  return CountedAlignedAlloc(size, a);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}

namespace {

// ---- fixtures -----------------------------------------------------------------

std::atomic<uint64_t> gNotified{0};
void CountingProc(int32_t, int32_t) {
  gNotified.fetch_add(1, std::memory_order_relaxed);
}

class FlashTarget : public TControl {
 public:
  using TControl::TControl;
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_FLASH) {
      gNotified.fetch_add(1, std::memory_order_relaxed);
      return;
    }
    TControl::WndProc(message);
  }
};

void RestartUnit() {
  while (KvflashtUnit().Initialized()) KvflashtUnit().Finalize();
  KvflashtUnit().Initialize();
}

// Fills the list with `count` records: a fifth each of codes 2..6 mixed,
// second pulses, and intervals of 16..1000 ms; every fourth record names one
// of a few controls, the others a procedure. Records are put in directly:
// registration would merge records of the same control or procedure.
void FillList(int64_t count, std::vector<std::unique_ptr<FlashTarget>>& controls) {
  RestartUnit();
  AddProc(&CountingProc, 16);       // creates the shared timer
  KvFlashTimer->SetEnabled(false);  // only the benchmark ticks
  ClearFlashList();
  for (int i = 0; i < 8; ++i) controls.push_back(std::make_unique<FlashTarget>());
  const int64_t t = GetTickCount();
  dynFlashList->reserve(size_t(count) + 10);
  for (int64_t i = 0; i < count; ++i) {
    auto record = std::make_unique<TFlashRecord>();
    if (i % 4 == 0)
      record->Control = controls[size_t(i / 4) % controls.size()].get();
    else
      record->Proc = &CountingProc;
    switch (i % 5) {
      case 0:
        record->Freq = 2 + (i / 5) % 5;
        break;
      case 1:
        record->Freq = kFlashSecondPulse;
        break;
      default:
        record->Freq = 16 + (i * 37) % 985;
        break;
    }
    record->NextTime = t + record->Freq;
    dynFlashList->push_back(std::move(record));
  }
}

void BM_FlashTick(benchmark::State& state) {
  std::vector<std::unique_ptr<FlashTarget>> controls;
  FillList(state.range(0), controls);
  // A tick clock advancing 16 ms per read, as the heartbeat would see it.
  uint32_t fakeTick = GetTickCount();
  const bool fakeClock = state.range(1) != 0;
  if (fakeClock) SetTickCountSource([&fakeTick] { return fakeTick += 16; });
  TKvFlashTimer* timer = KvFlashTimer;
  timer->flash(timer);  // warm up
  gNotified = 0;
  const uint64_t allocationsBefore = gAllocations.load();
  for (auto _ : state) timer->flash(timer);
  const uint64_t allocations = gAllocations.load() - allocationsBefore;
  state.counters["allocs_per_tick"] = double(allocations) / double(state.iterations());
  state.counters["notified_per_tick"] = double(gNotified.load()) / double(state.iterations());
  state.counters["records"] = double(state.range(0));
  state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
  SetTickCountSource({});
  while (KvflashtUnit().Initialized()) KvflashtUnit().Finalize();
}
// Second argument: 1 = replaced tick clock (pure list walk), 0 = real clocks.
BENCHMARK(BM_FlashTick)->ArgsProduct({{10, 1000, 100000}, {1, 0}})->Unit(benchmark::kMicrosecond);

// ---- idle cost --------------------------------------------------------------------

int ThreadCount() {
  return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

long ContextSwitches() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_nvcsw + usage.ru_nivcsw;
}

// Runs the event loop for `ms` and reports threads, flash ticks and context
// switches (each one a wake-up of some thread of the process) per second.
void MeasureWindow(benchmark::State& state, int ms) {
  const int threadsBefore = ThreadCount();
  const uint32_t ticksBefore = FlashTick;
  const long switchesBefore = ContextSwitches();
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  const double seconds = ms / 1000.0;
  state.counters["threads_added"] = double(ThreadCount() - threadsBefore);
  state.counters["flash_ticks_per_s"] = double(FlashTick - ticksBefore) / seconds;
  state.counters["switches_per_s"] = double(ContextSwitches() - switchesBefore) / seconds;
  state.counters["timer_threads"] = double(TThread::RunningCount());
}

// Nothing registered, and a thread timer without handler: no worker exists,
// no tick runs; what remains are the event loop's own wake-ups.
void BM_IdleNothingRegistered(benchmark::State& state) {
  RestartUnit();
  for (auto _ : state) {
    TKvFlash unused(nullptr);  // no OnTimer: its thread never starts
    MeasureWindow(state, 1000);
  }
  state.counters["shared_timer_exists"] = KvFlashTimer ? 1 : 0;
}
BENCHMARK(BM_IdleNothingRegistered)->Iterations(1)->Unit(benchmark::kMillisecond);

// For comparison: one registered procedure keeps the 16 ms heartbeat running.
void BM_OneRecordRegistered(benchmark::State& state) {
  RestartUnit();
  AddProc(&CountingProc, 2);
  for (auto _ : state) MeasureWindow(state, 1000);
  while (KvflashtUnit().Initialized()) KvflashtUnit().Finalize();
}
BENCHMARK(BM_OneRecordRegistered)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
