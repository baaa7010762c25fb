#include "kv/instruments/kv_spin_box.h"

#include <algorithm>
#include <cmath>

#include "kv/instruments/binary_instruments.h"
#include "platform/controls/keys.h"
#include "platform/core/numbers.h"

namespace {

// The spin box's field: it keeps Return and Escape from the form's dialog
// keys, hands its keys to the spin box first and takes typed text when it
// loses the focus. The spin box detaches it before it goes, so a focus change
// while the parts are freed never reaches a half-destroyed box.
class TSpinBoxEdit : public TEdit {
 public:
  explicit TSpinBoxEdit(TKvSpinBox* box) : TEdit(box), box_(box) {}

  void Detach() { box_ = nullptr; }

  void KeyDown(uint16_t& Key, TShiftState Shift) override {
    if (box_) box_->EditKeyDown(Key);
    if (Key != 0) TEdit::KeyDown(Key, Shift);
  }
  void WndProc(TMessage& Message) override {
    TEdit::WndProc(Message);
    if (Message.Msg == WM_GETDLGCODE)
      Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    else if (Message.Msg == CM_EXIT && box_)
      box_->CommitText();
  }

 private:
  TKvSpinBox* box_;
};

// Powers of ten for the decimals, exact in a double up to 1e15.
double PowerOfTen(int exponent) {
  double p = 1;
  for (int i = 0; i < exponent; ++i) p *= 10;
  return p;
}

}  // namespace

TKvSpinBox::TKvSpinBox(TComponent* AOwner) : TWinControl(AOwner), kvInfo_(LoadKavelInfo()) {
  KvBinaryInstrumentsUnit().Require();
  // Not a container: the field and the spin button cover it.
  SetControlStyle(ControlStyle() & ~TControlStyle(csAcceptsControls));
  edit_ = new TSpinBoxEdit(this);
  edit_->SetParent(this);
  spinButton_ = new TKvSpinButton(this);
  spinButton_->SetParent(this);
  spinButton_->SetFocusControl(edit_);
  spinButton_->SetOnUpClick(TNotifyEvent(this, &TKvSpinBox::UpClick));
  spinButton_->SetOnDownClick(TNotifyEvent(this, &TKvSpinBox::DownClick));
  SetBounds(Left(), Top(), 80, 24);
  ShowValue();
}

TKvSpinBox::~TKvSpinBox() {
  Destroying();
  static_cast<TSpinBoxEdit*>(edit_)->Detach();
  spinButton_->SetOnUpClick(nullptr);
  spinButton_->SetOnDownClick(nullptr);
}

// --- Value ---------------------------------------------------------------------------

double TKvSpinBox::Normalized(double value) const {
  if (std::isnan(value)) return value;
  value = std::clamp(value, minValue_, maxValue_);
  // Rounded where the decimals still fit a double exactly; larger numbers
  // have no fraction left to round.
  const double scale = PowerOfTen(decimals_);
  if (std::fabs(value) * scale < 1e15) value = std::nearbyint(value * scale) / scale;
  value = std::clamp(value, minValue_, maxValue_);
  return value == 0 ? 0.0 : value;  // no "-0" in the field
}

QString TKvSpinBox::ValueText() const {
  return FloatToStrF(value_, ffFixed, 18, decimals_);
}

void TKvSpinBox::ShowValue() {
  const QString text = ValueText();
  if (edit_->Text() != text) edit_->SetText(text);
}

void TKvSpinBox::StoreValue(double value) {
  if (value == value_) {
    ShowValue();
    return;
  }
  value_ = value;
  ShowValue();
  Change();
}

void TKvSpinBox::SetValue(double value) {
  if (!std::isfinite(value)) return;
  // While loading the bounds may still be on their way: keep the number as
  // stored, Loaded() applies the bounds.
  if (Loading()) {
    value_ = value;
    return;
  }
  StoreValue(Normalized(value));
}

void TKvSpinBox::SetMinValue(double value) {
  if (!std::isfinite(value) || value == minValue_) return;
  minValue_ = value;
  if (maxValue_ < minValue_) maxValue_ = minValue_;
  if (!Loading()) StoreValue(Normalized(value_));
}

void TKvSpinBox::SetMaxValue(double value) {
  if (!std::isfinite(value) || value == maxValue_) return;
  maxValue_ = value;
  if (minValue_ > maxValue_) minValue_ = maxValue_;
  if (!Loading()) StoreValue(Normalized(value_));
}

void TKvSpinBox::SetIncrement(double value) {
  if (!std::isfinite(value) || value <= 0) return;
  increment_ = value;
}

void TKvSpinBox::SetDecimals(int value) {
  if (value < 0 || value > kMaxDecimals || value == decimals_) return;
  decimals_ = value;
  if (!Loading()) StoreValue(Normalized(value_));
}

void TKvSpinBox::Step(int steps) {
  CommitText();
  const double next = value_ + double(steps) * increment_;
  if (std::isfinite(next)) StoreValue(Normalized(next));
}

bool TKvSpinBox::CommitText() {
  const QString text = edit_->Text();
  if (text == ValueText()) return true;
  long double typed = 0;
  if (!TryStrToFloat(text, typed) || std::isnan(typed)) {
    rejectedText_ = text;
    ShowValue();
    onInvalidText_(this);
    return false;
  }
  // Beyond the double range is beyond the bounds too: clamp, do not reject.
  StoreValue(Normalized(double(std::clamp<long double>(typed, -1e308L, 1e308L))));
  return true;
}

void TKvSpinBox::Change() {
  onChange_(this);
}

void TKvSpinBox::Loaded() {
  TWinControl::Loaded();
  LayoutParts();
  value_ = Normalized(value_);
  ShowValue();
}

// --- Input ---------------------------------------------------------------------------

void TKvSpinBox::UpClick(TObject* /*Sender*/) {
  Step(1);
}

void TKvSpinBox::DownClick(TObject* /*Sender*/) {
  Step(-1);
}

void TKvSpinBox::EditKeyDown(uint16_t& Key) {
  switch (Key) {
    case VK_UP:
      Step(1);
      break;
    case VK_DOWN:
      Step(-1);
      break;
    case VK_RETURN:
      CommitText();
      break;
    case VK_ESCAPE:
      ShowValue();
      break;
    default:
      return;
  }
  Key = 0;
}

// --- Layout --------------------------------------------------------------------------

void TKvSpinBox::LayoutParts() {
  if (!edit_ || !spinButton_ || Loading()) return;
  const int spinWidth = TKvSpinButton::kMinWidth;
  const int editWidth = std::max(0, Width() - spinWidth);
  edit_->SetBounds(0, 0, editWidth, Height());
  spinButton_->SetBounds(editWidth, 0, spinWidth, Height());
}

void TKvSpinBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  LayoutParts();
}

void TKvSpinBox::SetEnabled(bool value) {
  TWinControl::SetEnabled(value);
  edit_->SetEnabled(value);
  spinButton_->SetEnabled(value);
}

void TKvSpinBox::WndProc(TMessage& Message) {
  TWinControl::WndProc(Message);
  if (Message.Msg == WM_SIZE) LayoutParts();
}
