// Drag and drop between controls over Qt's drag events: windowless and
// windowed targets, enter/move/leave, refused and foreign drags, and the
// source's start and end of a drag.

#include "platform/controls/drag_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "tests/platform/controls/controls_fixture.h"

namespace {

using kv::test::ControlsTest;
using kv::test::KeyTarget;
using kv::test::Swatch;

// Records the drag events a control receives, with the source's name.
void Record(TControl* control, std::vector<QString>& log, bool accept) {
  control->SetOnDragOver([&log, accept, control](TObject* sender, TObject* source, int x, int y,
                                                 TDragState state, bool& accepted) {
    EXPECT_EQ(sender, control);
    // A control with a handler starts out accepting; a leave asks nothing.
    EXPECT_EQ(accepted, state != dsDragLeave);
    static const char* names[] = {"enter", "leave", "move"};
    log.push_back(QStringLiteral("%1 %2 %3 %4,%5")
                      .arg(control->Name(), names[state], qobject_cast<TComponent*>(source)->Name())
                      .arg(x)
                      .arg(y));
    accepted = accept;
  });
  control->SetOnDragDrop([&log, control](TObject*, TObject* source, int x, int y) {
    log.push_back(QStringLiteral("%1 drop %2 %3,%4")
                      .arg(control->Name(), qobject_cast<TComponent*>(source)->Name())
                      .arg(x)
                      .arg(y));
  });
}

class DragDropTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(200);
    form->SetClientHeight(120);
    source = new Swatch(form.get(), form.get(), Bounds(0, 0, 20, 20), clRed);
    source->SetName("Source");
    left = new Swatch(form.get(), form.get(), Bounds(20, 20, 40, 40), clBlue);
    left->SetName("Left");
    right = new Swatch(form.get(), form.get(), Bounds(60, 20, 40, 40), clGreen);
    right->SetName("Right");
    windowed = new KeyTarget(form.get(), form.get(), Bounds(120, 20, 60, 60), false);
    windowed->SetName("Windowed");
  }
  void TearDown() override {
    form.reset();
    ControlsTest::TearDown();
  }
  // Qt's drag events as a drag over `widget` delivers them, handed to the
  // widget's control the way Qt's event dispatch does (through the control's
  // event filter; sending them through the application would leave Qt's drag
  // bookkeeping pointing at widgets that later tests free).
  static void Send(QWidget* widget, QEvent* e) {
    TWinControl* control = TWinControl::FindControl(widget);
    ASSERT_NE(control, nullptr);
    if (!control->eventFilter(widget, e)) static_cast<QObject*>(widget)->event(e);
  }
  static bool Move(QWidget* widget, const QMimeData* data, QPoint pos, bool enter = false) {
    if (enter) {
      QDragEnterEvent e(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
      e.ignore();
      Send(widget, &e);
      return e.isAccepted();
    }
    QDragMoveEvent e(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    e.ignore();
    Send(widget, &e);
    return e.isAccepted();
  }
  static bool Drop(QWidget* widget, const QMimeData* data, QPoint pos) {
    QDropEvent e(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    e.ignore();
    Send(widget, &e);
    return e.isAccepted();
  }

  std::unique_ptr<TForm> form;
  Swatch* source = nullptr;
  Swatch* left = nullptr;
  Swatch* right = nullptr;
  KeyTarget* windowed = nullptr;
  std::vector<QString> log;
};

TEST_F(DragDropTest, TheControlUnderTheMouseIsAskedAndTakesTheDrop) {
  Record(left, log, false);
  Record(right, log, true);
  Record(windowed, log, true);
  TDragSession session(source, source);
  std::unique_ptr<QMimeData> data(session.CreateMimeData());
  QWidget* surface = form->Widget();
  EXPECT_TRUE(Move(surface, data.get(), QPoint(30, 30), true));  // the enter is always taken
  EXPECT_FALSE(Move(surface, data.get(), QPoint(35, 31)));       // Left refuses
  EXPECT_FALSE(Drop(surface, data.get(), QPoint(35, 31)));
  EXPECT_TRUE(Move(surface, data.get(), QPoint(70, 40), true));
  EXPECT_TRUE(Move(surface, data.get(), QPoint(65, 45)));
  EXPECT_TRUE(Move(surface, data.get(), QPoint(66, 46)));
  EXPECT_TRUE(Drop(surface, data.get(), QPoint(66, 46)));
  const std::vector<QString> expected = {
      "Left enter Source 10,10", "Left move Source 15,11", "Right enter Source 10,20",
      "Right move Source 5,25",  "Right move Source 6,26", "Right drop Source 6,26",
  };
  EXPECT_EQ(log, expected);
  EXPECT_EQ(session.target, right);
  EXPECT_EQ(session.dropX, 6);
  EXPECT_EQ(session.dropY, 26);

  // A windowed control gets the drag on its own widget.
  log.clear();
  EXPECT_TRUE(Move(windowed->Widget(), data.get(), QPoint(5, 5), true));
  QDragLeaveEvent leave;
  Send(windowed->Widget(), &leave);
  EXPECT_TRUE(Move(windowed->Widget(), data.get(), QPoint(8, 9), true));
  EXPECT_TRUE(Drop(windowed->Widget(), data.get(), QPoint(8, 9)));
  const std::vector<QString> windowedLog = {"Windowed enter Source 5,5", "Windowed leave Source -1,-1",
                                            "Windowed enter Source 8,9", "Windowed drop Source 8,9"};
  EXPECT_EQ(log, windowedLog);
  EXPECT_EQ(session.target, windowed);
}

TEST_F(DragDropTest, MovingBetweenControlsLeavesTheOneAndEntersTheOther) {
  Record(left, log, true);
  Record(right, log, true);
  TDragSession session(source, form.get());
  form->SetName("Form1");
  std::unique_ptr<QMimeData> data(session.CreateMimeData());
  Move(form->Widget(), data.get(), QPoint(50, 50), true);
  Move(form->Widget(), data.get(), QPoint(61, 50));
  const std::vector<QString> expected = {"Left enter Form1 30,30", "Left leave Form1 -1,-1",
                                         "Right enter Form1 1,30"};
  EXPECT_EQ(log, expected);  // the dragged object is the one the session carries
}

TEST_F(DragDropTest, ForeignAndFinishedDragsReachNoControl) {
  Record(left, log, true);
  QMimeData text;
  text.setText("hello");
  std::unique_ptr<QMimeData> stale;
  {
    TDragSession session(source, source);
    Move(form->Widget(), &text, QPoint(30, 30), true);
    stale.reset(session.CreateMimeData());
  }
  TDragSession next(source, source);
  Move(form->Widget(), stale.get(), QPoint(30, 30), true);
  Drop(form->Widget(), stale.get(), QPoint(30, 30));
  EXPECT_TRUE(log.empty());
  // Without a handler nothing accepts.
  std::unique_ptr<QMimeData> data(next.CreateMimeData());
  Move(form->Widget(), data.get(), QPoint(90, 30), true);
  EXPECT_FALSE(Move(form->Widget(), data.get(), QPoint(90, 31)));
}

TEST_F(DragDropTest, TheSourceHearsTheStartAndTheEnd) {
  std::vector<QString> events;
  TObject* supplied = right;
  source->SetOnStartDrag([&](TObject* sender, TObject*& dragObject) {
    EXPECT_EQ(sender, source);
    EXPECT_EQ(dragObject, nullptr);
    dragObject = supplied;
    events.push_back("start");
  });
  source->SetOnEndDrag([&](TObject* sender, TObject* target, int, int) {
    EXPECT_EQ(sender, source);
    events.push_back(target ? "end on target" : "end");
  });
  // Without a window system Qt's drag ends at once, without a drop.
  source->BeginDrag();
  EXPECT_EQ(events, (std::vector<QString>{"start", "end"}));
  EXPECT_FALSE(source->Dragging());
  EXPECT_EQ(TDragSession::Current(), nullptr);

  // Automatic mode: a press and a move beyond the threshold start it; the
  // mouse is free afterwards.
  events.clear();
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
  source->SetDragMode(dmAutomatic);
  QTest::mousePress(form->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(source->Dragging());
  QTest::mouseMove(form->Widget(), QPoint(6, 5));
  EXPECT_TRUE(events.empty());
  QTest::mouseMove(form->Widget(), QPoint(40, 40));
  EXPECT_EQ(events, (std::vector<QString>{"start", "end"}));
  QTest::mouseRelease(form->Widget(), Qt::LeftButton, {}, QPoint(40, 40));
  left->log.clear();
  QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(left->log.size(), 3u);  // down, click, up: not captured by the source
}

}  // namespace
