#include "platform/graphics/brush.h"

void TBrush::SetColor(TColor value) {
  // Giving a clear brush a colour makes it solid, even the same colour.
  if (value == color_ && style_ != bsClear) return;
  color_ = value;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* brush = qobject_cast<TBrush*>(Source)) {
    if (brush == this) return;
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}
