#pragma once
// TKvValueFeed: hands values from any thread to an analog instrument, which
// lives on the GUI thread.
//
// Producers hold a TKvValuePort (a shared handle) and call Post(v) as often
// as they like: it stores v as the latest value and, when no delivery is
// pending, posts one event to the feed. The feed, on the GUI thread, applies
// only the latest value, and at most once per frame (kFrameMs): a value that
// arrives sooner after the last apply waits for the frame's end, and every
// value posted meanwhile replaces it. So a producer posting 100 000 values a
// second costs the GUI at most 60 applies and repaints a second, and the
// instrument always ends on the last value posted.
//
// Nothing a producer calls touches a widget or the instrument: Post works on
// atomics and posts an event under the port's lock. The feed is a child of
// the instrument (freed with it); on destruction it detaches the port under
// that lock, so a producer that still posts afterwards only gets false back.
//
// Counters (GUI thread): Applied() values set on the instrument, Posted()
// values handed in (any thread).

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class TKvAnalogGControl;
class TKvValueFeed;

// The producers' side. Copies of the shared pointer may live in any thread
// for as long as they like.
class TKvValuePort {
 public:
  // Stores `value` as the latest one and schedules its delivery. False once
  // the instrument is gone (the value is dropped then). A NaN is passed on
  // and ignored by the instrument like any NaN it is given.
  bool Post(float value);
  // Values handed to Post so far.
  int64_t Posted() const { return posted_.load(std::memory_order_relaxed); }
  bool Attached() const;

 private:
  friend class TKvValueFeed;
  // Takes the latest value and clears the pending mark (GUI thread).
  float Take();
  void Detach();

  mutable std::mutex mutex_;
  TKvValueFeed* feed_ = nullptr;  // cleared by the feed's destructor
  std::atomic<float> latest_{0};
  std::atomic<bool> pending_{false};
  std::atomic<int64_t> posted_{0};
};

class TKvValueFeed : public QObject {
  Q_OBJECT
 public:
  // Shortest time between two applies, one frame at 60 Hz.
  static constexpr int kFrameMs = 16;

  // Made on the GUI thread for `target`; the feed becomes its child.
  explicit TKvValueFeed(TKvAnalogGControl* target);
  ~TKvValueFeed() override;

  // The handle producers post through.
  std::shared_ptr<TKvValuePort> Port() const { return port_; }

  int64_t Applied() const { return applied_; }

 protected:
  bool event(QEvent* e) override;

 private:
  friend class TKvValuePort;
  // Applies now, or arms the frame timer when the last apply is too recent.
  void Deliver();
  void Apply();

  TKvAnalogGControl* target_;
  std::shared_ptr<TKvValuePort> port_;
  QTimer frame_;
  QElapsedTimer sinceApply_;
  int64_t applied_ = 0;
};
