#include "kv/instruments/kv_radio_button.h"

#include <algorithm>

#include "kv/instruments/binary_instruments.h"
#include "kv/proc/painters.h"
#include "platform/graphics/canvas.h"

namespace {
// The well is the LED plus a rim of this width on each side.
constexpr int kWellRim = 2;
constexpr int kCaptionGap = 4;
}  // namespace

TKvRadioButton::TKvRadioButton(TComponent* AOwner) : TKvBinGControl(AOwner), led_(std::make_unique<TLED>()) {
  KvBinaryInstrumentsUnit().Require();
  led_->SetOnChange(TNotifyEvent(this, &TKvRadioButton::ParamChange));
  SetMode(mRadioButton);
  // On by itself, as the mode starts; joining a group adopts the group's word.
  const int32_t bit = FreeBit();
  SetStatusBit(bit);
  SetStatusInt(int32_t(uint32_t(1) << bit));
  SetBounds(Left(), Top(), 100, 21);
}

TKvRadioButton::~TKvRadioButton() {
  led_->SetOnChange(nullptr);
}

int32_t TKvRadioButton::FreeBit() const {
  const TComponent* owner = Owner();
  if (!owner) return 0;
  uint32_t used = 0;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    const auto* other = qobject_cast<const TKvRadioButton*>(owner->Components(i));
    if (other && other != this) used |= uint32_t(1) << other->StatusBit();
  }
  for (int32_t bit = 0; bit < 32; ++bit)
    if (!(used & (uint32_t(1) << bit))) return bit;
  return 31;
}

TRect TKvRadioButton::WellRect() const {
  const int side = std::max(0, std::min(led_->Width(), led_->Height()) + 2 * kWellRim);
  const int top = (Height() - side) / 2;
  return TRect(0, top, side, top + side);
}

void TKvRadioButton::ParamChange(TObject* Sender) {
  TKvBinGControl::ParamChange(Sender);
  Invalidate();
}

void TKvRadioButton::StatusChanged() {
  TKvBinGControl::StatusChanged();
  kv_binary::AnnounceCheckedState(this, announced_);
  Invalidate();
}

void TKvRadioButton::WndProc(TMessage& Message) {
  if (kv_binary::IsToggleKey(Message)) {
    if (Enabled()) SetChecked(true);
    Message.Result = 0;
    return;
  }
  TKvBinGControl::WndProc(Message);
}

void TKvRadioButton::Paint() {
  TCanvas* c = Canvas();
  TRect well = WellRect();
  const TRect outer = well;
  KvEllipse3D(c, well, clWindow, false);
  // The LED fills the well inside its rim (the smaller of its Width and
  // Height sizes the well).
  led_->LEDRect =
      TRect(outer.Left + kWellRim, outer.Top + kWellRim, outer.Right - kWellRim, outer.Bottom - kWellRim);
  led_->Draw(c, Checked());
  const TRect whole(0, 0, Width(), Height());
  kv_binary::DrawCaption(c, *this, outer.Right + kCaptionGap, whole);
}
