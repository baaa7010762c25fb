#include "kv/settings/offset.h"

#include "kv/proc/geometry.h"
#include "kv/settings/store_setting.h"

void TKvOffset::SetTop(int32_t value) {
  StoreSetting(this, top_, value);
}
void TKvOffset::SetLeft(int32_t value) {
  StoreSetting(this, left_, value);
}
void TKvOffset::SetRight(int32_t value) {
  StoreSetting(this, right_, value);
}
void TKvOffset::SetBottom(int32_t value) {
  StoreSetting(this, bottom_, value);
}

void TKvOffset::Write(int32_t Top, int32_t Left, int32_t Right, int32_t Bottom) {
  top_ = Top;
  left_ = Left;
  right_ = Right;
  bottom_ = Bottom;
}

TRect TKvOffset::SetOffset(const TRect& Rect) const {
  TRect r = Rect;
  KvMultiBorder(r, left_, top_, right_, bottom_);
  return r;
}

void TKvOffset::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TKvOffset*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->top_ = top_;
  dest->left_ = left_;
  dest->right_ = right_;
  dest->bottom_ = bottom_;
  dest->Change();
}
