#pragma once
// TThread: a worker thread with an overridable Execute, run on std::thread.
//
// Pausing is cooperative. A thread is never stopped at an arbitrary point of
// its code (it might hold a lock the GUI thread needs); Suspend only raises a
// flag that the worker honours where it calls WaitWhileSuspended or Sleep.
//
// Synchronize hands a call to the GUI thread and blocks the worker until the
// GUI thread has run it. The GUI thread never blocks on a worker that may be
// waiting for it: Terminate cancels a hand-over the GUI thread has not picked
// up yet, and WaitFor on the GUI thread keeps running the hand-overs of the
// workers while it waits. So shutting down cannot deadlock.

#include <QObject>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace kvthread {
Q_NAMESPACE
// Scheduling priorities, lowest first. On Linux they map onto the nice value
// of the thread (tpIdle 19, tpLowest 10, tpLower 5, tpNormal 0, tpHigher -5,
// tpHighest -10, tpTimeCritical -20). An unprivileged process may only make
// its threads nicer: a change the system refuses leaves the thread where it
// was, while Priority() still reports the requested value.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
Q_ENUM_NS(TThreadPriority)
}  // namespace kvthread
using kvthread::TThreadPriority;
namespace kvthread {
struct ThreadState;  // shared between a thread object, its worker and its hand-overs
}
using enum kvthread::TThreadPriority;

// The nice value a priority maps to.
int ThreadPriorityToNice(TThreadPriority priority);

class TThread {
 public:
  // A thread created suspended starts on the first Resume (or Start).
  explicit TThread(bool CreateSuspended);
  // Freeing a running thread ends it first (EndWorker). A thread that never
  // started is simply released. Members of a derived class are gone before
  // this destructor runs: a derived class whose Execute uses them calls
  // EndWorker first in its own destructor.
  virtual ~TThread();

  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts a thread created suspended; for a started thread, the same as Resume.
  void Start();
  // Lifts a pause (and starts a thread that has not run yet).
  void Resume();
  // Asks the worker to pause at its next pause point. Does not wait.
  void Suspend();
  // Whether the thread is paused (or not started yet).
  bool Suspended() const;
  bool Started() const;
  bool Finished() const;

  // Asks the thread to end: wakes it from a pause or a Sleep and cancels a
  // hand-over the GUI thread has not started to run.
  void Terminate();
  bool Terminated() const;

  // Waits until Execute has returned and gives ReturnValue. Raises EThread for
  // a thread that frees itself, one that never started, a call from the
  // worker itself, or from inside the thread's own synchronised call (each of
  // these could never return).
  int WaitFor();

  // A self-freeing thread deletes its object when Execute returns; nobody
  // may touch the object after asking such a thread to terminate.
  bool FreeOnTerminate() const;
  void SetFreeOnTerminate(bool value);

  TThreadPriority Priority() const { return priority_.load(); }
  void SetPriority(TThreadPriority value);

  int ReturnValue() const { return returnValue_.load(); }
  // The exception that ended Execute, if any.
  std::exception_ptr FatalException() const;

  // Whether the worker waits in Synchronize for the GUI thread to run its call.
  bool Synchronizing() const;

  // Kernel thread id of the worker (0 before it runs).
  int ThreadID() const;

  // Number of workers whose thread function is running, process-wide.
  static int RunningCount();
  // Whether the caller runs on the GUI thread (the application object's thread).
  static bool IsGuiThread();
  // Runs the hand-overs queued for the GUI thread. The GUI thread's event loop
  // does this by itself; call it where the GUI thread waits without a loop.
  // Must be called on the GUI thread. Returns the number of calls run.
  static int CheckSynchronize();

 protected:
  virtual void Execute() = 0;

  // Runs `method` on the GUI thread and waits until it has run. On the GUI
  // thread (or without an application object) it calls `method` directly.
  // Returns false when the thread was asked to terminate before the GUI
  // thread picked the call up (the call then never runs). An exception raised
  // by `method` is raised again here, in the worker.
  bool Synchronize(const std::function<void()>& method);

  // Blocks while the thread is paused. Returns false once it should terminate.
  bool WaitWhileSuspended();
  // Waits `ms` milliseconds. Returns true when the whole time passed; false
  // when woken early by Terminate, by a pause, or by Wake.
  bool Sleep(uint32_t ms);
  // Cuts a running Sleep short (for example when its length changed).
  void Wake();

  void SetReturnValue(int value) { returnValue_.store(value); }

  // Asks the worker to terminate and waits until Execute has returned. The
  // wait needs nothing from the calling thread: Terminate drops every
  // hand-over the GUI thread has not started. Does nothing for a thread that
  // never started or already ended.
  void EndWorker();

 private:
  using Shared = kvthread::ThreadState;
  static void Run(TThread* self, std::shared_ptr<Shared> shared);
  void ApplyPriority();

  // State shared with the worker and with pending hand-overs; it outlives the
  // object when a hand-over is still queued for the GUI thread.
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
  std::atomic<TThreadPriority> priority_{tpNormal};
  std::atomic<int> returnValue_{0};
};
