// Input through real widgets: the mouse routed to windowless controls, the
// keyboard and the dialog-code question, the wheel, focus and tab order.

#include <QtTest/qtestspontaneevent.h>

#include <QWheelEvent>

#include "platform/controls/cursors.h"
#include "platform/controls/keys.h"
#include "tests/platform/controls/controls_fixture.h"

namespace {

using kv::test::ControlsTest;
using kv::test::KeyTarget;
using kv::test::Swatch;

class MouseTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(200);
    form->SetClientHeight(120);
    under = new Swatch(form.get(), form.get(), Bounds(10, 10, 50, 50), clRed);
    over = new Swatch(form.get(), form.get(), Bounds(30, 30, 50, 50), clBlue);
    form->SetOnMouseDown([this](TObject*, TMouseButton, TShiftState, int x, int y) {
      formLog.push_back(QStringLiteral("form %1,%2").arg(x).arg(y));
    });
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
  }
  void TearDown() override {
    form.reset();
    ControlsTest::TearDown();
  }
  std::unique_ptr<TForm> form;
  Swatch* under = nullptr;
  Swatch* over = nullptr;
  std::vector<QString> formLog;
};

TEST_F(MouseTest, ClickReachesTheTopmostWindowlessControlUnderTheMouse) {
  QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(40, 40));
  const std::vector<QString> clicked = {"down 0 10,10", "click", "up 0 10,10"};
  EXPECT_EQ(over->log, clicked);
  EXPECT_TRUE(under->log.empty());
  EXPECT_TRUE(formLog.empty());

  QTest::mouseClick(form->Widget(), Qt::RightButton, {}, QPoint(15, 20));
  const std::vector<QString> right = {"down 1 5,10", "up 1 5,10"};
  EXPECT_EQ(under->log, right);

  // Hidden or disabled controls let the mouse through to what lies beneath.
  over->SetVisible(false);
  under->log.clear();
  QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(40, 40));
  EXPECT_EQ(under->log.size(), 3u);
  under->SetEnabled(false);
  QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(40, 40));
  const std::vector<QString> toForm = {"form 40,40"};
  EXPECT_EQ(formLog, toForm);
}

TEST_F(MouseTest, AWindowlessControlKeepsTheMouseWhileAButtonIsHeld) {
  QTest::mousePress(form->Widget(), Qt::LeftButton, {}, QPoint(70, 70));
  QTest::mouseMove(form->Widget(), QPoint(150, 100));
  QTest::mouseRelease(form->Widget(), Qt::LeftButton, {}, QPoint(150, 100));
  // Released outside its bounds: the release arrives in its coordinates, no click.
  const std::vector<QString> expected = {"down 0 40,40", "up 0 120,70"};
  EXPECT_EQ(over->log, expected);
  EXPECT_TRUE(formLog.empty());
  // The capture ends with the release.
  QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(150, 100));
  EXPECT_EQ(formLog.size(), 1u);
}

TEST_F(MouseTest, DoubleClickRaisesDblClick) {
  int dbl = 0;
  over->SetOnDblClick([&](TObject*) { ++dbl; });
  QTest::mouseDClick(form->Widget(), Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(dbl, 1);
}

TEST_F(MouseTest, CursorFollowsTheControlUnderTheMouse) {
  over->SetCursor(crHandPoint);
  form->SetCursor(crCross);
  QTest::mouseMove(form->Widget(), QPoint(70, 70));
  EXPECT_EQ(form->Widget()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form->MouseControl(), over);
  QTest::mouseMove(form->Widget(), QPoint(150, 100));
  EXPECT_EQ(form->Widget()->cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(form->MouseControl(), nullptr);
  // The application's own cursor table.
  SetCursorShape(5, QCursor(Qt::SizeAllCursor));
  under->SetCursor(5);
  QTest::mouseMove(form->Widget(), QPoint(15, 15));
  EXPECT_EQ(form->Widget()->cursor().shape(), Qt::SizeAllCursor);
}

// The next widget Qt's own tab chain would give the focus to (the chain is a
// ring through the window).
QWidget* NextTabStop(QWidget* w) {
  do w = w->nextInFocusChain();
  while (!(w->focusPolicy() & Qt::TabFocus));
  return w;
}

class KeyboardTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(300);
    form->SetClientHeight(100);
    // Created a, b, c; tab order c, b, a.
    a = new KeyTarget(form.get(), form.get(), Bounds(0, 0, 50, 50), true);
    b = new KeyTarget(form.get(), form.get(), Bounds(60, 0, 50, 50), false);
    c = new KeyTarget(form.get(), form.get(), Bounds(120, 0, 50, 50), false);
    c->SetTabOrder(0);
    b->SetTabOrder(1);
    for (KeyTarget* t : {a, b, c}) {
      const QString name = t == a ? "a" : t == b ? "b" : "c";
      t->SetOnEnter([this, name](TObject*) { enterLog.push_back("enter " + name); });
      t->SetOnExit([this, name](TObject*) { enterLog.push_back("exit " + name); });
    }
    ASSERT_TRUE(ShowAndActivate(form.get()));
  }
  void TearDown() override {
    form.reset();
    ControlsTest::TearDown();
  }
  std::unique_ptr<TForm> form;
  KeyTarget* a = nullptr;
  KeyTarget* b = nullptr;
  KeyTarget* c = nullptr;
  std::vector<QString> enterLog;
};

TEST_F(KeyboardTest, TabFollowsTabOrder) {
  EXPECT_EQ(c->TabOrder(), 0);
  EXPECT_EQ(b->TabOrder(), 1);
  EXPECT_EQ(a->TabOrder(), 2);
  // The first control in tab order has the focus when the form is shown.
  QTRY_VERIFY(c->Focused());
  EXPECT_EQ(form->ActiveControl(), c);
  // Qt's own tab chain follows the same order.
  EXPECT_EQ(NextTabStop(c->Widget()), b->Widget());
  EXPECT_EQ(NextTabStop(b->Widget()), a->Widget());
  EXPECT_EQ(NextTabStop(a->Widget()), c->Widget());

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(b->Focused());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(a->Focused());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(c->Focused());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(a->Focused());
  // Tab is a dialog key: the controls never saw it.
  EXPECT_TRUE(a->keys.empty());
  EXPECT_TRUE(b->keys.empty());
  // (Shift+Tab pressed Shift first, which is an ordinary key.)
  EXPECT_EQ(std::count(c->keys.begin(), c->keys.end(), VK_TAB), 0);
  // A control without tab stop is skipped by Tab.
  b->SetTabStop(false);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(c->Focused());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(a->Focused());
}

TEST_F(KeyboardTest, EnterAndExitFollowTheFocus) {
  QTRY_VERIFY(c->Focused());
  a->SetFocus();
  EXPECT_TRUE(a->Focused());
  const std::vector<QString> expected = {"enter c", "exit c", "enter a"};
  EXPECT_EQ(enterLog, expected);
  EXPECT_EQ(c->focusLog.back(), "killfocus");
  EXPECT_EQ(a->focusLog.back(), "setfocus");
  // A hidden control cannot take the focus.
  b->SetVisible(false);
  EXPECT_FALSE(b->CanFocus());
  EXPECT_THROW(b->SetFocus(), EInvalidOperation);
  EXPECT_TRUE(a->Focused());
}

TEST_F(KeyboardTest, ArrowKeysReachAControlThatAsksForThem) {
  a->SetFocus();
  QTest::keyClick(a->Widget(), Qt::Key_Down);
  QTest::keyClick(a->Widget(), Qt::Key_Left);
  QTest::keyClick(a->Widget(), Qt::Key_X);
  const std::vector<uint16_t> expected = {VK_DOWN, VK_LEFT, uint16_t('X')};
  EXPECT_EQ(a->keys, expected);
  EXPECT_TRUE(a->Focused());
}

TEST_F(KeyboardTest, ArrowKeysMoveTheFocusAwayFromAControlThatDoesNotAsk) {
  b->SetFocus();
  QTest::keyClick(b->Widget(), Qt::Key_Down);
  EXPECT_TRUE(b->keys.empty());
  EXPECT_TRUE(a->Focused());  // next in tab order after b
  c->SetFocus();
  QTest::keyClick(c->Widget(), Qt::Key_Right);
  EXPECT_TRUE(b->Focused());
  QTest::keyClick(b->Widget(), Qt::Key_Up);
  EXPECT_TRUE(c->Focused());
  QTest::keyClick(c->Widget(), Qt::Key_Left);  // backwards, wrapping
  EXPECT_TRUE(a->Focused());
  // Other keys do reach the control.
  b->SetFocus();
  QTest::keyClick(b->Widget(), Qt::Key_Home);
  const std::vector<uint16_t> expected = {VK_HOME};
  EXPECT_EQ(b->keys, expected);
  EXPECT_TRUE(c->keys.empty());
}

TEST_F(KeyboardTest, KeyHandlersMayChangeOrSwallowTheKey) {
  a->SetFocus();
  std::vector<QChar> typed;
  a->SetOnKeyDown([](TObject*, uint16_t& key, TShiftState) {
    if (key == 'Q') key = 0;
  });
  a->SetOnKeyPress([&](TObject*, QChar& ch) { typed.push_back(ch); });
  QTest::keyClick(a->Widget(), Qt::Key_Q);  // swallowed before the character
  QTest::keyClick(a->Widget(), Qt::Key_W);
  const std::vector<QChar> expected = {QChar(u'w')};
  EXPECT_EQ(typed, expected);
}

TEST_F(KeyboardTest, WheelArrivesAsMessageWithDelta120PerNotch) {
  auto wheel = [](QWidget* w, int delta) {
    QWheelEvent event(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // As from the window system: an unhandled wheel travels to the parent.
    // (sendEvent would clear the flag; the test library notifies directly too).
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(w, &event);
  };
  wheel(a->Widget(), 120);
  wheel(a->Widget(), -120);
  wheel(a->Widget(), 240);
  const std::vector<int> expected = {120, -120, 240};
  EXPECT_EQ(a->wheel, expected);
  // A control that leaves the wheel unhandled passes it on to its parent.
  auto* inner = new KeyTarget(form.get(), b, Bounds(5, 5, 20, 20), false);
  inner->handleWheel = false;
  wheel(inner->Widget(), -120);
  EXPECT_EQ(inner->wheel, std::vector<int>{-120});
  EXPECT_EQ(b->wheel, std::vector<int>{-120});
}

}  // namespace
