#pragma once
// TComponent: a named object with an owner. The owner frees what it owns;
// components can ask to be told when another one goes away (FreeNotification).
// The visual parent of a control is a separate relation (see TControl).

#include <QFlags>
#include <QString>
#include <vector>

#include "platform/core/persistent.h"

enum TComponentStateFlag {
  csLoading = 0x01,     // properties are being read from a form description
  csReading = 0x02,
  csWriting = 0x04,
  csDestroying = 0x08,  // the destructor has started
  csDesigning = 0x10,   // placed in a form designer rather than run
};
Q_DECLARE_FLAGS(TComponentState, TComponentStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComponentState)

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)
  // Declared defaults: the form writer omits a property whose value equals
  // the text given here (written as in a form description).
  Q_CLASSINFO("default:Tag", "0")
 public:
  Q_INVOKABLE explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int index) const { return components_.at(size_t(index)); }
  // Position in the owner's list, -1 without owner.
  int ComponentIndex() const;
  // Owned component by name, case-insensitive; null if none.
  TComponent* FindComponent(const QString& name) const;

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last created first.
  void DestroyComponents();
  // Marks this component and everything it owns as being destroyed. The most
  // derived destructor that still needs its own state should call it first.
  void Destroying();

  const QString& Name() const { return name_; }
  virtual void SetName(const QString& value);
  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }

  TComponentState ComponentState() const { return state_; }
  // Switches a state flag; csDesigning also applies to owned components.
  void SetComponentStateFlag(TComponentStateFlag flag, bool on);
  void SetDesigning(bool value);

  // Called once after all stored properties of the form were read.
  virtual void Loaded();

  // `component` receives Notification(this, opRemove) when this component is
  // freed: `Buddy->FreeNotification(this)` lets a control clear its Buddy.
  void FreeNotification(TComponent* component);
  // Withdraws such a request of `component`.
  void RemoveFreeNotification(TComponent* component);
  // Told when a component is inserted into or removed from this one's owner
  // tree, or freed after FreeNotification. The base passes it on to every
  // owned component.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

  // Streaming hooks: a control has a visual parent that form descriptions
  // set from the enclosing block.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* /*value*/) {}

  TPersistent* GetOwner() const override { return owner_; }

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  // Components to tell when this one is freed, and the components that will
  // tell this one. The two directions are kept apart so that one side
  // dropping its interest leaves the other side's request in place.
  std::vector<TComponent*> freeNotifies_;
  std::vector<TComponent*> watching_;
  QString name_;
  int tag_ = 0;
  TComponentState state_;
};

// Whether `name` is a valid component name (a letter or "_" followed by
// letters, digits or "_").
bool IsValidIdent(const QString& name);
