#include "platform/core/thread.h"

#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/core/exceptions.h"

namespace {
std::atomic<int> gRunning{0};
}  // namespace

// Everything the worker, the owner and a queued hand-over share. Guarded by m.
namespace kvthread {
struct ThreadState {
  enum class Sync { Idle, Pending, Running, Done };

  std::mutex m;
  std::condition_variable cv;
  bool started = false;
  bool finished = false;
  bool terminated = false;
  bool paused = false;
  uint64_t wakeSeq = 0;
  std::exception_ptr fatal;
  std::atomic<int> tid{0};
  std::atomic<bool> freeOnTerminate{false};

  // The one hand-over a worker can have outstanding (it blocks until done).
  Sync sync = Sync::Idle;
  std::function<void()> syncFn;
  std::exception_ptr syncError;
};
}  // namespace kvthread

namespace {

// Hand-overs waiting for the GUI thread. A worker pushes its shared state and
// wakes the GUI thread through an eventfd watched by a socket notifier of the
// GUI thread. Nothing of the window framework is touched from a worker: only
// this mutex-guarded queue and a write() on the descriptor.
class SyncQueue {
 public:
  static SyncQueue& Instance() {
    static SyncQueue* queue = new SyncQueue;  // lives for the whole process
    return *queue;
  }

  // GUI thread: make sure the GUI thread listens for hand-overs.
  void EnsureListening() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) return;
    std::lock_guard<std::mutex> guard(m_);
    guiThread_ = std::this_thread::get_id();
    everHadGui_ = true;
    if (notifier_ || fd_ < 0) return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, app);
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] {
      uint64_t count;
      (void)!::read(fd_, &count, sizeof count);
      TThread::CheckSynchronize();
    });
    // The notifier dies with the application object; stop relying on it then.
    QObject::connect(notifier_, &QObject::destroyed, [this] {
      std::lock_guard<std::mutex> g(m_);
      notifier_ = nullptr;
    });
  }

  enum class Route { Direct, Queued, Stranded };

  // Worker: how a hand-over from the calling thread travels.
  Route RouteFor() {
    std::lock_guard<std::mutex> guard(m_);
    if (!everHadGui_ || guiThread_ == std::this_thread::get_id()) return Route::Direct;
    return notifier_ ? Route::Queued : Route::Stranded;
  }

  void Push(std::shared_ptr<kvthread::ThreadState> shared) {
    {
      std::lock_guard<std::mutex> guard(m_);
      pending_.push_back(std::move(shared));
    }
    const uint64_t one = 1;
    (void)!::write(fd_, &one, sizeof one);
  }

  std::shared_ptr<kvthread::ThreadState> Pop() {
    std::lock_guard<std::mutex> guard(m_);
    if (pending_.empty()) return nullptr;
    std::shared_ptr<kvthread::ThreadState> front = std::move(pending_.front());
    pending_.erase(pending_.begin());
    return front;
  }

  bool OnGuiThread() {
    std::lock_guard<std::mutex> guard(m_);
    return everHadGui_ && guiThread_ == std::this_thread::get_id();
  }

 private:
  SyncQueue() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) { pending_.reserve(16); }

  std::mutex m_;
  std::vector<std::shared_ptr<kvthread::ThreadState>> pending_;
  int fd_;
  QSocketNotifier* notifier_ = nullptr;  // GUI thread object, owned by the application
  std::thread::id guiThread_;
  bool everHadGui_ = false;
};

// GUI thread: runs the hand-over of `shared` if it is still waiting.
bool RunHandOver(const std::shared_ptr<kvthread::ThreadState>& shared) {
  {
    std::lock_guard<std::mutex> guard(shared->m);
    // Once the thread is asked to terminate, a call not yet started is dropped.
    if (shared->sync != kvthread::ThreadState::Sync::Pending || shared->terminated) return false;
    shared->sync = kvthread::ThreadState::Sync::Running;
  }
  std::exception_ptr error;
  try {
    shared->syncFn();
  } catch (...) {
    error = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> guard(shared->m);
    shared->syncError = std::move(error);  // the worker alone holds it from here
    shared->sync = kvthread::ThreadState::Sync::Done;
  }
  shared->cv.notify_all();
  return true;
}

}  // namespace

int ThreadPriorityToNice(TThreadPriority priority) {
  switch (priority) {
    case tpIdle:
      return 19;
    case tpLowest:
      return 10;
    case tpLower:
      return 5;
    case tpNormal:
      return 0;
    case tpHigher:
      return -5;
    case tpHighest:
      return -10;
    case tpTimeCritical:
      return -20;
  }
  return 0;
}

TThread::TThread(bool CreateSuspended) : shared_(std::make_shared<Shared>()) {
  SyncQueue::Instance().EnsureListening();
  if (!CreateSuspended) Start();
}

TThread::~TThread() {
  EndWorker();
}

void TThread::EndWorker() {
  std::shared_ptr<Shared> s = shared_;
  {
    std::lock_guard<std::mutex> guard(s->m);
    if (!s->started) return;
  }
  if (!thread_.joinable()) return;
  if (std::this_thread::get_id() == thread_.get_id()) {
    // Freed from its own Execute: the thread function returns by itself.
    thread_.detach();
    return;
  }
  Terminate();
  std::unique_lock<std::mutex> lock(s->m);
  if (s->sync == Shared::Sync::Running && IsGuiThread())
    qFatal("TThread ended inside its own synchronised call: its worker can never finish");
  s->cv.wait(lock, [&] { return s->finished; });
  lock.unlock();
  thread_.join();
}

void TThread::Start() {
  SyncQueue::Instance().EnsureListening();
  std::shared_ptr<Shared> s = shared_;
  {
    std::lock_guard<std::mutex> guard(s->m);
    s->paused = false;
    if (!s->started) {
      s->started = true;
      // Under the lock: the worker takes it before it may detach thread_.
      thread_ = std::thread(&TThread::Run, this, s);
    }
  }
  s->cv.notify_all();
}

void TThread::Resume() {
  Start();
}

void TThread::Suspend() {
  std::shared_ptr<Shared> s = shared_;
  {
    std::lock_guard<std::mutex> guard(s->m);
    if (s->paused) return;
    s->paused = true;
  }
  s->cv.notify_all();
}

bool TThread::Suspended() const {
  std::lock_guard<std::mutex> guard(shared_->m);
  return !shared_->started || shared_->paused;
}

bool TThread::Started() const {
  std::lock_guard<std::mutex> guard(shared_->m);
  return shared_->started;
}

bool TThread::Finished() const {
  std::lock_guard<std::mutex> guard(shared_->m);
  return shared_->finished;
}

void TThread::Terminate() {
  // A self-freeing thread may be gone as soon as the lock is released: keep
  // the shared state alive through a local reference.
  std::shared_ptr<Shared> s = shared_;
  {
    std::lock_guard<std::mutex> guard(s->m);
    s->terminated = true;
  }
  s->cv.notify_all();
}

bool TThread::Terminated() const {
  std::lock_guard<std::mutex> guard(shared_->m);
  return shared_->terminated;
}

int TThread::WaitFor() {
  std::shared_ptr<Shared> s = shared_;
  if (FreeOnTerminate()) throw EThread(QStringLiteral("Cannot wait for a thread that frees itself"));
  if (std::this_thread::get_id() == thread_.get_id())
    throw EThread(QStringLiteral("A thread cannot wait for itself"));
  const bool gui = IsGuiThread();
  std::unique_lock<std::mutex> lock(s->m);
  if (!s->started) throw EThread(QStringLiteral("Cannot wait for a thread that was never started"));
  if (gui && s->sync == Shared::Sync::Running)
    throw EThread(QStringLiteral("Cannot wait for a thread inside its own synchronised call"));
  while (!s->finished) {
    if (gui) {
      // The worker may be waiting for the GUI thread: serve it.
      lock.unlock();
      RunHandOver(s);
      CheckSynchronize();
      lock.lock();
    }
    s->cv.wait_for(lock, std::chrono::milliseconds(50),
                   [&] { return s->finished || (gui && s->sync == Shared::Sync::Pending); });
  }
  return returnValue_.load();
}

bool TThread::FreeOnTerminate() const {
  return shared_->freeOnTerminate.load();
}

void TThread::SetFreeOnTerminate(bool value) {
  shared_->freeOnTerminate.store(value);
}

void TThread::SetPriority(TThreadPriority value) {
  if (priority_.exchange(value) == value) return;
  ApplyPriority();
}

void TThread::ApplyPriority() {
  const int tid = shared_->tid.load();
  if (tid == 0) return;  // applied by the worker when it starts
  // Per-thread nice value; refused raises are ignored (see TThreadPriority).
  (void)::setpriority(PRIO_PROCESS, id_t(tid), ThreadPriorityToNice(priority_.load()));
}

std::exception_ptr TThread::FatalException() const {
  std::lock_guard<std::mutex> guard(shared_->m);
  return shared_->fatal;
}

bool TThread::Synchronizing() const {
  std::lock_guard<std::mutex> guard(shared_->m);
  return shared_->sync == Shared::Sync::Pending || shared_->sync == Shared::Sync::Running;
}

int TThread::ThreadID() const {
  return shared_->tid.load();
}

int TThread::RunningCount() {
  return gRunning.load();
}

bool TThread::IsGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app) return QThread::currentThread() == app->thread();
  return SyncQueue::Instance().OnGuiThread();
}

int TThread::CheckSynchronize() {
  if (!IsGuiThread()) return 0;
  int ran = 0;
  while (std::shared_ptr<Shared> next = SyncQueue::Instance().Pop())
    if (RunHandOver(next)) ++ran;
  return ran;
}

bool TThread::Synchronize(const std::function<void()>& method) {
  std::shared_ptr<Shared> s = shared_;
  const SyncQueue::Route route = SyncQueue::Instance().RouteFor();
  if (route == SyncQueue::Route::Direct) {
    method();
    return true;
  }
  {
    std::lock_guard<std::mutex> guard(s->m);
    if (s->terminated) return false;
    s->syncFn = method;
    s->syncError = nullptr;
    s->sync = Shared::Sync::Pending;
  }
  s->cv.notify_all();  // a GUI thread inside WaitFor serves it directly
  if (route == SyncQueue::Route::Queued) SyncQueue::Instance().Push(s);
  std::unique_lock<std::mutex> lock(s->m);
  // A call the GUI thread has started always runs to its end; one still
  // waiting is dropped when the thread is asked to terminate.
  s->cv.wait(lock, [&] {
    return s->sync == Shared::Sync::Done || (s->terminated && s->sync == Shared::Sync::Pending);
  });
  const bool ran = s->sync == Shared::Sync::Done;
  s->sync = Shared::Sync::Idle;
  s->syncFn = nullptr;
  std::exception_ptr error = std::exchange(s->syncError, nullptr);
  lock.unlock();
  if (error) std::rethrow_exception(error);
  return ran;
}

bool TThread::WaitWhileSuspended() {
  std::unique_lock<std::mutex> lock(shared_->m);
  shared_->cv.wait(lock, [&] { return shared_->terminated || !shared_->paused; });
  return !shared_->terminated;
}

bool TThread::Sleep(uint32_t ms) {
  std::unique_lock<std::mutex> lock(shared_->m);
  const uint64_t seq = shared_->wakeSeq;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  const bool woken = shared_->cv.wait_until(
      lock, deadline, [&] { return shared_->terminated || shared_->paused || shared_->wakeSeq != seq; });
  return !woken;
}

void TThread::Wake() {
  {
    std::lock_guard<std::mutex> guard(shared_->m);
    ++shared_->wakeSeq;
  }
  shared_->cv.notify_all();
}

void TThread::Run(TThread* self, std::shared_ptr<Shared> s) {
  gRunning.fetch_add(1);
  s->tid.store(int(::syscall(SYS_gettid)));
  {
    // Start() assigns thread_ under this lock; wait until it has.
    std::lock_guard<std::mutex> guard(s->m);
  }
  self->ApplyPriority();
  try {
    bool terminated;
    {
      std::lock_guard<std::mutex> guard(s->m);
      terminated = s->terminated;
    }
    if (!terminated) self->Execute();
  } catch (...) {
    std::lock_guard<std::mutex> guard(s->m);
    s->fatal = std::current_exception();
  }
  bool freeSelf;
  {
    std::lock_guard<std::mutex> guard(s->m);
    s->finished = true;
    freeSelf = s->freeOnTerminate.load();
  }
  s->cv.notify_all();
  if (freeSelf) {
    self->thread_.detach();
    delete self;
  }
  gRunning.fetch_sub(1);
}
