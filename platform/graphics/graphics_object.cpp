#include "platform/graphics/graphics_object.h"

void TGraphicsObject::Changed() {
  ++change_count_;
  on_change_(this);
}
