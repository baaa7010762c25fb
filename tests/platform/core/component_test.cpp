#include <gtest/gtest.h>

#include "platform/core/class_registry.h"
#include "platform/core/component.h"

namespace {

// Records what a component is told.
class Watcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<std::pair<TComponent*, TOperation>> seen;
  TComponent* partner = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    seen.emplace_back(c, op);
    if (op == opRemove && c == partner) partner = nullptr;
  }
};

class Counted : public TComponent {
 public:
  static int alive;
  explicit Counted(TComponent* owner) : TComponent(owner) { ++alive; }
  ~Counted() override { --alive; }
};
int Counted::alive = 0;

TEST(ComponentOwnership, OwnerFreesWhatItOwnsLastCreatedFirst) {
  auto* owner = new TComponent(nullptr);
  auto* a = new Counted(owner);
  new Counted(a);
  new Counted(owner);
  EXPECT_EQ(Counted::alive, 3);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(a->ComponentIndex(), 0);
  delete owner;
  EXPECT_EQ(Counted::alive, 0);
}

TEST(ComponentOwnership, FreeingAnOwnedComponentRemovesItFromItsOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("First");
  EXPECT_EQ(owner.FindComponent("FIRST"), a);
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(owner.FindComponent("First"), nullptr);
}

TEST(ComponentNames, DuplicateAndInvalidNamesAreRefused) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Edit1");
  EXPECT_THROW(b->SetName("edit1"), EComponentError);
  EXPECT_THROW(b->SetName("1Edit"), EComponentError);
  b->SetName("Edit2");
  EXPECT_EQ(b->Name(), "Edit2");
}

TEST(ComponentNotification, FreeNotificationClearsTheReference) {
  Watcher w(nullptr);
  auto* other = new TComponent(nullptr);
  w.partner = other;
  other->FreeNotification(&w);
  delete other;
  EXPECT_EQ(w.partner, nullptr);
  ASSERT_EQ(w.seen.size(), 1u);
  EXPECT_EQ(w.seen[0].second, opRemove);
}

TEST(ComponentNotification, DroppingOneDirectionKeepsTheOther) {
  // Two components referring to each other; one of them drops its reference.
  Watcher b(nullptr);
  auto* a = new Watcher(nullptr);
  a->partner = &b;
  b.partner = a;
  b.FreeNotification(a);  // a hears when b goes
  a->FreeNotification(&b);  // b hears when a goes
  a->partner = nullptr;
  b.RemoveFreeNotification(a);
  // b still asked to hear about a, so freeing a must clear b's reference.
  delete a;
  EXPECT_EQ(b.partner, nullptr);
  ASSERT_EQ(b.seen.size(), 1u);
  EXPECT_EQ(b.seen[0].second, opRemove);
}

TEST(ComponentNotification, SiblingsHearOfInsertAndRemove) {
  TComponent owner(nullptr);
  auto* w = new Watcher(&owner);
  auto* c = new TComponent(&owner);
  delete c;
  ASSERT_EQ(w->seen.size(), 2u);
  EXPECT_EQ(w->seen[0], std::make_pair(c, opInsert));
  EXPECT_EQ(w->seen[1], std::make_pair(c, opRemove));
}

TEST(ComponentState, DesigningSpreadsAndLoadedEndsLoading) {
  TComponent owner(nullptr);
  auto* c = new TComponent(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(c->ComponentState() & csDesigning);
  auto* later = new TComponent(&owner);
  EXPECT_TRUE(later->ComponentState() & csDesigning);
  c->SetComponentStateFlag(csLoading, true);
  c->Loaded();
  EXPECT_FALSE(c->ComponentState() & csLoading);
}

TEST(Persistent, AssignBetweenUnrelatedClassesNamesBothClasses) {
  TComponent a(nullptr), b(nullptr);
  try {
    b.Assign(&a);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TComponent");
  }
  try {
    b.Assign(nullptr);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TComponent");
  }
}

TEST(Persistent, CheckedCastRaisesInvalidClassTypecast) {
  TComponent c(nullptr);
  EXPECT_EQ(CheckedCast<TComponent>(nullptr), nullptr);
  EXPECT_EQ(CheckedCast<TComponent>(&c), &c);
  QObject plain;
  try {
    CheckedCast<TComponent>(&plain);
    FAIL();
  } catch (const EInvalidCast& e) {
    EXPECT_EQ(e.Message(), "Invalid class typecast");
  }
}

TEST(ClassRegistry, FindsRegisteredClassesIgnoringCase) {
  RegisterComponentClass<TComponent>();
  const TRegisteredClass* cls = FindClass("tcomponent");
  ASSERT_NE(cls, nullptr);
  TComponent owner(nullptr);
  TComponent* made = cls->create(&owner);
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_THROW(GetClass("TNoSuchThing"), EFilerError);
}

}  // namespace
