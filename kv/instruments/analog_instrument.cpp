#include "kv/instruments/analog_instrument.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "kv/instruments/analog_instruments.h"
#include "kv/instruments/instrument_accessible.h"
#include "kv/settings/val_ind.h"
#include "platform/controls/win_control.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"

namespace {

constexpr double kDegToRad = 0.017453292519943295;

// A point `radius` from `centre` at `angle` (degrees clockwise from 12).
QPointF Polar(const TPoint& centre, double radius, double angle) {
  const double a = angle * kDegToRad;
  return {centre.X + 0.5 + radius * std::sin(a), centre.Y + 0.5 - radius * std::cos(a)};
}

QColor Q(TColor color) {
  return ToQColor(color);
}

}  // namespace

TKvAnalogInstrument::TKvAnalogInstrument(TComponent* AOwner)
    : TKvAnalogGControl(AOwner), bevel_(std::make_unique<TKvSBevel>()) {
  KvAnalogInstrumentsUnit().Require();
  SubscribeSettings(bevel_.get());
}

TKvAnalogInstrument::~TKvAnalogInstrument() {
  Destroying();
  bevel_.reset();
}

void TKvAnalogInstrument::SubscribeSettings(TKvPersistent* settings) {
  settings->SetOnChange(TNotifyEvent(this, &TKvAnalogInstrument::ParamChange));
}

void TKvAnalogInstrument::ParamChange(TObject* Sender) {
  TKvAnalogGControl::ParamChange(Sender);
  layers_.Invalidate();
  Invalidate();
}

void TKvAnalogInstrument::ValueChange() {
  TKvAnalogGControl::ValueChange();
  InvalidateMoving();
  KvAccessibleValueChanged(this);
}

void TKvAnalogInstrument::InvalidateMoving() {
  // Before the first paint, or with a settings change pending, the geometry
  // MovingBounds works from is not the one that will be painted.
  const QRect now = layers_.Valid() && !movingPainted_.isEmpty() ? MovingBounds() : QRect();
  if (now.isEmpty() || !Visible() || !Parent() || !Parent()->Widget()) {
    Invalidate();
    return;
  }
  const QRect client(0, 0, Width(), Height());
  QRect dirty = movingPainted_ | now;
  // The extremes' marks stay put while the value moves between them.
  const QRect marks = MarksBounds();
  if (marks != marksPainted_) dirty |= marks | marksPainted_;
  dirty &= client;
  if (!dirty.isEmpty()) InvalidateRect(TRect::fromQRect(dirty.translated(Left(), Top())));
}

bool TKvAnalogInstrument::PaintsOpaque() const {
  return layers_.OpaqueFor(QSize(Width(), Height())) || TKvAnalogGControl::PaintsOpaque();
}

double TKvAnalogInstrument::AngleOf(int32_t ppt, int start, int sweep) {
  return start + double(sweep) * std::clamp(ppt, 0, 1000) / 1000.0;
}

void TKvAnalogInstrument::Paint() {
  QPainter* painter = Canvas()->Painter();
  if (!painter || Width() <= 0 || Height() <= 0) return;
  layers_.Draw(*painter, QSize(Width(), Height()), [this](TCanvas* canvas) { PaintStatic(canvas); });
  PaintMoving(Canvas());
  movingPainted_ = MovingBounds();
  marksPainted_ = MarksBounds();
  ++paints_;
}

void TKvAnalogInstrument::PaintSectorBand(TCanvas* canvas, const TPoint& centre, int inner, int outer,
                                          int start, int sweep) const {
  QPainter* p = canvas->Painter();
  if (!p || outer <= inner || inner < 0) return;
  const TSectorSettings& s = *SectorSettings();
  const double width = outer - inner;
  const double mid = inner + width / 2;
  p->save();
  p->setRenderHint(QPainter::Antialiasing, true);
  const QRectF box(centre.X + 0.5 - mid, centre.Y + 0.5 - mid, 2 * mid, 2 * mid);
  const int from[3] = {s.Sector1From(), s.Sector2From(), s.Sector3From()};
  const int to[3] = {s.Sector1To(), s.Sector2To(), s.Sector3To()};
  for (int k = 0; k < 3; ++k) {
    const int a = std::clamp(from[k], 0, 1000);
    const int b = std::clamp(to[k], 0, 1000);
    if (b <= a) continue;
    const double a1 = AngleOf(a, start, sweep);
    const double a2 = AngleOf(b, start, sweep);
    p->setPen(QPen(Q(s.SectorColor(k)), width, Qt::SolidLine, Qt::FlatCap));
    // Qt counts counter-clockwise from 3 o'clock in 1/16 degree.
    p->drawArc(box, int(std::lround((90 - a1) * 16)), -int(std::lround((a2 - a1) * 16)));
  }
  p->restore();
}

void TKvAnalogInstrument::PaintNeedle(TCanvas* canvas, const TPoint& centre, double angle, int length,
                                      double width, TColor color, int hub, TColor hubColor) {
  QPainter* p = canvas->Painter();
  if (!p || length <= 0) return;
  p->save();
  p->setRenderHint(QPainter::Antialiasing, true);
  // A square cap costs a third of a round one (curves to stroke and fill);
  // the hub covers the inner end.
  p->setPen(QPen(Q(color), width, Qt::SolidLine, Qt::SquareCap));
  p->drawLine(Polar(centre, 0, angle), Polar(centre, length, angle));
  if (hub > 0) {
    const QPaintDevice* device = p->device();
    const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
    const THubKey key{hub, hubColor, ratio};
    if (hub_.isNull() || !(key == hubKey_)) {
      // The disc about the pixel centre, as on the control: the copy lands
      // on whole pixels with the same coverage.
      const int side = 2 * hub + 2;
      hub_ = QImage(QSize(int(std::ceil(side * ratio)), int(std::ceil(side * ratio))),
                    QImage::Format_ARGB32_Premultiplied);
      hub_.setDevicePixelRatio(ratio);
      hub_.fill(Qt::transparent);
      QPainter h(&hub_);
      h.setRenderHint(QPainter::Antialiasing, true);
      h.setPen(Qt::NoPen);
      h.setBrush(Q(hubColor));
      h.drawEllipse(QPointF(hub + 1.5, hub + 1.5), hub, hub);
      hubKey_ = key;
    }
    p->drawImage(QPointF(centre.X - hub - 1, centre.Y - hub - 1), hub_);
  }
  p->restore();
}

void TKvAnalogInstrument::PaintMinMaxMarks(TCanvas* canvas, const TPoint& centre, int radius, int length,
                                           int start, int sweep) const {
  QPainter* p = canvas->Painter();
  const TMinMax& m = *MinMax();
  if (!p || length <= 0) return;
  auto mark = [&](int32_t ppt, TColor color) {
    TColor sector = color;
    if (m.UseSectorCol()) SectorSettings()->CheckSectorColor(ppt, sector);
    const double angle = AngleOf(ppt, start, sweep);
    p->setPen(QPen(Q(sector), 3, Qt::SolidLine, Qt::FlatCap));
    p->drawLine(Polar(centre, radius - length, angle), Polar(centre, radius, angle));
  };
  p->save();
  p->setRenderHint(QPainter::Antialiasing, true);
  if (m.MinVisible() && m.Min() != TMinMax::kEmptyMin) mark(MinPPT(), m.MinColor());
  if (m.MaxVisible() && m.Max() != TMinMax::kEmptyMax) mark(MaxPPT(), m.MaxColor());
  p->restore();
}

void TKvAnalogInstrument::PaintReadoutValue(TCanvas* canvas, const TKvValInd* readout, float value) {
  QPainter* p = canvas->Painter();
  const TRect& r = readout->ValueRect();
  if (!p || !readout->Visible() || r.Width() <= 0 || r.Height() <= 0) return;
  const QRect box = r.toQRect();
  p->save();
  p->setClipRect(box, Qt::IntersectClip);
  p->fillRect(box, Q(readout->Color()));
  // The Qt font is made again only when the read-out's font changed.
  const TFont* readoutFont = readout->Font();
  if (!readoutText_ || readoutFont_ != readoutFont || readoutFontChange_ != readoutFont->ChangeCount()) {
    QFont font = readoutFont->ToQFont();
    if (!readoutText_ || readoutText_->Font() != font) readoutText_ = std::make_unique<TNumberText>(font);
    readoutFont_ = readoutFont;
    readoutFontChange_ = readoutFont->ChangeCount();
  }
  const QFont& font = readoutText_->Font();
  p->setPen(Q(readout->Font()->Color()));
  const QRect text = box.adjusted(0, 0, -readout->TextMargin(), 0);
  const QString digits = FormatFloat(readout->FormatStr(), value);
  // Right-aligned, the line's height centred in the box.
  const std::optional<qreal> width = readoutText_->Width(digits);
  const QFontMetricsF& metrics = readoutText_->Metrics();
  const QPointF origin(text.x() + text.width() - width.value_or(0),
                       text.y() + (text.height() - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent());
  if (!width || !readoutText_->Draw(*p, origin, digits)) {
    p->setFont(font);
    p->drawText(text, Qt::AlignRight | Qt::AlignVCenter, digits);
  }
  p->restore();
}

namespace {

// `box` grown by `margin` on every side, to whole pixels: antialiased edges
// reach a pixel beyond the geometry. Kept within a range whole pixels can
// count however absurd the control's size.
QRect Grown(const QRectF& box, double margin) {
  constexpr double kLimit = 1 << 29;
  const QRectF grown =
      box.adjusted(-margin, -margin, margin, margin) & QRectF(-kLimit, -kLimit, 2 * kLimit, 2 * kLimit);
  return grown.isValid() ? grown.toAlignedRect() : QRect();
}

QRectF Span(const QPointF& a, const QPointF& b) {
  return QRectF(a, b).normalized();
}

}  // namespace

QRect TKvAnalogInstrument::NeedleBounds(const TPoint& centre, double angle, int length, double width,
                                        int hub) {
  if (length <= 0) return {};
  const QPointF c = Polar(centre, 0, angle);
  // The square cap's corners reach half the width times the root of two.
  QRect box = Grown(Span(c, Polar(centre, length, angle)), width * 0.7072 + 2);
  if (hub > 0) box |= Grown(QRectF(c, c), hub + 2);
  return box;
}

QRect TKvAnalogInstrument::MinMaxMarksBounds(const TPoint& centre, int radius, int length, int start,
                                             int sweep) const {
  const TMinMax& m = *MinMax();
  if (length <= 0) return {};
  auto mark = [&](int32_t ppt) {
    const double angle = AngleOf(ppt, start, sweep);
    return Grown(Span(Polar(centre, radius - length, angle), Polar(centre, radius, angle)), 1.5 + 2);
  };
  QRect box;
  if (m.MinVisible() && m.Min() != TMinMax::kEmptyMin) box |= mark(MinPPT());
  if (m.MaxVisible() && m.Max() != TMinMax::kEmptyMax) box |= mark(MaxPPT());
  return box;
}

QRect TKvAnalogInstrument::ReadoutValueBounds(const TKvValInd* readout) {
  const TRect& r = readout->ValueRect();
  if (!readout->Visible() || r.Width() <= 0 || r.Height() <= 0) return {};
  return r.toQRect();
}
