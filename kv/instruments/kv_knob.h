#pragma once
// TKvKnob: a rotary knob, the windowed input control of the instruments. A
// dial scale from -135 over 270 degrees surrounds a round knob whose marker
// line points at the value, in ColorFocus while the knob has the focus and
// ColorNonFocus otherwise. The keyboard, the wheel and dragging inside the
// knob change the value (the base does the first two; dragging sets the
// value at the angle of the mouse around the centre). A linked meter
// (ValueIndicator) follows every change.
//
// Bevel, scale and the knob body are the cached static layer; the marker is
// painted on every paint.
//
// Published: ScaleSettings, Bevel (with SignalSettings, ValueIndicator,
// ChangeLarge, ChangeSmall, the colours and keys from the base).

#include <memory>

#include "kv/controls/kv_analog_c_control.h"
#include "kv/instruments/layer_cache.h"
#include "kv/settings/scale_settings.h"
#include "kv/settings/surface_bevel.h"

class TKvKnob : public TKvAnalogCControl {
  Q_OBJECT
  Q_PROPERTY(TScaleSettings* ScaleSettings READ ScaleSettings)
  Q_PROPERTY(TKvSBevel* Bevel READ Bevel)

 public:
  static constexpr int kStartAngle = -135;
  static constexpr int kSweepAngle = 270;

  // 100 x 100 pixels.
  Q_INVOKABLE explicit TKvKnob(TComponent* AOwner = nullptr);
  ~TKvKnob() override;

  TScaleSettings* ScaleSettings() const { return scale_.get(); }
  TKvSBevel* Bevel() const { return bevel_.get(); }

  void ParamChange(TObject* Sender) override;
  // Once its static layer proved to cover all of it, the knob leaves its
  // widget's background unfilled.
  bool PaintsOpaque() const override;
  void WndProc(TMessage& Message) override;

  int64_t PaintCount() const { return paints_; }
  int64_t LayerRebuilds() const { return layers_.RebuildCount(); }
  // The knob body's centre and radius as the last static paint laid it out.
  TPoint KnobCentre() const { return centre_; }
  int KnobRadius() const { return radius_; }

 protected:
  void Paint() override;
  void ValueChange() override;
  void MouseSlide(TShiftState Shift, int X, int Y, TPoint LastPos) override;

 private:
  void PaintStatic(TCanvas* canvas);
  int32_t PositionPPT() const;

  std::unique_ptr<TScaleSettings> scale_;
  std::unique_ptr<TKvSBevel> bevel_;
  TKvLayerCache layers_;
  int64_t paints_ = 0;
  TPoint centre_;
  int radius_ = 0;
};
