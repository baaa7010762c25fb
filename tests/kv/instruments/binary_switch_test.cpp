// The toggle switch and the radio button: what they paint for their state,
// the mouse and Space, and radio groups formed by GroupIndex alone.

#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "kv/instruments/kv_radio_button.h"
#include "kv/instruments/kv_toggle_switch.h"
#include "platform/controls/keys.h"
#include "tests/kv/controls/flash_fixture.h"
#include "tests/kv/instruments/binary_test_support.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::FlashDrivenTest;
using kv::test::Painted;
using kv::test::PixelAt;

constexpr TColor kLever = RGBColor(230, 200, 40);
constexpr TColor kSlotOn = RGBColor(0, 180, 0);
constexpr TColor kSlotOff = RGBColor(90, 90, 90);

// The lever covers the left half of the slot when off and the right half when
// on; the other half shows the slot colour of the state.
TEST(ToggleSwitch, LeverSitsOnTheSideOfItsState) {
  for (const bool on : {false, true}) {
    SCOPED_TRACE(on ? "on" : "off");
    TKvToggleSwitch sw(nullptr);
    sw.SetBounds(0, 0, 90, 24);
    sw.Bevel()->SetColor(kLever);
    sw.SetSlotColorOn(kSlotOn);
    sw.SetSlotColorOff(kSlotOff);
    sw.SetChecked(on);
    EXPECT_EQ(sw.SlotRect(), TRect(0, 0, 48, 24));
    EXPECT_EQ(sw.LeverRect(), on ? TRect(24, 2, 46, 22) : TRect(2, 2, 24, 22));
    const QImage image = Painted(sw);
    // Inside the lever's bevel, off its grip, and the middle of the free half.
    const int leverX = on ? 30 : 8, freeX = on ? 12 : 36;
    EXPECT_EQ(PixelAt(image, leverX, 12), kLever);
    EXPECT_EQ(PixelAt(image, freeX, 12), on ? kSlotOn : kSlotOff);
    if (::testing::Test::HasFailure())
      kv::test::savePng(image, on ? "binary_switch_on" : "binary_switch_off");
  }
}

class BinaryInput : public FlashDrivenTest {
 protected:
  void Click(const TControl* c) {
    QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(c->Left() + 8, c->Top() + c->Height() / 2));
  }
  static void Space(TControl* c) { c->Perform(WM_KEYDOWN, VK_SPACE, 0); }
};

// Each click and each Space flips the switch, reported through StatusChanged
// (OnStatusChange); other keys and a disabled switch change nothing.
TEST_F(BinaryInput, ClicksAndSpaceToggleTheSwitch) {
  ASSERT_TRUE(ShowForm());
  auto* sw = new TKvToggleSwitch(form.get());
  sw->SetBounds(10, 10, 80, 20);
  int reports = 0;
  sw->SetOnStatusChange([&](TObject*) { ++reports; });
  enum Action { kClick, kSpace, kOtherKey, kDisable, kEnable };
  const struct {
    Action action;
    bool expected;
  } steps[] = {{kClick, true},    {kClick, false}, {kSpace, true},  {kOtherKey, true}, {kSpace, false},
               {kDisable, false}, {kSpace, false}, {kClick, false}, {kEnable, false},  {kClick, true}};
  bool last = false;
  for (const auto& s : steps) {
    const int before = reports;
    switch (s.action) {
      case kClick:
        Click(sw);
        break;
      case kSpace:
        Space(sw);
        break;
      case kOtherKey:
        sw->Perform(WM_KEYDOWN, VK_RETURN, 0);
        break;
      case kDisable:
        sw->SetEnabled(false);
        break;
      case kEnable:
        sw->SetEnabled(true);
        break;
    }
    EXPECT_EQ(sw->Checked(), s.expected) << "step " << int(&s - steps);
    if (s.expected != last) {
      EXPECT_GT(reports, before) << "step " << int(&s - steps);
    }
    last = s.expected;
  }
}

// Radio buttons created one after another on a form take bits of their own,
// so GroupIndex alone makes a group: the first is on, and a click, Space or
// Checked = True turns one on and the rest of its group off. Another group
// and a lone button are never touched. The LED shows each state.
TEST_F(BinaryInput, RadioButtonsOfAGroupAreExclusive) {
  ASSERT_TRUE(ShowForm());
  std::vector<TKvRadioButton*> group;
  for (int i = 0; i < 3; ++i) {
    auto* rb = new TKvRadioButton(form.get());
    rb->SetBounds(10, 10 + 22 * i, 80, 21);
    rb->SetGroupIndex(1);
    group.push_back(rb);
  }
  auto* other1 = new TKvRadioButton(form.get());
  auto* other2 = new TKvRadioButton(form.get());
  for (TKvRadioButton* o : {other1, other2}) {
    o->SetBounds(100, o == other1 ? 10 : 32, 80, 21);
    o->SetGroupIndex(2);
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(group[size_t(i)]->StatusBit(), i);
  EXPECT_EQ(other1->StatusBit(), 3);
  // Each group starts with its first member on.
  EXPECT_TRUE(other1->Checked());
  EXPECT_FALSE(other2->Checked());
  enum Action { kClick, kSpace, kCheck };
  const struct {
    Action action;
    int member;
    int expectedOn;
  } steps[] = {{kClick, 1, 1}, {kClick, 1, 1}, {kSpace, 2, 2}, {kCheck, 0, 0}, {kClick, 2, 2}};
  auto expectOnly = [&](int on) {
    for (size_t i = 0; i < group.size(); ++i) {
      EXPECT_EQ(group[i]->Checked(), int(i) == on) << "member " << i;
      const QImage image = Painted(*group[i]);
      const TRect well = group[i]->WellRect();
      const TColor centre = PixelAt(image, (well.Left + well.Right) / 2, (well.Top + 2 * well.Bottom) / 3);
      EXPECT_EQ(centre, ColorToRGB(int(i) == on ? group[i]->LED()->ColorOn() : group[i]->LED()->ColorOff()))
          << "member " << i;
    }
  };
  expectOnly(0);
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << int(&s - steps));
    TKvRadioButton* m = group[size_t(s.member)];
    if (s.action == kClick) Click(m);
    if (s.action == kSpace) Space(m);
    if (s.action == kCheck) m->SetChecked(true);
    expectOnly(s.expectedOn);
    EXPECT_TRUE(other1->Checked());
    EXPECT_FALSE(other2->Checked());
  }
  Click(other2);
  EXPECT_FALSE(other1->Checked());
  expectOnly(2);
}

}  // namespace
