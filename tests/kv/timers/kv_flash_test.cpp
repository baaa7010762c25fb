// The thread-driven timer with its real worker thread. Waits are generous and
// bounds are counted in ticks, not milliseconds, so a loaded machine only
// makes the tests slower.

#include "kv/timers/kv_flash.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QMetaEnum>
#include <QThread>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/kv/timers/timer_test_support.h"

namespace {

using kv::test::TestApplication;
using kv::test::WaitUntil;
using namespace std::chrono_literals;

class ProbeFlash : public TKvFlash {
 public:
  using TKvFlash::TimerThread;
  using TKvFlash::TKvFlash;
};

// Waits without serving the GUI thread's events, so a tick handed over
// stays queued.
bool WaitWithoutEvents(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + 20s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class FlashTimer : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    // Workers of earlier tests may still be on their way out.
    ASSERT_TRUE(kv::test::WaitUntil([] { return TThread::RunningCount() == 0; }));
  }
  void TearDown() override {
    // No worker outlives its component.
    EXPECT_TRUE(WaitUntil([this] { return TThread::RunningCount() == baseline; }));
  }
  int baseline = 0;
  int ticks = 0;
  TNotifyEvent Counter() {
    return [this](TObject*) { ++ticks; };
  }
};

TEST_F(FlashTimer, DefaultsAndNoWorkerWithoutAHandler) {
  ProbeFlash timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 16u);
  EXPECT_EQ(timer.ThreadPriority(), tpNormal);
  EXPECT_FALSE(timer.OnTimer().Assigned());
  ASSERT_NE(timer.TimerThread(), nullptr);
  EXPECT_TRUE(timer.TimerThread()->FreeOnTerminate());
  // Without a handler the thread never runs, whatever else changes.
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  timer.SetInterval(5);
  timer.SetThreadPriority(tpHigher);
  QTest::qWait(50);
  EXPECT_FALSE(timer.TimerThread()->Started());
  EXPECT_EQ(TThread::RunningCount(), baseline);
}

TEST_F(FlashTimer, PriorityStreamsByName) {
  ProbeFlash timer(nullptr);
  const QMetaObject* meta = timer.metaObject();
  const QMetaProperty property = meta->property(meta->indexOfProperty("ThreadPriority"));
  ASSERT_TRUE(property.isEnumType());
  EXPECT_STREQ(property.enumerator().valueToKey(tpTimeCritical), "tpTimeCritical");
  EXPECT_TRUE(property.write(&timer, QVariant::fromValue(tpLowest)));
  EXPECT_EQ(timer.ThreadPriority(), tpLowest);
}

TEST_F(FlashTimer, TicksOnTheGuiThreadWithItselfAsSender) {
  ProbeFlash timer(nullptr);
  bool onGui = true;
  TObject* sender = nullptr;
  timer.SetOnTimer([&](TObject* s) {
    ++ticks;
    sender = s;
    onGui = onGui && QThread::currentThread() == QCoreApplication::instance()->thread();
  });
  EXPECT_TRUE(timer.TimerThread()->Started());
  EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }));
  EXPECT_TRUE(onGui);
  EXPECT_EQ(sender, &timer);
}

TEST_F(FlashTimer, IntervalZeroStopsAndSixteenRestarts) {
  ProbeFlash timer(nullptr);
  timer.SetOnTimer(Counter());
  ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }));
  timer.SetInterval(0);
  EXPECT_TRUE(timer.TimerThread()->Suspended());
  // A tick already handed over may still run; after that, silence.
  QTest::qWait(100);
  const int stopped = ticks;
  QTest::qWait(300);
  EXPECT_EQ(ticks, stopped);
  timer.SetInterval(16);
  EXPECT_TRUE(WaitUntil([&] { return ticks >= stopped + 3; }));
}

TEST_F(FlashTimer, DisablingWhileATickIsQueuedDropsIt) {
  ProbeFlash timer(nullptr);
  timer.SetInterval(1);
  timer.SetOnTimer(Counter());
  ASSERT_TRUE(WaitWithoutEvents([&] { return timer.TimerThread()->Synchronizing(); }));
  timer.SetEnabled(false);
  // The queued tick runs now and finds the timer disabled.
  EXPECT_TRUE(WaitUntil([&] { return !timer.TimerThread()->Synchronizing(); }));
  QTest::qWait(100);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  EXPECT_TRUE(WaitUntil([&] { return ticks >= 2; }));
}

TEST_F(FlashTimer, ReplacingTheHandlerDoesNotTouchTheThread) {
  ProbeFlash timer(nullptr);
  timer.SetOnTimer(Counter());
  TTimerThread* thread = timer.TimerThread();
  // A mark that UpdateTimer would overwrite with the component's priority.
  thread->SetPriority(tpLowest);
  int second = 0;
  timer.SetOnTimer([&](TObject*) { ++second; });
  EXPECT_EQ(thread->Priority(), tpLowest);
  EXPECT_TRUE(WaitUntil([&] { return second >= 2; }));
  // Going from assigned to unassigned and back does apply the settings.
  timer.SetOnTimer(nullptr);
  EXPECT_TRUE(thread->Suspended());
  timer.SetOnTimer(Counter());
  EXPECT_EQ(thread->Priority(), tpNormal);
  EXPECT_FALSE(thread->Suspended());
}

TEST_F(FlashTimer, NewIntervalCutsALongSleepShort) {
  ProbeFlash timer(nullptr);
  timer.SetInterval(600000);
  timer.SetOnTimer(Counter());
  ASSERT_TRUE(WaitUntil([&] { return TThread::RunningCount() > baseline; }));
  QTest::qWait(20);
  timer.SetInterval(16);
  EXPECT_TRUE(WaitUntil([&] { return ticks >= 2; }));  // not ten minutes later
}

TEST_F(FlashTimer, ThreadPriorityReachesTheWorker) {
  ProbeFlash timer(nullptr);
  timer.SetThreadPriority(tpLowest);
  timer.SetOnTimer(Counter());
  TTimerThread* thread = timer.TimerThread();
  EXPECT_EQ(thread->Priority(), tpLowest);
  ASSERT_TRUE(WaitUntil([&] { return ticks >= 1 && thread->ThreadID() != 0; }));
  if (getpriority(PRIO_PROCESS, 0) <= 10) {
    EXPECT_EQ(getpriority(PRIO_PROCESS, id_t(thread->ThreadID())), 10);
  }
}

TEST_F(FlashTimer, DestroyedWhileItsWorkerSleeps) {
  auto* timer = new ProbeFlash(nullptr);
  timer->SetInterval(600000);
  timer->SetOnTimer(Counter());
  ASSERT_TRUE(WaitUntil([&] { return TThread::RunningCount() > baseline; }));
  delete timer;  // must neither wait ten minutes nor leave the worker behind
  EXPECT_TRUE(WaitUntil([&] { return TThread::RunningCount() == baseline; }));
  QTest::qWait(50);
  EXPECT_EQ(ticks, 0);
}

TEST_F(FlashTimer, DestroyedWhileATickIsQueued) {
  auto* timer = new ProbeFlash(nullptr);
  timer->SetInterval(1);
  timer->SetOnTimer(Counter());
  ASSERT_TRUE(WaitWithoutEvents([&] { return timer->TimerThread()->Synchronizing(); }));
  delete timer;
  QTest::qWait(100);  // the stale hand-over, if still queued, is skipped
  EXPECT_EQ(ticks, 0);
}

TEST_F(FlashTimer, HandlerMayFreeItsOwnTimer) {
  auto* timer = new ProbeFlash(nullptr);
  timer->SetOnTimer([&](TObject*) {
    ++ticks;
    delete timer;
    timer = nullptr;
  });
  EXPECT_TRUE(WaitUntil([&] { return timer == nullptr; }));
  QTest::qWait(50);
  EXPECT_EQ(ticks, 1);
}

TEST_F(FlashTimer, ExceptionInTheHandlerGoesToTheApplicationAndTicksGoOn) {
  TApplication* app = TestApplication();
  const TExceptionEvent previous = app->OnException();
  std::vector<QString> reported;
  app->SetOnException([&](TObject*, const Exception& e) { reported.push_back(e.Message()); });
  {
    ProbeFlash timer(nullptr);
    timer.SetOnTimer([&](TObject*) {
      if (++ticks == 1) throw Exception(QStringLiteral("tick failed"));
    });
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }));
  }
  app->SetOnException(previous);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], QStringLiteral("tick failed"));
}

TEST_F(FlashTimer, ClosingApplicationEndsTheWorker) {
  TApplication* real = TestApplication();
  TApplication closing(nullptr);  // a second object: not the global one
  closing.Terminate();
  ProbeFlash timer(nullptr);
  Application = &closing;
  timer.SetOnTimer(Counter());
  const bool ended = WaitUntil([&] { return timer.TimerThread() == nullptr; });
  Application = real;
  EXPECT_TRUE(ended);
  EXPECT_EQ(ticks, 0);
  // Without its worker the component stays usable, and silent.
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  timer.SetInterval(5);
  QTest::qWait(50);
  EXPECT_EQ(ticks, 0);
}

TEST_F(FlashTimer, ManyTimersComeAndGo) {
  // Creation and destruction in every state, repeatedly: nothing hangs,
  // crashes or stays behind.
  for (int round = 0; round < 100; ++round) {
    std::vector<std::unique_ptr<ProbeFlash>> timers;
    for (int i = 0; i < 4; ++i) {
      timers.push_back(std::make_unique<ProbeFlash>(nullptr));
      timers.back()->SetInterval(uint32_t(1 + i * 3));
      if (i != 3) timers.back()->SetOnTimer(Counter());
    }
    QTest::qWait(round % 3);
    timers[1]->SetEnabled(false);
    timers[2]->SetInterval(0);
  }
}

}  // namespace
