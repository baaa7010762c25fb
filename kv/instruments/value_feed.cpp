#include "kv/instruments/value_feed.h"

#include <QCoreApplication>
#include <QEvent>

#include "kv/controls/kv_analog_g_control.h"

namespace {

// The one event type a port posts: "a value is waiting".
QEvent::Type DeliveryEvent() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace

bool TKvValuePort::Post(float value) {
  posted_.fetch_add(1, std::memory_order_relaxed);
  latest_.store(value, std::memory_order_release);
  if (pending_.exchange(true, std::memory_order_acq_rel)) return Attached();
  // First value since the last delivery: wake the feed. The lock keeps the
  // feed from being destroyed while the event is being posted; its
  // destructor removes events still queued for it.
  std::lock_guard lock(mutex_);
  if (!feed_) return false;
  QCoreApplication::postEvent(feed_, new QEvent(DeliveryEvent()));
  return true;
}

bool TKvValuePort::Attached() const {
  std::lock_guard lock(mutex_);
  return feed_ != nullptr;
}

float TKvValuePort::Take() {
  // Clear the mark first: a value posted after this posts a new event, so
  // none is ever left behind.
  pending_.store(false, std::memory_order_release);
  return latest_.load(std::memory_order_acquire);
}

void TKvValuePort::Detach() {
  std::lock_guard lock(mutex_);
  feed_ = nullptr;
}

TKvValueFeed::TKvValueFeed(TKvAnalogGControl* target)
    : QObject(target), target_(target), port_(std::make_shared<TKvValuePort>()) {
  port_->feed_ = this;
  frame_.setSingleShot(true);
  frame_.setTimerType(Qt::PreciseTimer);
  connect(&frame_, &QTimer::timeout, this, [this] { Apply(); });
}

TKvValueFeed::~TKvValueFeed() {
  port_->Detach();
}

bool TKvValueFeed::event(QEvent* e) {
  {
    // A delivery event was made and posted by a producer under the port's
    // lock. Qt's own queue orders that before this delivery, but through
    // locks of its own that thread checkers do not see; taking the port's
    // lock here states the order in terms they do (and costs nothing: the
    // producer that posted is past its unlock or about to be).
    std::lock_guard lock(port_->mutex_);
  }
  if (e->type() != DeliveryEvent()) return QObject::event(e);
  Deliver();
  return true;
}

void TKvValueFeed::Deliver() {
  if (frame_.isActive()) return;  // the frame's end applies the latest value
  const qint64 since = sinceApply_.isValid() ? sinceApply_.elapsed() : kFrameMs;
  if (since >= kFrameMs)
    Apply();
  else
    frame_.start(int(kFrameMs - since));
}

void TKvValueFeed::Apply() {
  sinceApply_.start();
  target_->SetValue(port_->Take());
  ++applied_;
}
