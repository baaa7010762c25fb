#include "kv/settings/grad_settings.h"

void TKvGradSettings::SetColorFrom(TColor value) {
  if (value == colorFrom_) return;
  colorFrom_ = value;
  Change();
}

void TKvGradSettings::SetColorTo(TColor value) {
  if (value == colorTo_) return;
  colorTo_ = value;
  Change();
}

void TKvGradSettings::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Change();
}

void TKvGradSettings::SetStyle(TGradientStyle value) {
  if (value == style_) return;
  style_ = value;
  Change();
}

void TKvGradSettings::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TKvGradSettings*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->SetColorFrom(colorFrom_);
  dest->SetColorTo(colorTo_);
  dest->SetVisible(visible_);
  dest->SetStyle(style_);
  dest->Change();
}
