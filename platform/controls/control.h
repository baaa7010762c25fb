#pragma once
// TControl: the base of everything placed on a form. A control has bounds in
// its parent's client coordinates, a visual parent (a windowed control; a
// relation separate from the owner, who frees it), visibility, enabled state,
// font, colour, cursor, hint and alignment, and receives its input as
// messages: Perform(msg, wParam, lParam) -> WndProc -> the virtual handlers
// (MouseDown, Click, ...) -> the published events (OnMouseDown, OnClick, ...).

#include <QPointer>
#include <QString>
#include <memory>

#include "platform/controls/control_types.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/messages.h"
#include "platform/controls/popup_menu.h"
#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/graphics/font.h"

class TWinControl;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
// Key handlers may change the key (0 = swallowed).
using TKeyEvent = TEvent<TObject*, uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, QChar&>;
// Mouse position in client coordinates (-1, -1 from the keyboard); set
// Handled to stop the popup menu.
using TContextPopupEvent = TEvent<TObject*, TPoint, bool&>;

class TControl : public TComponent {
  Q_OBJECT
  Q_PROPERTY(int Left READ Left WRITE SetLeft)
  Q_PROPERTY(int Top READ Top WRITE SetTop)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(ControlTypes::TAlign Align READ Align WRITE SetAlign)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
  Q_PROPERTY(TCursor Cursor READ Cursor WRITE SetCursor)
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
  Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
  Q_PROPERTY(TNotifyEvent OnDblClick READ OnDblClick WRITE SetOnDblClick)
  Q_PROPERTY(TMouseEvent OnMouseDown READ OnMouseDown WRITE SetOnMouseDown)
  Q_PROPERTY(TMouseEvent OnMouseUp READ OnMouseUp WRITE SetOnMouseUp)
  Q_PROPERTY(TMouseMoveEvent OnMouseMove READ OnMouseMove WRITE SetOnMouseMove)
  Q_PROPERTY(TContextPopupEvent OnContextPopup READ OnContextPopup WRITE SetOnContextPopup)
  Q_PROPERTY(TNotifyEvent OnResize READ OnResize WRITE SetOnResize)
  Q_PROPERTY(DragTypes::TDragMode DragMode READ DragMode WRITE SetDragMode)
  Q_PROPERTY(TDragDropEvent OnDragDrop READ OnDragDrop WRITE SetOnDragDrop)
  Q_PROPERTY(TDragOverEvent OnDragOver READ OnDragOver WRITE SetOnDragOver)
  Q_PROPERTY(TStartDragEvent OnStartDrag READ OnStartDrag WRITE SetOnStartDrag)
  Q_PROPERTY(TEndDragEvent OnEndDrag READ OnEndDrag WRITE SetOnEndDrag)
  Q_CLASSINFO("default:Align", "alNone")
  Q_CLASSINFO("default:Color", "clWindow")
  Q_CLASSINFO("default:ParentColor", "False")
  Q_CLASSINFO("default:ParentFont", "True")
  Q_CLASSINFO("default:Cursor", "0")
  Q_CLASSINFO("default:Hint", "''")
  Q_CLASSINFO("default:ShowHint", "False")
  Q_CLASSINFO("default:ParentShowHint", "True")
  Q_CLASSINFO("default:Visible", "True")
  Q_CLASSINFO("default:Enabled", "True")
  Q_CLASSINFO("default:DragMode", "dmManual")
  // Colour and font follow the parent's while ParentColor / ParentFont is set;
  // the form writer then leaves them out (ask these invokables).
  Q_CLASSINFO("stored:Color", "IsColorStored")
  Q_CLASSINFO("stored:Font", "IsFontStored")

 public:
  Q_INVOKABLE explicit TControl(TComponent* AOwner = nullptr);
  ~TControl() override;

  // Bounds in the parent's client coordinates.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // The client area, (0, 0, ClientWidth, ClientHeight).
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int value);
  virtual void SetClientHeight(int value);
  // Conversion between this control's client coordinates and the screen.
  TPoint ClientToScreen(const TPoint& point) const;
  TPoint ScreenToClient(const TPoint& point) const;
  // Conversion to and from the parent's client coordinates.
  TPoint ClientToParent(const TPoint& point) const {
    return TPoint(SaturatedInt32(int64_t(point.X) + left_), SaturatedInt32(int64_t(point.Y) + top_));
  }

  // Visual parent: the windowed control whose surface shows this control.
  // Setting it appends the control to the parent's Controls list.
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so is every parent up to a top-level window that is shown.
  virtual bool Showing() const;

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  Q_INVOKABLE bool IsColorStored() const { return !parentColor_; }

  // The control's own font; changing it repaints the control and clears
  // ParentFont.
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  Q_INVOKABLE bool IsFontStored() const { return !parentFont_; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  const QString& Hint() const { return hint_; }
  void SetHint(const QString& value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);

  // Text of the control (a caption for labels, buttons and forms, the
  // contents for edits). A change is reported as CM_TEXTCHANGED.
  QString Text() const { return GetText(); }
  void SetText(const QString& value);
  QString Caption() const { return GetText(); }
  void SetCaption(const QString& value) { SetText(value); }

  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  // True when the next paint covers every pixel of the control's rectangle,
  // so what lies beneath it (a windowless control's siblings and parent, a
  // windowed control's own background) is left unpainted; the base answers
  // with csOpaque.
  virtual bool PaintsOpaque() const { return ControlStyle() & csOpaque; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }

  // Requests a repaint of the control's rectangle; Qt merges pending requests.
  virtual void Invalidate();
  // Repaints at once (when the control is showing).
  virtual void Repaint();
  void Refresh() { Repaint(); }
  // Restacks the control among its siblings (painting order / widget order).
  void BringToFront();
  void SendToBack();

  // Delivers a message to the control's handler directly and returns its result.
  intptr_t Perform(uint32_t Msg, intptr_t WParam = 0, intptr_t LParam = 0);
  // The control's message handler. Descendants override it, handle their
  // messages and pass everything else to the inherited WndProc.
  virtual void WndProc(TMessage& Message);

  // Input handlers; the base ones raise the events.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);

  // Drag and drop (drag_drop.h). BeginDrag starts dragging this control: at
  // once, or (Immediate false) when the mouse has moved Threshold pixels
  // (the platform's start distance when negative) with the left button held.
  void BeginDrag(bool Immediate = true, int Threshold = -1);
  // Whether a drag of this control is armed or running.
  bool Dragging() const { return dragPending_ || dragRunning_; }
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode value) { dragMode_ = value; }
  // Handlers; the base ones raise the events.
  virtual void DoStartDrag(TObject*& DragObject);
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual void DoEndDrag(TObject* Target, int X, int Y);

  // Events.
  const TNotifyEvent& OnClick() const { return onClick_; }
  void SetOnClick(const TNotifyEvent& value) { onClick_ = value; }
  const TNotifyEvent& OnDblClick() const { return onDblClick_; }
  void SetOnDblClick(const TNotifyEvent& value) { onDblClick_ = value; }
  const TMouseEvent& OnMouseDown() const { return onMouseDown_; }
  void SetOnMouseDown(const TMouseEvent& value) { onMouseDown_ = value; }
  const TMouseEvent& OnMouseUp() const { return onMouseUp_; }
  void SetOnMouseUp(const TMouseEvent& value) { onMouseUp_ = value; }
  const TMouseMoveEvent& OnMouseMove() const { return onMouseMove_; }
  void SetOnMouseMove(const TMouseMoveEvent& value) { onMouseMove_ = value; }
  const TContextPopupEvent& OnContextPopup() const { return onContextPopup_; }
  void SetOnContextPopup(const TContextPopupEvent& value) { onContextPopup_ = value; }
  const TNotifyEvent& OnResize() const { return onResize_; }
  void SetOnResize(const TNotifyEvent& value) { onResize_ = value; }
  const TDragDropEvent& OnDragDrop() const { return onDragDrop_; }
  void SetOnDragDrop(const TDragDropEvent& value) { onDragDrop_ = value; }
  const TDragOverEvent& OnDragOver() const { return onDragOver_; }
  void SetOnDragOver(const TDragOverEvent& value) { onDragOver_ = value; }
  const TStartDragEvent& OnStartDrag() const { return onStartDrag_; }
  void SetOnStartDrag(const TStartDragEvent& value) { onStartDrag_ = value; }
  const TEndDragEvent& OnEndDrag() const { return onEndDrag_; }
  void SetOnEndDrag(const TEndDragEvent& value) { onEndDrag_ = value; }

  // Streaming: the enclosing block of a form description is the parent.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  // Text storage; windowed controls around a native widget override both to
  // use the widget's text.
  virtual QString GetText() const { return text_; }
  virtual void StoreText(const QString& value) { text_ = value; }

  // Hooks for the two kinds of control.
  // Called after the bounds changed (old bounds given).
  virtual void BoundsChanged(const TRect& oldBounds);
  // Called after the parent changed (the control is already in the new
  // parent's Controls list).
  virtual void ParentChanged(TWinControl* oldParent);
  // Called after Visible or Enabled changed.
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  // Applies Cursor to the surface the mouse is over.
  virtual void ApplyCursor();
  // Applies ShowHint and Hint to the native tooltip (windowed controls).
  virtual void ApplyHint() {}

  virtual void Resize();
  virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);
  // Asks the parent to lay out its aligned children again.
  void RequestAlign();
  // Called by the parent when its font or colour changed.
  void ParentFontChanged();
  void ParentColorChanged();
  // The effective ShowHint (ParentShowHint follows the parent's).
  bool EffectiveShowHint() const;

  // The mouse messages are turned into the virtual handlers here.
  void HandleMouseMessage(TMessage& Message);

  // Leaves the parent (destructors call it while their part still exists).
  void DetachFromParent();
  // Stores new bounds without asking the parent to realign (used by the
  // parent's alignment itself).
  void UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight);

 private:
  friend class TWinControl;
  void FontChanged(TObject* Sender);
  // Runs the drag: OnStartDrag, Qt's drag, OnEndDrag.
  void RunDrag();

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool fontFromParent_ = false;  // the font is being copied from the parent
  TCursor cursor_ = 0;
  QString hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  QString text_;
  TPopupMenu* popupMenu_ = nullptr;
  TControlStyle controlStyle_ = TControlStyle(csCaptureMouse) | csClickEvents | csDoubleClicks;
  bool clicked_ = false;  // a left press started inside: a release inside clicks

  TNotifyEvent onClick_;
  TNotifyEvent onDblClick_;
  TMouseEvent onMouseDown_;
  TMouseEvent onMouseUp_;
  TMouseMoveEvent onMouseMove_;
  TContextPopupEvent onContextPopup_;
  TNotifyEvent onResize_;
  TDragMode dragMode_ = dmManual;
  bool dragPending_ = false;  // armed: starts when the mouse has moved far enough
  bool dragRunning_ = false;
  TPoint dragStart_;
  int dragThreshold_ = 0;
  TDragDropEvent onDragDrop_;
  TDragOverEvent onDragOver_;
  TStartDragEvent onStartDrag_;
  TEndDragEvent onEndDrag_;
};

Q_DECLARE_METATYPE(TMouseEvent)
Q_DECLARE_METATYPE(TMouseMoveEvent)
Q_DECLARE_METATYPE(TKeyEvent)
Q_DECLARE_METATYPE(TKeyPressEvent)
Q_DECLARE_METATYPE(TContextPopupEvent)

// The form (top-level windowed control) that shows `control`, or null.
class TForm;
TForm* GetParentForm(const TControl* control);
