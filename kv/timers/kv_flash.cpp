#include "kv/timers/kv_flash.h"

#include <utility>

#include "platform/controls/application.h"
#include "platform/controls/safe_call.h"

TTimerThread::TTimerThread(TKvFlash* AOwner, bool ARun) : TKvThread(true), owner_(AOwner) {
  SetFreeOnTerminate(true);
  if (ARun) Start();
}

void TTimerThread::SetInterval(uint32_t value) {
  if (interval_.exchange(value) != value) Wake();
}

void TTimerThread::Execute() {
  // Only a terminate request ends the loop: the component touches this object
  // up to the moment it asks for termination, so the worker must not free it
  // on any earlier sign (such as its owner link being cut just before).
  while (WaitWhileSuspended()) {
    const uint32_t ms = interval_.load();
    if (ms == 0) {
      // Never spin: a zero interval means "stopped" until the owner says otherwise.
      Suspend();
      continue;
    }
    // Cut short by a pause, a new interval or Terminate: decide afresh.
    if (!Sleep(ms)) continue;
    if (!owner_.load()) continue;  // being detached; the terminate request follows
    try {
      Synchronize([this] { Tick(); });
    } catch (...) {
      // Tick reports its errors on the GUI thread; nothing may end the worker
      // while its owner still counts on it.
    }
  }
}

void TTimerThread::Tick() {
  TKvFlash* owner = owner_.load();
  if (!owner) return;
  if (Application && Application->Terminated()) {
    // The application is closing: end the worker like a terminate request,
    // and let the owner forget it first (the thread frees itself).
    owner->thread_ = nullptr;
    owner_.store(nullptr);
    Terminate();
    return;
  }
  // The owner may free itself inside Timer; nothing here touches it afterwards.
  SafeCall([owner] { owner->Timer(); });
}

TKvFlash::TKvFlash(TComponent* AOwner) : TComponent(AOwner), thread_(new TTimerThread(this, false)) {}

TKvFlash::~TKvFlash() {
  Destroying();
  // A tick already handed over now finds nothing to do.
  enabled_ = false;
  onTimer_.reset();
  if (TTimerThread* thread = std::exchange(thread_, nullptr)) {
    if (!thread->Started()) {
      delete thread;  // never ran: nothing to wait for
      return;
    }
    thread->DetachOwner();
    // Last touch: from here on the worker ends at once and frees itself.
    thread->Terminate();
  }
}

void TKvFlash::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TKvFlash::SetThreadPriority(TThreadPriority value) {
  if (value == threadPriority_) return;
  threadPriority_ = value;
  UpdateTimer();
}

void TKvFlash::SetInterval(uint32_t value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

const TNotifyEvent& TKvFlash::OnTimer() const {
  static const TNotifyEvent none;
  return onTimer_ ? *onTimer_ : none;
}

void TKvFlash::SetOnTimer(TNotifyEvent value) {
  const bool wasAssigned = onTimer_ && onTimer_->Assigned();
  const bool assigned = value.Assigned();
  if (assigned)
    onTimer_ = std::make_shared<const TNotifyEvent>(std::move(value));
  else
    onTimer_.reset();
  if (assigned != wasAssigned) UpdateTimer();
}

void TKvFlash::UpdateTimer() {
  if (!thread_) return;
  const bool run =
      interval_ != 0 && enabled_ && onTimer_ && onTimer_->Assigned() && !(ComponentState() & csDestroying);
  if (!run) {
    // The worker parks at its next pause point; a tick it has already handed
    // over finds the component disabled.
    thread_->Suspend();
    thread_->SetInterval(interval_);
    return;
  }
  // No pause in between when the timer keeps running: a running sleep goes on
  // (so no tick is lost), unless the interval changed, which restarts it.
  thread_->SetInterval(interval_);
  thread_->SetPriority(threadPriority_);
  thread_->Resume();
}

void TKvFlash::Timer() {
  if (!enabled_ || (ComponentState() & csDestroying)) return;
  // Hold the handler: it may replace itself or free this component.
  const std::shared_ptr<const TNotifyEvent> handler = onTimer_;
  if (handler && handler->Assigned()) (*handler)(this);
}
