#pragma once
// TGraphicControl: a windowless control. It has no widget of its own: its
// parent paints it onto the parent's surface, in creation order, translated
// to and clipped to its bounds, before the parent's native child widgets draw
// on top. The parent's widget routes the mouse to the topmost visible
// windowless child under it.

#include <QPainter>
#include <memory>

#include "platform/controls/control.h"
#include "platform/graphics/canvas.h"

class TGraphicControl : public TControl {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TGraphicControl(TComponent* AOwner = nullptr);
  ~TGraphicControl() override;

  // The drawing surface; attached to the parent's painter during Paint().
  TCanvas* Canvas() const { return canvas_.get(); }

  void Invalidate() override;
  void Repaint() override;

  // Paints the control with `painter`, which is already translated to the
  // control's top-left corner and clipped to its bounds. Called by the parent.
  void PaintTo(QPainter& painter);

 protected:
  // Draws the control on Canvas(); the base draws nothing.
  virtual void Paint() {}

  void BoundsChanged(const TRect& oldBounds) override;
  void ParentChanged(TWinControl* oldParent) override;
  void VisibleChanged() override;
  void ApplyCursor() override;
  // Requests a repaint of `rect` (parent coordinates) on the parent's widget;
  // a control that knows which part of it changed asks for that part only.
  void InvalidateRect(const TRect& rect);

 private:

  std::unique_ptr<TCanvas> canvas_;
};
