#include "platform/core/thread.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>

#include "platform/core/exceptions.h"

namespace {

using namespace std::chrono_literals;

// A thread running a given body; the body gets the thread to reach the
// protected helpers (Synchronize, Sleep, WaitWhileSuspended).
class LambdaThread : public TThread {
 public:
  using Body = std::function<void(LambdaThread&)>;
  LambdaThread(bool suspended, Body body, std::atomic<bool>* destroyed = nullptr)
      : TThread(true), body_(std::move(body)), destroyed_(destroyed) {
    if (!suspended) Start();
  }
  ~LambdaThread() override {
    EndWorker();  // body_ goes before the base destructor runs
    if (destroyed_) destroyed_->store(true);
  }
  using TThread::SetReturnValue;
  using TThread::Sleep;
  using TThread::Synchronize;
  using TThread::WaitWhileSuspended;
  using TThread::Wake;

 protected:
  void Execute() override { body_(*this); }

 private:
  Body body_;
  std::atomic<bool>* destroyed_;
};

// Generous: the machine may be loaded; nothing here should take long.
constexpr int kLong = 20000;

bool WaitUntil(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, kLong);
}

TEST(ThreadLifecycle, RunsAtOnceOrOnStartAndReportsTheReturnValue) {
  std::atomic<int> runs{0};
  LambdaThread running(false, [&](LambdaThread& t) {
    ++runs;
    t.SetReturnValue(7);
  });
  EXPECT_EQ(running.WaitFor(), 7);
  EXPECT_TRUE(running.Finished());

  LambdaThread held(true, [&](LambdaThread&) { ++runs; });
  EXPECT_TRUE(held.Suspended());
  EXPECT_FALSE(held.Started());
  EXPECT_THROW(held.WaitFor(), EThread);
  EXPECT_EQ(runs.load(), 1);
  held.Start();
  held.WaitFor();
  EXPECT_EQ(runs.load(), 2);
}

TEST(ThreadLifecycle, NeverStartedThreadIsReleasedWithoutRunning) {
  std::atomic<bool> ran{false};
  {
    LambdaThread never(true, [&](LambdaThread&) { ran = true; });
  }
  EXPECT_FALSE(ran.load());
}

TEST(ThreadLifecycle, ExceptionEndingExecuteIsKept) {
  LambdaThread t(false, [](LambdaThread&) { throw std::runtime_error("boom"); });
  t.WaitFor();
  ASSERT_TRUE(t.FatalException());
  EXPECT_THROW(std::rethrow_exception(t.FatalException()), std::runtime_error);
}

TEST(ThreadLifecycle, FreeingARunningThreadEndsItsLongSleep) {
  const int before = TThread::RunningCount();
  std::atomic<int> sleeps{0};
  std::atomic<bool> inLoop{false};
  auto* t = new LambdaThread(false, [&](LambdaThread& self) {
    while (!self.Terminated()) {
      inLoop = true;
      self.Sleep(600000);
      ++sleeps;
    }
  });
  ASSERT_TRUE(WaitUntil([&] { return inLoop.load(); }));
  EXPECT_EQ(TThread::RunningCount(), before + 1);
  const auto start = std::chrono::steady_clock::now();
  delete t;  // must not wait for the ten-minute sleep
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  EXPECT_EQ(sleeps.load(), 1);
  EXPECT_TRUE(WaitUntil([&] { return TThread::RunningCount() == before; }));
}

TEST(ThreadLifecycle, SelfFreeingThreadDeletesItself) {
  std::atomic<bool> destroyed{false};
  auto* t = new LambdaThread(
      true,
      [](LambdaThread& self) {
        while (!self.Terminated()) self.Sleep(600000);
      },
      &destroyed);
  t->SetFreeOnTerminate(true);
  EXPECT_THROW(t->WaitFor(), EThread);
  t->Start();
  t->Terminate();  // from here on the object may be gone
  EXPECT_TRUE(WaitUntil([&] { return destroyed.load(); }));
}

TEST(ThreadSynchronize, RunsOnTheGuiThreadWhileTheWorkerWaits) {
  QThread* gui = QCoreApplication::instance()->thread();
  std::atomic<bool> onGui{false};
  int value = 0;  // touched by the GUI call, read by the worker afterwards
  std::atomic<int> seenAfter{-1};
  LambdaThread t(false, [&](LambdaThread& self) {
    const bool ran = self.Synchronize([&] {
      onGui = QThread::currentThread() == gui;
      value = 42;
    });
    seenAfter = ran ? value : -2;
  });
  // The event loop picks the hand-over up.
  EXPECT_TRUE(WaitUntil([&] { return seenAfter.load() != -1; }));
  t.WaitFor();
  EXPECT_TRUE(onGui.load());
  EXPECT_EQ(seenAfter.load(), 42);
}

TEST(ThreadSynchronize, WaitForOnTheGuiThreadServesTheWorker) {
  // The GUI thread blocks in WaitFor without an event loop while the worker
  // needs it: WaitFor must run the hand-over itself instead of deadlocking.
  std::atomic<int> calls{0};
  LambdaThread t(false, [&](LambdaThread& self) {
    for (int i = 0; i < 3; ++i) self.Synchronize([&] { ++calls; });
    self.SetReturnValue(calls.load());
  });
  EXPECT_EQ(t.WaitFor(), 3);
}

TEST(ThreadSynchronize, OnTheGuiThreadItCallsDirectly) {
  LambdaThread t(true, [](LambdaThread&) {});
  bool ran = false;
  EXPECT_TRUE(t.Synchronize([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST(ThreadSynchronize, ExceptionOfTheCallIsRaisedInTheWorker) {
  std::atomic<bool> caught{false};
  LambdaThread t(false, [&](LambdaThread& self) {
    try {
      self.Synchronize([] { throw Exception(QStringLiteral("from the GUI")); });
    } catch (const Exception& e) {
      caught = e.Message() == QLatin1String("from the GUI");
    }
  });
  t.WaitFor();
  EXPECT_TRUE(caught.load());
}

TEST(ThreadSynchronize, TerminateDropsACallNotYetPickedUp) {
  // Shutdown while the worker waits for a GUI thread that is busy: freeing
  // the thread must neither hang nor run the call later.
  std::atomic<bool> waiting{false};
  std::atomic<int> ran{0};
  std::atomic<int> result{-1};
  auto* t = new LambdaThread(false, [&](LambdaThread& self) {
    waiting = true;
    result = self.Synchronize([&] { ++ran; }) ? 1 : 0;
  });
  // Busy-wait without serving events until the worker is inside Synchronize.
  while (!waiting.load()) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);
  delete t;
  EXPECT_EQ(result.load(), 0);
  QTest::qWait(50);  // the queued call, now stale, is skipped
  EXPECT_EQ(ran.load(), 0);
}

TEST(ThreadSynchronize, AfterTerminateItReturnsAtOnce) {
  std::atomic<int> ran{0};
  LambdaThread t(true, [&](LambdaThread& self) { self.SetReturnValue(self.Synchronize([&] { ++ran; })); });
  t.Terminate();
  t.Start();  // Execute is skipped for a thread terminated before it ran
  EXPECT_EQ(t.WaitFor(), 0);
  EXPECT_EQ(ran.load(), 0);
}

TEST(ThreadPause, SuspendParksTheWorkerAndResumeLetsItGoOn) {
  std::atomic<int> rounds{0};
  LambdaThread t(false, [&](LambdaThread& self) {
    while (self.WaitWhileSuspended()) {
      ++rounds;
      self.Sleep(1);
    }
  });
  ASSERT_TRUE(WaitUntil([&] { return rounds.load() > 3; }));
  t.Suspend();
  EXPECT_TRUE(t.Suspended());
  // At most the round in progress completes after the request.
  const int atPause = rounds.load();
  QTest::qWait(200);
  EXPECT_LE(rounds.load(), atPause + 1);
  const int parked = rounds.load();
  t.Resume();
  EXPECT_FALSE(t.Suspended());
  EXPECT_TRUE(WaitUntil([&] { return rounds.load() > parked + 3; }));
  t.Terminate();
  t.WaitFor();
}

TEST(ThreadPause, SleepIsCutShortByWakeAndByPause) {
  std::atomic<int> phase{0};
  std::atomic<int> fullSleeps{0};
  LambdaThread t(false, [&](LambdaThread& self) {
    phase = 1;
    if (self.Sleep(600000)) ++fullSleeps;  // ended by Wake
    phase = 2;
    if (self.Sleep(600000)) ++fullSleeps;  // ended by Suspend
    phase = 3;
    self.WaitWhileSuspended();
    if (self.Sleep(1)) ++fullSleeps;  // a short one runs out
    phase = 4;
  });
  ASSERT_TRUE(WaitUntil([&] { return phase.load() == 1; }));
  std::this_thread::sleep_for(10ms);
  t.Wake();
  ASSERT_TRUE(WaitUntil([&] { return phase.load() == 2; }));
  t.Suspend();
  ASSERT_TRUE(WaitUntil([&] { return phase.load() == 3; }));
  t.Resume();
  t.WaitFor();
  EXPECT_EQ(phase.load(), 4);
  EXPECT_EQ(fullSleeps.load(), 1);
}

TEST(ThreadPriority, MapsOntoTheNiceValueOfTheWorker) {
  EXPECT_EQ(ThreadPriorityToNice(tpIdle), 19);
  EXPECT_EQ(ThreadPriorityToNice(tpNormal), 0);
  EXPECT_EQ(ThreadPriorityToNice(tpTimeCritical), -20);
  std::atomic<bool> stop{false};
  LambdaThread t(true, [&](LambdaThread& self) {
    while (!stop.load()) self.Sleep(5);
  });
  t.SetPriority(tpLowest);  // applied when the worker starts
  EXPECT_EQ(t.Priority(), tpLowest);
  t.Start();
  ASSERT_TRUE(WaitUntil([&] { return t.ThreadID() != 0; }));
  errno = 0;
  const int processNice = getpriority(PRIO_PROCESS, 0);
  if (processNice <= 10) {
    // Making a thread nicer is always permitted.
    EXPECT_TRUE(WaitUntil([&] { return getpriority(PRIO_PROCESS, id_t(t.ThreadID())) == 10; }));
    t.SetPriority(tpIdle);
    EXPECT_EQ(getpriority(PRIO_PROCESS, id_t(t.ThreadID())), 19);
  }
  stop = true;
  t.WaitFor();
}

}  // namespace
