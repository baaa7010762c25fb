#pragma once
// TCustomControl: a windowed control that paints itself. Its widget's paint
// event attaches the control's own canvas to the widget's painter and calls
// Paint(); windowless children are painted over it afterwards.

#include <memory>

#include "platform/controls/win_control.h"
#include "platform/graphics/canvas.h"

class TCustomControl : public TWinControl {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TCustomControl(TComponent* AOwner = nullptr);
  ~TCustomControl() override;

  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  TCustomControl(TComponent* AOwner, std::unique_ptr<QWidget> widget);

  // Draws the control on Canvas(); the base draws nothing.
  virtual void Paint() {}
  void PaintWindow(QPainter& painter) override;

 private:
  std::unique_ptr<TCanvas> canvas_;
};
