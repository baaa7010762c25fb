#pragma once
// TKvLedLamp: an indicator lamp. It shows the two-state base's Checked state
// as an LED (LED: one of the six lamp shapes, its on and off colours and its
// size) centred in an optional bevelled bezel (Bevel, painted while Framed).
// While checked and Flashing it blinks at Frequency, one of the five rates
// of the shared flash timer.
//
// The flash phase is read from the shared tick counter the timer steps
// (bit 2 + rate), not remembered per lamp: every lamp of one rate shows the
// same phase, also in the tick it was switched on or moved to another rate.
// WM_FLASH only asks for the repaint.
//
// The lamp is an indicator by default (Mode mIndicator: the mouse does not
// change it); any other mode of the base works as the base describes.

#include <memory>
#include <optional>

#include "kv/controls/kv_bin_control.h"
#include "kv/settings/led_settings.h"
#include "kv/settings/surface_bevel.h"

class TKvLedLamp : public TKvBinGControl {
  Q_OBJECT
  Q_PROPERTY(TLED* LED READ LED)
  Q_PROPERTY(TKvSBevel* Bevel READ Bevel)
  Q_PROPERTY(bool Framed READ Framed WRITE SetFramed)
  Q_PROPERTY(BinControlTypes::TMode Mode READ Mode WRITE SetMode)
  Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
  Q_PROPERTY(int StatusBit READ StatusBit WRITE SetStatusBit)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(bool Flashing READ Flashing WRITE SetFlashing)
  Q_PROPERTY(BinControlTypes::TFlashFreq Frequency READ Frequency WRITE SetFrequency)
  Q_PROPERTY(TNotifyEvent OnStatusChange READ OnStatusChange WRITE SetOnStatusChange)
  Q_PROPERTY(TNotifyEvent OnStatusIntChange READ OnStatusIntChange WRITE SetOnStatusIntChange)
  Q_CLASSINFO("default:Framed", "True")
  Q_CLASSINFO("default:Mode", "mIndicator")
  Q_CLASSINFO("default:GroupIndex", "0")
  Q_CLASSINFO("default:StatusBit", "0")
  Q_CLASSINFO("default:Checked", "False")
  Q_CLASSINFO("default:Flashing", "False")
  Q_CLASSINFO("default:Frequency", "ff1Hz")

 public:
  // 27 x 27 pixels: the default 13-pixel LED inside the default bezel.
  Q_INVOKABLE explicit TKvLedLamp(TComponent* AOwner = nullptr);
  ~TKvLedLamp() override;

  TLED* LED() const { return led_.get(); }
  TKvSBevel* Bevel() const { return bevel_.get(); }
  bool Framed() const { return framed_; }
  void SetFramed(bool value);

  // Whether the lamp shows its on colour now: checked, and in the on phase
  // of its rate when flashing.
  bool Lit() const;
  // Where the LED goes for the current size and settings (client coordinates).
  TRect LampRect() const;

  void ParamChange(TObject* Sender) override;
  void StatusChanged() override;
  void Flash(bool State) override;

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TLED> led_;
  std::unique_ptr<TKvSBevel> bevel_;
  bool framed_ = true;
  std::optional<bool> announced_;  // checked state last told to assistive technology
};
