#pragma once
// The class registry: component classes by name, so that a form description
// can create "object Button1: TButton". Lookup ignores case.

#include <QMetaObject>
#include <QString>
#include <functional>

class TComponent;

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct TRegisteredClass {
  const QMetaObject* meta = nullptr;
  TComponentFactory create;
};

// Registers a class under its meta-object class name. Registering the same
// name again replaces the entry.
void RegisterClass(const QMetaObject* meta, TComponentFactory factory);
// The class registered under `name`, or null.
const TRegisteredClass* FindClass(const QString& name);
// As FindClass, but raises EFilerError "Class %s not found" for an unknown name.
const TRegisteredClass& GetClass(const QString& name);

template <typename T>
void RegisterComponentClass() {
  RegisterClass(&T::staticMetaObject, [](TComponent* owner) -> TComponent* { return new T(owner); });
}
