#include "platform/controls/graphic_control.h"

#include <QWidget>

#include "platform/controls/cursors.h"
#include "platform/controls/safe_call.h"
#include "platform/controls/win_control.h"

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() {
  Destroying();
  // The parent repaints the place the control leaves.
  if (Parent()) {
    if (Visible()) InvalidateRect(BoundsRect());
    DetachFromParent();
  }
}

void TGraphicControl::InvalidateRect(const TRect& rect) {
  if (!Parent() || !Parent()->Widget() || rect.Width() <= 0 || rect.Height() <= 0) return;
  Parent()->Widget()->update(rect.toQRect());
}

void TGraphicControl::Invalidate() {
  if (Visible()) InvalidateRect(BoundsRect());
}

void TGraphicControl::Repaint() {
  if (!Visible() || !Parent() || !Parent()->Widget()) return;
  const TRect r = BoundsRect();
  if (r.Width() > 0 && r.Height() > 0) Parent()->Widget()->repaint(r.toQRect());
}

void TGraphicControl::PaintTo(QPainter& painter) {
  canvas_->Attach(&painter);
  SafeCall([this] { Paint(); });
  canvas_->Detach();
}

void TGraphicControl::BoundsChanged(const TRect& oldBounds) {
  if (!Visible()) return;
  InvalidateRect(oldBounds);
  InvalidateRect(BoundsRect());
}

void TGraphicControl::ParentChanged(TWinControl* oldParent) {
  if (oldParent && oldParent->Widget() && Visible() && Width() > 0 && Height() > 0)
    oldParent->Widget()->update(BoundsRect().toQRect());
  Invalidate();
}

void TGraphicControl::VisibleChanged() {
  InvalidateRect(BoundsRect());
}

void TGraphicControl::ApplyCursor() {
  // The control shares its parent's widget: its cursor shows while the mouse
  // is over it (the parent asks with WM_SETCURSOR as the mouse moves).
  if (!Parent() || !Parent()->Widget() || Parent()->MouseControl() != this) return;
  Parent()->ShowCursor(Cursor() != crDefault ? Cursor() : Parent()->Cursor());
}
