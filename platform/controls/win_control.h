#pragma once
// TWinControl: a control with a window of its own, a QWidget it owns. It is
// the parent of other controls (its Controls list, in insertion order), lays
// out aligned children, paints its windowless children onto its widget, takes
// the keyboard focus and receives keys.
//
// Descendants that wrap a native Qt widget (an edit, a combo box, ...) pass
// it to the protected constructor; the default constructor makes a plain
// widget. Every Qt event of the widget goes through this control first (an
// event filter) and is turned into messages: mouse -> WM_*BUTTON*, keys ->
// WM_KEYDOWN/WM_CHAR (after asking WM_GETDLGCODE whether the control wants
// arrows and tabs), wheel -> WM_MOUSEWHEEL, focus -> WM_SETFOCUS/WM_KILLFOCUS
// and CM_ENTER/CM_EXIT, resize -> WM_SIZE.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "platform/controls/control.h"

class TWinControl : public TControl {
  Q_OBJECT
  Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
  Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
  Q_PROPERTY(TNotifyEvent OnEnter READ OnEnter WRITE SetOnEnter)
  Q_PROPERTY(TNotifyEvent OnExit READ OnExit WRITE SetOnExit)
  Q_PROPERTY(TKeyEvent OnKeyDown READ OnKeyDown WRITE SetOnKeyDown)
  Q_PROPERTY(TKeyEvent OnKeyUp READ OnKeyUp WRITE SetOnKeyUp)
  Q_PROPERTY(TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
  Q_CLASSINFO("default:TabOrder", "-1")
  Q_CLASSINFO("default:TabStop", "False")

 public:
  // A windowed control around a plain widget of its own.
  Q_INVOKABLE explicit TWinControl(TComponent* AOwner = nullptr);
  ~TWinControl() override;

  // The widget; null only if Qt deleted it behind the control's back.
  QWidget* Widget() const { return widget_.data(); }
  // The windowed control a widget belongs to (the widget itself or its
  // nearest ancestor that is a control's widget), or null.
  static TWinControl* FindControl(const QWidget* widget);

  // Children by Parent, in insertion order (the painting order of the
  // windowless ones).
  int ControlCount() const { return int(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(size_t(index)); }
  bool ContainsControl(const TControl* control) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // The topmost visible child at a client position (windowless children only
  // unless allowWinControls).
  TControl* ControlAtPos(const TPoint& pos, bool allowDisabled = false, bool allowWinControls = false) const;
  // The windowless child under the mouse, if any.
  TControl* MouseControl() const { return hovered_.data(); }
  // Shows `cursor` over the widget (crDefault: the widget's own cursor).
  void ShowCursor(TCursor cursor);

  // Position among the parent's windowed children in tab order (-1 without
  // parent). Setting it moves the control and renumbers the others.
  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // This control and its windowed descendants that can take part in tab
  // order, depth first in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The next control in tab order after `current` (within this control).
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const;
  // Moves the focus to the next control; false if there is none.
  bool SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // Focus.
  virtual bool CanFocus() const;
  bool Focused() const;
  // Raises EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();

  // Alignment of the children.
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  // Scales the bounds and fonts of the children by M/D.
  void ScaleBy(int M, int D);

  TRect ClientRect() const override;
  bool Showing() const override;
  void Invalidate() override;
  void Repaint() override;
  void WndProc(TMessage& Message) override;
  void Loaded() override;

  // Keyboard handlers; the base ones raise the events.
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(QChar& Key);

  const TNotifyEvent& OnEnter() const { return onEnter_; }
  void SetOnEnter(const TNotifyEvent& value) { onEnter_ = value; }
  const TNotifyEvent& OnExit() const { return onExit_; }
  void SetOnExit(const TNotifyEvent& value) { onExit_ = value; }
  const TKeyEvent& OnKeyDown() const { return onKeyDown_; }
  void SetOnKeyDown(const TKeyEvent& value) { onKeyDown_ = value; }
  const TKeyEvent& OnKeyUp() const { return onKeyUp_; }
  void SetOnKeyUp(const TKeyEvent& value) { onKeyUp_ = value; }
  const TKeyPressEvent& OnKeyPress() const { return onKeyPress_; }
  void SetOnKeyPress(const TKeyPressEvent& value) { onKeyPress_ = value; }

  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  // Takes ownership of a native widget made by a descendant.
  TWinControl(TComponent* AOwner, std::unique_ptr<QWidget> widget);

  // Routes the events of another widget inside this control's widget (the
  // viewport of a scroll area, say) through this control as well.
  void ObserveWidget(QWidget* inner);
  // Whether the widget is the framework's own plain widget (not a native one).
  bool HasPlainWidget() const { return plainWidget_; }

  // Painting of the control itself, before its windowless children; the
  // painter draws on the widget. The base paints nothing.
  virtual void PaintWindow(QPainter& painter);
  // The DLGC_* answer of WM_GETDLGCODE when no descendant handles it: native
  // widgets keep their arrows and characters, a plain widget wants nothing
  // (so arrows move the focus like tab).
  virtual intptr_t DefaultDialogCode() const;
  // Pushes Font, Color, Enabled to the widget. Descendants wrapping a
  // native widget may choose other palette roles.
  virtual void ApplyFont();
  virtual void ApplyColor();

  virtual void DoEnter() { onEnter_(this); }
  virtual void DoExit() { onExit_(this); }
  // Lays out the aligned children inside `rect` (client coordinates).
  virtual void AlignControls(TRect& rect);

  void BoundsChanged(const TRect& oldBounds) override;
  void ParentChanged(TWinControl* oldParent) override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void ApplyCursor() override;
  void ApplyHint() override;

  // Sends the native part of an event to the widget itself (skipping the
  // filter) and keeps the event from travelling on to the parent widget.
  bool DeliverToWidget(QWidget* target, QEvent* event);
  // The control's whole handling of one event of its widget (or of an
  // observed inner widget). Returns true when the event is consumed.
  virtual bool WidgetEvent(QWidget* target, QEvent* event);

  // Rebuilds Qt's tab chain of the whole window from the TabOrder values.
  void UpdateTabChain();

 private:
  friend class TControl;
  friend class TForm;
  void Init();
  bool MouseEvent(QWidget* target, QMouseEvent* event);
  bool KeyEvent(QWidget* target, QKeyEvent* event);
  bool WheelEvent(QWidget* target, QWheelEvent* event);
  bool ContextMenuEvent(QWidget* target, QContextMenuEvent* event);
  bool ToolTipEvent(QWidget* target, QEvent* event);
  // Qt's drag events of a drag that a control started (drag_drop.cpp).
  bool DragEvent(QWidget* target, QEvent* event);
  void PaintEvent(QWidget* target, QEvent* event);
  void ResizeEvent();
  void FocusInEvent();
  void SetHovered(TControl* control);
  void ApplyTabStop();
  void ApplyGeometry();
  void ApplyVisibility();
  void InsertTab(TWinControl* control);
  TWinControl* RootControl();

  QPointer<QWidget> widget_;
  bool plainWidget_ = false;
  Qt::FocusPolicy nativeFocusPolicy_ = Qt::NoFocus;
  std::optional<QCursor> nativeCursor_;  // cursor a native widget set for itself
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  int pendingTabOrder_ = -1;  // TabOrder set before the control had a parent
  bool tabStop_ = false;
  int alignDisabled_ = 0;
  bool aligning_ = false;
  bool applyingGeometry_ = false;
  QPointer<TControl> captured_;  // windowless child holding the mouse
  QPointer<TControl> hovered_;   // windowless child under the mouse
  std::vector<QPointer<QWidget>> observed_;

  TNotifyEvent onEnter_;
  TNotifyEvent onExit_;
  TKeyEvent onKeyDown_;
  TKeyEvent onKeyUp_;
  TKeyPressEvent onKeyPress_;
};
