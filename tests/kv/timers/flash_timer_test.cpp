// The flash list and its schedule, driven tick by tick: the tests call the
// tick handler directly with the clocks replaced, so no test sleeps.

#include "kv/timers/flash_timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/date_time.h"
#include "tests/kv/timers/timer_test_support.h"

namespace {

using kv::test::FlashProbe;
using kv::test::MessageBoxRecorder;
using kv::test::TestApplication;

// Plain procedures log their calls here; `hook` lets a test act inside one.
struct ProcLog {
  std::vector<std::pair<int32_t, int32_t>> calls;
  std::function<void()> hook;
  void Reset() {
    calls.clear();
    hook = nullptr;
  }
};
ProcLog gA, gB, gC;
void ProcA(int32_t tick, int32_t value) {
  gA.calls.emplace_back(tick, value);
  if (gA.hook) gA.hook();
}
void ProcB(int32_t tick, int32_t value) {
  gB.calls.emplace_back(tick, value);
  if (gB.hook) gB.hook();
}
void ProcC(int32_t tick, int32_t value) {
  gC.calls.emplace_back(tick, value);
  if (gC.hook) gC.hook();
}

class FlashList : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    gA.Reset();
    gB.Reset();
    gC.Reset();
    SetTickCountSource([this] { return tick; });
    SetNowSource([this] { return now; });
    RestartUnit();
    // Workers of earlier tests may still be on their way out.
    ASSERT_TRUE(kv::test::WaitUntil([] { return TThread::RunningCount() == 0; }));
  }
  void TearDown() override {
    StopUnit();
    SetTickCountSource({});
    SetNowSource({});
    // The shared timer's worker ends with it.
    EXPECT_TRUE(kv::test::WaitUntil([this] { return TThread::RunningCount() == baseline; }));
  }
  static void StopUnit() {
    while (KvflashtUnit().Initialized()) KvflashtUnit().Finalize();
  }
  static void RestartUnit() {
    StopUnit();
    KvflashtUnit().Initialize();
  }
  // One tick of the shared timer. Its own heartbeat is switched off so that
  // only the test ticks.
  void Tick() {
    ASSERT_NE(KvFlashTimer, nullptr);
    KvFlashTimer->SetEnabled(false);
    KvFlashTimer->flash(KvFlashTimer);
  }
  void TickAt(uint32_t at) {
    tick = at;
    Tick();
  }
  size_t Count() const { return dynFlashList ? dynFlashList->size() : 0; }
  TFlashRecord& Record(size_t i) { return *(*dynFlashList)[i]; }

  int baseline = 0;
  uint32_t tick = 1000;
  double now = 45000.5;
  TComponent owner;
};

TEST_F(FlashList, UnitStartsEmptyWithoutTimer) {
  ASSERT_NE(dynFlashList, nullptr);
  EXPECT_EQ(Count(), 0u);
  EXPECT_EQ(KvFlashTimer, nullptr);
  EXPECT_EQ(FlashTick, 0u);
  EXPECT_DOUBLE_EQ(OneSecond, 1.0 / 86400.0);
  StopUnit();
  EXPECT_EQ(dynFlashList, nullptr);
  // Deleting without a list is harmless.
  DelControlNo(0);
  DelProc(&ProcA);
}

TEST_F(FlashList, FirstRegistrationCreatesTheTimerAndTheUnitEndFreesIt) {
  AddControl(nullptr, 2);
  AddProc(nullptr, 2);
  EXPECT_EQ(Count(), 0u);
  EXPECT_EQ(KvFlashTimer, nullptr);

  AddProc(&ProcA, 500);
  ASSERT_EQ(Count(), 1u);
  ASSERT_NE(KvFlashTimer, nullptr);
  EXPECT_EQ(TimerInstances, 1);
  EXPECT_TRUE(KvFlashTimer->OnTimer().Assigned());
  EXPECT_EQ(KvFlashTimer->KvInfo(), LoadKavelInfo());
  EXPECT_DOUBLE_EQ(NextSecPuls, now + OneSecond);
  EXPECT_EQ(AFlashRecord, &Record(0));
  EXPECT_EQ(Record(0).Proc, &ProcA);
  EXPECT_EQ(Record(0).Control, nullptr);
  EXPECT_EQ(Record(0).Freq, 500);
  EXPECT_EQ(Record(0).NextTime, 1500);

  // The timer stays while records come and go.
  TKvFlashTimer* timer = KvFlashTimer;
  DelProc(&ProcA);
  EXPECT_EQ(KvFlashTimer, timer);

  StopUnit();
  EXPECT_EQ(KvFlashTimer, nullptr);
  EXPECT_EQ(TimerInstances, 0);
}

TEST_F(FlashList, RegisteringAgainUpdatesTheRecord) {
  FlashProbe probe(&owner);
  AddControl(&probe, 5);
  AddProc(&ProcA, 2);
  tick = 1100;
  AddControl(&probe, 700);
  AddProc(&ProcA, 3);
  ASSERT_EQ(Count(), 2u);
  EXPECT_EQ(Record(0).Control, &probe);
  EXPECT_EQ(Record(0).Freq, 700);
  EXPECT_EQ(Record(0).NextTime, 1800);
  EXPECT_EQ(Record(1).Freq, 3);
  EXPECT_EQ(AFlashRecord, &Record(1));
}

TEST_F(FlashList, CapacityGrowsInStepsOfTen) {
  FlashProbe* probes[25];
  for (int i = 0; i < 25; ++i) {
    probes[i] = new FlashProbe(&owner);
    AddControl(probes[i], 100 + i);
    EXPECT_GE(dynFlashList->capacity() - dynFlashList->size(), 2u) << i;
    if (i == 0) {
      EXPECT_EQ(dynFlashList->capacity(), 11u);
    }
    if (i == 9) {
      EXPECT_EQ(dynFlashList->capacity(), 20u);
    }
  }
  for (FlashProbe* probe : probes) DelControl(probe);
  EXPECT_EQ(Count(), 0u);
}

TEST_F(FlashList, ControlsOfOneCodeToggleInTheSameTick) {
  FlashProbe first(&owner), second(&owner);
  AddControl(&first, 2);
  Tick();
  Tick();
  AddControl(&second, 2);  // two ticks later
  for (int i = 0; i < 14; ++i) Tick();
  ASSERT_EQ(FlashTick, 16u);
  // Bit 2 of the counter: on at 4, off at 8, on at 12, off at 16.
  const std::vector<std::pair<intptr_t, intptr_t>> expected{{4, 1}, {8, 0}, {12, 1}, {16, 0}};
  EXPECT_EQ(first.received, expected);
  EXPECT_EQ(second.received, expected);
}

TEST_F(FlashList, CodesTwoToSixFollowTheirCounterBit) {
  std::vector<std::unique_ptr<FlashProbe>> probes;
  for (int code = 2; code <= 6; ++code) {
    probes.push_back(std::make_unique<FlashProbe>(&owner));
    AddControl(probes.back().get(), code);
  }
  for (int i = 0; i < 512; ++i) Tick();
  for (int code = 2; code <= 6; ++code) {
    const auto& got = probes[size_t(code - 2)]->received;
    const intptr_t half = intptr_t(1) << code;
    ASSERT_EQ(got.size(), size_t(512 / half)) << "code " << code;
    for (size_t k = 0; k < got.size(); ++k) {
      EXPECT_EQ(got[k].first, half * intptr_t(k + 1));
      EXPECT_EQ(got[k].second, k % 2 == 0 ? 1 : 0);
    }
  }
}

TEST_F(FlashList, CounterWrapsToZero) {
  AddProc(&ProcA, 2);
  FlashTick = 0xFFFFFFFFu;
  Tick();
  EXPECT_EQ(FlashTick, 0u);
}

TEST_F(FlashList, CodeThirtyTwoIsTheSecondPulse) {
  AddProc(&ProcA, 32);
  Tick();
  EXPECT_TRUE(gA.calls.empty());
  now += OneSecond;
  Tick();
  ASSERT_EQ(gA.calls.size(), 1u);
  EXPECT_EQ(gA.calls[0].second, 0);
  Tick();
  EXPECT_EQ(gA.calls.size(), 1u);
  // Two and a half seconds on: the pulse is not resynchronised to the
  // clock, it catches up one second per tick.
  now += 2.5 * OneSecond;
  Tick();
  Tick();
  EXPECT_EQ(gA.calls.size(), 3u);
  Tick();
  EXPECT_EQ(gA.calls.size(), 3u);
}

TEST_F(FlashList, ControlsGetTheFlashMessageWithCounterAndValue) {
  FlashProbe probe(&owner);
  AddControl(&probe, 500);
  FlashTick = 41;
  TickAt(1520);
  ASSERT_EQ(probe.received.size(), 1u);
  EXPECT_EQ(probe.received[0], std::make_pair(intptr_t(42), intptr_t(20)));
}

TEST_F(FlashList, SlightlyLateIntervalKeepsItsGrid) {
  AddProc(&ProcA, 500);  // due at 1500
  TickAt(1499);
  EXPECT_TRUE(gA.calls.empty());
  TickAt(1520);
  ASSERT_EQ(gA.calls.size(), 1u);
  EXPECT_EQ(gA.calls[0].second, 20);
  EXPECT_EQ(Record(0).NextTime, 2000);  // the previous due time plus 500
  TickAt(2000);
  ASSERT_EQ(gA.calls.size(), 2u);
  EXPECT_EQ(gA.calls[1].second, 0);
  EXPECT_EQ(Record(0).NextTime, 2500);
  // Up to a second late still counts as late ...
  TickAt(3500);
  ASSERT_EQ(gA.calls.size(), 3u);
  EXPECT_EQ(gA.calls[2].second, 1000);
  EXPECT_EQ(Record(0).NextTime, 3000);
}

TEST_F(FlashList, VeryLateIntervalStartsAgainFromNow) {
  AddProc(&ProcA, 500);
  TickAt(3000);  // 1500 ms late
  ASSERT_EQ(gA.calls.size(), 1u);
  EXPECT_EQ(gA.calls[0].second, 0);
  EXPECT_EQ(Record(0).NextTime, 3500);
  TickAt(4501);  // 1001 ms late
  ASSERT_EQ(gA.calls.size(), 2u);
  EXPECT_EQ(gA.calls[1].second, 0);
  EXPECT_EQ(Record(0).NextTime, 5001);
}

TEST_F(FlashList, IntervalsSurviveTheTickCounterWrap) {
  tick = 0xFFFFFF00u;
  AddProc(&ProcA, 500);  // due 500 ms later, after the wrap
  TickAt(0xFFFFFFF0u);
  EXPECT_TRUE(gA.calls.empty());
  TickAt(0x000000F4u + 20);  // due at 0xF4, served 20 ms late
  ASSERT_EQ(gA.calls.size(), 1u);
  EXPECT_EQ(gA.calls[0].second, 20);
  EXPECT_EQ(uint32_t(Record(0).NextTime), 0x000000F4u + 500);
  TickAt(0x000000F4u + 499);
  EXPECT_EQ(gA.calls.size(), 1u);
  TickAt(0x000000F4u + 500);
  EXPECT_EQ(gA.calls.size(), 2u);
  // A long interval is not mistaken for a due one across the wrap.
  tick = 0xFFFFFFF0u;
  AddProc(&ProcB, 10 * 86400000LL);
  TickAt(0x10);
  EXPECT_TRUE(gB.calls.empty());
}

TEST_F(FlashList, HugeIntervalsDoNotOverflow) {
  AddProc(&ProcA, INT64_MAX);
  AddProc(&ProcB, INT64_MIN);
  TickAt(2000);
  EXPECT_TRUE(gA.calls.empty());
  EXPECT_EQ(gB.calls.size(), 1u);  // due at once, like any past due time
}

TEST_F(FlashList, EntryDeletingItselfEndsOrShortensTheTick) {
  gA.hook = [] { DelProc(&ProcA); };
  AddProc(&ProcA, 16);
  AddProc(&ProcB, 16);
  AddProc(&ProcC, 16);
  TickAt(1016);
  // ProcB moved into the freed slot and misses this tick; ProcC is served.
  EXPECT_EQ(gA.calls.size(), 1u);
  EXPECT_EQ(gB.calls.size(), 0u);
  EXPECT_EQ(gC.calls.size(), 1u);
  ASSERT_EQ(Count(), 2u);
  TickAt(1032);
  EXPECT_EQ(gB.calls.size(), 1u);
  EXPECT_EQ(gC.calls.size(), 2u);

  // Emptying the whole list from inside a notification ends the tick.
  gB.hook = [] { ClearFlashList(); };
  TickAt(1048);
  EXPECT_EQ(Count(), 0u);
  EXPECT_EQ(gC.calls.size(), 2u);
  EXPECT_EQ(AFlashRecord, nullptr);
}

TEST_F(FlashList, ControlRemovingItselfWhileFlashing) {
  auto* probe = new FlashProbe(&owner);
  probe->onFlash = [probe] {
    DelControl(probe);
    delete probe;
  };
  AddControl(probe, 2);
  AddProc(&ProcA, 2);
  for (int i = 0; i < 4; ++i) Tick();
  EXPECT_EQ(Count(), 1u);
  EXPECT_EQ(gA.calls.size(), 0u);  // moved into the freed slot during that tick
  Tick();
  ASSERT_EQ(gA.calls.size(), 1u);  // its first look at bit 2, one tick late
  EXPECT_EQ(gA.calls[0], std::make_pair(5, 1));
}

TEST_F(FlashList, FailingEntriesAreSwallowedAndOthersServed) {
  FlashProbe probe(&owner);
  probe.onFlash = [] { throw Exception(QStringLiteral("control failed")); };
  gA.hook = [] { throw std::runtime_error("procedure failed"); };
  AddControl(&probe, 16);
  AddProc(&ProcA, 16);
  AddProc(&ProcB, 16);
  TickAt(1016);
  TickAt(1032);
  EXPECT_EQ(probe.received.size(), 2u);
  EXPECT_EQ(gA.calls.size(), 2u);
  EXPECT_EQ(gB.calls.size(), 2u);
}

TEST_F(FlashList, DeletingByIndexIgnoresIndicesOutsideTheList) {
  AddProc(&ProcA, 100);
  AddProc(&ProcB, 100);
  AddProc(&ProcC, 100);
  DelControlNo(-1);
  DelProcNo(-32768);
  DelControlNo(3);
  DelProcNo(32767);
  EXPECT_EQ(Count(), 3u);
  EXPECT_NE(AFlashRecord, nullptr);
  DelProcNo(1);
  ASSERT_EQ(Count(), 2u);
  EXPECT_EQ(AFlashRecord, nullptr);
  EXPECT_EQ(Record(0).Proc, &ProcA);
  EXPECT_EQ(Record(1).Proc, &ProcC);
}

TEST_F(FlashList, DeletingByReference) {
  FlashProbe probe(&owner), unlisted(&owner);
  AddProc(&ProcA, 100);
  AddControl(&probe, 100);
  DelControl(&unlisted);
  DelControl(nullptr);  // must not take a procedure record for a "null control"
  DelProc(nullptr);
  DelProc(&ProcB);
  EXPECT_EQ(Count(), 2u);
  DelControl(&probe);
  ASSERT_EQ(Count(), 1u);
  EXPECT_EQ(Record(0).Proc, &ProcA);
  DelProc(&ProcA);
  EXPECT_EQ(Count(), 0u);
}

TEST_F(FlashList, BeyondSixteenBitIndices) {
  // Deleting by reference reaches records a 16-bit index cannot name. The
  // records are put in directly (the controls are never told anything).
  static char addresses[33000];
  auto control = [](int i) { return reinterpret_cast<TControl*>(&addresses[i]); };
  for (int i = 0; i < 33000; ++i) {
    auto record = std::make_unique<TFlashRecord>();
    record->Control = control(i);
    record->Freq = 1000;
    dynFlashList->push_back(std::move(record));
  }
  AddProc(&ProcA, 1000);
  DelProc(&ProcA);
  EXPECT_EQ(Count(), 33000u);
  DelControl(control(32767 + 10));
  EXPECT_EQ(Count(), 32999u);
  EXPECT_EQ(Record(0).Control, control(0));
  EXPECT_EQ(Record(32767 + 9).Control, control(32767 + 9));
  EXPECT_EQ(Record(32767 + 10).Control, control(32767 + 11));
  ClearFlashList();
}

// Marks the application as being destroyed for one scope.
struct ApplicationShuttingDown {
  ApplicationShuttingDown() { TestApplication()->SetComponentStateFlag(csDestroying, true); }
  ~ApplicationShuttingDown() { TestApplication()->SetComponentStateFlag(csDestroying, false); }
};

TEST_F(FlashList, ShutdownStopsTheTickAndTheLastDeletionFreesTheTimer) {
  AddProc(&ProcA, 16);
  AddProc(&ProcB, 16);
  ASSERT_NE(KvFlashTimer, nullptr);
  KvFlashTimer->SetEnabled(false);
  {
    ApplicationShuttingDown closing;
    TickAt(2000);
    EXPECT_TRUE(gA.calls.empty());
    DelProc(&ProcA);
    EXPECT_NE(KvFlashTimer, nullptr);  // one record left
    DelProc(&ProcB);
    EXPECT_EQ(KvFlashTimer, nullptr);
  }
  EXPECT_EQ(TimerInstances, 0);
}

TEST_F(FlashList, SecondTimerShowsTheErrorBoxAndNeverTicks) {
  MessageBoxRecorder boxes;
  AddProc(&ProcA, 2);
  ASSERT_NE(KvFlashTimer, nullptr);
  EXPECT_TRUE(boxes.boxes.empty());
  auto* second = new TKvFlashTimer(&owner);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Only one TKvFlashTimer per Application!\rRemove it..."));
  EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Error Message"));
  EXPECT_EQ(boxes.boxes[0].flags, MB_OK);
  EXPECT_EQ(TimerInstances, 2);
  EXPECT_FALSE(second->OnTimer().Assigned());
  EXPECT_EQ(second->KvInfo(), nullptr);
  EXPECT_TRUE(KvFlashTimer->OnTimer().Assigned());
  delete second;
  EXPECT_EQ(TimerInstances, 1);
}

TEST_F(FlashList, TimerPlacedFirstDrivesTheListAlone) {
  MessageBoxRecorder boxes;
  // A timer placed on a form before any registration is the first instance;
  // the shared one created on demand is the second and stays silent.
  auto* placed = new TKvFlashTimer(&owner);
  AddProc(&ProcA, 2);
  ASSERT_NE(KvFlashTimer, nullptr);
  ASSERT_NE(KvFlashTimer, placed);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_FALSE(KvFlashTimer->OnTimer().Assigned());
  SetTickCountSource({});
  SetNowSource({});
  // Real heartbeat of the placed timer: code 2 comes on after 4 ticks.
  EXPECT_TRUE(kv::test::WaitUntil([] { return gA.calls.size() >= 2; }));
  // Told on state changes only: every 4 counts.
  for (size_t k = 1; k < gA.calls.size(); ++k) EXPECT_EQ(gA.calls[k].first - gA.calls[k - 1].first, 4);
  delete placed;
}

}  // namespace
