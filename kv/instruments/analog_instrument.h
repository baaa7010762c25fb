#pragma once
// TKvAnalogInstrument: what the ready windowless analog instruments (round
// meter, dial, bar gauge) share on top of TKvAnalogGControl. Descendants
// follow this protocol:
//  - PaintStatic paints everything that does not move with the value (the
//    surface bevel, scale, sectors, read-out frame). It runs only when the
//    cached layer is stale: after a settings change, a resize or a change of
//    the device pixel ratio; its output is kept in a TKvLayerCache.
//  - PaintMoving paints what the value moves (pointer, bar, min/max marks,
//    read-out digits) over the cached layer on every paint. It may use the
//    geometry PaintStatic left in the descendant's fields.
// Settings objects a descendant owns report to ParamChange (subscribe them
// with SubscribeSettings in the constructor); every settings report marks
// the layer stale and requests a repaint, a value change only requests a
// repaint and announces the new value to assistive technology.
//  - MovingBounds may tell the rectangle PaintMoving covers for the current
//    value (pointer, bar, read-out), and MarksBounds the one the min/max
//    marks cover; a value change then repaints only the moving rectangle
//    united with the one painted last, and the marks' rectangles only when
//    the marks moved, instead of the whole control.
//
// Published here: Bevel, the surface the instrument is drawn on.

#include <QRect>
#include <QSize>
#include <cstdint>
#include <memory>

#include "kv/controls/kv_analog_g_control.h"
#include "kv/instruments/layer_cache.h"
#include "kv/settings/surface_bevel.h"
#include "platform/graphics/number_text.h"

class TKvAnalogInstrument : public TKvAnalogGControl {
  Q_OBJECT
  Q_PROPERTY(TKvSBevel* Bevel READ Bevel)

 public:
  explicit TKvAnalogInstrument(TComponent* AOwner = nullptr);
  ~TKvAnalogInstrument() override;

  TKvSBevel* Bevel() const { return bevel_.get(); }

  void ParamChange(TObject* Sender) override;

  // An instrument whose static layer covers all of it (a filled bevel) hides
  // what lies beneath, once that layer has been made for its size.
  bool PaintsOpaque() const override;

  // Counters for tests and benchmarks: paints of the whole control and
  // rebuilds of its static layer.
  int64_t PaintCount() const { return paints_; }
  int64_t LayerRebuilds() const { return layers_.RebuildCount(); }

  // The needle's angle in degrees clockwise from 12 o'clock for a position
  // in parts per thousand, on a scale from `start` over `sweep` degrees.
  static double AngleOf(int32_t ppt, int start, int sweep);

 protected:
  void Paint() override;
  void ValueChange() override;

  virtual void PaintStatic(TCanvas* canvas) = 0;
  virtual void PaintMoving(TCanvas* canvas) = 0;
  // The rectangle (client coordinates) PaintMoving covers for the current
  // value, from the geometry the last PaintStatic left; empty (the default)
  // when the descendant cannot tell, and the whole control repaints.
  virtual QRect MovingBounds() const { return {}; }
  virtual QRect MarksBounds() const { return {}; }

  // Makes `settings` report to ParamChange.
  void SubscribeSettings(TKvPersistent* settings);

  // Shared painting of the round instruments. The band of the three
  // sectors between radius `inner` and `outer` around `centre`.
  void PaintSectorBand(TCanvas* canvas, const TPoint& centre, int inner, int outer, int start,
                       int sweep) const;
  // A needle from the centre to `length` at `angle`, `width` pixels wide,
  // with a hub of radius `hub` in `hubColor`.
  void PaintNeedle(TCanvas* canvas, const TPoint& centre, double angle, int length, double width,
                          TColor color, int hub, TColor hubColor);
  // The min and max marks (short bars just inside `radius`), as MinMax says.
  void PaintMinMaxMarks(TCanvas* canvas, const TPoint& centre, int radius, int length, int start,
                        int sweep) const;
  // The value text of the read-out: its frame was painted in the static
  // layer by TKvValInd::Draw, the digits go here, drawn at device resolution.
  void PaintReadoutValue(TCanvas* canvas, const class TKvValInd* readout, float value);
  // What the helpers above cover, for MovingBounds: a needle with its hub,
  // the min and max marks as MinMax shows them, the read-out's value text.
  static QRect NeedleBounds(const TPoint& centre, double angle, int length, double width, int hub);
  QRect MinMaxMarksBounds(const TPoint& centre, int radius, int length, int start, int sweep) const;
  static QRect ReadoutValueBounds(const class TKvValInd* readout);

 private:
  // Requests the repaint a value change needs (see MovingBounds).
  void InvalidateMoving();

  std::unique_ptr<TKvSBevel> bevel_;
  TKvLayerCache layers_;
  // The read-out's digits, drawn from their glyphs (see TNumberText).
  std::unique_ptr<TNumberText> readoutText_;
  const class TFont* readoutFont_ = nullptr;
  // The needle's hub, drawn once per radius, colour and pixel ratio and then
  // copied: a filled antialiased circle costs ten copies of its pixels.
  QImage hub_;
  struct THubKey {
    int radius = 0;
    TColor color = 0;
    qreal ratio = 0;
    bool operator==(const THubKey&) const = default;
  } hubKey_;
  quint64 readoutFontChange_ = 0;
  // MovingBounds at the last paint: what the moving part covers on screen.
  QRect movingPainted_;
  // MarksBounds at the last paint.
  QRect marksPainted_;
  int64_t paints_ = 0;
};
