#pragma once
// TKvTimerSpeedBtn: a speed button that repeats its click while it is held.
// Any mouse button pressed on it lists it with the shared flash timer as an
// interval entry of Interval milliseconds; from StartDelay milliseconds after
// the press on, every WM_FLASH the timer sends is one more click. Releasing
// the button takes it off the list (a left release over the button still
// gives the ordinary click). There is no timer of its own and no check that
// the mouse is still over the button.
//
// A press held for t ms thus clicks about (t - StartDelay) / Interval times
// while held, none if t < StartDelay, plus the click of the release.

#include <cstdint>

#include "kv/core/kv_info.h"
#include "platform/controls/speed_button.h"

class TKvTimerSpeedBtn : public TSpeedButton {
  Q_OBJECT
  Q_PROPERTY(TKvInfo* KvInfo READ KvInfo STORED false)
  Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
  Q_PROPERTY(bool TimerEnabled READ TimerEnabled WRITE SetTimerEnabled)
  Q_PROPERTY(uint StartDelay READ StartDelay WRITE SetStartDelay)
  Q_CLASSINFO("default:Interval", "100")
  Q_CLASSINFO("default:TimerEnabled", "True")
  Q_CLASSINFO("default:StartDelay", "500")

 public:
  // The smallest repeat interval; shorter ones are ignored.
  static constexpr int32_t kMinInterval = 50;

  Q_INVOKABLE explicit TKvTimerSpeedBtn(TComponent* AOwner = nullptr);
  // Leaves the flash list first: a button freed while held is never addressed.
  ~TKvTimerSpeedBtn() override;

  TKvInfo* KvInfo() const { return kvInfo_; }
  // Milliseconds between repeats; values below 50 are ignored.
  int32_t Interval() const { return interval_; }
  void SetInterval(int32_t value);
  bool TimerEnabled() const { return timerEnabled_; }
  void SetTimerEnabled(bool value) { timerEnabled_ = value; }
  // Milliseconds from the press to the first repeat.
  uint32_t StartDelay() const { return startDelay_; }
  void SetStartDelay(uint32_t value) { startDelay_ = value; }
  // Tick count at which repeating begins (set by the last press).
  uint32_t RepeatStart() const { return repeatStart_; }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // WM_FLASH: a click once the start delay has passed.
  void WndProc(TMessage& Message) override;

 private:
  TKvInfo* kvInfo_;
  int32_t interval_ = 100;
  bool timerEnabled_ = true;
  uint32_t startDelay_ = 500;
  uint32_t repeatStart_ = 0;
};
