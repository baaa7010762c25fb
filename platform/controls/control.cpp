#include "platform/controls/control.h"

#include <QWidget>
#include <cstdlib>

#include "platform/controls/form.h"
#include "platform/controls/keys.h"
#include "platform/controls/win_control.h"

namespace {

// Event types of the controls, registered once for form descriptions.
void RegisterControlEvents() {
  static const bool registered = [] {
    RegisterEventType<TMouseEvent>();
    RegisterEventType<TMouseMoveEvent>();
    RegisterEventType<TKeyEvent>();
    RegisterEventType<TKeyPressEvent>();
    RegisterEventType<TContextPopupEvent>();
    RegisterEventType<TDragDropEvent>();
    RegisterEventType<TDragOverEvent>();
    RegisterEventType<TStartDragEvent>();
    return true;
  }();
  (void)registered;
}

TMouseButton ButtonOfMessage(uint32_t msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return mbMiddle;
    default:
      return mbLeft;
  }
}

}  // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {
  RegisterControlEvents();
  font_->SetOnChange(TNotifyEvent([this](TObject* sender) { FontChanged(sender); }));
}

TControl::~TControl() {
  Destroying();
  font_->SetOnChange(TNotifyEvent());
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  DetachFromParent();
}

void TControl::DetachFromParent() {
  if (parent_) parent_->RemoveControl(this);
}

// --- Bounds -------------------------------------------------------------------

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  UpdateBounds(ALeft, ATop, AWidth, AHeight);
  // An aligned control keeps the place its parent gives it.
  if (align_ != alNone) RequestAlign();
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  const TRect old = BoundsRect();
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  BoundsChanged(old);
  if (old.Width() != width_ || old.Height() != height_) Resize();
}

TRect TControl::ClientRect() const {
  return Rect(0, 0, width_, height_);
}

void TControl::SetClientWidth(int value) {
  SetWidth(SaturatedInt32(int64_t(value) + width_ - ClientWidth()));
}

void TControl::SetClientHeight(int value) {
  SetHeight(SaturatedInt32(int64_t(value) + height_ - ClientHeight()));
}

TPoint TControl::ClientToScreen(const TPoint& point) const {
  if (auto* win = qobject_cast<const TWinControl*>(this); win && win->Widget())
    return TPoint::fromQPoint(win->Widget()->mapToGlobal(point.toQPoint()));
  if (parent_) return parent_->ClientToScreen(ClientToParent(point));
  return ClientToParent(point);
}

TPoint TControl::ScreenToClient(const TPoint& point) const {
  const TPoint origin = ClientToScreen(TPoint(0, 0));
  return TPoint(SaturatedInt32(int64_t(point.X) - origin.X), SaturatedInt32(int64_t(point.Y) - origin.Y));
}

void TControl::BoundsChanged(const TRect& /*oldBounds*/) {}

void TControl::Resize() {
  onResize_(this);
}

void TControl::RequestAlign() {
  if (parent_) parent_->Realign();
}

// --- Parent -------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  for (const TControl* p = AParent; p; p = p->parent_)
    if (p == this)
      throw EInvalidOperation(Exception::Fmt("Control '%s' cannot be placed inside itself", Name()));
  if (AParent)
    AParent->InsertControl(this);
  else
    parent_->RemoveControl(this);
}

void TControl::ParentChanged(TWinControl* /*oldParent*/) {}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetParentComponent(TComponent* value) {
  SetParent(CheckedCast<TWinControl>(value));
}

bool TControl::Showing() const {
  return visible_ && parent_ && parent_->Showing();
}

// --- State --------------------------------------------------------------------

void TControl::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  VisibleChanged();
  Perform(CM_VISIBLECHANGED, value);
  if (align_ != alNone) RequestAlign();
}

void TControl::VisibleChanged() {}

void TControl::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  EnabledChanged();
  Perform(CM_ENABLEDCHANGED);
}

void TControl::EnabledChanged() {
  Invalidate();
}

void TControl::SetAlign(TAlign value) {
  if (align_ == value) return;
  align_ = value;
  RequestAlign();
}

void TControl::SetColor(TColor value) {
  if (color_ == value && !parentColor_) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_ || color_ == parent_->Color()) return;
  color_ = parent_->Color();
  Perform(CM_COLORCHANGED);
}

void TControl::SetFont(TFont* value) {
  if (value && value != font_.get()) font_->Assign(value);
}

void TControl::FontChanged(TObject* /*sender*/) {
  if (!fontFromParent_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (parentFont_ == value) return;
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  fontFromParent_ = true;
  try {
    font_->Assign(parent_->Font());
  } catch (...) {
    fontFromParent_ = false;
    throw;
  }
  fontFromParent_ = false;
}

void TControl::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  ApplyCursor();
  Perform(CM_CURSORCHANGED);
}

void TControl::ApplyCursor() {}

void TControl::SetHint(const QString& value) {
  if (hint_ == value) return;
  hint_ = value;
  ApplyHint();
  Perform(CM_HINTCHANGED);
}

void TControl::SetShowHint(bool value) {
  if (showHint_ == value && !parentShowHint_) return;
  showHint_ = value;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (parentShowHint_ == value) return;
  parentShowHint_ = value;
  Perform(CM_SHOWHINTCHANGED);
}

bool TControl::EffectiveShowHint() const {
  if (parentShowHint_ && parent_) return parent_->EffectiveShowHint();
  return showHint_;
}

void TControl::SetText(const QString& value) {
  if (value == GetText()) return;
  StoreText(value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  if (popupMenu_ == value) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == popupMenu_) popupMenu_ = nullptr;
}

// --- Painting and order ------------------------------------------------------------

void TControl::Invalidate() {}

void TControl::Repaint() {}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  std::erase(list, this);
  list.push_back(this);
  if (auto* win = qobject_cast<TWinControl*>(this); win && win->Widget()) win->Widget()->raise();
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  std::erase(list, this);
  list.insert(list.begin(), this);
  if (auto* win = qobject_cast<TWinControl*>(this); win && win->Widget()) win->Widget()->lower();
  parent_->Invalidate();
}

// --- Messages -------------------------------------------------------------------

intptr_t TControl::Perform(uint32_t Msg, intptr_t WParam, intptr_t LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      HandleMouseMessage(Message);
      break;
    case WM_SETCURSOR:
      ApplyCursor();
      Message.Result = 1;
      break;
    case WM_CONTEXTMENU: {
      const TPoint screen(GetXParam(Message.LParam), GetYParam(Message.LParam));
      // (-1, -1) comes from the keyboard: there is no mouse position.
      const bool fromKeyboard = screen.X == -1 && screen.Y == -1;
      const TPoint pos = fromKeyboard ? screen : ScreenToClient(screen);
      bool handled = false;
      DoContextPopup(pos, handled);
      if (handled) {
        Message.Result = 1;
      } else if (popupMenu_) {
        const TPoint at = fromKeyboard ? ClientToScreen(TPoint(0, 0)) : screen;
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(at.X, at.Y);
        Message.Result = 1;
      }
      break;
    }
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
}

void TControl::HandleMouseMessage(TMessage& Message) {
  const TShiftState shift = ShiftFromMouseKeys(LoWord(Message.WParam));
  const int x = GetXParam(Message.LParam);
  const int y = GetYParam(Message.LParam);
  const TMouseButton button = ButtonOfMessage(Message.Msg);
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      if (controlStyle_ & csClickEvents) clicked_ = true;
      if (dragMode_ == dmAutomatic && !Dragging()) {
        BeginDrag(false);
        dragStart_ = TPoint(x, y);
      }
      MouseDown(button, shift, x, y);
      break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      MouseDown(button, shift, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      if (controlStyle_ & csClickEvents) DblClick();
      MouseDown(button, shift | ssDouble, x, y);
      break;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      MouseDown(button, shift | ssDouble, x, y);
      break;
    case WM_LBUTTONUP:
      dragPending_ = false;
      // A press and release inside the control is a click; it comes before
      // the release handler.
      if (clicked_) {
        clicked_ = false;
        if (x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) Click();
      }
      MouseUp(button, shift, x, y);
      break;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      MouseUp(button, shift, x, y);
      break;
    case WM_MOUSEMOVE:
      if (dragPending_ && (shift & ssLeft) &&
          std::abs(x - dragStart_.X) + std::abs(y - dragStart_.Y) >= dragThreshold_) {
        dragPending_ = false;
        RunDrag();
        break;
      }
      MouseMove(shift, x, y);
      break;
    default:
      break;
  }
}

void TControl::Click() {
  onClick_(this);
}

void TControl::DblClick() {
  onDblClick_(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  onMouseDown_(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  onMouseUp_(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  onMouseMove_(this, Shift, X, Y);
}

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  onContextPopup_(this, MousePos, Handled);
}

TForm* GetParentForm(const TControl* control) {
  if (!control) return nullptr;
  while (control->Parent()) control = control->Parent();
  return qobject_cast<TForm*>(const_cast<TControl*>(control));
}
