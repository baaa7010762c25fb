#include "kv/controls/kv_timer_speed_btn.h"

#include "kv/timers/flash_timer.h"
#include "platform/core/date_time.h"

TKvTimerSpeedBtn::TKvTimerSpeedBtn(TComponent* AOwner) : TSpeedButton(AOwner), kvInfo_(LoadKavelInfo()) {}

TKvTimerSpeedBtn::~TKvTimerSpeedBtn() {
  DelControl(this);
  Destroying();
}

void TKvTimerSpeedBtn::SetInterval(int32_t value) {
  if (value < kMinInterval) return;
  interval_ = value;
}

void TKvTimerSpeedBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (!timerEnabled_) return;
  repeatStart_ = GetTickCount() + startDelay_;
  AddControl(this, interval_);
}

void TKvTimerSpeedBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  DelControl(this);
}

void TKvTimerSpeedBtn::WndProc(TMessage& Message) {
  if (Message.Msg == WM_FLASH) {
    // Compared as a signed distance, so a start time just past the counter's
    // wrap is not taken for one long gone.
    if (TickDiff(GetTickCount(), repeatStart_) >= 0) Click();
    return;
  }
  TSpeedButton::WndProc(Message);
}
