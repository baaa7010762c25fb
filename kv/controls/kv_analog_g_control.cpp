#include "kv/controls/kv_analog_g_control.h"

#include <cmath>

#include "kv/proc/log_scale.h"
#include "platform/core/date_time.h"
#include "platform/core/numbers.h"

namespace {

void RegisterAnalogEvents() {
  static const bool registered = [] {
    RegisterEventType<TLimitEvent>();
    RegisterEventType<TOverflowEvent>();
    RegisterEventType<TSectorChangeEvent>();
    return true;
  }();
  (void)registered;
}

// Exponents of 10 beyond these give no finite extended result; beyond the
// float range the stored value is infinite or 0 either way.
constexpr long double kMaxDecades = 4900;

}  // namespace

TKvAnalogGControl::TKvAnalogGControl(TComponent* AOwner)
    : TKvGraphicControl(AOwner),
      signalSettings_(std::make_unique<TSignalSettings>()),
      sectorSettings_(std::make_unique<TSectorSettings>()),
      minMax_(std::make_unique<TMinMax>()) {
  RegisterAnalogEvents();
  Font()->SetName(QStringLiteral("Arial"));
  Font()->SetSize(8);
  SetParentFont(false);
  // Both limit flags start set, so this check clears them for the defaults.
  LimitCheck();
  lastPos_ = QPoint(Left(), Top());
}

TKvAnalogGControl::~TKvAnalogGControl() {
  Destroying();
  signalSettings_.reset();
  sectorSettings_.reset();
  minMax_.reset();
}

// --- Conversions ------------------------------------------------------------------

bool TKvAnalogGControl::LogUsable() const {
  return logScale_ && signalSettings_->ValueFrom() > 0 && signalSettings_->ValueTo() > 0;
}

int32_t TKvAnalogGControl::DigitFromValue(float v) const {
  const TSignalSettings& s = *signalSettings_;
  if (LogUsable() && v > 0) {
    const long double decades = KvLog10(static_cast<long double>(v) * (1.0L / s.ValueFrom()));
    return RoundToInt32(static_cast<long double>(RoundToInt32(decades * digitsPerDecade_)) + s.DigitalFrom());
  }
  return RoundToInt32((static_cast<long double>(v) - s.ValueFrom()) * s.DigitsPerValue + s.DigitalFrom());
}

float TKvAnalogGControl::ValueFromDigit(int32_t d) const {
  const TSignalSettings& s = *signalSettings_;
  if (LogUsable()) {
    if (digitsPerDecade_ - logOffset_ == 0 || digitsPerDecade_ == 0) return value_;
    long double exponent = (static_cast<long double>(d) - s.DigitalFrom()) / digitsPerDecade_ - logOffset_;
    exponent = std::clamp(exponent, -kMaxDecades, kMaxDecades);
    return float(KvPower(10, exponent));
  }
  return float((static_cast<long double>(d) - s.DigitalFrom()) * s.ValuePerDigit + s.ValueFrom());
}

void TKvAnalogGControl::UpdateLogFactors() {
  if (!LogUsable()) return;
  const TSignalSettings& s = *signalSettings_;
  const long double from = s.ValueFrom();
  const long double to = s.ValueTo();
  digitsPerDecade_ = to != from ? double(s.DigitalRange / KvLog10(to / from)) : double(s.DigitalRange);
  logOffset_ = double(KvLog10(1.0L / from));
}

// --- Value and digit ----------------------------------------------------------------

void TKvAnalogGControl::SetValue(float v) {
  if (v == value_ || std::isnan(v)) return;
  if (logScale_ && !(v > 0)) return;
  value_ = v;
  digit_ = DigitFromValue(v);
  if (Designing())
    ParamChange(this);
  else
    ValueChange();
}

void TKvAnalogGControl::SetDigit(int32_t d) {
  if (d == digit_) return;
  digit_ = d;
  value_ = ValueFromDigit(d);
  if (Designing())
    ParamChange(this);
  else
    ValueChange();
}

void TKvAnalogGControl::SetLimitUpper(float v) {
  if (v == limitUpper_) return;
  limitUpper_ = v;
  upperPPT_ = signalSettings_->GetPPT(v);
  ValueChange();
}

void TKvAnalogGControl::SetLimitLower(float v) {
  if (v == limitLower_) return;
  limitLower_ = v == 0 ? 0.0001f : v;
  lowerPPT_ = signalSettings_->GetPPT(limitLower_);
  ValueChange();
}

void TKvAnalogGControl::SetHintOptions(THintOptions value) {
  const bool switchedOn = !(hintOptions_ & hoAutoHint) && (value & hoAutoHint);
  hintOptions_ = value;
  if (switchedOn) ValueChange();
}

// --- The value change ------------------------------------------------------------------

void TKvAnalogGControl::ValueChange() {
  const TSignalSettings& s = *signalSettings_;
  // 1. The control moved since the last change.
  if (lastPos_ != QPoint(Left(), Top())) {
    lastPos_ = QPoint(Left(), Top());
    onPosChange_(this);
  }
  // 2. Texts.
  digitText_ = IntToStr(digit_);
  valueText_ = FormatFloat(s.ValueFormat(), value_);
  // 3. Position in the digital range; equal digital ends leave nothing to
  // divide by, so the position comes from the value range then.
  if (s.DigitalRange != 0)
    valuePPT_ = RoundToInt32(1000.0L / s.DigitalRange * (static_cast<long double>(digit_) - s.DigitalFrom()));
  else
    valuePPT_ = s.GetPPT(value_);
  // 4. Sectors in turn; the last one containing the position sets the colour.
  for (int k = 0; k < 3; ++k) {
    const bool in = sectorSettings_->InSector(k, valuePPT_);
    if (in) sectorColor_ = sectorSettings_->SectorColor(k);
    if (in != inSector_[k]) {
      inSector_[k] = in;
      onSectorChange_(this, k == 0, k == 1, k == 2, in);
    }
  }
  // 5. Limits.
  LimitCheck();
  // 6. Range.
  if (valuePPT_ < 0) {
    if (!underRange_) {
      underRange_ = true;
      overRange_ = false;
      Notify(valuePPT_);
    }
    valuePPT_ = 0;
  } else if (valuePPT_ > 1000) {
    if (!overRange_) {
      overRange_ = true;
      underRange_ = false;
      Notify(valuePPT_);
    }
    valuePPT_ = 1000;
  } else if (underRange_ || overRange_) {
    underRange_ = false;
    overRange_ = false;
    Notify(valuePPT_);
  }
  // 7. Extremes; the first value after the start markers only records them.
  if (Designing()) {
    minPPT_ = valuePPT_;
    maxPPT_ = valuePPT_;
  } else {
    if (minMax_->Min() > value_) {
      const bool first = minMax_->Min() == TMinMax::kEmptyMin;
      minMax_->SetMin(value_);
      minPPT_ = valuePPT_;
      if (!first) MinMaxChange(this);
    }
    if (minMax_->Max() < value_) {
      const bool first = minMax_->Max() == TMinMax::kEmptyMax;
      minMax_->SetMax(value_);
      maxPPT_ = valuePPT_;
      if (!first) MinMaxChange(this);
    }
  }
  // 8., 9.
  SetHint();
  onValueChange_(this);
}

void TKvAnalogGControl::Notify(int32_t ppt) {
  OverflowChange(ppt);
  onOverflow_(this, ppt);
}

void TKvAnalogGControl::OverflowChange(int32_t /*PPT*/) {}

void TKvAnalogGControl::LimitChange() {}

void TKvAnalogGControl::LimitCheck() {
  const bool upper = value_ > limitUpper_;
  const bool lower = value_ < limitLower_;
  if (upper == upperExceeded_ && lower == lowerExceeded_) return;
  upperExceeded_ = upper;
  lowerExceeded_ = lower;
  LimitChange();
  onLimit_(this, lower, upper);
}

void TKvAnalogGControl::MinMaxChange(TObject* /*Sender*/) {
  onMinMaxChange_(this);
  ValueChange();
}

// --- Extremes and hint ------------------------------------------------------------------

void TKvAnalogGControl::SetMin(float v, double dateTime) {
  if (v == minMax_->Min()) return;
  minMax_->SetMin(v);
  minPPT_ = signalSettings_->GetPPT(v);
  minMax_->SetMinDateTime(dateTime);
  MinMaxChange(this);
  SetHint();
}

void TKvAnalogGControl::SetMax(float v, double dateTime) {
  if (v == minMax_->Max()) return;
  minMax_->SetMax(v);
  maxPPT_ = signalSettings_->GetPPT(v);
  minMax_->SetMaxDateTime(dateTime);
  MinMaxChange(this);
  SetHint();
}

void TKvAnalogGControl::ResetMinMax() {
  minMax_->SetMin(value_);
  minPPT_ = valuePPT_;
  minMax_->SetMax(value_);
  maxPPT_ = valuePPT_;
  MinMaxChange(this);
  SetHint();
  ValueChange();
}

void TKvAnalogGControl::SetHint() {
  if (!(hintOptions_ & hoAutoHint) || Designing()) return;
  const TSignalSettings& s = *signalSettings_;
  QString text;
  // One allocation for the usual hint: value, extremes with date and time,
  // and the names.
  text.reserve(160 + s.Name1().size() + s.Name2().size());
  auto append = [&text](const QString& part) {
    if (!text.isEmpty()) text += u'\r';
    text += part;
  };
  // The extremes change far less often than the value: their texts (number,
  // date and time formatting) are kept until what they show changes.
  auto extreme = [&](THintPart& cache, const char* label, float v, double stamp) {
    const THintOptions shown = hintOptions_ & (THintOptions(hoMinMaxDate) | hoMinMaxTime);
    if (!cache.valid || cache.value != v || cache.stamp != stamp || cache.shown != shown ||
        cache.format != s.ValueFormat() || cache.unit != s.ValueUnit()) {
      cache.text = QLatin1String(label) + FormatFloat(s.ValueFormat(), v) + u' ' + s.ValueUnit();
      if (shown & hoMinMaxDate) cache.text += u' ' + DateToStr(stamp);
      if (shown & hoMinMaxTime) cache.text += u' ' + TimeToStr(stamp);
      cache = {true, v, stamp, shown, s.ValueFormat(), s.ValueUnit(), cache.text};
    }
    append(cache.text);
  };
  if (hintOptions_ & hoValue) append(QStringLiteral("Value= ") + valueText_ + u' ' + s.ValueUnit());
  if (hintOptions_ & hoMin) extreme(minHint_, "MIN= ", minMax_->Min(), minMax_->MinDateTime());
  if (hintOptions_ & hoMax) extreme(maxHint_, "MAX= ", minMax_->Max(), minMax_->MaxDateTime());
  if (hintOptions_ & hoName1) append(s.Name1());
  if (hintOptions_ & hoName2) append(s.Name2());
  SetHint(text);
}

// --- Settings and scale mode ------------------------------------------------------------------

void TKvAnalogGControl::ParamChange(TObject* Sender) {
  TKvGraphicControl::ParamChange(Sender);
  signalSettings_->UpdateFactors();
  if (logScale_) {
    UpdateLogFactors();
    if (!(value_ > 0)) value_ = 1;
  }
  digit_ = DigitFromValue(value_);
  onSettingsChange_(this);
}

void TKvAnalogGControl::SetLogScale(bool b) {
  logScale_ = b;
  signalSettings_->LogScale = b;
  sectorSettings_->LogScale = b;
  if (b) {
    TSignalSettings& s = *signalSettings_;
    if (!(value_ > 0)) value_ = 0.001f;
    int e = 0;
    s.SetValueFrom(s.ValueFrom() > 0 ? float(KvRoundLogValue(s.ValueFrom(), e)) : 0.001f);
    s.SetValueTo(float(KvRoundLogValue(s.ValueTo(), e)));
    UpdateLogFactors();
  }
  digit_ = DigitFromValue(value_);
  LogScaleChanged();
}

void TKvAnalogGControl::LogScaleChanged() {
  Change();
}

// --- Life cycle -----------------------------------------------------------------------------------

void TKvAnalogGControl::Loaded() {
  TKvGraphicControl::Loaded();
  signalSettings_->SetOnChange(TNotifyEvent(this, &TKvAnalogGControl::ParamChange));
  sectorSettings_->SetOnChange(TNotifyEvent(this, &TKvAnalogGControl::ParamChange));
  minMax_->SetOnChange(TNotifyEvent(this, &TKvAnalogGControl::MinMaxChange));
  subscribed_ = true;
  minMax_->SetMin(TMinMax::kEmptyMin);
  minMax_->SetMax(TMinMax::kEmptyMax);
  // The value may have been read before the signal's ranges: bring the digit
  // in step with the ranges that were read.
  signalSettings_->UpdateFactors();
  UpdateLogFactors();
  digit_ = DigitFromValue(value_);
}

void TKvAnalogGControl::WndProc(TMessage& Message) {
  TKvGraphicControl::WndProc(Message);
  // The font reports through the control's font-changed message; after
  // loading it reaches ParamChange like the settings objects' reports.
  if (Message.Msg == CM_FONTCHANGED && subscribed_) ParamChange(Font());
}
