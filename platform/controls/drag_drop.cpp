#include "platform/controls/drag_drop.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>

#include "platform/controls/control.h"
#include "platform/controls/win_control.h"

namespace {

// The mime type of the token; the data is the session's number as text.
constexpr const char* kDragMimeType = "application/x-vort-control-drag";

TDragSession* current = nullptr;
quint64 lastToken = 0;

}  // namespace

// --- The session ----------------------------------------------------------------------

TDragSession::TDragSession(TControl* sourceControl, TObject* dragObject)
    : source_(sourceControl), dragObject_(dragObject), token_(++lastToken), previous_(current) {
  current = this;
}

TDragSession::~TDragSession() {
  current = previous_;
}

TDragSession* TDragSession::Current() {
  return current;
}

QMimeData* TDragSession::CreateMimeData() const {
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kDragMimeType), QByteArray::number(token_));
  return data;
}

bool TDragSession::Carries(const QMimeData* data) const {
  return data && data->hasFormat(QString::fromLatin1(kDragMimeType)) &&
         data->data(QString::fromLatin1(kDragMimeType)) == QByteArray::number(token_);
}

TControl* TDragSession::SourceControl() const {
  return source_.data();
}

TObject* TDragSession::DragObject() const {
  return dragObject_.data();
}

// --- The dragged control ------------------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold) {
  if (dragRunning_) return;
  if (Immediate) {
    dragPending_ = false;
    RunDrag();
    return;
  }
  dragPending_ = true;
  dragThreshold_ = Threshold >= 0 ? Threshold : QApplication::startDragDistance();
  dragStart_ = ScreenToClient(TPoint::fromQPoint(QCursor::pos()));
}

void TControl::RunDrag() {
  QPointer<TControl> self(this);
  TObject* dragObject = nullptr;
  DoStartDrag(dragObject);
  if (!self) return;
  // A windowless control drags from its parent's widget.
  QWidget* widget = nullptr;
  if (auto* win = qobject_cast<TWinControl*>(this))
    widget = win->Widget();
  else if (parent_)
    widget = parent_->Widget();

  TDragSession session(this, dragObject ? dragObject : this);
  if (widget) {
    dragRunning_ = true;
    auto* drag = new QDrag(widget);
    drag->setMimeData(session.CreateMimeData());
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    if (!self) return;
    dragRunning_ = false;
    // The drop took the button release: nothing holds the mouse any more.
    if (parent_ && parent_->captured_ == this) parent_->captured_ = nullptr;
  }
  DoEndDrag(session.target.data(), session.dropX, session.dropY);
}

void TControl::DoStartDrag(TObject*& DragObject) {
  onStartDrag_(this, DragObject);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  onDragOver_(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  onDragDrop_(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  onEndDrag_(this, Target, X, Y);
}

// --- The widgets that are dragged over --------------------------------------------------------

bool TWinControl::DragEvent(QWidget* target, QEvent* event) {
  TDragSession* session = TDragSession::Current();
  if (event->type() == QEvent::DragLeave) {
    if (!session || !session->over) return false;
    TControl* over = session->over.data();
    if (over != this && over->Parent() != this) return false;
    session->over = nullptr;
    session->accepted = false;
    bool ignored = false;
    over->DragOver(session->DragObject(), -1, -1, dsDragLeave, ignored);
    return true;
  }
  auto* drop = static_cast<QDropEvent*>(event);
  if (!session || !session->Carries(drop->mimeData())) return false;  // the widget's own handling
  const QPoint pos = target == widget_ ? drop->position().toPoint()
                                       : target->mapTo(widget_.data(), drop->position().toPoint());
  TControl* over = ControlAtPos(TPoint::fromQPoint(pos));
  if (!over) over = this;
  const QPoint local = over == this ? pos : pos - QPoint(over->Left(), over->Top());
  TObject* source = session->DragObject();

  if (event->type() == QEvent::Drop) {
    const bool welcome = session->accepted && session->over == over;
    session->over = nullptr;
    if (!welcome) {
      drop->ignore();
      return true;
    }
    session->target = over;
    session->dropX = local.x();
    session->dropY = local.y();
    drop->acceptProposedAction();
    over->DragDrop(source, local.x(), local.y());
    return true;
  }

  // Enter or move: the control under the mouse is asked; moving from one
  // control to another is a leave of the one and an enter of the other.
  TDragState state = dsDragMove;
  if (session->over != over) {
    if (TControl* old = session->over.data()) {
      bool ignored = false;
      old->DragOver(source, -1, -1, dsDragLeave, ignored);
    }
    state = dsDragEnter;
  }
  session->over = over;
  bool accept = over->OnDragOver().Assigned();
  over->DragOver(source, local.x(), local.y(), state, accept);
  session->accepted = accept;
  // The enter is always taken, or Qt sends no moves to this widget: whether
  // a drop is welcome depends on the control under the mouse.
  if (accept || event->type() == QEvent::DragEnter)
    drop->acceptProposedAction();
  else
    drop->ignore();
  return true;
}
