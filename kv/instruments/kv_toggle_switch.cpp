#include "kv/instruments/kv_toggle_switch.h"

#include <algorithm>

#include "kv/instruments/binary_instruments.h"
#include "kv/proc/painters.h"
#include "platform/graphics/canvas.h"

namespace {
// Gap between the slot and the caption.
constexpr int kCaptionGap = 4;
// Width of the slot's sunken rim (KvBtnBevel).
constexpr int kSlotRim = 2;
}  // namespace

TKvToggleSwitch::TKvToggleSwitch(TComponent* AOwner)
    : TKvBinGControl(AOwner), bevel_(std::make_unique<TKvSBevel>()) {
  KvBinaryInstrumentsUnit().Require();
  bevel_->SetOnChange(TNotifyEvent(this, &TKvToggleSwitch::ParamChange));
  SetMode(mSwitch);
  SetBounds(Left(), Top(), 80, 20);
}

TKvToggleSwitch::~TKvToggleSwitch() {
  bevel_->SetOnChange(nullptr);
}

void TKvToggleSwitch::SetSlotColorOn(TColor value) {
  if (value == slotColorOn_) return;
  slotColorOn_ = value;
  ParamChange(this);
}

void TKvToggleSwitch::SetSlotColorOff(TColor value) {
  if (value == slotColorOff_) return;
  slotColorOff_ = value;
  ParamChange(this);
}

TRect TKvToggleSwitch::SlotRect() const {
  const int h = std::max(0, Height());
  const int w = int(std::clamp<int64_t>(int64_t(h) * 2, 0, std::max(0, Width())));
  return TRect(0, 0, w, h);
}

TRect TKvToggleSwitch::LeverRect() const {
  TRect inner = SlotRect();
  inner = TRect(inner.Left + kSlotRim, inner.Top + kSlotRim, inner.Right - kSlotRim, inner.Bottom - kSlotRim);
  if (inner.Right <= inner.Left || inner.Bottom <= inner.Top) return TRect();
  const int half = (inner.Right - inner.Left) / 2;
  if (Checked()) return TRect(inner.Right - half, inner.Top, inner.Right, inner.Bottom);
  return TRect(inner.Left, inner.Top, inner.Left + half, inner.Bottom);
}

void TKvToggleSwitch::ParamChange(TObject* Sender) {
  TKvBinGControl::ParamChange(Sender);
  Invalidate();
}

void TKvToggleSwitch::StatusChanged() {
  TKvBinGControl::StatusChanged();
  kv_binary::AnnounceCheckedState(this, announced_);
  Invalidate();
}

void TKvToggleSwitch::WndProc(TMessage& Message) {
  if (kv_binary::IsToggleKey(Message)) {
    if (Enabled()) SetChecked(!Checked());
    Message.Result = 0;
    return;
  }
  TKvBinGControl::WndProc(Message);
}

void TKvToggleSwitch::Paint() {
  TCanvas* c = Canvas();
  TRect slot = SlotRect();
  if (slot.Right - slot.Left > 2 * kSlotRim && slot.Bottom - slot.Top > 2 * kSlotRim) {
    c->Pen()->SetColor(clBtnShadow);
    KvBtnBevel(c, slot, false, true, Checked() ? slotColorOn_ : slotColorOff_);
    TRect lever = LeverRect();
    if (lever.Right - lever.Left > 2 && lever.Bottom - lever.Top > 2) {
      const TRect outer = lever;
      bevel_->PaintFilledBevel(c, lever);
      // A grip groove across the middle of the lever, inside its bevel.
      const int x = (outer.Left + outer.Right) / 2;
      const int top = outer.Top + bevel_->Width() + 2;
      const int bottom = outer.Bottom - bevel_->Width() - 2;
      if (bottom - top > 2) {
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(x - 1, top);
        c->LineTo(x - 1, bottom);
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(x, top);
        c->LineTo(x, bottom);
      }
    }
  }
  const TRect whole(0, 0, Width(), Height());
  kv_binary::DrawCaption(c, *this, SlotRect().Right + kCaptionGap, whole);
}
