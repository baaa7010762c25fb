#include "kv/settings/line_settings.h"

#include "kv/settings/store_setting.h"

TKvLineSettings::TKvLineSettings(QObject* parent) : TKvPersistent(parent), pen_(std::make_unique<TPen>()) {
  pen_->SetOnChange(ChangeObjectHandler());
}

TKvLineSettings::~TKvLineSettings() = default;

void TKvLineSettings::SetPen(TPen* value) {
  if (value == pen_.get()) return;
  pen_->Assign(value);
  Change();
}

void TKvLineSettings::SetLength(int32_t value) {
  StoreSetting(this, length_, value);
}
void TKvLineSettings::SetOffset(int32_t value) {
  StoreSetting(this, offset_, value);
}
void TKvLineSettings::SetVisible(bool value) {
  StoreSetting(this, visible_, value);
}
