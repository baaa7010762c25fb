#include "kv/settings/sector_settings.h"

void TSectorSettings::SetColor(int k, TColor value) {
  if (value == color_[k]) return;
  color_[k] = value;
  Change();
}

void TSectorSettings::SetBound(int32_t& field, int32_t value) {
  if (value == field) return;
  field = value;
  Change();
}

bool TSectorSettings::CheckSectorColor(int32_t position, TColor& color) const {
  for (int k = 0; k < 3; ++k) {
    if (InSector(k, position)) {
      color = color_[k];
      return true;
    }
  }
  return false;
}

void TSectorSettings::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TSectorSettings*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->SetSector1Color(color_[0]);
  dest->SetSector2Color(color_[1]);
  dest->SetSector3Color(color_[2]);
  dest->SetSector1From(from_[0]);
  dest->SetSector2From(from_[1]);
  dest->SetSector3From(from_[2]);
  dest->SetSector1To(to_[0]);
  dest->SetSector2To(to_[1]);
  dest->SetSector3To(to_[2]);
}
