#include "platform/controls/win_control.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "platform/controls/cursors.h"
#include "platform/controls/form.h"
#include "platform/controls/graphic_control.h"
#include "platform/controls/keys.h"
#include "platform/controls/safe_call.h"
#include "platform/graphics/colors.h"

namespace {

// A native field (or the text part of a combo box) that was scrolled to its
// cursor shows the start of its text again when the focus leaves it, as the
// platform's fields do. Not when a popup (its own list) takes the focus, nor
// when the whole window is left: the user comes back to the same place.
void ShowTextStartOnFocusOut(QWidget* widget, const QFocusEvent* event) {
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
  auto* edit = qobject_cast<QLineEdit*>(widget);
  if (!edit) edit = widget->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  if (edit) edit->home(false);
}

// The size a control's widget is given: its own, held to what Qt accepts.
QSize WidgetSize(const TControl* control) {
  return QSize(std::clamp(control->Width(), 0, kQtCoordLimit),
               std::clamp(control->Height(), 0, kQtCoordLimit));
}

// Dynamic property of a control's widget naming the control.
constexpr const char* kControlProperty = "kvWinControl";

uint32_t MouseMessage(QEvent::Type type, TMouseButton button) {
  static constexpr uint32_t down[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static constexpr uint32_t up[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
  static constexpr uint32_t dbl[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
  switch (type) {
    case QEvent::MouseButtonPress:
      return down[button];
    case QEvent::MouseButtonRelease:
      return up[button];
    case QEvent::MouseButtonDblClick:
      return dbl[button];
    default:
      return WM_MOUSEMOVE;
  }
}

bool ButtonFromQt(Qt::MouseButton qt, TMouseButton& button) {
  switch (qt) {
    case Qt::LeftButton:
      button = mbLeft;
      return true;
    case Qt::RightButton:
      button = mbRight;
      return true;
    case Qt::MiddleButton:
      button = mbMiddle;
      return true;
    default:
      return false;
  }
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TWinControl(AOwner, std::make_unique<QWidget>()) {
  plainWidget_ = true;
  // The control fills its background itself, where no opaque windowless
  // child covers it (PaintEvent).
  widget_->setAttribute(Qt::WA_OpaquePaintEvent);
  // Drops of the controls' own drags; others are turned away in DragEvent.
  widget_->setAcceptDrops(true);
  // A plain control takes the focus only when asked to or by tab.
  nativeFocusPolicy_ = Qt::NoFocus;
  ApplyTabStop();
}

TWinControl::TWinControl(TComponent* AOwner, std::unique_ptr<QWidget> widget)
    : TControl(AOwner), widget_(widget.release()) {
  Init();
}

void TWinControl::Init() {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  widget_->setProperty(kControlProperty, QVariant::fromValue(static_cast<QObject*>(this)));
  widget_->installEventFilter(this);
  widget_->setMouseTracking(true);
  nativeFocusPolicy_ = widget_->focusPolicy();
  if (widget_->testAttribute(Qt::WA_SetCursor)) nativeCursor_ = widget_->cursor();
  ApplyGeometry();
  ApplyFont();
  ApplyColor();
  ApplyTabStop();
}

TWinControl::~TWinControl() {
  Destroying();
  for (auto& inner : observed_)
    if (inner) inner->removeEventFilter(this);
  if (widget_) widget_->removeEventFilter(this);
  if (TForm* form = GetParentForm(this)) form->ControlDestroyed(this);
  // Owned components go first, while the widget they may sit in still exists.
  DestroyComponents();
  // Children owned by someone else stay alive without a parent.
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  DetachFromParent();
  if (widget_) {
    widget_->setProperty(kControlProperty, QVariant());
    delete widget_.data();
  }
}

TWinControl* TWinControl::FindControl(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant v = w->property(kControlProperty);
    if (v.isValid())
      if (auto* control = qobject_cast<TWinControl*>(v.value<QObject*>())) return control;
  }
  return nullptr;
}

void TWinControl::ObserveWidget(QWidget* inner) {
  if (!inner || inner == widget_) return;
  inner->installEventFilter(this);
  inner->setMouseTracking(true);
  observed_.emplace_back(inner);
}

// --- Children -------------------------------------------------------------------

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  if (!control || control->parent_ == this) return;
  if (control == this ||
      (qobject_cast<TWinControl*>(control) && static_cast<TWinControl*>(control)->ContainsControl(this)))
    throw EInvalidOperation(Exception::Fmt("Control '%s' cannot be placed inside itself", control->Name()));
  TWinControl* old = control->parent_;
  if (old) {
    std::erase(old->controls_, control);
    if (auto* win = qobject_cast<TWinControl*>(control)) std::erase(old->tabList_, win);
    if (old->captured_ == control) old->captured_ = nullptr;
    if (old->hovered_ == control) old->hovered_ = nullptr;
  }
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* win = qobject_cast<TWinControl*>(control)) InsertTab(win);
  control->ParentChanged(old);
  control->ParentFontChanged();
  control->ParentColorChanged();
  if (old) {
    old->Realign();
    old->UpdateTabChain();
  }
  if (control->Align() != alNone) Realign();
  UpdateTabChain();
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  if (!control || control->parent_ != this) return;
  std::erase(controls_, control);
  auto* win = qobject_cast<TWinControl*>(control);
  if (win) std::erase(tabList_, win);
  if (captured_ == control) captured_ = nullptr;
  if (hovered_ == control) hovered_ = nullptr;
  control->parent_ = nullptr;
  if (!(control->ComponentState() & csDestroying)) control->ParentChanged(this);
  if (control->Align() != alNone) Realign();
  if (win && !(ComponentState() & csDestroying)) UpdateTabChain();
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && qobject_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    if (pos.X >= c->Left() && pos.Y >= c->Top() && pos.X < int64_t(c->Left()) + c->Width() &&
        pos.Y < int64_t(c->Top()) + c->Height())
      return c;
  }
  return nullptr;
}

// --- Tab order ----------------------------------------------------------------------

void TWinControl::InsertTab(TWinControl* control) {
  tabList_.push_back(control);
  if (control->pendingTabOrder_ >= 0 && !(control->ComponentState() & csLoading)) {
    const int order = control->pendingTabOrder_;
    control->pendingTabOrder_ = -1;
    control->SetTabOrder(order);
  }
}

int TWinControl::TabOrder() const {
  if (!parent_) return pendingTabOrder_;
  const auto& list = parent_->tabList_;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  // While a form description is read, the final order is fixed up when
  // loading ends: the controls named later may not exist yet.
  if (!parent_ || (ComponentState() & csLoading)) {
    pendingTabOrder_ = value;
    return;
  }
  auto& list = parent_->tabList_;
  const auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  const int count = int(list.size());
  if (value < 0 || value >= count) value = count - 1;
  const int current = int(it - list.begin());
  if (value == current) return;
  list.erase(it);
  list.insert(list.begin() + value, this);
  parent_->UpdateTabChain();
}

void TWinControl::SetTabStop(bool value) {
  if (tabStop_ == value) return;
  tabStop_ = value;
  ApplyTabStop();
}

void TWinControl::ApplyTabStop() {
  if (!widget_) return;
  Qt::FocusPolicy policy = nativeFocusPolicy_;
  if (tabStop_)
    policy = Qt::FocusPolicy(policy | Qt::TabFocus);
  else
    policy = Qt::FocusPolicy(policy & ~Qt::TabFocus);
  widget_->setFocusPolicy(policy);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = int(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? count - 1 : 0) : int(it - list.begin());
  int i = start;
  do {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[size_t(i)];
    if (c->CanFocus() && (!checkTabStop || c->TabStop())) return c;
  } while (i != start);
  return nullptr;
}

bool TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  TWinControl* next = FindNextControl(current, goForward, checkTabStop);
  if (!next) return false;
  next->SetFocus();
  return true;
}

TWinControl* TWinControl::RootControl() {
  TWinControl* root = this;
  while (root->parent_) root = root->parent_;
  return root;
}

void TWinControl::UpdateTabChain() {
  TWinControl* root = RootControl();
  if (!root->widget_ || (root->ComponentState() & csDestroying)) return;
  std::vector<TWinControl*> list;
  root->GetTabOrderList(list);
  QWidget* previous = nullptr;
  for (TWinControl* c : list) {
    QWidget* w = c->widget_.data();
    if (!w || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

// --- Focus ------------------------------------------------------------------------------

bool TWinControl::CanFocus() const {
  const TForm* form = GetParentForm(this);
  if (!form || !widget_) return false;
  for (const TControl* c = this; c && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  return widget_ && widget_->hasFocus();
}

void TWinControl::SetFocus() {
  TForm* form = GetParentForm(this);
  if (!form) throw EInvalidOperation(QStringLiteral("Cannot focus a control that is not on a form"));
  if (form == this) {
    if (widget_ && widget_->isVisible()) widget_->activateWindow();
    return;
  }
  form->SetActiveControl(this);
}

// --- Alignment -------------------------------------------------------------------------------

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || aligning_ || (ComponentState() & csDestroying)) return;
  aligning_ = true;
  TRect rect = ClientRect();
  try {
    AlignControls(rect);
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::AlignControls(TRect& rect) {
  // Top, bottom, left, right, then the rest for the client controls; within
  // each kind in the order of their current position.
  static constexpr TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : order) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == align && c->Visible()) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [align](const TControl* a, const TControl* b) {
      switch (align) {
        case alTop:
          return a->Top() < b->Top();
        case alBottom:
          return int64_t(a->Top()) + a->Height() > int64_t(b->Top()) + b->Height();
        case alLeft:
          return a->Left() < b->Left();
        case alRight:
          return int64_t(a->Left()) + a->Width() > int64_t(b->Left()) + b->Width();
        default:
          return false;
      }
    });
    for (TControl* c : list) {
      const int w = std::max(0, rect.Width());
      const int h = std::max(0, rect.Height());
      switch (align) {
        case alTop:
          c->UpdateBounds(rect.Left, rect.Top, w, c->Height());
          rect.Top = SaturatedInt32(int64_t(rect.Top) + c->Height());
          break;
        case alBottom:
          c->UpdateBounds(rect.Left, SaturatedInt32(int64_t(rect.Bottom) - c->Height()), w, c->Height());
          rect.Bottom = SaturatedInt32(int64_t(rect.Bottom) - c->Height());
          break;
        case alLeft:
          c->UpdateBounds(rect.Left, rect.Top, c->Width(), h);
          rect.Left = SaturatedInt32(int64_t(rect.Left) + c->Width());
          break;
        case alRight:
          c->UpdateBounds(SaturatedInt32(int64_t(rect.Right) - c->Width()), rect.Top, c->Width(), h);
          rect.Right = SaturatedInt32(int64_t(rect.Right) - c->Width());
          break;
        default:
          c->UpdateBounds(rect.Left, rect.Top, w, h);
          break;
      }
    }
  }
}

void TWinControl::ScaleBy(int M, int D) {
  if (M == D || D == 0) return;
  DisableAlign();
  for (TControl* c : controls_) {
    const auto scale = [M, D](int v) { return SaturatedInt32(int64_t(v) * M / D); };
    c->SetBounds(scale(c->Left()), scale(c->Top()), scale(c->Width()), scale(c->Height()));
    if (!c->ParentFont()) c->Font()->SetHeight(scale(c->Font()->Height()));
    if (auto* win = qobject_cast<TWinControl*>(c)) win->ScaleBy(M, D);
  }
  EnableAlign();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Tab orders read from a form description are applied now that every
  // sibling exists, lowest first so that each lands on its index.
  if (parent_) {
    std::vector<TWinControl*> pending;
    for (TWinControl* c : parent_->tabList_)
      if (c->pendingTabOrder_ >= 0 && !(c->ComponentState() & csLoading)) pending.push_back(c);
    std::stable_sort(pending.begin(), pending.end(), [](const TWinControl* a, const TWinControl* b) {
      return a->pendingTabOrder_ < b->pendingTabOrder_;
    });
    for (TWinControl* c : pending) {
      const int order = c->pendingTabOrder_;
      c->pendingTabOrder_ = -1;
      c->SetTabOrder(order);
    }
  }
  Realign();
}

// --- Geometry and appearance ---------------------------------------------------------------------

TRect TWinControl::ClientRect() const {
  return Rect(0, 0, Width(), Height());
}

bool TWinControl::Showing() const {
  return widget_ && widget_->isVisible();
}

void TWinControl::ApplyGeometry() {
  if (!widget_) return;
  QScopedValueRollback<bool> guard(applyingGeometry_, true);
  const QSize size = WidgetSize(this);
  if (parent_)
    widget_->setGeometry(QtCoord(Left()), QtCoord(Top()), size.width(), size.height());
  else
    widget_->resize(size);
}

void TWinControl::ApplyVisibility() {
  if (!widget_) return;
  // A windowed control without a parent would become a window of its own.
  widget_->setVisible(Visible() && parent_);
}

void TWinControl::BoundsChanged(const TRect& oldBounds) {
  ApplyGeometry();
  if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) {
    Realign();
    Perform(WM_SIZE, SIZE_RESTORED, MakeLong(uint16_t(ClientWidth()), uint16_t(ClientHeight())));
  }
}

void TWinControl::ParentChanged(TWinControl* /*oldParent*/) {
  if (!widget_) return;
  widget_->setParent(parent_ ? parent_->Widget() : nullptr);
  ApplyGeometry();
  ApplyVisibility();
}

void TWinControl::VisibleChanged() {
  ApplyVisibility();
}

void TWinControl::EnabledChanged() {
  if (widget_) widget_->setEnabled(Enabled());
}

void TWinControl::ApplyFont() {
  if (!widget_) return;
  widget_->setFont(Font()->ToQFont());
  QPalette palette = widget_->palette();
  const QColor text = ToQColor(Font()->Color());
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(role, text);
  widget_->setPalette(palette);
}

void TWinControl::ApplyColor() {
  if (!widget_) return;
  QPalette palette = widget_->palette();
  const QColor color = ToQColor(Color());
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
    palette.setColor(role, color);
  widget_->setPalette(palette);
}

void TWinControl::ApplyCursor() {
  ShowCursor(Cursor());
}

void TWinControl::ShowCursor(TCursor cursor) {
  if (!widget_) return;
  if (cursor != crDefault)
    widget_->setCursor(CursorToQCursor(cursor));
  else if (nativeCursor_)
    widget_->setCursor(*nativeCursor_);
  else
    widget_->unsetCursor();
}

void TWinControl::ApplyHint() {
  if (widget_) widget_->setToolTip(EffectiveShowHint() ? Hint() : QString());
}

intptr_t TWinControl::DefaultDialogCode() const {
  return plainWidget_ ? 0 : DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TWinControl::Invalidate() {
  if (widget_) widget_->update();
}

void TWinControl::Repaint() {
  if (widget_) widget_->repaint();
}

// --- Messages --------------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
      uint16_t key = uint16_t(Message.WParam);
      const TShiftState shift = TShiftState::fromInt(int(Message.LParam));
      if (Message.Msg == WM_KEYDOWN)
        KeyDown(key, shift);
      else
        KeyUp(key, shift);
      Message.WParam = key;
      Message.Result = key == 0;
      return;
    }
    case WM_CHAR: {
      QChar ch(char16_t(Message.WParam));
      KeyPress(ch);
      Message.WParam = ch.unicode();
      Message.Result = ch.isNull();
      return;
    }
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case WM_GETDLGCODE:
      Message.Result = DefaultDialogCode();
      return;
    case CM_FONTCHANGED:
      ApplyFont();
      for (TControl* c : std::vector<TControl*>(controls_)) c->ParentFontChanged();
      Invalidate();
      return;
    case CM_COLORCHANGED:
      ApplyColor();
      for (TControl* c : std::vector<TControl*>(controls_)) c->ParentColorChanged();
      Invalidate();
      return;
    case CM_SHOWHINTCHANGED:
      ApplyHint();
      for (TControl* c : std::vector<TControl*>(controls_))
        if (c->ParentShowHint()) c->Perform(CM_SHOWHINTCHANGED);
      return;
    default:
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  onKeyDown_(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  onKeyUp_(this, Key, Shift);
}

void TWinControl::KeyPress(QChar& Key) {
  onKeyPress_(this, Key);
}

// --- Painting ------------------------------------------------------------------------------------------

void TWinControl::PaintWindow(QPainter& /*painter*/) {}

namespace {

// The visible windowless children of a control that reach into a paint
// region, each with the part of the region it paints, bottom to top.
//
// Each child is clipped to the part of the region it reaches, not to the
// region's bounding rectangle: a paint event's region is a set of dirty
// rectangles, often far apart (the instruments of a panel, each asking for
// its own repaint), and their bounding rectangle would take in every child
// between them. A child that paints opaquely hides what lies beneath it, so
// the children below it (a panel's background) and the parent's own
// background are left out where it is.
struct TChildPart {
  TGraphicControl* control;
  QRect bounds;
  QRegion part;
};

// Plans the paint of `region` (client coordinates); `uncovered` receives the
// part of it no opaque child covers, which the parent's background must fill.
std::vector<TChildPart> PlanGraphicChildren(const TWinControl& parent, const QRegion& region,
                                            QRegion& uncovered) {
  std::vector<TChildPart> parts;
  uncovered = region;
  // Top (the last in z-order) to bottom, taking out what opaque ones cover.
  QRect reach = region.boundingRect();
  for (int i = parent.ControlCount() - 1; i >= 0 && !uncovered.isEmpty(); --i) {
    // The cheap tests first: most children of a panel lie outside a repaint.
    TControl* control = parent.Controls(i);
    if (!control->Visible() || control->Width() <= 0 || control->Height() <= 0) continue;
    const QRect bounds = control->BoundsRect().toQRect();
    if (!reach.intersects(bounds) || !uncovered.intersects(bounds)) continue;
    auto* graphic = qobject_cast<TGraphicControl*>(control);
    if (!graphic) continue;
    QRegion part = uncovered & bounds;
    if (graphic->PaintsOpaque()) {
      uncovered -= bounds;
      reach = uncovered.boundingRect();
    }
    parts.push_back({graphic, bounds, std::move(part)});
  }
  std::reverse(parts.begin(), parts.end());
  return parts;
}

void PaintGraphicChildren(QPainter& painter, const std::vector<TChildPart>& parts) {
  for (const TChildPart& child : parts) {
    painter.save();
    // A single rectangle keeps the painter's fast paths for a rectangular clip.
    if (child.part.rectCount() == 1)
      painter.setClipRect(child.part.boundingRect(), Qt::IntersectClip);
    else
      painter.setClipRegion(child.part, Qt::IntersectClip);
    painter.translate(child.bounds.topLeft());
    child.control->PaintTo(painter);
    painter.restore();
  }
}

}  // namespace

// --- Events of the widget ---------------------------------------------------------------------------------

bool TWinControl::eventFilter(QObject* watched, QEvent* event) {
  if (!widget_ || (ComponentState() & csDestroying)) return false;
  auto* target = qobject_cast<QWidget*>(watched);
  if (!target) return false;
  bool consumed = false;
  if (!SafeCall([&] { consumed = WidgetEvent(target, event); })) {
    // The handler failed; the input it was handling is dropped.
    return event->type() != QEvent::Paint;
  }
  return consumed;
}

bool TWinControl::DeliverToWidget(QWidget* target, QEvent* event) {
  // QObject::event is public; through it the widget's own handling runs
  // without passing this filter again.
  static_cast<QObject*>(target)->event(event);
  event->accept();
  return true;
}

bool TWinControl::WidgetEvent(QWidget* target, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return MouseEvent(target, static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return KeyEvent(target, static_cast<QKeyEvent*>(event));
    case QEvent::Wheel:
      return WheelEvent(target, static_cast<QWheelEvent*>(event));
    case QEvent::ContextMenu:
      return ContextMenuEvent(target, static_cast<QContextMenuEvent*>(event));
    case QEvent::ToolTip:
      return ToolTipEvent(target, event);
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
      return DragEvent(target, event);
    case QEvent::Paint:
      if (target != widget_) return false;
      PaintEvent(target, event);
      return true;
    case QEvent::Resize:
      if (target == widget_) ResizeEvent();
      return false;
    case QEvent::FocusIn:
      FocusInEvent();
      return false;
    case QEvent::FocusOut:
      if (target == widget_ && !plainWidget_)
        ShowTextStartOnFocusOut(target, static_cast<QFocusEvent*>(event));
      Perform(WM_KILLFOCUS);
      return false;
    case QEvent::Enter:
      if (target == widget_) Perform(CM_MOUSEENTER);
      return false;
    case QEvent::Leave:
      if (target == widget_) {
        SetHovered(nullptr);
        Perform(CM_MOUSELEAVE);
      }
      return false;
    default:
      return false;
  }
}

bool TWinControl::MouseEvent(QWidget* target, QMouseEvent* event) {
  const QPoint pos = target == widget_ ? event->position().toPoint()
                                       : target->mapTo(widget_.data(), event->position().toPoint());
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  const uint16_t keys = MouseKeysFromShift(shift);
  TMouseButton button = mbLeft;
  const bool isButtonEvent = event->type() != QEvent::MouseMove;
  if (isButtonEvent && !ButtonFromQt(event->button(), button)) return DeliverToWidget(target, event);

  TControl* dest = this;
  if (captured_) {
    dest = captured_.data();
  } else if (TControl* child = ControlAtPos(TPoint::fromQPoint(pos))) {
    dest = child;
    if (event->type() != QEvent::MouseButtonRelease && (child->ControlStyle() & csCaptureMouse) &&
        isButtonEvent)
      captured_ = child;
  }
  if (event->type() == QEvent::MouseMove && !captured_) {
    SetHovered(dest == this ? nullptr : dest);
    dest->Perform(WM_SETCURSOR);
  }

  uint32_t msg = MouseMessage(event->type(), button);
  if (event->type() == QEvent::MouseButtonDblClick && !(dest->ControlStyle() & csDoubleClicks))
    msg = MouseMessage(QEvent::MouseButtonPress, button);
  const QPoint local = dest == this ? pos
                                    : QPoint(SaturatedInt32(int64_t(pos.x()) - dest->Left()),
                                             SaturatedInt32(int64_t(pos.y()) - dest->Top()));
  const bool toChild = dest != this;
  // A handler may free this control (or the child); nothing of it is touched then.
  QPointer<TWinControl> self(this);
  dest->Perform(msg, keys, MakePointParam(local.x(), local.y()));
  event->accept();
  if (!self || !widget_) return true;
  // The capture ends with the last button released, after that release was delivered.
  if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton) captured_ = nullptr;
  if (toChild || plainWidget_) return true;
  return DeliverToWidget(target, event);
}

bool TWinControl::KeyEvent(QWidget* target, QKeyEvent* event) {
  // Held keys repeat their key-down; only the real release is a key-up.
  if (event->type() == QEvent::KeyRelease && event->isAutoRepeat())
    return plainWidget_ ? true : DeliverToWidget(target, event);
  const TShiftState shift = ShiftStateFromQt(event->modifiers());
  const uint16_t vk = VirtualKeyFromQt(*event);

  // A plain widget has no key handling of its own worth keeping (it would
  // only move the focus on Tab, which the form decides here).
  QPointer<TWinControl> self(this);
  auto native = [&](QKeyEvent* e) {
    if (!self || !widget_ || plainWidget_) {
      e->accept();
      return true;
    }
    return DeliverToWidget(target, e);
  };

  if (event->type() == QEvent::KeyRelease) {
    TMessage up{WM_KEYUP, vk, intptr_t(shift.toInt()), 0};
    if (vk) WndProc(up);
    if (vk && up.WParam == 0) return true;
    return native(event);
  }

  // Tab, arrows, Return and Escape are dialog keys: unless the control asks
  // for them, the form uses them to move the focus.
  intptr_t mask = 0;
  switch (vk) {
    case VK_TAB:
      mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      mask = DLGC_WANTALLKEYS;
      break;
    default:
      break;
  }
  if (mask && !(Perform(WM_GETDLGCODE) & mask)) {
    TForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGKEY, vk, intptr_t(shift.toInt())) != 0) {
      event->accept();
      return true;
    }
    if (!self) return true;
  }

  event->accept();
  uint16_t key = vk;
  if (vk) {
    TMessage down{WM_KEYDOWN, vk, intptr_t(shift.toInt()), 0};
    WndProc(down);
    key = uint16_t(down.WParam);
    if (key == 0 || !self || !widget_) return true;
  }

  QString text = event->text();
  if (text.size() == 1) {
    TMessage ch{WM_CHAR, text[0].unicode(), 0, 0};
    WndProc(ch);
    if (ch.WParam == 0 || !self || !widget_) return true;
    text = QString(QChar(char16_t(ch.WParam)));
  }
  if (key != vk || text != event->text()) {
    // A handler changed the key: the widget gets the changed one.
    const int qtKey = key == vk ? event->key() : int(QtKeyFromVirtualKey(key));
    QKeyEvent changed(event->type(), qtKey, event->modifiers(), text, event->isAutoRepeat(), event->count());
    native(&changed);
    event->accept();
    return true;
  }
  return native(event);
}

bool TWinControl::WheelEvent(QWidget* target, QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return false;
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  const QPoint global = event->globalPosition().toPoint();
  const intptr_t wParam =
      MakeLong(MouseKeysFromShift(shift), uint16_t(int16_t(std::clamp(delta, -32768, 32767))));
  if (Perform(WM_MOUSEWHEEL, wParam, MakePointParam(global.x(), global.y())) != 0) {
    event->accept();
    return true;
  }
  // Not handled here: the widget may scroll, else the parent gets it.
  static_cast<QObject*>(target)->event(event);
  return true;
}

bool TWinControl::ContextMenuEvent(QWidget* target, QContextMenuEvent* event) {
  const QPoint pos = target == widget_ ? event->pos() : target->mapTo(widget_.data(), event->pos());
  const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
  const intptr_t lParam =
      fromKeyboard ? MakePointParam(-1, -1) : MakePointParam(event->globalPos().x(), event->globalPos().y());
  TControl* child = fromKeyboard ? nullptr : ControlAtPos(TPoint::fromQPoint(pos));
  if ((child && child->Perform(WM_CONTEXTMENU, 0, lParam) != 0) || Perform(WM_CONTEXTMENU, 0, lParam) != 0) {
    event->accept();
    return true;
  }
  // Unhandled: the widget's own menu, if it has one, else the parent's.
  static_cast<QObject*>(target)->event(event);
  return true;
}

bool TWinControl::ToolTipEvent(QWidget* target, QEvent* event) {
  auto* help = static_cast<QHelpEvent*>(event);
  const QPoint pos = target == widget_ ? help->pos() : target->mapTo(widget_.data(), help->pos());
  TControl* control = ControlAtPos(TPoint::fromQPoint(pos), true);
  QRect area = widget_->rect();
  if (control)
    area = control->BoundsRect().toQRect();
  else
    control = this;
  if (control->EffectiveShowHint() && !control->Hint().isEmpty())
    QToolTip::showText(help->globalPos(), control->Hint(), widget_.data(), area);
  else
    QToolTip::hideText();
  return true;
}

void TWinControl::PaintEvent(QWidget* target, QEvent* event) {
  static_cast<QObject*>(target)->event(event);
  QPainter painter(target);
  QRegion uncovered;
  const std::vector<TChildPart> parts =
      PlanGraphicChildren(*this, static_cast<QPaintEvent*>(event)->region(), uncovered);
  // A plain widget fills its own background (it is marked opaque, so Qt
  // does not), and only where no opaque windowless child paints over it.
  if (plainWidget_ && target == widget_ && !PaintsOpaque()) {
    const QBrush brush = widget_->palette().brush(widget_->backgroundRole());
    for (const QRect& rect : uncovered) painter.fillRect(rect, brush);
  }
  SafeCall([&] { PaintWindow(painter); });
  PaintGraphicChildren(painter, parts);
}

void TWinControl::ResizeEvent() {
  if (applyingGeometry_) return;
  const QSize size = widget_->size();
  if (size == WidgetSize(this)) return;
  // Resized from outside (a layout, the user): take the new size.
  UpdateBounds(Left(), Top(), size.width(), size.height());
}

void TWinControl::FocusInEvent() {
  TForm* form = GetParentForm(this);
  if (form && form != this) form->FocusChanged(this);
  Perform(WM_SETFOCUS);
}

void TWinControl::SetHovered(TControl* control) {
  if (hovered_ == control) return;
  QPointer<TControl> old = hovered_;
  hovered_ = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control) control->Perform(CM_MOUSEENTER);
}
