#include <gtest/gtest.h>

#include <QMetaProperty>
#include <memory>
#include <vector>

#include "kv/core/kv_custom_control.h"
#include "kv/core/kv_graphic_control.h"
#include "kv/core/kv_persistent.h"
#include "platform/controls/win_control.h"

namespace {

// Records every ParamChange with its sender.
class TProbeGraphic : public TKvGraphicControl {
 public:
  using TKvGraphicControl::TKvGraphicControl;
  std::vector<TObject*> senders;
  void ParamChange(TObject* Sender) override {
    senders.push_back(Sender);
    TKvGraphicControl::ParamChange(Sender);
  }
};

// Records ParamChange calls and repaint requests.
class TProbeCustom : public TKvCustomControl {
 public:
  using TKvCustomControl::TKvCustomControl;
  std::vector<TObject*> senders;
  int invalidations = 0;
  void ParamChange(TObject* Sender) override { senders.push_back(Sender); }
  void Invalidate() override {
    ++invalidations;
    TKvCustomControl::Invalidate();
  }
};

TEST(KvGraphicControl, ParentIsTheOwnerWhenItIsAWindowedControl) {
  auto form = std::make_unique<TWinControl>(nullptr);
  auto* control = new TProbeGraphic(form.get());  // owned by the form
  EXPECT_EQ(control->Owner(), form.get());
  EXPECT_EQ(control->Parent(), form.get());
  EXPECT_EQ(control->UpdateCount(), 0);
  EXPECT_EQ(control->KvInfo(), LoadKavelInfo());
}

TEST(KvGraphicControl, NullOwnerGivesNoParent) {
  TProbeGraphic control(nullptr);
  EXPECT_EQ(control.Parent(), nullptr);
  EXPECT_FALSE(control.Showing());
}

TEST(KvGraphicControl, AnOwnerThatIsNoWindowedControlIsAnInvalidCast) {
  TComponent owner(nullptr);
  try {
    new TProbeGraphic(&owner);
    FAIL() << "no exception";
  } catch (const EInvalidCast& e) {
    EXPECT_EQ(e.Message(), "Invalid class typecast");
  }
  // The half-built control left the owner's list again.
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(KvGraphicControl, KvInfoIsPublishedButNeverStored) {
  TProbeGraphic control(nullptr);
  const QMetaObject* mo = control.metaObject();
  const QMetaProperty info = mo->property(mo->indexOfProperty("KvInfo"));
  ASSERT_TRUE(info.isValid());
  EXPECT_FALSE(info.isStored());
  EXPECT_EQ(info.read(&control).value<TKvInfo*>(), LoadKavelInfo());
  for (const char* name : {"OnContextPopup", "PopupMenu"}) EXPECT_GE(mo->indexOfProperty(name), 0) << name;
}

TEST(KvGraphicControl, ChangeOutsideABracketReachesParamChangeWithTheControlAsSender) {
  TProbeGraphic control(nullptr);
  control.Change();
  EXPECT_EQ(control.senders, (std::vector<TObject*>{&control}));
}

TEST(KvGraphicControl, NestedBracketsCloseOnceWithOneParamChange) {
  TProbeGraphic control(nullptr);
  control.BeginUpdate();
  control.BeginUpdate();
  control.Change();  // dropped, not queued
  control.Change();
  control.EndUpdate();
  EXPECT_EQ(control.UpdateCount(), 1);
  EXPECT_TRUE(control.senders.empty());
  control.EndUpdate();
  EXPECT_EQ(control.UpdateCount(), 0);
  EXPECT_EQ(control.senders, (std::vector<TObject*>{&control}));
}

TEST(KvGraphicControl, AnUnmatchedEndUpdateStillClosesAndStaysAtZero) {
  TProbeGraphic control(nullptr);
  control.EndUpdate();
  EXPECT_EQ(control.UpdateCount(), 0);
  EXPECT_EQ(control.senders.size(), 1u);
  control.EndUpdate();
  control.BeginUpdate();
  EXPECT_EQ(control.UpdateCount(), 1);  // not 0 after earlier underflow
  control.Change();
  EXPECT_EQ(control.senders.size(), 2u);
}

TEST(KvGraphicControl, SettingsChangesReachParamChangeEvenInsideAnOpenBracket) {
  TProbeGraphic control(nullptr);
  TKvPersistent settings;
  settings.SetOnChange(TNotifyEvent(&control, &TKvGraphicControl::ParamChange));
  control.BeginUpdate();
  settings.Change();
  EXPECT_EQ(control.senders, (std::vector<TObject*>{&settings}));
  control.EndUpdate();
  EXPECT_EQ(control.senders, (std::vector<TObject*>{&settings, &control}));
}

TEST(KvGraphicControl, MouseDownRaisesTheFrameworkEvent) {
  TProbeGraphic control(nullptr);
  int calls = 0;
  control.SetOnMouseDown([&](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    ++calls;
    EXPECT_EQ(sender, &control);
    EXPECT_EQ(button, mbRight);
    EXPECT_EQ(shift, TShiftState(ssShift));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
  });
  control.MouseDown(mbRight, ssShift, 3, 4);
  EXPECT_EQ(calls, 1);
}

TEST(KvCustomControl, TakesNoParentFromItsOwner) {
  auto form = std::make_unique<TWinControl>(nullptr);
  auto* control = new TProbeCustom(form.get());
  EXPECT_EQ(control->Owner(), form.get());
  EXPECT_EQ(control->Parent(), nullptr);
  EXPECT_EQ(control->KvInfo(), LoadKavelInfo());
  const QMetaObject* mo = control->metaObject();
  EXPECT_FALSE(mo->property(mo->indexOfProperty("KvInfo")).isStored());
  EXPECT_GE(mo->indexOfProperty("ShowHint"), 0);
}

TEST(KvCustomControl, ClosingTheLastBracketOnlyRepaints) {
  TProbeCustom control(nullptr);
  control.BeginUpdate();
  control.BeginUpdate();
  control.Change();
  control.EndUpdate();
  EXPECT_EQ(control.invalidations, 0);
  control.EndUpdate();
  EXPECT_EQ(control.invalidations, 1);
  EXPECT_TRUE(control.senders.empty());
  control.EndUpdate();  // unmatched: closes again
  EXPECT_EQ(control.invalidations, 2);
  EXPECT_EQ(control.UpdateCount(), 0);
  control.Change();
  EXPECT_EQ(control.senders, (std::vector<TObject*>{&control}));
}

TEST(KvCustomControl, SettingsChangesReachParamChangeEvenInsideAnOpenBracket) {
  TProbeCustom control(nullptr);
  TKvPersistent settings;
  settings.SetOnChange(TNotifyEvent(&control, &TKvCustomControl::ParamChange));
  control.BeginUpdate();
  settings.Change();
  control.Change();
  EXPECT_EQ(control.senders, (std::vector<TObject*>{&settings}));
}

}  // namespace
