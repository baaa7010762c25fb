#include "kv/core/kv_persistent.h"

#include <gtest/gtest.h>

#include <QVariant>
#include <memory>
#include <vector>

namespace {

// A settings object with one plain property and one nested settings object
// that reports through ChangeObject, as pens and fonts do.
class TSampleSettings : public TKvPersistent {
 public:
  TSampleSettings() : nested_(std::make_unique<TKvPersistent>()) {
    nested_->SetOnChange(ChangeObjectHandler());
  }
  int Level() const { return level_; }
  void SetLevel(int value) {
    if (value == level_) return;
    level_ = value;
    Change();
  }
  TKvPersistent* Nested() const { return nested_.get(); }

 private:
  int level_ = 0;
  std::unique_ptr<TKvPersistent> nested_;
};

struct Call {
  TObject* sender;
  int level;  // the object's value as the listener saw it
};

TEST(KvPersistent, WithoutListenerChangesStoreAndNotifyNobody) {
  TSampleSettings s;
  EXPECT_FALSE(s.OnChange().Assigned());
  s.SetLevel(4);
  EXPECT_EQ(s.Level(), 4);
  s.Change();
  s.ChangeObject(&s);
  s.Nested()->Change();
}

TEST(KvPersistent, ListenerRunsSynchronouslyWithTheObjectAsSender) {
  TSampleSettings s;
  std::vector<Call> calls;
  s.SetOnChange([&](TObject* sender) { calls.push_back({sender, s.Level()}); });
  s.SetLevel(7);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].sender, &s);
  EXPECT_EQ(calls[0].level, 7);  // stored before the listener runs
  s.SetLevel(7);                 // unchanged: no call
  EXPECT_EQ(calls.size(), 1u);
  s.SetLevel(8);
  s.SetLevel(9);
  EXPECT_EQ(calls.size(), 3u);  // nothing batched
}

TEST(KvPersistent, AListenerThatChangesTheObjectAgainIsCalledNested) {
  TSampleSettings s;
  std::vector<int> entered;
  std::vector<int> left;
  s.SetOnChange([&](TObject*) {
    const int seen = s.Level();
    entered.push_back(seen);
    if (seen < 3) s.SetLevel(seen + 1);
    left.push_back(seen);
  });
  s.SetLevel(1);
  EXPECT_EQ(entered, (std::vector<int>{1, 2, 3}));
  // The innermost call finishes first: each nested call returned before the
  // outer one did.
  EXPECT_EQ(left, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(s.Level(), 3);
}

TEST(KvPersistent, AListenerMayReplaceItselfWhileRunning) {
  TSampleSettings s;
  int first = 0;
  int second = 0;
  auto keepAlive = std::make_shared<int>(42);
  s.SetOnChange([&, keepAlive](TObject*) {
    s.SetOnChange([&](TObject*) { ++second; });
    // The running callable (and what it captured) is still alive here.
    first += *keepAlive;
  });
  keepAlive.reset();
  s.SetLevel(1);
  EXPECT_EQ(first, 42);
  EXPECT_EQ(second, 0);
  s.SetLevel(2);
  EXPECT_EQ(second, 1);
  s.SetOnChange([&](TObject*) { s.SetOnChange(nullptr); });
  s.SetLevel(3);
  EXPECT_FALSE(s.OnChange().Assigned());
}

TEST(KvPersistent, NestedChangesArriveWithTheNestedObjectAsSender) {
  TSampleSettings s;
  std::vector<TObject*> senders;
  s.SetOnChange([&](TObject* sender) { senders.push_back(sender); });
  s.Nested()->Change();
  s.ChangeObject(nullptr);
  TObject other;
  s.ChangeObject(&other);
  EXPECT_EQ(senders, (std::vector<TObject*>{s.Nested(), nullptr, &other}));
}

TEST(KvPersistent, OnChangeIsAPublishedEventProperty) {
  TSampleSettings s;
  const QMetaObject* mo = s.metaObject();
  const int index = mo->indexOfProperty("OnChange");
  ASSERT_GE(index, 0);
  EXPECT_EQ(mo->property(index).metaType(), QMetaType::fromType<TNotifyEvent>());
  EXPECT_NE(FindEventType(QMetaType::fromType<TNotifyEvent>()), nullptr);

  int heard = 0;
  TNotifyEvent listener([&](TObject*) { ++heard; });
  ASSERT_TRUE(s.setProperty("OnChange", QVariant::fromValue(listener)));
  s.SetLevel(5);
  EXPECT_EQ(heard, 1);
  EXPECT_TRUE(s.property("OnChange").value<TNotifyEvent>().Assigned());
}

}  // namespace
