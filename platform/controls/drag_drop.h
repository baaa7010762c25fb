#pragma once
// Drag and drop between the framework's controls, carried by Qt's drag and
// drop. A control starts a drag with BeginDrag (or by itself when its
// DragMode is dmAutomatic): OnStartDrag may supply the object that is
// dragged (the control itself otherwise), a QDrag carries a token of the
// drag across Qt's machinery, and every windowed control's widget turns the
// drag events it receives into DragOver / DragDrop calls on the control under
// the mouse, windowless children included. When Qt's drag ends, the source
// gets OnEndDrag with the control that took the drop (null when none did).
//
// Only drags started by this process's controls are delivered as control
// events; foreign drags (files, text) go to the widgets' own handling.

#include <QObject>
#include <QPointer>

#include "platform/core/events.h"
#include "platform/core/types.h"

class QMimeData;
class TControl;

namespace DragTypes {
Q_NAMESPACE
// Where a drag is relative to the control asked in DragOver.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
Q_ENUM_NS(TDragState)
// dmAutomatic: a left press followed by a move beyond the platform's start
// distance drags the control.
enum TDragMode { dmManual, dmAutomatic };
Q_ENUM_NS(TDragMode)
}  // namespace DragTypes

using TDragState = DragTypes::TDragState;
using TDragMode = DragTypes::TDragMode;
using enum DragTypes::TDragState;
using enum DragTypes::TDragMode;

// Sender, Source (the dragged object), X, Y (Sender's client coordinates),
// State, Accept (in: whether Sender has an OnDragOver handler; out: whether a
// drop here is welcome).
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
// Sender, Source, X, Y: the drop.
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
// Sender, DragObject (null on entry: set it to drag something else than Sender).
using TStartDragEvent = TEvent<TObject*, TObject*&>;
// Sender, Target (the control that took the drop, or null), X, Y (Target's
// client coordinates of the drop).
// (The same signature as TDragDropEvent, so one type serves both.)
using TEndDragEvent = TDragDropEvent;
Q_DECLARE_METATYPE(TDragOverEvent)
Q_DECLARE_METATYPE(TDragDropEvent)
Q_DECLARE_METATYPE(TStartDragEvent)

// The drag in progress. One exists while a control's QDrag runs; the
// widgets' drop handling reads it. Tests may open one themselves and send Qt
// drag events to widgets, since a QDrag without a windowing system returns
// at once.
class TDragSession {
 public:
  TDragSession(TControl* sourceControl, TObject* dragObject);
  ~TDragSession();
  TDragSession(const TDragSession&) = delete;
  TDragSession& operator=(const TDragSession&) = delete;

  // The session in progress, or null.
  static TDragSession* Current();
  // New mime data carrying this session's token (the caller owns it).
  QMimeData* CreateMimeData() const;
  // Whether mime data carries this session's token.
  bool Carries(const QMimeData* data) const;

  TControl* SourceControl() const;
  TObject* DragObject() const;

  // The control last asked in DragOver, and its answer.
  QPointer<TControl> over;
  bool accepted = false;
  // Set by the drop.
  QPointer<TControl> target;
  int dropX = 0;
  int dropY = 0;

 private:
  QPointer<TControl> source_;
  QPointer<QObject> dragObject_;
  quint64 token_;
  TDragSession* previous_;
};
