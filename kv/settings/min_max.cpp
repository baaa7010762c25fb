#include "kv/settings/min_max.h"

#include "platform/core/date_time.h"

TMinMax::TMinMax(QObject* parent) : TKvPersistent(parent), maxDateTime_(Now()), minDateTime_(maxDateTime_) {}

void TMinMax::SetMax(float v) {
  max_ = v;
  maxDateTime_ = Now();
}

void TMinMax::SetMin(float v) {
  min_ = v;
  minDateTime_ = Now();
}

void TMinMax::SetMaxColor(TColor value) {
  Set(maxColor_, value);
}

void TMinMax::SetMinColor(TColor value) {
  Set(minColor_, value);
}

void TMinMax::SetUseSectorCol(bool value) {
  Set(useSectorCol_, value);
}

void TMinMax::SetMinVisible(bool value) {
  Set(minVisible_, value);
}

void TMinMax::SetMaxVisible(bool value) {
  Set(maxVisible_, value);
}
