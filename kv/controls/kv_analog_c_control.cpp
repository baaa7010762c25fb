#include "kv/controls/kv_analog_c_control.h"

#include <algorithm>
#include <cmath>

#include "kv/proc/geometry.h"
#include "platform/controls/keys.h"
#include "platform/core/numbers.h"

TKvAnalogCControl::TKvAnalogCControl(TComponent* AOwner)
    : TKvCustomControl(AOwner), signalSettings_(std::make_unique<TSignalSettings>()) {
  // Held open until the control is loaded.
  BeginUpdate();
  SetTabStop(true);
  Font()->SetName(QStringLiteral("MS Sans Serif"));
  Font()->SetSize(10);
  SetParentFont(false);
}

TKvAnalogCControl::~TKvAnalogCControl() {
  Destroying();
  if (valueIndicator_) valueIndicator_->RemoveFreeNotification(this);
  signalSettings_.reset();
}

// --- Value and digit ----------------------------------------------------------------

int32_t TKvAnalogCControl::DigitOfValue() const {
  const TSignalSettings& s = *signalSettings_;
  return RoundToInt32((static_cast<long double>(value_) - s.ValueFrom()) * s.DigitsPerValue +
                      s.DigitalFrom());
}

float TKvAnalogCControl::ValueOfDigit() const {
  const TSignalSettings& s = *signalSettings_;
  return float((static_cast<long double>(digit_) - s.DigitalFrom()) * s.ValuePerDigit + s.ValueFrom());
}

int32_t TKvAnalogCControl::LimitDigit(int64_t d) const {
  // At most DigitalTo first, then at least DigitalFrom: with reversed ends
  // the start wins.
  d = std::min<int64_t>(d, signalSettings_->DigitalTo());
  d = std::max<int64_t>(d, signalSettings_->DigitalFrom());
  return int32_t(d);
}

void TKvAnalogCControl::DoChange(int32_t up, int32_t down) {
  const int64_t next = up > 0 ? int64_t(digit_) + up : int64_t(digit_) - down;
  SetDigit(LimitDigit(next));
}

void TKvAnalogCControl::SetDigit(int32_t d) {
  if (d == digit_ && UpdateCount() == 0) return;
  digit_ = LimitDigit(d);
  value_ = ValueOfDigit();
  Commit();
}

void TKvAnalogCControl::Commit() {
  ValueChange();
  if (!(ComponentState() & csLoading)) onValueChange_(this);
  Changed = true;
}

void TKvAnalogCControl::SetValue(float v) {
  if ((v == value_ && UpdateCount() == 0) || std::isnan(v)) return;
  TSignalSettings& s = *signalSettings_;
  const float before = value_;
  if (s.DigitsPerValue == 0) s.Change();
  value_ = std::max(std::min(v, s.ValueTo()), s.ValueFrom());
  const int32_t d = DigitOfValue();
  if (d == digit_ && UpdateCount() == 0) {
    // The value falls on the digit it already has: it goes back onto that
    // digit's step instead of keeping v, and is reported only if that moved
    // it (a settings change may have left it off its step).
    value_ = ValueOfDigit();
    if (value_ != before) Commit();
    return;
  }
  SetDigit(d);
}

void TKvAnalogCControl::ValueChange() {
  ValueText = FormatFloat(signalSettings_->ValueFormat(), value_);
  DigitText = IntToStr(digit_);
  if (valueIndicator_) valueIndicator_->SetValue(value_);
}

// --- Settings, colours, indicator ------------------------------------------------------

void TKvAnalogCControl::ParamChange(TObject* Sender) {
  TKvCustomControl::ParamChange(Sender);
  NormalCursor = Cursor();
  if (valueIndicator_) valueIndicator_->SignalSettings()->Assign(signalSettings_.get());
  digit_ = DigitOfValue();
}

void TKvAnalogCControl::SetColorFocus(TColor value) {
  if (value == colorFocus_) return;
  colorFocus_ = value;
  ParamChange(this);
}

void TKvAnalogCControl::SetColorNonFocus(TColor value) {
  if (value == colorNonFocus_) return;
  colorNonFocus_ = value;
  ParamChange(this);
}

void TKvAnalogCControl::SetValueIndicator(TKvAnalogGControl* indicator) {
  if (valueIndicator_ && valueIndicator_ != indicator) valueIndicator_->RemoveFreeNotification(this);
  valueIndicator_ = indicator;
  if (!indicator) return;
  indicator->FreeNotification(this);
  indicator->SignalSettings()->Assign(signalSettings_.get());
  ValueChange();
}

void TKvAnalogCControl::Notification(TComponent* AComponent, TOperation Operation) {
  TKvCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == valueIndicator_) valueIndicator_ = nullptr;
}

void TKvAnalogCControl::SetEnabled(bool value) {
  TKvCustomControl::SetEnabled(value);
  ValueChange();
}

void TKvAnalogCControl::Loaded() {
  TKvCustomControl::Loaded();
  signalSettings_->Change();
  signalSettings_->SetOnChange(TNotifyEvent(this, &TKvAnalogCControl::ParamChange));
  digit_ = DigitOfValue();
  EndUpdate();
}

// --- Messages -----------------------------------------------------------------------------

void TKvAnalogCControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      // The arrow keys are this control's, not the form's focus keys.
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TKvCustomControl::WndProc(Message);
      ValueChange();
      return;
    case WM_MOUSEWHEEL: {
      if (ComponentState() & csDesigning) break;
      const int delta = WheelDelta(Message);
      if (delta == WHEEL_DELTA)
        DoChange(changeSmall_, 0);
      else if (delta == -WHEEL_DELTA)
        DoChange(0, changeSmall_);
      Message.Result = 1;
      return;
    }
    default:
      break;
  }
  TKvCustomControl::WndProc(Message);
}

void TKvAnalogCControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  TKvCustomControl::KeyDown(Key, Shift);
  if (!enableKeyboard_) return;
  auto enabled = [this](TEnabledKey k) { return enabledKeys_.testFlag(k); };
  switch (Key) {
    case VK_PRIOR:
      if (enabled(_VK_PRIOR)) DoChange(changeLarge_, 0);
      break;
    case VK_NEXT:
      if (enabled(_VK_NEXT)) DoChange(0, changeLarge_);
      break;
    case VK_END:
      if (enabled(_VK_END)) SetDigit(signalSettings_->DigitalTo());
      break;
    case VK_HOME:
      if (enabled(_VK_HOME)) SetDigit(signalSettings_->DigitalFrom());
      break;
    case VK_LEFT:
      if (enabled(_VK_LEFT)) DoChange(0, changeSmall_);
      break;
    case VK_UP:
      if (enabled(_VK_UP)) DoChange(changeSmall_, 0);
      break;
    case VK_RIGHT:
      if (enabled(_VK_RIGHT)) DoChange(changeSmall_, 0);
      break;
    case VK_DOWN:
      if (enabled(_VK_DOWN)) DoChange(0, changeSmall_);
      break;
    default:
      break;
  }
}

void TKvAnalogCControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  TKvCustomControl::KeyUp(Key, Shift);
  EndGesture();
}

void TKvAnalogCControl::EndGesture() {
  if (!Changed) return;
  Changed = false;
  onValueChanged_(this);
}

// --- Mouse ------------------------------------------------------------------------------------

bool TKvAnalogCControl::InSlide(int X, int Y) const {
  return SlideCircle ? KvInCircle(X, Y, SlideRect) : KvInRect(X, Y, SlideRect);
}

void TKvAnalogCControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TKvCustomControl::MouseDown(Button, Shift, X, Y);
  if (CanFocus() && !Focused()) SetFocus();
  if (Button != mbLeft) return;
  InSlideArea = InSlide(X, Y);
  if (!InSlideArea) return;
  Sliding = true;
  MouseSlide(Shift, X, Y, LastMousePos);
  LastMousePos = TPoint(X, Y);
}

void TKvAnalogCControl::MouseMove(TShiftState Shift, int X, int Y) {
  TKvCustomControl::MouseMove(Shift, X, Y);
  InSlideArea = InSlide(X, Y);
  const TCursor wanted = InSlideArea ? cursorSlide_ : NormalCursor;
  if (Cursor() != wanted) SetCursor(wanted);
  if (Sliding) MouseSlide(Shift, X, Y, LastMousePos);
}

void TKvAnalogCControl::MouseSlide(TShiftState /*Shift*/, int X, int Y, TPoint /*LastPos*/) {
  LastMousePos = TPoint(X, Y);
}

void TKvAnalogCControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TKvCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  Sliding = false;
  EndGesture();
}
