#pragma once
// TPersistent: the base of every object with published properties. Copying
// between objects goes Dest.Assign(Source) -> Source.AssignTo(Dest); a pair of
// classes that cannot copy raises "Cannot assign a X to a Y".

#include <QObject>
#include <QString>

#include "platform/core/exceptions.h"
#include "platform/core/types.h"

class TPersistent : public QObject {
  Q_OBJECT
 public:
  explicit TPersistent(QObject* parent = nullptr) : QObject(parent) {}
  ~TPersistent() override = default;

  // Copies Source into this object. The base asks the source to do it.
  virtual void Assign(TPersistent* Source);
  // Copies this object into Dest; the base knows no way and raises the
  // assignment error. Descendants override it for the classes they support.
  virtual void AssignTo(TPersistent* Dest);

  // The class name as the framework reports it ("TKvGradSettings").
  QString ClassName() const { return QString::fromLatin1(metaObject()->className()); }
  // The object that owns this one for streaming purposes (a control for its
  // settings objects); null by default.
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  [[noreturn]] void AssignError(TPersistent* Source);
};

// Checked conversion of an object reference: null stays null, an object of
// another class raises EInvalidCast ("Invalid class typecast").
template <typename T>
T* CheckedCast(QObject* object) {
  if (!object) return nullptr;
  if (T* t = qobject_cast<T*>(object)) return t;
  throw EInvalidCast(QString::fromLatin1(SInvalidCast));
}
