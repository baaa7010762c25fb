#include "kv/settings/led_settings.h"

#include "kv/settings/store_setting.h"

void TLED::SetShape(TLEDShape value) {
  StoreSetting(this, shape_, value);
}
void TLED::SetColorOn(TColor value) {
  StoreSetting(this, colorOn_, value);
}
void TLED::SetColorOff(TColor value) {
  StoreSetting(this, colorOff_, value);
}

void TLED::SetWidth(int32_t value) {
  if (value < kMinSize || value > kMaxSize) return;
  StoreSetting(this, width_, value);
}

void TLED::SetHeight(int32_t value) {
  if (value < kMinSize || value > kMaxSize) return;
  StoreSetting(this, height_, value);
}

void TLED::Draw(TCanvas* Canvas, bool On) const {
  KvDrawLED(Canvas, LEDRect, shape_, clBtnShadow, On ? colorOn_ : colorOff_);
}
