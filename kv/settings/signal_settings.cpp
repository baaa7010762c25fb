#include "kv/settings/signal_settings.h"

#include <cmath>
#include <limits>

#include "kv/proc/log_scale.h"
#include "platform/core/numbers.h"

int32_t RoundToInt32(long double x) {
  if (std::isnan(x)) return 0;
  constexpr long double lo = std::numeric_limits<int32_t>::min();
  constexpr long double hi = std::numeric_limits<int32_t>::max();
  if (x <= lo) return std::numeric_limits<int32_t>::min();
  if (x >= hi) return std::numeric_limits<int32_t>::max();
  return int32_t(Round(x));
}

TSignalSettings::TSignalSettings(QObject* parent)
    : TKvPersistent(parent),
      name1_(QStringLiteral("SignalName1")),
      name2_(QStringLiteral("SignalName2")),
      valueFormat_(QStringLiteral("##0.0")),
      valueUnit_(QStringLiteral("%")) {
  UpdateFactors();
}

void TSignalSettings::SetDigitalFrom(int32_t value) {
  if (value == digitalFrom_) return;
  digitalFrom_ = value;
  Change();
}

void TSignalSettings::SetDigitalTo(int32_t value) {
  if (value == digitalTo_) return;
  digitalTo_ = value;
  Change();
}

void TSignalSettings::SetName1(const QString& value) {
  if (value == name1_) return;
  name1_ = value;
  Change();
}

void TSignalSettings::SetName2(const QString& value) {
  if (value == name2_) return;
  name2_ = value;
  Change();
}

void TSignalSettings::SetValueFormat(const QString& value) {
  if (value == valueFormat_) return;
  valueFormat_ = value;
  Change();
}

void TSignalSettings::SetValueUnit(const QString& value) {
  if (value == valueUnit_) return;
  valueUnit_ = value;
  Change();
}

void TSignalSettings::SetValueFrom(float v) {
  if (!std::isfinite(v) || v == valueFrom_ || v == valueTo_) return;
  valueFrom_ = v == 0 ? 0.000001f : v;
  if (LogScale) {
    int e = 0;
    SetValueFrom(float(KvRoundLogValue(valueFrom_, e)));
  }
  Change();
}

void TSignalSettings::SetValueTo(float v) {
  if (!std::isfinite(v) || v == valueFrom_ || v == valueTo_) return;
  valueTo_ = v;
  if (LogScale) {
    int e = 0;
    SetValueTo(float(KvRoundLogValue(valueTo_, e)));
  }
  Change();
}

void TSignalSettings::Change() {
  UpdateFactors();
  TKvPersistent::Change();
}

void TSignalSettings::UpdateFactors() {
  // The case analysis gives To - From for every ordered pair and keeps the
  // previous range when From >= 0 >= To (NaN ends fall there as well).
  const long double vf = valueFrom_;
  const long double vt = valueTo_;
  if ((vf < 0 && vt < 0) || (vf < 0 && vt >= 0) || (vf >= 0 && vt > 0)) ValueRange = float(vt - vf);
  const int64_t df = digitalFrom_;
  const int64_t dt = digitalTo_;
  if ((df < 0 && dt < 0) || (df < 0 && dt >= 0) || (df >= 0 && dt > 0)) {
    // Ends far apart may not fit 32 bits: the range then stays as it was.
    const int64_t range = dt - df;
    if (range >= std::numeric_limits<int32_t>::min() && range <= std::numeric_limits<int32_t>::max())
      DigitalRange = int32_t(range);
  }
  if (DigitalRange > 0) ValuePerDigit = float(static_cast<long double>(ValueRange) / DigitalRange);
  if (ValueRange > 0) {
    DigitsPerValue = float(static_cast<long double>(DigitalRange) / ValueRange);
    PPTFactor = float(1000.0L / ValueRange);
    EffectiveFormat = KvGetValueFormat(valueFormat_);
  }
}

int32_t TSignalSettings::GetPPT(float x) const {
  return RoundToInt32((static_cast<long double>(x) - valueFrom_) * PPTFactor);
}

float TSignalSettings::GetValue(int32_t ppt) const {
  return float(static_cast<long double>(ValueRange) / 1000 * ppt + valueFrom_);
}

QString TSignalSettings::KvGetValueFormat(const QString& format) {
  const qsizetype split = format.indexOf(u';');
  if (split < 0) return format;
  const QString before = format.left(split);
  const QString after = format.mid(split + 1);
  return before.size() > after.size() ? before : after;
}

void TSignalSettings::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TSignalSettings*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->SetDigitalFrom(digitalFrom_);
  dest->SetDigitalTo(digitalTo_);
  dest->SetValueFormat(valueFormat_);
  dest->SetValueFrom(valueFrom_);
  dest->SetValueTo(valueTo_);
  dest->SetValueUnit(valueUnit_);
  dest->SetName1(name1_);
  dest->SetName2(name2_);
}

// --- TChSettings ----------------------------------------------------------------

TChSettings::~TChSettings() {
  visible_ = false;
  onValueChange_ = nullptr;
}

void TChSettings::SetValue(float v) {
  if (v == value_ || std::isnan(v)) return;
  digit_ = RoundToInt32((static_cast<long double>(v) - ValueFrom()) * DigitsPerValue + DigitalFrom());
  value_ = v;
  UpdateAbsDigit();
  ValueChange();
}

void TChSettings::SetDigit(int32_t d) {
  if (d == digit_) return;
  digit_ = d;
  value_ = float((static_cast<long double>(d) - DigitalFrom()) * ValuePerDigit + ValueFrom());
  UpdateAbsDigit();
  ValueChange();
}

void TChSettings::UpdateAbsDigit() {
  // Computed wide: a digit far from DigitalFrom saturates instead of wrapping.
  absDigit_ = RoundToInt32(static_cast<long double>(digit_) - DigitalFrom());
}

float TChSettings::AbsDigitToValue(int32_t a) const {
  return float(static_cast<long double>(a) * ValuePerDigit + ValueFrom());
}

void TChSettings::ValueChange() {
  onValueChange_(this);
}

void TChSettings::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Change();
}

void TChSettings::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Change();
}

void TChSettings::SetPenWidth(int32_t value) {
  if (value == penWidth_) return;
  penWidth_ = value;
  Change();
}
