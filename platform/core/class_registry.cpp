#include "platform/core/class_registry.h"

#include <map>
#include <mutex>

#include "platform/core/exceptions.h"

namespace {
struct Registry {
  std::mutex lock;
  std::map<QString, TRegisteredClass> classes;  // key: lower-case name; nodes never move
};
Registry& registry() {
  static Registry r;
  return r;
}
}  // namespace

void RegisterClass(const QMetaObject* meta, TComponentFactory factory) {
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.classes.insert_or_assign(QString::fromLatin1(meta->className()).toLower(),
                             TRegisteredClass{meta, std::move(factory)});
}

const TRegisteredClass* FindClass(const QString& name) {
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.lock);
  auto it = r.classes.find(name.toLower());
  return it == r.classes.end() ? nullptr : &it->second;
}

const TRegisteredClass& GetClass(const QString& name) {
  if (const TRegisteredClass* c = FindClass(name)) return *c;
  throw EFilerError(Exception::Fmt("Class %s not found", name));
}
