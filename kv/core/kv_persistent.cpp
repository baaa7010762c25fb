#include "kv/core/kv_persistent.h"

namespace {

// The listener may replace or clear the event while it runs (a control
// unsubscribing from inside its handler); calling a copy keeps the running
// callable alive until it returns.
void Notify(const TNotifyEvent& event, TObject* sender) {
  if (!event) return;
  const TNotifyEvent running = event;
  running(sender);
}

}  // namespace

void TKvPersistent::Change() {
  Notify(onChange_, this);
}

void TKvPersistent::ChangeObject(TObject* Sender) {
  Notify(onChange_, Sender);
}
