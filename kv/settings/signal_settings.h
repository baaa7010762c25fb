#pragma once
// TSignalSettings: the numbers of an instrument. An integer digital range
// (the raw signal, 0..1000 at first) is mapped onto a single-precision value
// range (0..100 "%" at first); the object keeps the conversion factors that
// follow from the two ranges and the texts of the signal.
//
// Number rules, which the gauges' results depend on:
//  - range ends and factors are stored as float; every product, quotient and
//    rounding is computed in long double first;
//  - round() is ties-to-even (Round), narrowed to 32 bits with saturation;
//  - the factors are recomputed by Change() before the listener hears of it,
//    and a division whose divisor is not positive is skipped: the factor it
//    would give keeps its previous value. So a reversed or empty range never
//    divides by zero, it only leaves the old factors standing.
//
// digit = round((value - ValueFrom) * DigitsPerValue + DigitalFrom)
// value = (digit - DigitalFrom) * ValuePerDigit + ValueFrom
//
// TChSettings is a signal with a value and digit of its own, for one channel
// of a multi-channel display.

#include <QString>
#include <cstdint>

#include "kv/core/kv_persistent.h"
#include "platform/core/types.h"

// round(x) into a 32-bit integer: ties to even, values beyond the 32-bit
// range give its nearest end, NaN gives 0. Digits and PPT positions are
// 32-bit; this keeps an extreme value from wrapping into a wrong position.
int32_t RoundToInt32(long double x);

class TSignalSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(int DigitalFrom READ DigitalFrom WRITE SetDigitalFrom)
  Q_PROPERTY(int DigitalTo READ DigitalTo WRITE SetDigitalTo)
  Q_PROPERTY(QString Name1 READ Name1 WRITE SetName1)
  Q_PROPERTY(QString Name2 READ Name2 WRITE SetName2)
  Q_PROPERTY(QString ValueFormat READ ValueFormat WRITE SetValueFormat)
  Q_PROPERTY(float ValueFrom READ ValueFrom WRITE SetValueFrom)
  Q_PROPERTY(float ValueTo READ ValueTo WRITE SetValueTo)
  Q_PROPERTY(QString ValueUnit READ ValueUnit WRITE SetValueUnit)
  Q_CLASSINFO("default:DigitalFrom", "0")
  Q_CLASSINFO("default:DigitalTo", "1000")

 public:
  Q_INVOKABLE explicit TSignalSettings(QObject* parent = nullptr);
  ~TSignalSettings() override = default;

  int32_t DigitalFrom() const { return digitalFrom_; }
  void SetDigitalFrom(int32_t value);
  int32_t DigitalTo() const { return digitalTo_; }
  void SetDigitalTo(int32_t value);
  const QString& Name1() const { return name1_; }
  void SetName1(const QString& value);
  const QString& Name2() const { return name2_; }
  void SetName2(const QString& value);
  const QString& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const QString& value);
  float ValueFrom() const { return valueFrom_; }
  // Ignored when v equals either range end or is not a finite number. 0 is
  // stored as the single nearest 1e-6 (a range starting at 0 exactly would
  // make a logarithmic scale impossible). With LogScale the stored value is
  // then rounded to its decade through a second call.
  void SetValueFrom(float v);
  float ValueTo() const { return valueTo_; }
  // As SetValueFrom, except that 0 is stored as it is.
  void SetValueTo(float v);
  const QString& ValueUnit() const { return valueUnit_; }
  void SetValueUnit(const QString& value);

  // Recomputes the derived values, then reports the change.
  void Change() override;
  // The derived values of the current properties, without any report. The
  // gauges call it when they need the factors up to date on their own.
  void UpdateFactors();

  // Position of x in parts per thousand of the value range (0 at ValueFrom,
  // 1000 at ValueTo; values outside the range give results outside 0..1000).
  int32_t GetPPT(float x) const;
  // The value at a position in parts per thousand: the inverse of GetPPT.
  float GetValue(int32_t ppt) const;
  // The effective one of a format with ";"-separated sections: the part
  // before the first ";" when it is strictly longer than the rest, else the
  // rest.
  static QString KvGetValueFormat(const QString& format);

  // Into another signal: DigitalFrom, DigitalTo, ValueFormat, ValueFrom,
  // ValueTo, ValueUnit, Name1, Name2 through its setters, in this order (each
  // accepted change reports). Any other destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

  // Set directly by the owning gauge while its scale is logarithmic.
  bool LogScale = false;

  // Derived values, consistent with the properties from construction on.
  float ValueRange = 100;
  int32_t DigitalRange = 1000;
  float ValuePerDigit = 0.1f;
  QString EffectiveFormat;
  float DigitsPerValue = 10;
  float PPTFactor = 10;

 private:
  int32_t digitalFrom_ = 0;
  int32_t digitalTo_ = 1000;
  QString name1_;
  QString name2_;
  QString valueFormat_;
  float valueFrom_ = 0;
  float valueTo_ = 100;
  QString valueUnit_;
};

// One channel of a multi-channel display: a signal with its own value and
// digit, colour, pen width and visibility. Value and digit changes report
// through OnValueChange only; the other properties through Change().
class TChSettings : public TSignalSettings {
  Q_OBJECT
  Q_PROPERTY(TNotifyEvent OnValueChange READ OnValueChange WRITE SetOnValueChange)
  Q_PROPERTY(float Value READ Value WRITE SetValue)
  Q_PROPERTY(int Digit READ Digit WRITE SetDigit)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(int PenWidth READ PenWidth WRITE SetPenWidth)
  Q_CLASSINFO("default:Visible", "True")
  Q_CLASSINFO("default:PenWidth", "1")

 public:
  Q_INVOKABLE explicit TChSettings(QObject* parent = nullptr) : TSignalSettings(parent) {}
  ~TChSettings() override;

  const TNotifyEvent& OnValueChange() const { return onValueChange_; }
  void SetOnValueChange(const TNotifyEvent& value) { onValueChange_ = value; }
  float Value() const { return value_; }
  // Digit from the value, then ValueChange. A NaN is ignored.
  void SetValue(float v);
  int32_t Digit() const { return digit_; }
  // Value from the digit, then ValueChange.
  void SetDigit(int32_t d);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  int32_t PenWidth() const { return penWidth_; }
  void SetPenWidth(int32_t value);

  // Digit - DigitalFrom, as of the last value or digit change.
  int32_t AbsDigit() const { return absDigit_; }
  // A digit counted from DigitalFrom as a value.
  float AbsDigitToValue(int32_t a) const;

 protected:
  // Fires OnValueChange.
  virtual void ValueChange();

 private:
  void UpdateAbsDigit();

  TNotifyEvent onValueChange_;
  float value_ = 0;
  int32_t digit_ = 0;
  int32_t absDigit_ = 0;
  TColor color_ = clBlack;
  bool visible_ = true;
  int32_t penWidth_ = 1;
};
