#pragma once
// The rule of every plain property writer of the settings objects: an
// unchanged value is ignored; a new one is stored and then reported once
// through the object's (virtual) Change.

#include "kv/core/kv_persistent.h"

template <typename T>
void StoreSetting(TKvPersistent* self, T& field, const T& value) {
  if (field == value) return;
  field = value;
  self->Change();
}
