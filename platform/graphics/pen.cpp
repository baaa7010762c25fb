#include "platform/graphics/pen.h"

void TPen::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TPen::SetMode(TPenMode value) {
  if (value == mode_) return;
  mode_ = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TPen::SetWidth(int value) {
  if (value < 0) value = 0;
  if (value == width_) return;
  width_ = value;
  Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* pen = qobject_cast<TPen*>(Source)) {
    if (pen == this) return;
    color_ = pen->color_;
    mode_ = pen->mode_;
    style_ = pen->style_;
    width_ = pen->width_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}
