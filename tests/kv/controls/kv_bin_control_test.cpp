// The two-state control base: status words, groups, the mouse modes and
// flashing through the shared flash timer.

#include "kv/controls/kv_bin_control.h"

#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"
#include "tests/kv/controls/flash_fixture.h"

namespace {

using kv::test::FlashDrivenTest;

// Flash messages that reached a probe, by probe id; kept past the probe's life.
std::vector<int> gFlashedIds;

// Logs its hooks and events in order.
class Lamp : public TKvBinGControl {
 public:
  Lamp(TComponent* owner, int bit = 0, TMode mode = mIndicator, int group = 0) : TKvBinGControl(owner) {
    static int nextId = 0;
    id = ++nextId;
    SetBounds(10 + 20 * bit, 10, 16, 16);
    SetStatusBit(bit);
    if (mode != mIndicator) SeTMode(mode);
    SetGroupIndex(group);
    SetOnStatusChange([this](TObject*) { log.push_back("OnStatusChange"); });
    SetOnStatusIntChange([this](TObject*) { log.push_back("OnStatusIntChange"); });
    SetOnMouseDown([this](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("OnMouseDown"); });
    SetOnMouseUp([this](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("OnMouseUp"); });
    log.clear();
  }
  int id = 0;
  std::vector<std::string> log;
  std::vector<bool> phases;
  std::vector<uint32_t> phaseTicks;
  std::function<void()> onFlash;  // runs last: it may free the lamp
  void StatusChanged() override { log.push_back("StatusChanged"); }
  void StatusIntChanged() override { log.push_back("StatusIntChanged"); }
  void GroupIndexChanged() override { log.push_back("GroupIndexChanged"); }
  void ParamChange(TObject*) override { log.push_back("ParamChange"); }
  void Flash(bool state) override {
    phases.push_back(state);
    phaseTicks.push_back(FlashTick);
    gFlashedIds.push_back(id);
    if (onFlash) {
      const std::function<void()> act = onFlash;
      act();
    }
  }
  int Count(const std::string& entry) const { return int(std::count(log.begin(), log.end(), entry)); }
};

class BinControl : public FlashDrivenTest {
 protected:
  QPoint Centre(const TControl* c) const { return QPoint(c->Left() + 8, c->Top() + 8); }
  void Click(const TControl* c, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseClick(form->Widget(), b, {}, Centre(c));
  }
};

TEST_F(BinControl, NewControlIsAnOffIndicatorOnItsOwnersSurface) {
  Lamp lamp(form.get());
  EXPECT_FALSE(lamp.Checked());
  EXPECT_EQ(lamp.Mode(), mIndicator);
  EXPECT_EQ(lamp.Frequency(), ff1Hz);
  EXPECT_FALSE(lamp.Flashing());
  EXPECT_EQ(lamp.StatusInt(), 0);
  EXPECT_EQ(lamp.FirstBit(), 32);
  EXPECT_EQ(lamp.Parent(), form.get());
  EXPECT_EQ(lamp.KvInfo(), LoadKavelInfo());
  EXPECT_FALSE(Listed(&lamp));
  TComponent plain;
  EXPECT_THROW(TKvBinGControl{&plain}, EInvalidCast);
  TKvBinGControl orphan(nullptr);
  EXPECT_EQ(orphan.Parent(), nullptr);
}

TEST_F(BinControl, StatusWordBitAndFirstBit) {
  struct Step {
    const char* what;
    int bit;           // StatusBit to set first (-1: leave)
    int32_t word;      // StatusInt to write
    bool checked;      // expected
    int32_t firstBit;  // expected
  };
  const Step steps[] = {
      {"own bit set", 2, 4, true, 2},
      {"cleared", -1, 0, false, 32},
      {"other bits only", -1, 0x30, false, 4},
      {"top bit", 31, int32_t(0x80000000u), true, 31},
      {"bit out of range is ignored", 32, int32_t(0x80000001u), true, 0},
      {"negative bit is ignored", -5, 1, false, 0},
  };
  Lamp lamp(form.get());
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.bit != -1) lamp.SetStatusBit(s.bit);
    lamp.SetStatusInt(s.word);
    EXPECT_EQ(lamp.StatusInt(), s.word);
    EXPECT_EQ(lamp.Checked(), s.checked);
    EXPECT_EQ(lamp.FirstBit(), s.firstBit);
  }
  // Moving the bit follows the word.
  lamp.SetStatusInt(8);
  lamp.SetStatusBit(3);
  EXPECT_TRUE(lamp.Checked());
  // Checking and unchecking set and clear the own bit only.
  lamp.SetChecked(false);
  EXPECT_EQ(lamp.StatusInt(), 0);
  lamp.SetStatusInt(1);
  lamp.SetChecked(true);
  EXPECT_EQ(lamp.StatusInt(), 9);
}

TEST_F(BinControl, HooksRunBeforeTheirEvents) {
  Lamp lamp(form.get(), 1);
  lamp.SetChecked(true);
  const std::vector<std::string> checking = {"StatusIntChanged", "OnStatusIntChange", "StatusChanged",
                                             "OnStatusChange"};
  EXPECT_EQ(lamp.log, checking);
  lamp.log.clear();
  lamp.SetChecked(true);
  EXPECT_TRUE(lamp.log.empty());
  lamp.SetFlashing(true);
  const std::vector<std::string> flashing = {"StatusChanged", "OnStatusChange"};
  EXPECT_EQ(lamp.log, flashing);
  lamp.log.clear();
  lamp.SetText(QStringLiteral("caption"));
  EXPECT_EQ(lamp.log, std::vector<std::string>{"ParamChange"});
}

TEST_F(BinControl, ModeStartsItsWord) {
  Lamp lamp(form.get());
  lamp.SetStatusInt(6);
  lamp.SeTMode(mButton);
  EXPECT_EQ(lamp.StatusInt(), 0);
  lamp.SeTMode(mRadioButton);
  EXPECT_EQ(lamp.StatusInt(), 1);
  EXPECT_TRUE(lamp.Checked());
  // Again with the same mode: the start is applied anyway.
  lamp.SetStatusInt(0);
  lamp.SeTMode(mRadioButton);
  EXPECT_EQ(lamp.StatusInt(), 1);
}

// Three radio buttons with bits 0, 1, 2 in group 1, driven by clicks and by
// writes: after every step one member at most is on, and the members agree.
TEST_F(BinControl, RadioGroupNeverShowsTwoMembersOn) {
  ASSERT_TRUE(ShowForm());
  std::vector<Lamp*> radio;
  for (int bit = 0; bit < 3; ++bit) radio.push_back(new Lamp(form.get(), bit, mRadioButton, 1));
  Lamp* outsider = new Lamp(form.get(), 0, mRadioButton, 2);
  outsider->SetTop(60);
  enum Kind { kClick, kWrite, kCheck, kUncheck };
  struct Step {
    Kind kind;
    int member;
    int32_t word;      // for kWrite
    int expectedOn;    // member that is on, -1 none
    int32_t expected;  // word of the members
  };
  const Step steps[] = {
      {kClick, 1, 0, 1, 2}, {kClick, 2, 0, 2, 4},    {kWrite, 0, 6, 1, 2}, {kCheck, 0, 0, 0, 1},
      {kWrite, 2, 4, 2, 4}, {kWrite, 1, 0, -1, 0},   {kClick, 0, 0, 0, 1}, {kWrite, 0, 0x70, -1, 0x10},
      {kClick, 2, 0, 2, 4}, {kUncheck, 2, 0, -1, 4},
  };
  int index = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << index++);
    Lamp* m = radio[size_t(s.member)];
    switch (s.kind) {
      case kClick:
        Click(m);
        break;
      case kWrite:
        m->SetStatusInt(s.word);
        break;
      case kCheck:
        m->SetChecked(true);
        break;
      case kUncheck:
        m->SetChecked(false);
        break;
    }
    int on = 0;
    for (size_t i = 0; i < radio.size(); ++i) {
      EXPECT_EQ(radio[i]->Checked(), int(i) == s.expectedOn) << "member " << i;
      on += radio[i]->Checked();
      EXPECT_EQ(radio[i]->StatusInt(), s.expected) << "member " << i;
      EXPECT_EQ(radio[i]->FirstBit(), s.expected ? std::countr_zero(uint32_t(s.expected)) : 32);
    }
    EXPECT_LE(on, 1);
    EXPECT_FALSE(GroupUpdate);
    // A click on the member that is already on changes nothing.
    if (s.kind == kClick) {
      for (Lamp* r : radio) r->log.clear();
      Click(m);
      for (Lamp* r : radio) EXPECT_EQ(r->Count("StatusIntChanged"), 0);
    }
  }
  // The other group was never touched.
  EXPECT_EQ(outsider->StatusInt(), 1);
  EXPECT_TRUE(outsider->Checked());
}

TEST_F(BinControl, SwitchGroupSharesABitField) {
  ASSERT_TRUE(ShowForm());
  Lamp* first = new Lamp(form.get(), 0, mSwitch, 2);
  Lamp* second = new Lamp(form.get(), 3, mSwitch, 2);
  Click(first);
  Click(second);
  EXPECT_EQ(first->StatusInt(), 9);
  EXPECT_EQ(second->StatusInt(), 9);
  Click(first);
  EXPECT_EQ(first->StatusInt(), 8);
  EXPECT_EQ(second->StatusInt(), 8);
  EXPECT_FALSE(first->Checked());
  EXPECT_TRUE(second->Checked());
  // A control joining later adopts the word of the group's first member.
  Lamp* late = new Lamp(form.get(), 3, mIndicator);
  late->SetGroupIndex(2);
  EXPECT_EQ(late->StatusInt(), 8);
  EXPECT_TRUE(late->Checked());
  EXPECT_EQ(late->Count("GroupIndexChanged"), 1);
  late->SetGroupIndex(-1);
  EXPECT_EQ(late->GroupIndex(), 2);
}

TEST_F(BinControl, AThrowingHandlerDoesNotLeaveTheGroupFlagUp) {
  Lamp* a = new Lamp(form.get(), 0, mSwitch, 3);
  Lamp* b = new Lamp(form.get(), 1, mSwitch, 3);
  b->SetOnStatusIntChange([](TObject*) { throw Exception(QStringLiteral("handler failed")); });
  EXPECT_THROW(a->SetChecked(true), Exception);
  EXPECT_FALSE(GroupUpdate);
  b->SetOnStatusIntChange(TNotifyEvent());
  a->SetChecked(false);
  EXPECT_EQ(b->StatusInt(), 0);
}

TEST_F(BinControl, MouseModes) {
  ASSERT_TRUE(ShowForm());
  struct Case {
    TMode mode;
    bool onWhileHeld;
    bool onAfter;
    bool mouseIsDownAfter;
  };
  const Case cases[] = {
      {mButton, true, false, false},
      {mSwitch, true, true, false},
      {mRadioButton, true, true, false},
      {mIndicator, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << int(c.mode));
    auto lamp = std::make_unique<Lamp>(form.get(), 1, c.mode);
    lamp->SetStatusInt(0);
    lamp->log.clear();
    QTest::mousePress(form->Widget(), Qt::LeftButton, {}, Centre(lamp.get()));
    EXPECT_EQ(lamp->Checked(), c.onWhileHeld);
    EXPECT_TRUE(lamp->MouseIsDown());
    QTest::mouseRelease(form->Widget(), Qt::LeftButton, {}, Centre(lamp.get()));
    EXPECT_EQ(lamp->Checked(), c.onAfter);
    EXPECT_EQ(lamp->MouseIsDown(), c.mouseIsDownAfter);
    // The right button changes nothing.
    QTest::mouseClick(form->Widget(), Qt::RightButton, {}, Centre(lamp.get()));
    EXPECT_EQ(lamp->Checked(), c.onAfter);
  }
}

TEST_F(BinControl, MomentaryButtonReportsBeforeTheMouseEvents) {
  ASSERT_TRUE(ShowForm());
  Lamp* button = new Lamp(form.get(), 0, mButton);
  button->log.clear();
  QTest::mousePress(form->Widget(), Qt::LeftButton, {}, Centre(button));
  const std::vector<std::string> down = {"StatusIntChanged", "OnStatusIntChange", "StatusChanged",
                                         "OnStatusChange", "OnMouseDown"};
  EXPECT_EQ(button->log, down);
  button->log.clear();
  QTest::mouseRelease(form->Widget(), Qt::LeftButton, {}, Centre(button));
  const std::vector<std::string> up = {"OnMouseUp",     "StatusIntChanged", "OnStatusIntChange",
                                       "StatusChanged", "OnStatusChange",   "StatusChanged"};
  EXPECT_EQ(button->log, up);
  EXPECT_FALSE(button->Checked());
}

// --- Flashing ----------------------------------------------------------------------------

TEST_F(BinControl, FlashingListsTheControlOnlyWhileCheckedAtItsRate) {
  Lamp lamp(form.get());
  lamp.SetFlashing(true);
  EXPECT_FALSE(Listed(&lamp));
  lamp.SetChecked(true);
  ASSERT_TRUE(Listed(&lamp));
  EXPECT_EQ(RecordOf(&lamp)->Freq, 5);
  lamp.SetFrequency(ff8Hz);
  EXPECT_EQ(RecordOf(&lamp)->Freq, 2);
  EXPECT_EQ(dynFlashList->size(), 1u);
  lamp.SetChecked(false);
  EXPECT_FALSE(Listed(&lamp));
  lamp.SetChecked(true);
  lamp.SetFlashing(false);
  EXPECT_FALSE(Listed(&lamp));
  // A rate chosen while not flashing applies at the next start.
  lamp.SetFrequency(ff05Hz);
  EXPECT_FALSE(Listed(&lamp));
  lamp.SetFlashing(true);
  EXPECT_EQ(RecordOf(&lamp)->Freq, 6);
}

TEST_F(BinControl, FlashPhasesFollowTheTimersSchedule) {
  for (TFlashFreq f : {ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz}) {
    SCOPED_TRACE(testing::Message() << "frequency " << int(f));
    FlashTick = 0;
    Lamp a(form.get()), b(form.get());
    for (Lamp* lamp : {&a, &b}) {
      lamp->SetFrequency(f);
      lamp->SetFlashing(true);
    }
    a.SetChecked(true);
    Ticks(3);  // the second starts a little later
    b.SetChecked(true);
    Ticks(256 - 3);
    // The phase changes every 2^code ticks, starting with "on".
    const uint32_t half = 1u << FlashCodeOf(f);
    ASSERT_EQ(a.phases.size(), size_t(256 / half));
    for (size_t i = 0; i < a.phases.size(); ++i) {
      EXPECT_EQ(a.phases[i], i % 2 == 0);
      EXPECT_EQ(a.phaseTicks[i], half * (i + 1));
    }
    // Both blink in step: the same ticks, the same phases.
    EXPECT_EQ(b.phaseTicks, a.phaseTicks);
    // Unchecked, the control hears no more.
    a.SetChecked(false);
    const size_t seen = a.phases.size();
    Ticks(256);
    EXPECT_EQ(a.phases.size(), seen);
    EXPECT_GT(b.phases.size(), seen);
  }
}

TEST_F(BinControl, FreedFlashingControlIsNeverAddressed) {
  gFlashedIds.clear();
  auto doomed = std::make_unique<Lamp>(form.get());
  Lamp survivor(form.get());
  const int doomedId = doomed->id;
  for (Lamp* lamp : {doomed.get(), &survivor}) {
    lamp->SetFrequency(ff8Hz);
    lamp->SetFlashing(true);
    lamp->SetChecked(true);
  }
  Ticks(16);
  EXPECT_EQ(std::count(gFlashedIds.begin(), gFlashedIds.end(), doomedId), 4);
  doomed.reset();
  EXPECT_EQ(dynFlashList->size(), 1u);
  gFlashedIds.clear();
  Ticks(64);
  EXPECT_EQ(std::count(gFlashedIds.begin(), gFlashedIds.end(), doomedId), 0);
  EXPECT_EQ(gFlashedIds.size(), 16u);
  // Freed from inside its own flash: the tick goes on with the others.
  auto selfFreeing = std::make_unique<Lamp>(form.get());
  selfFreeing->SetFrequency(ff8Hz);
  selfFreeing->SetFlashing(true);
  selfFreeing->SetChecked(true);
  const int selfId = selfFreeing->id;
  selfFreeing->onFlash = [&selfFreeing] { selfFreeing.reset(); };
  gFlashedIds.clear();
  Ticks(64);
  EXPECT_EQ(selfFreeing, nullptr);
  EXPECT_EQ(std::count(gFlashedIds.begin(), gFlashedIds.end(), selfId), 1);
  EXPECT_EQ(std::count(gFlashedIds.begin(), gFlashedIds.end(), survivor.id), 16);
  EXPECT_EQ(dynFlashList->size(), 1u);
}

// The real heartbeat on its worker thread (run under ThreadSanitizer too):
// flashes arrive on the GUI thread, and none after the control is freed.
TEST_F(BinControl, RealHeartbeatStopsAtTheFreedControl) {
  SetTickCountSource({});
  gFlashedIds.clear();
  auto lamp = std::make_unique<Lamp>(form.get());
  const int id = lamp->id;
  lamp->SetFrequency(ff8Hz);
  lamp->SetFlashing(true);
  lamp->SetChecked(true);
  KvFlashTimer->SetEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return lamp->phases.size() >= 3; }, 20000));
  lamp.reset();
  const size_t seen = gFlashedIds.size();
  QTest::qWait(300);  // about 18 more ticks
  EXPECT_EQ(gFlashedIds.size(), seen);
  EXPECT_EQ(std::count(gFlashedIds.begin(), gFlashedIds.end(), id), std::ptrdiff_t(seen));
  KvFlashTimer->SetEnabled(false);
}

}  // namespace
