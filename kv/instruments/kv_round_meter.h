#pragma once
// TKvRoundMeter: a round panel meter. On its surface bevel a ring scale runs
// from StartAngle clockwise over SweepAngle degrees (degrees from 12
// o'clock), with the three coloured sectors as a band just inside the ticks,
// a needle in ScaleSettings.PointerColor, marks at the smallest and largest
// value seen (MinMax) and a numeric read-out (ValInd) in the open part of
// the ring below the centre.
//
// Bevel, scale, sectors and the read-out frame form the cached static
// layer; needle, marks and read-out digits are painted on every paint.
//
// Published: ScaleSettings, ValInd, StartAngle, SweepAngle (with Bevel,
// SectorSettings, SignalSettings, MinMax and the value from the bases).

#include <memory>

#include "kv/instruments/analog_instrument.h"
#include "kv/settings/scale_settings.h"
#include "kv/settings/val_ind.h"

class TKvRoundMeter : public TKvAnalogInstrument {
  Q_OBJECT
  Q_PROPERTY(TScaleSettings* ScaleSettings READ ScaleSettings)
  Q_PROPERTY(TKvValInd* ValInd READ ValInd)
  Q_PROPERTY(int StartAngle READ StartAngle WRITE SetStartAngle)
  Q_PROPERTY(int SweepAngle READ SweepAngle WRITE SetSweepAngle)
  Q_CLASSINFO("default:StartAngle", "-135")
  Q_CLASSINFO("default:SweepAngle", "270")

 public:
  // 150 x 150 pixels, a 270 degree scale, the read-out visible.
  Q_INVOKABLE explicit TKvRoundMeter(TComponent* AOwner = nullptr);
  ~TKvRoundMeter() override;

  TScaleSettings* ScaleSettings() const { return scale_.get(); }
  TKvValInd* ValInd() const { return valInd_.get(); }
  int StartAngle() const { return startAngle_; }
  // Any angle; taken modulo nothing (a start of -135 is 7:30 o'clock).
  void SetStartAngle(int value);
  int SweepAngle() const { return sweepAngle_; }
  // 10..360; other values are ignored.
  void SetSweepAngle(int value);

  // Geometry of the last static paint, for the needle and for tests: the
  // scale's centre and the radius of the inner ends of the major ticks.
  TPoint NeedleCentre() const { return centre_; }
  int TickRadius() const { return tickRadius_; }

 protected:
  void PaintStatic(TCanvas* canvas) override;
  void PaintMoving(TCanvas* canvas) override;
  QRect MovingBounds() const override;
  QRect MarksBounds() const override;

 private:
  std::unique_ptr<TScaleSettings> scale_;
  std::unique_ptr<TKvValInd> valInd_;
  int startAngle_ = -135;
  int sweepAngle_ = 270;
  TPoint centre_;
  int tickRadius_ = 0;
};
