#pragma once
// TKvPanelFlash: the library's thread timer as a panel file places it. The
// timer component keeps its interval and handler public only (a program sets
// them in code); a panel is all description, so this descendant publishes
// both:
//
//   object Ticker: TKvPanelFlash
//     Interval = 50
//     OnTimer = SimulateTick
//   end
//
// Everything else (the worker thread, pausing, destruction without waiting)
// is TKvFlash's.

#include "kv/timers/kv_flash.h"

class TKvPanelFlash : public TKvFlash {
  Q_OBJECT
  Q_PROPERTY(int Interval READ IntervalMs WRITE SetIntervalMs)
  Q_PROPERTY(TNotifyEvent OnTimer READ OnTimer WRITE SetOnTimer)
  Q_CLASSINFO("default:Interval", "16")

 public:
  // The shortest interval a panel may ask for, and the longest.
  static constexpr int kMinInterval = 10;
  static constexpr int kMaxInterval = 3600 * 1000;

  Q_INVOKABLE explicit TKvPanelFlash(TComponent* AOwner = nullptr);
  ~TKvPanelFlash() override;

  int IntervalMs() const { return int(Interval()); }
  // 0 stops the timer. 1 to kMinInterval - 1 are raised to kMinInterval: a
  // panel has nothing to show faster than the screen can, and every tick
  // holds the worker until the GUI thread ran it. A negative value or one
  // above kMaxInterval raises EConvertError (so a panel file names it).
  void SetIntervalMs(int value);
};
