#pragma once
// TKvFlash: a non-visual component raising OnTimer on the GUI thread at a fixed
// interval. A worker thread sleeps for the interval and then hands one tick to
// the GUI thread, waiting until it has run, so ticks never pile up.
//
// Pausing: the worker is never suspended at an arbitrary point. Disabling
// (Enabled false, Interval 0, no handler) raises the thread's pause flag; the
// worker notices it in its sleep and parks. A tick that was already handed
// over when the timer was disabled finds Enabled false and does nothing.
// Re-enabling before the worker noticed the pause loses no tick: its sleep
// simply runs on. A new Interval cuts the running sleep short so that the new
// length applies at once.
//
// Destruction never waits for the worker: the component cuts the worker's
// link to it, asks the thread to terminate (which wakes it from its sleep or
// pause and drops a hand-over the GUI thread has not run yet) and leaves; the
// thread ends at once and frees itself. A thread that never ran is freed by
// the component. Since nothing has to be flushed, destruction processes no
// pending events (re-entering the event loop from a destructor is a hazard of
// its own). Once the application has been asked to terminate, the next tick
// ends the worker instead of raising OnTimer.

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/core/thread.h"

class TKvFlash;

// Abstract thread base of the library's timers.
class TKvThread : public TThread {
 public:
  using TThread::TThread;

 protected:
  void Execute() override = 0;
};

// The worker of a TKvFlash: sleeps Interval milliseconds, then runs the
// owner's Timer on the GUI thread; frees itself when it ends.
class TTimerThread : public TKvThread {
 public:
  // With ARun false the thread is created suspended (the component's way).
  TTimerThread(TKvFlash* AOwner, bool ARun);

  uint32_t Interval() const { return interval_.load(); }
  // A different value cuts a running sleep short.
  void SetInterval(uint32_t value);
  TKvFlash* Owner() const { return owner_.load(); }

 protected:
  void Execute() override;

 private:
  friend class TKvFlash;
  // GUI thread: the owner is going away; no Timer call happens after this.
  void DetachOwner() { owner_.store(nullptr); }
  // GUI thread, inside the hand-over: one tick for the owner.
  void Tick();

  std::atomic<TKvFlash*> owner_;
  std::atomic<uint32_t> interval_{16};
};

class TKvFlash : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(kvthread::TThreadPriority ThreadPriority READ ThreadPriority WRITE SetThreadPriority)
  Q_CLASSINFO("default:Enabled", "True")
  Q_CLASSINFO("default:ThreadPriority", "tpNormal")
 public:
  Q_INVOKABLE explicit TKvFlash(TComponent* AOwner = nullptr);
  ~TKvFlash() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TThreadPriority ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(TThreadPriority value);
  // Milliseconds between two ticks; 0 stops the timer.
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t value);
  const TNotifyEvent& OnTimer() const;
  void SetOnTimer(TNotifyEvent value);

  // Applies Enabled, Interval, ThreadPriority and the handler to the thread:
  // it runs while all of them allow ticking and is paused otherwise.
  void UpdateTimer();

 protected:
  // Raises OnTimer when enabled, not being destroyed and a handler is set.
  // Runs on the GUI thread. An exception escaping it goes to the
  // application's exception handling and the timer keeps running.
  virtual void Timer();

  // The worker, null once it has gone (for descendants and tests).
  TTimerThread* TimerThread() const { return thread_; }

 private:
  friend class TTimerThread;

  bool enabled_ = true;
  uint32_t interval_ = 16;
  TThreadPriority threadPriority_ = tpNormal;
  // Shared so that a tick holds the handler alive even when the handler
  // replaces it or frees the component.
  std::shared_ptr<const TNotifyEvent> onTimer_;
  TTimerThread* thread_ = nullptr;  // frees itself once it ran; see the destructor
};
