#pragma once
// TKvDial: a dial gauge. A round face (in Bevel.Color, framed in the
// scale's colour) carries a dial scale with long ticks from -150 over 300
// degrees, the sectors as a thin band inside the ticks, and a long needle
// in ScaleSettings.PointerColor turning about a hub. Face, scale and sectors
// are the cached static layer; the needle moves over it.
//
// Published: ScaleSettings (with Bevel, SectorSettings, SignalSettings,
// MinMax and the value from the bases).

#include <memory>

#include "kv/instruments/analog_instrument.h"
#include "kv/settings/scale_settings.h"

class TKvDial : public TKvAnalogInstrument {
  Q_OBJECT
  Q_PROPERTY(TScaleSettings* ScaleSettings READ ScaleSettings)

 public:
  static constexpr int kStartAngle = -150;
  static constexpr int kSweepAngle = 300;

  // 120 x 120 pixels.
  Q_INVOKABLE explicit TKvDial(TComponent* AOwner = nullptr);
  ~TKvDial() override;

  TScaleSettings* ScaleSettings() const { return scale_.get(); }

  TPoint NeedleCentre() const { return centre_; }
  int TickRadius() const { return tickRadius_; }

 protected:
  void PaintStatic(TCanvas* canvas) override;
  void PaintMoving(TCanvas* canvas) override;
  QRect MovingBounds() const override;
  QRect MarksBounds() const override;

 private:
  std::unique_ptr<TScaleSettings> scale_;
  TPoint centre_;
  int tickRadius_ = 0;
};
