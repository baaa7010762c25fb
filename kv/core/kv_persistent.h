#pragma once
// TKvPersistent: the base of the library's settings objects. It tells one
// listener, normally the owning control, that something in the object
// changed. The protocol descendants follow:
//  - a setter ignores an unchanged value, otherwise stores it and calls
//    Change() once;
//  - Change() calls the listener synchronously, before the setter returns,
//    with this object as Sender; nothing is batched or suppressed here, and a
//    listener that changes the object again is called again, nested;
//  - nested pens and fonts get ChangeObject as their change handler, so their
//    changes reach the listener with the pen or font as Sender.

#include "platform/core/events.h"
#include "platform/core/persistent.h"

class TKvPersistent : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
 public:
  explicit TKvPersistent(QObject* parent = nullptr) : TPersistent(parent) {}
  ~TKvPersistent() override = default;

  // The single listener; empty by default. Setting it has no side effects.
  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }

  // Calls the listener with Sender = this object, if one is assigned.
  virtual void Change();
  // Calls the listener with the given Sender unchanged, if one is assigned.
  // Its signature equals the change event's, so it serves as the change
  // handler of owned pens and fonts.
  virtual void ChangeObject(TObject* Sender);

 protected:
  // The event that routes a nested object's changes through ChangeObject.
  TNotifyEvent ChangeObjectHandler() { return TNotifyEvent(this, &TKvPersistent::ChangeObject); }

 private:
  TNotifyEvent onChange_;
};
