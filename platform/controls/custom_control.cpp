#include "platform/controls/custom_control.h"

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::TCustomControl(TComponent* AOwner, std::unique_ptr<QWidget> widget)
    : TWinControl(AOwner, std::move(widget)), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() {
  Destroying();
}

void TCustomControl::PaintWindow(QPainter& painter) {
  canvas_->Attach(&painter);
  try {
    Paint();
  } catch (...) {
    canvas_->Detach();
    throw;
  }
  canvas_->Detach();
}
