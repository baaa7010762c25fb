#include "platform/core/component.h"

#include <algorithm>

namespace {
void EraseValue(std::vector<TComponent*>& list, TComponent* value) {
  list.erase(std::remove(list.begin(), list.end(), value), list.end());
}
}  // namespace

bool IsValidIdent(const QString& name) {
  if (name.isEmpty()) return false;
  auto alpha = [](QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](QChar c) { return alpha(c) || (c >= u'0' && c <= u'9'); });
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Stop being told about others, then tell those interested that this
  // component goes away.
  for (TComponent* watched : watching_) EraseValue(watched->freeNotifies_, this);
  watching_.clear();
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    EraseValue(other->watching_, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

TComponent* TComponent::FindComponent(const QString& name) const {
  if (name.isEmpty()) return nullptr;
  for (TComponent* c : components_)
    if (c->name_.compare(name, Qt::CaseInsensitive) == 0) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (!component->name_.isEmpty() && FindComponent(component->name_))
    throw EComponentError(
        Exception::Fmt("A component named %s already exists", component->name_));
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  // What a designer owns is designed too.
  if (state_ & csDesigning) component->SetDesigning(true);
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    Remove(last);
    delete last;
  }
}

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::SetName(const QString& value) {
  if (value == name_) return;
  if (!value.isEmpty() && !IsValidIdent(value))
    throw EComponentError(Exception::Fmt("'%s' is not a valid component name", value));
  if (owner_ && !value.isEmpty()) {
    TComponent* same = owner_->FindComponent(value);
    if (same && same != this)
      throw EComponentError(Exception::Fmt("A component named %s already exists", value));
  }
  name_ = value;
  setObjectName(value);
}

void TComponent::SetComponentStateFlag(TComponentStateFlag flag, bool on) {
  state_.setFlag(flag, on);
}

void TComponent::SetDesigning(bool value) {
  state_.setFlag(csDesigning, value);
  for (TComponent* c : components_) c->SetDesigning(value);
}

void TComponent::Loaded() { state_.setFlag(csLoading, false); }

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  auto& back = component->watching_;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  EraseValue(freeNotifies_, component);
  EraseValue(component->watching_, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  // Free-notification links are dropped by the destructor of either side, not
  // here: a component merely removed from its owner still lives.
  // Copy: a handler may free or insert components while we walk the list.
  const std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (c != AComponent && std::find(components_.begin(), components_.end(), c) != components_.end())
      c->Notification(AComponent, Operation);
}
