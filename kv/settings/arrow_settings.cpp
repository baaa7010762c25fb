#include "kv/settings/arrow_settings.h"

#include "kv/settings/store_setting.h"

void TArrowSettings::SetShape(int32_t value) {
  StoreSetting(this, shape_, value);
}
void TArrowSettings::SetColorPen(TColor value) {
  StoreSetting(this, colorPen_, value);
}
void TArrowSettings::SetColorBrush(TColor value) {
  StoreSetting(this, colorBrush_, value);
}
void TArrowSettings::SetColorCP1Pen(TColor value) {
  StoreSetting(this, colorCP1Pen_, value);
}
void TArrowSettings::SetColorCP1Brush(TColor value) {
  StoreSetting(this, colorCP1Brush_, value);
}
void TArrowSettings::SetColorCP2Pen(TColor value) {
  StoreSetting(this, colorCP2Pen_, value);
}
void TArrowSettings::SetColorCP2Brush(TColor value) {
  StoreSetting(this, colorCP2Brush_, value);
}

void TArrowSettings::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TArrowSettings*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->shape_ = shape_;
  dest->colorPen_ = colorPen_;
  dest->colorBrush_ = colorBrush_;
  dest->colorCP1Pen_ = colorCP1Pen_;
  dest->colorCP1Brush_ = colorCP1Brush_;
  dest->colorCP2Pen_ = colorCP2Pen_;
  dest->colorCP2Brush_ = colorCP2Brush_;
  dest->Change();
}
