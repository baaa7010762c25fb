#pragma once
// TGraphicsObject: the base of pens, brushes and fonts. A change of any
// property fires OnChange with the object as sender; the owner (a canvas, a
// settings object) listens there.

#include "platform/core/events.h"
#include "platform/core/persistent.h"

class TGraphicsObject : public TPersistent {
  Q_OBJECT
 public:
  explicit TGraphicsObject(QObject* parent = nullptr) : TPersistent(parent) {}
  ~TGraphicsObject() override = default;

  const TNotifyEvent& OnChange() const { return on_change_; }
  void SetOnChange(TNotifyEvent value) { on_change_ = std::move(value); }
  // Counts the changes so far; users that cache something derived from the
  // object (a canvas caching a Qt font) compare it instead of listening.
  quint64 ChangeCount() const { return change_count_; }

 protected:
  // Fires OnChange with this object as sender.
  virtual void Changed();

 private:
  TNotifyEvent on_change_;
  quint64 change_count_ = 0;
};
