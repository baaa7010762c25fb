#pragma once
// TKvAnalogCControl: the base of the library's windowed analog input
// controls (sliders, knobs). The user changes the value with the keyboard,
// the mouse wheel or by dragging inside a slide area; the value always lies
// on a digit step of the signal's digital range, inside its ends.
//
// Reports: OnValueChange after every change of Digit/Value (not while
// loading); OnValueChanged once when the gesture that changed it ends (a key
// released, the left button released). A wheel notch reports no end.
//
// A linked indicator (ValueIndicator) gets this control's signal settings
// and follows every value change. The control listens for the indicator's
// freeing and drops the link then.
//
// Life cycle: the constructor opens an update bracket that Loaded() closes;
// Loaded() also connects the signal settings to ParamChange. A control made
// at run time keeps the bracket open until its creator calls Loaded(); while
// it is open an unchanged digit or value is processed again.
//
// Descendants paint, lay out SlideRect (SlideCircle for a round area) and
// turn mouse movement into values in MouseSlide.

#include <QPointer>
#include <memory>

#include "kv/controls/kv_analog_g_control.h"
#include "kv/core/kv_custom_control.h"
#include "kv/settings/signal_settings.h"

namespace AnalogInputTypes {
Q_NAMESPACE
// Keys the keyboard handling acts on; bit n for the n-th value.
enum TEnabledKey {
  _VK_PRIOR = 0x01,
  _VK_NEXT = 0x02,
  _VK_END = 0x04,
  _VK_HOME = 0x08,
  _VK_LEFT = 0x10,
  _VK_DOWN = 0x20,
  _VK_UP = 0x40,
  _VK_RIGHT = 0x80,
};
Q_DECLARE_FLAGS(TEnabledKeys, TEnabledKey)
Q_FLAG_NS(TEnabledKeys)
}  // namespace AnalogInputTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(AnalogInputTypes::TEnabledKeys)

using TEnabledKey = AnalogInputTypes::TEnabledKey;
using TEnabledKeys = AnalogInputTypes::TEnabledKeys;
using enum AnalogInputTypes::TEnabledKey;
inline constexpr TEnabledKeys kAllEnabledKeys = TEnabledKeys::fromInt(0xFF);

class TKvAnalogCControl : public TKvCustomControl {
  Q_OBJECT
  Q_PROPERTY(float Value READ Value WRITE SetValue)
  Q_PROPERTY(int Digit READ Digit WRITE SetDigit STORED false)
  Q_PROPERTY(int ChangeLarge READ ChangeLarge WRITE SetChangeLarge)
  Q_PROPERTY(int ChangeSmall READ ChangeSmall WRITE SetChangeSmall)
  Q_PROPERTY(TSignalSettings* SignalSettings READ SignalSettings)
  Q_PROPERTY(TColor ColorFocus READ ColorFocus WRITE SetColorFocus)
  Q_PROPERTY(TColor ColorNonFocus READ ColorNonFocus WRITE SetColorNonFocus)
  Q_PROPERTY(TCursor CursorSlide READ CursorSlide WRITE SetCursorSlide)
  Q_PROPERTY(bool EnableKeyboard READ EnableKeyboard WRITE SetEnableKeyboard)
  Q_PROPERTY(AnalogInputTypes::TEnabledKeys EnabledKeys READ EnabledKeys WRITE SetEnabledKeys)
  Q_PROPERTY(TKvAnalogGControl* ValueIndicator READ ValueIndicator WRITE SetValueIndicator)
  Q_PROPERTY(TNotifyEvent OnValueChange READ OnValueChange WRITE SetOnValueChange)
  Q_PROPERTY(TNotifyEvent OnValueChanged READ OnValueChanged WRITE SetOnValueChanged)
  Q_CLASSINFO("default:Value", "0")
  Q_CLASSINFO("default:ChangeLarge", "10")
  Q_CLASSINFO("default:ChangeSmall", "1")
  Q_CLASSINFO("default:ColorFocus", "clLime")
  Q_CLASSINFO("default:ColorNonFocus", "clGreen")
  Q_CLASSINFO("default:CursorSlide", "5")
  Q_CLASSINFO("default:EnableKeyboard", "True")
  Q_CLASSINFO("default:EnabledKeys",
              "[_VK_PRIOR, _VK_NEXT, _VK_END, _VK_HOME, _VK_LEFT, _VK_DOWN, _VK_UP, _VK_RIGHT]")
  Q_CLASSINFO("default:ParentFont", "False")
  Q_CLASSINFO("default:TabStop", "True")

 public:
  Q_INVOKABLE explicit TKvAnalogCControl(TComponent* AOwner = nullptr);
  ~TKvAnalogCControl() override;

  float Value() const { return value_; }
  // Limits v into ValueFrom..ValueTo and sets the digit it falls on; the
  // value is then recomputed from that digit, also when the digit stays the
  // same (then without any report). A NaN is ignored.
  void SetValue(float v);
  int32_t Digit() const { return digit_; }
  // Limits d into DigitalFrom..DigitalTo, computes Value, runs ValueChange,
  // fires OnValueChange (not while loading) and marks the gesture changed.
  void SetDigit(int32_t d);
  int32_t ChangeLarge() const { return changeLarge_; }
  void SetChangeLarge(int32_t value) { changeLarge_ = value; }
  int32_t ChangeSmall() const { return changeSmall_; }
  void SetChangeSmall(int32_t value) { changeSmall_ = value; }
  TSignalSettings* SignalSettings() const { return signalSettings_.get(); }
  TColor ColorFocus() const { return colorFocus_; }
  void SetColorFocus(TColor value);
  TColor ColorNonFocus() const { return colorNonFocus_; }
  void SetColorNonFocus(TColor value);
  TCursor CursorSlide() const { return cursorSlide_; }
  void SetCursorSlide(TCursor value) { cursorSlide_ = value; }
  bool EnableKeyboard() const { return enableKeyboard_; }
  void SetEnableKeyboard(bool value) { enableKeyboard_ = value; }
  TEnabledKeys EnabledKeys() const { return enabledKeys_; }
  void SetEnabledKeys(TEnabledKeys value) { enabledKeys_ = value; }
  TKvAnalogGControl* ValueIndicator() const { return valueIndicator_; }
  // Links an indicator: it gets this control's signal settings and value.
  void SetValueIndicator(TKvAnalogGControl* indicator);

  const TNotifyEvent& OnValueChange() const { return onValueChange_; }
  void SetOnValueChange(const TNotifyEvent& value) { onValueChange_ = value; }
  const TNotifyEvent& OnValueChanged() const { return onValueChanged_; }
  void SetOnValueChanged(const TNotifyEvent& value) { onValueChanged_ = value; }

  // Digit + up when up > 0, else Digit - down, limited to the digital range.
  void DoChange(int32_t up, int32_t down);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetEnabled(bool value) override;
  // Handler of the signal settings' reports: records the cursor, copies the
  // settings to the indicator and recomputes the digit. No repaint.
  void ParamChange(TObject* Sender) override;
  void WndProc(TMessage& Message) override;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 protected:
  // A slide step: the base only records the position.
  virtual void MouseSlide(TShiftState Shift, int X, int Y, TPoint LastPos);
  // Rebuilds the texts and sets the indicator's value; descendants repaint.
  virtual void ValueChange();

  QString ValueText;
  QString DigitText;
  bool Changed = false;
  bool Sliding = false;
  TPoint LastMousePos;
  TRect SlideRect;
  bool SlideCircle = false;
  bool InSlideArea = false;
  TCursor NormalCursor = 0;

 private:
  int32_t LimitDigit(int64_t d) const;
  // The digit of the current value, and the value of the current digit.
  int32_t DigitOfValue() const;
  float ValueOfDigit() const;
  // Reports a stored change: ValueChange, OnValueChange (not while loading),
  // and marks the gesture changed.
  void Commit();
  bool InSlide(int X, int Y) const;
  void EndGesture();

  std::unique_ptr<TSignalSettings> signalSettings_;
  float value_ = 0;
  int32_t digit_ = 0;
  int32_t changeLarge_ = 10;
  int32_t changeSmall_ = 1;
  TColor colorFocus_ = clLime;
  TColor colorNonFocus_ = clGreen;
  TCursor cursorSlide_ = 5;
  bool enableKeyboard_ = true;
  TEnabledKeys enabledKeys_ = kAllEnabledKeys;
  TKvAnalogGControl* valueIndicator_ = nullptr;

  TNotifyEvent onValueChange_;
  TNotifyEvent onValueChanged_;
};
