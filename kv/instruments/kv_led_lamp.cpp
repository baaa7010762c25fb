#include "kv/instruments/kv_led_lamp.h"

#include <algorithm>

#include "kv/instruments/binary_instruments.h"
#include "kv/timers/flash_timer.h"
#include "platform/graphics/canvas.h"

TKvLedLamp::TKvLedLamp(TComponent* AOwner)
    : TKvBinGControl(AOwner), led_(std::make_unique<TLED>()), bevel_(std::make_unique<TKvSBevel>()) {
  KvBinaryInstrumentsUnit().Require();
  led_->SetOnChange(TNotifyEvent(this, &TKvLedLamp::ParamChange));
  bevel_->SetOnChange(TNotifyEvent(this, &TKvLedLamp::ParamChange));
  SetBounds(Left(), Top(), 27, 27);
}

// The base leaves the flash list in its destructor; the settings go first.
TKvLedLamp::~TKvLedLamp() {
  led_->SetOnChange(nullptr);
  bevel_->SetOnChange(nullptr);
}

void TKvLedLamp::SetFramed(bool value) {
  if (value == framed_) return;
  framed_ = value;
  ParamChange(this);
}

bool TKvLedLamp::Lit() const {
  if (!Checked()) return false;
  if (!Flashing()) return true;
  return ((FlashTick >> FlashCodeOf(Frequency())) & 1u) != 0;
}

TRect TKvLedLamp::LampRect() const {
  // In 64 bits: absurd bevel widths and margins must not wrap around.
  int64_t left = 0, top = 0, right = Width(), bottom = Height();
  if (framed_) {
    const int64_t inset = bevel_->TotalWidth();
    const TKvOffset* o = bevel_->Offset();
    left += inset + o->Left();
    top += inset + o->Top();
    right -= inset + o->Right();
    bottom -= inset + o->Bottom();
  }
  // The LED keeps its size and is centred; a small control clips it to the area.
  const int64_t w = std::clamp<int64_t>(right - left, 0, led_->Width());
  const int64_t h = std::clamp<int64_t>(bottom - top, 0, led_->Height());
  const int64_t x = std::clamp<int64_t>(left + (right - left - w) / 2, 0, Width());
  const int64_t y = std::clamp<int64_t>(top + (bottom - top - h) / 2, 0, Height());
  return TRect(int32_t(x), int32_t(y), int32_t(x + w), int32_t(y + h));
}

void TKvLedLamp::ParamChange(TObject* Sender) {
  TKvBinGControl::ParamChange(Sender);
  Invalidate();
}

void TKvLedLamp::StatusChanged() {
  TKvBinGControl::StatusChanged();
  kv_binary::AnnounceCheckedState(this, announced_);
  Invalidate();
}

void TKvLedLamp::Flash(bool State) {
  TKvBinGControl::Flash(State);
  Invalidate();
}

void TKvLedLamp::Paint() {
  TCanvas* c = Canvas();
  if (framed_) {
    TRect r(0, 0, Width(), Height());
    bevel_->PaintFilledBevel(c, r);
  }
  led_->LEDRect = LampRect();
  if (led_->LEDRect.Right - led_->LEDRect.Left < 2 || led_->LEDRect.Bottom - led_->LEDRect.Top < 2) return;
  led_->Draw(c, Lit());
}
