#include "platform/core/events.h"

#include <mutex>
#include <unordered_map>

namespace {
struct EventTable {
  std::mutex lock;
  std::unordered_map<int, TEventTypeInfo> infos;  // node-based: entries never move
};
EventTable& table() {
  static EventTable t;
  return t;
}
struct RegisterBuiltIns {
  RegisterBuiltIns() { RegisterEventType<TNotifyEvent>(); }
};
}  // namespace

void RegisterEventTypeInfo(QMetaType type, const TEventTypeInfo& info) {
  EventTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  t.infos.insert_or_assign(type.id(), info);
}

const TEventTypeInfo* FindEventType(QMetaType type) {
  static RegisterBuiltIns builtIns;
  EventTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.infos.find(type.id());
  return it == t.infos.end() ? nullptr : &it->second;
}
