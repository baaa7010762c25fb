#pragma once
// TKvAnalogGControl: the base of the library's windowless analog indicators.
// It holds one measured value and what follows from it, and paints nothing:
// descendants override Paint and the change hooks below.
//
// State derived from the value, in the order ValueChange brings it up to date:
//   Digit      the value on the signal's digital range;
//   ValuePPT   its position in parts per thousand of the digital range,
//              clamped to 0..1000 after the range check;
//   sectors    InSector1..3 and SectorColor (with overlapping sectors the
//              highest-numbered one wins);
//   limits     UpperExceeded / LowerExceeded (strict comparisons);
//   range      UnderRange / OverRange;
//   extremes   MinMax.Min / Max with their time stamps, MinPPT / MaxPPT;
//   hint       the automatic hint text.
// Every transition is reported at once, in this fixed order:
//   OnPosChange, OnSectorChange (per sector, 1 to 3), LimitChange + OnLimit,
//   OverflowChange + OnOverflow, MinMaxChange (+ OnMinMaxChange and a nested
//   ValueChange), OnValueChange last. The internal hook always runs before the
//   published event.
//
// Numbers: the value and the limits are float, DigitsPerDecade and LogOffset
// double, intermediates long double, round() ties-to-even into 32 bits with
// saturation (RoundToInt32).
//
// Where the stored numbers leave nothing sensible to divide by, the value path
// does not divide:
//  - a NaN given to SetValue is ignored (a NaN is no measurement);
//  - with equal digital ends (DigitalRange 0) ValuePPT is the value's
//    position in the value range (SignalSettings.GetPPT) instead of
//    1000 / DigitalRange x (Digit - DigitalFrom);
//  - in logarithmic mode, while ValueFrom or ValueTo is not above 0 (a range
//    that has no decades), the logarithmic factors keep their last values and
//    value <-> digit conversions use the linear rule.

#include <QPoint>
#include <memory>

#include "kv/core/kv_graphic_control.h"
#include "kv/settings/min_max.h"
#include "kv/settings/sector_settings.h"
#include "kv/settings/signal_settings.h"
#include "platform/core/events.h"

namespace AnalogTypes {
Q_NAMESPACE
// What the automatic hint shows; bit n for the n-th value.
enum THintOption {
  hoAutoHint = 0x01,
  hoValue = 0x02,
  hoName1 = 0x04,
  hoName2 = 0x08,
  hoMin = 0x10,
  hoMax = 0x20,
  hoMinMaxDate = 0x40,
  hoMinMaxTime = 0x80,
};
Q_DECLARE_FLAGS(THintOptions, THintOption)
Q_FLAG_NS(THintOptions)
}  // namespace AnalogTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(AnalogTypes::THintOptions)

using THintOption = AnalogTypes::THintOption;
using THintOptions = AnalogTypes::THintOptions;
using enum AnalogTypes::THintOption;
inline constexpr THintOptions kAllHintOptions = THintOptions::fromInt(0xFF);

// The limit state changed: Lower = value below LimitLower, Upper = above LimitUpper.
using TLimitEvent = TEvent<TObject*, bool, bool>;
// The under/over-range state changed; PPT is the position before clamping.
using TOverflowEvent = TEvent<TObject*, int32_t>;
Q_DECLARE_METATYPE(TLimitEvent)
Q_DECLARE_METATYPE(TOverflowEvent)

class TKvAnalogGControl : public TKvGraphicControl {
  Q_OBJECT
  Q_PROPERTY(float Value READ Value WRITE SetValue)
  Q_PROPERTY(int Digit READ Digit WRITE SetDigit STORED false)
  Q_PROPERTY(float LimitUpper READ LimitUpper WRITE SetLimitUpper)
  Q_PROPERTY(float LimitLower READ LimitLower WRITE SetLimitLower)
  Q_PROPERTY(AnalogTypes::THintOptions HintOptions READ HintOptions WRITE SetHintOptions)
  Q_PROPERTY(TSectorSettings* SectorSettings READ SectorSettings)
  Q_PROPERTY(TSignalSettings* SignalSettings READ SignalSettings)
  Q_PROPERTY(TMinMax* MinMax READ MinMax)
  Q_PROPERTY(TNotifyEvent OnValueChange READ OnValueChange WRITE SetOnValueChange)
  Q_PROPERTY(TNotifyEvent OnSettingsChange READ OnSettingsChange WRITE SetOnSettingsChange)
  Q_PROPERTY(TLimitEvent OnLimit READ OnLimit WRITE SetOnLimit)
  Q_PROPERTY(TOverflowEvent OnOverflow READ OnOverflow WRITE SetOnOverflow)
  Q_PROPERTY(TSectorChangeEvent OnSectorChange READ OnSectorChange WRITE SetOnSectorChange)
  Q_PROPERTY(TNotifyEvent OnMinMaxChange READ OnMinMaxChange WRITE SetOnMinMaxChange)
  Q_CLASSINFO("default:Value", "50")
  Q_CLASSINFO("default:LimitUpper", "90")
  Q_CLASSINFO("default:LimitLower", "10")
  Q_CLASSINFO("default:HintOptions",
              "[hoAutoHint, hoValue, hoName1, hoName2, hoMin, hoMax, hoMinMaxDate, hoMinMaxTime]")
  Q_CLASSINFO("default:ParentFont", "False")

 public:
  Q_INVOKABLE explicit TKvAnalogGControl(TComponent* AOwner = nullptr);
  ~TKvAnalogGControl() override;

  float Value() const { return value_; }
  // Ignores an unchanged value, a NaN, and in logarithmic mode a value not
  // above 0. Stores v unclamped, computes Digit, then runs ValueChange
  // (ParamChange while designing).
  void SetValue(float v);
  int32_t Digit() const { return digit_; }
  // Stores d unclamped, computes Value from it, then as SetValue.
  void SetDigit(int32_t d);
  float LimitUpper() const { return limitUpper_; }
  void SetLimitUpper(float v);
  float LimitLower() const { return limitLower_; }
  // 0 is stored as 0.0001.
  void SetLimitLower(float v);
  THintOptions HintOptions() const { return hintOptions_; }
  // Switching hoAutoHint on rebuilds the hint (ValueChange); switching it
  // off leaves the last text.
  void SetHintOptions(THintOptions value);

  TSectorSettings* SectorSettings() const { return sectorSettings_.get(); }
  TSignalSettings* SignalSettings() const { return signalSettings_.get(); }
  TMinMax* MinMax() const { return minMax_.get(); }

  bool LogScale() const { return logScale_; }
  // Switches between the linear and the logarithmic mapping of value and
  // digit; in logarithmic mode the range ends are rounded to decades.
  void SetLogScale(bool b);

  // Tracked extremes set from outside: each reports through MinMaxChange and
  // rebuilds the hint when the value differs from the tracked one.
  void SetMin(float v, double dateTime);
  void SetMax(float v, double dateTime);
  // Both extremes to the current value.
  void ResetMinMax();
  // Rebuilds the automatic hint (hoAutoHint set, not designing).
  void SetHint();
  using TKvGraphicControl::SetHint;
  // Compares the value with the limits; on a difference stores the new state,
  // runs LimitChange and fires OnLimit.
  void LimitCheck();

  void Loaded() override;
  void ParamChange(TObject* Sender) override;
  void WndProc(TMessage& Message) override;

  // State for descendants (read-only here).
  double DigitsPerDecade() const { return digitsPerDecade_; }
  double LogOffset() const { return logOffset_; }
  const QString& ValueText() const { return valueText_; }
  const QString& DigitText() const { return digitText_; }
  int32_t ValuePPT() const { return valuePPT_; }
  int32_t UpperPPT() const { return upperPPT_; }
  int32_t LowerPPT() const { return lowerPPT_; }
  int32_t MaxPPT() const { return maxPPT_; }
  int32_t MinPPT() const { return minPPT_; }
  bool UpperExceeded() const { return upperExceeded_; }
  bool LowerExceeded() const { return lowerExceeded_; }
  bool OverRange() const { return overRange_; }
  bool UnderRange() const { return underRange_; }
  bool InSector1() const { return inSector_[0]; }
  bool InSector2() const { return inSector_[1]; }
  bool InSector3() const { return inSector_[2]; }
  TColor SectorColor() const { return sectorColor_; }
  TColor AuxColor1 = clYellow;
  TColor AuxColor2 = clRed;
  QPoint LastPos() const { return lastPos_; }

  const TNotifyEvent& OnValueChange() const { return onValueChange_; }
  void SetOnValueChange(const TNotifyEvent& value) { onValueChange_ = value; }
  const TNotifyEvent& OnSettingsChange() const { return onSettingsChange_; }
  void SetOnSettingsChange(const TNotifyEvent& value) { onSettingsChange_ = value; }
  const TLimitEvent& OnLimit() const { return onLimit_; }
  void SetOnLimit(const TLimitEvent& value) { onLimit_ = value; }
  const TOverflowEvent& OnOverflow() const { return onOverflow_; }
  void SetOnOverflow(const TOverflowEvent& value) { onOverflow_ = value; }
  const TSectorChangeEvent& OnSectorChange() const { return onSectorChange_; }
  void SetOnSectorChange(const TSectorChangeEvent& value) { onSectorChange_ = value; }
  const TNotifyEvent& OnMinMaxChange() const { return onMinMaxChange_; }
  void SetOnMinMaxChange(const TNotifyEvent& value) { onMinMaxChange_ = value; }
  // Fired from ValueChange when the control has moved since the last one.
  const TNotifyEvent& OnPosChange() const { return onPosChange_; }
  void SetOnPosChange(const TNotifyEvent& value) { onPosChange_ = value; }

 protected:
  // The change hooks descendants override to repaint.
  virtual void ValueChange();
  virtual void OverflowChange(int32_t PPT);
  virtual void LimitChange();
  // Fires OnMinMaxChange, then runs ValueChange.
  virtual void MinMaxChange(TObject* Sender);
  // Runs Change() (ParamChange unless an update bracket is open).
  virtual void LogScaleChanged();

  bool Designing() const { return ComponentState() & csDesigning; }

 private:
  // Value <-> digit with the current mode and factors.
  int32_t DigitFromValue(float v) const;
  float ValueFromDigit(int32_t d) const;
  // Whether the logarithmic rules apply: log mode and a range of decades.
  bool LogUsable() const;
  // DigitsPerDecade and LogOffset of the current range (log mode only).
  void UpdateLogFactors();
  void Notify(int32_t ppt);

  // The hint text of one extreme and what it was made from.
  struct THintPart {
    bool valid = false;
    float value = 0;
    double stamp = 0;
    THintOptions shown;
    QString format;
    QString unit;
    QString text;
  };
  THintPart minHint_;
  THintPart maxHint_;

  std::unique_ptr<TSignalSettings> signalSettings_;
  std::unique_ptr<TSectorSettings> sectorSettings_;
  std::unique_ptr<TMinMax> minMax_;

  float value_ = 50;
  int32_t digit_ = 500;
  float limitUpper_ = 90;
  float limitLower_ = 10;
  THintOptions hintOptions_ = kAllHintOptions;
  bool logScale_ = false;
  bool subscribed_ = false;  // Loaded connected the settings and the font
  double digitsPerDecade_ = 0;
  double logOffset_ = 0;
  QString valueText_;
  QString digitText_;
  int32_t valuePPT_ = 500;
  int32_t upperPPT_ = 900;
  int32_t lowerPPT_ = 100;
  int32_t maxPPT_ = 0;
  int32_t minPPT_ = 0;
  bool upperExceeded_ = true;
  bool lowerExceeded_ = true;
  bool overRange_ = false;
  bool underRange_ = false;
  bool inSector_[3] = {false, false, false};
  TColor sectorColor_ = 0;
  QPoint lastPos_;

  TNotifyEvent onValueChange_;
  TNotifyEvent onSettingsChange_;
  TLimitEvent onLimit_;
  TOverflowEvent onOverflow_;
  TSectorChangeEvent onSectorChange_;
  TNotifyEvent onMinMaxChange_;
  TNotifyEvent onPosChange_;
};
