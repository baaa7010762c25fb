#pragma once
// TKvBarGauge: a bar graph with a straight scale beside it. Its shape sets
// the direction: a control taller than wide shows a vertical bar with the
// scale on its right, a wider one a horizontal bar with the scale below; a
// gauge too slim to leave the bar 8 pixels beside its scale shows the bar
// alone.
// BarSettings chooses a plain bar, LED segments or a point marker, the
// colours (or the sector colour, opUseSectorCol), a caption with the value
// (opValue, opUnit) and a bidirectional bar growing from the value 0
// (opBidir; from the range's start when 0 lies outside the range).
//
// The surface bevel, the bar's own bevel and the scale are the cached static
// layer; the bar itself is painted on every paint.
//
// Published: BarSettings, ScaleSettings (with Bevel, SectorSettings,
// SignalSettings, MinMax and the value from the bases).

#include <memory>

#include "kv/instruments/analog_instrument.h"
#include "kv/settings/bar_settings.h"
#include "kv/settings/scale_settings.h"

class TKvBarGauge : public TKvAnalogInstrument {
  Q_OBJECT
  Q_PROPERTY(TBarSettings* BarSettings READ BarSettings)
  Q_PROPERTY(TScaleSettings* ScaleSettings READ ScaleSettings)

 public:
  // 80 x 200 pixels (vertical), a 2-pixel spacing inside the surface bevel.
  Q_INVOKABLE explicit TKvBarGauge(TComponent* AOwner = nullptr);
  ~TKvBarGauge() override;

  TBarSettings* BarSettings() const { return bar_.get(); }
  TScaleSettings* ScaleSettings() const { return scale_.get(); }

  bool Horizontal() const { return Width() > Height(); }
  // The bar's rectangle (inside its bevel) as the last static paint laid it out.
  const TRect& BarRect() const { return barRect_; }

 protected:
  void PaintStatic(TCanvas* canvas) override;
  void PaintMoving(TCanvas* canvas) override;
  QRect MovingBounds() const override;

 private:
  std::unique_ptr<TBarSettings> bar_;
  std::unique_ptr<TScaleSettings> scale_;
  TRect barRect_{0, 0, 0, 0};
};
