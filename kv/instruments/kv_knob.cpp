#include "kv/instruments/kv_knob.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "kv/instruments/analog_instrument.h"
#include "kv/instruments/analog_instruments.h"
#include "kv/instruments/instrument_accessible.h"
#include "platform/controls/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"

namespace {
constexpr double kRadToDeg = 57.29577951308232;
}  // namespace

TKvKnob::TKvKnob(TComponent* AOwner)
    : TKvAnalogCControl(AOwner),
      scale_(std::make_unique<TScaleSettings>()),
      bevel_(std::make_unique<TKvSBevel>()) {
  KvAnalogInstrumentsUnit().Require();
  SetBounds(Left(), Top(), 100, 100);
  scale_->SetOnChange(TNotifyEvent(this, &TKvKnob::ParamChange));
  bevel_->SetOnChange(TNotifyEvent(this, &TKvKnob::ParamChange));
  SlideCircle = true;
}

TKvKnob::~TKvKnob() {
  Destroying();
  scale_.reset();
  bevel_.reset();
}

void TKvKnob::ParamChange(TObject* Sender) {
  TKvAnalogCControl::ParamChange(Sender);
  layers_.Invalidate();
  Invalidate();
}

bool TKvKnob::PaintsOpaque() const {
  return layers_.OpaqueFor(QSize(Width(), Height())) || TKvAnalogCControl::PaintsOpaque();
}

void TKvKnob::WndProc(TMessage& Message) {
  TKvAnalogCControl::WndProc(Message);
  // The marker's colour follows the focus.
  if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS) Invalidate();
}

void TKvKnob::ValueChange() {
  TKvAnalogCControl::ValueChange();
  // The marker never leaves the knob's top: with the layer up to date only
  // that square needs painting again.
  if (layers_.Valid() && radius_ > 0 && Widget()) {
    // The marker's square cap reaches half its width times the root of two
    // beyond its end, and antialiasing a pixel more.
    const int reach = radius_ * 4 / 5 + (std::max(3, radius_ / 8) * 3 + 3) / 4 + 2;
    Widget()->update(QRect(centre_.X - reach, centre_.Y - reach, 2 * reach + 1, 2 * reach + 1));
  } else {
    Invalidate();
  }
  KvAccessibleValueChanged(this);
}

int32_t TKvKnob::PositionPPT() const {
  const TSignalSettings& s = *SignalSettings();
  if (s.DigitalRange == 0) return 0;
  return int32_t(std::lround(1000.0 * (double(Digit()) - s.DigitalFrom()) / s.DigitalRange));
}

void TKvKnob::MouseSlide(TShiftState Shift, int X, int Y, TPoint LastPos) {
  TKvAnalogCControl::MouseSlide(Shift, X, Y, LastPos);
  if (radius_ <= 0) return;
  // The angle of the mouse around the centre, clockwise from 12 o'clock,
  // measured from the scale's start; the gap below the knob snaps to the
  // nearer end.
  double angle = std::atan2(double(X - centre_.X), double(centre_.Y - Y)) * kRadToDeg - kStartAngle;
  while (angle < 0) angle += 360;
  while (angle >= 360) angle -= 360;
  if (angle > kSweepAngle) angle = angle - kSweepAngle < (360 - kSweepAngle) / 2.0 ? kSweepAngle : 0;
  const TSignalSettings& s = *SignalSettings();
  SetDigit(int32_t(std::lround(s.DigitalFrom() + angle / kSweepAngle * s.DigitalRange)));
}

void TKvKnob::PaintStatic(TCanvas* canvas) {
  TRect rect(0, 0, Width(), Height());
  bevel_->PaintFilledBevel(canvas, rect);
  TScaleSettings& s = *scale_;
  s.CalcRSize(canvas, SignalSettings()->ValueFrom(), SignalSettings()->ValueTo());
  const int side = std::max(0, std::min(rect.Width(), rect.Height() - s.TextHeight + s.TextWidth));
  TRect ring(rect.Left + (rect.Width() - side) / 2, rect.Top + (rect.Height() - side) / 2, 0, 0);
  ring.Right = ring.Left + side;
  ring.Bottom = ring.Top + side;
  TRect labels = ring;
  labels.Top -= s.TextHeight / 2 - s.TextWidth / 2;
  s.DialScala(canvas, labels, kStartAngle, kSweepAngle);
  centre_ = s.Center;
  // The body fills the ring's arc, inside the ticks.
  radius_ = std::max(0, (s.ArcBottomRight.X - s.ArcTopLeft.X) / 2 - 2);
  // The knob body: a dark rim and a lighter top.
  canvas->Pen()->SetColor(clBlack);
  canvas->Pen()->SetWidth(1);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clGray);
  canvas->Ellipse(centre_.X - radius_, centre_.Y - radius_, centre_.X + radius_ + 1, centre_.Y + radius_ + 1);
  const int cap = radius_ * 4 / 5;
  canvas->Pen()->SetColor(clGray);
  canvas->Brush()->SetColor(clSilver);
  canvas->Ellipse(centre_.X - cap, centre_.Y - cap, centre_.X + cap + 1, centre_.Y + cap + 1);
  SlideRect =
      TRect(centre_.X - radius_, centre_.Y - radius_, centre_.X + radius_ + 1, centre_.Y + radius_ + 1);
}

void TKvKnob::Paint() {
  QPainter* painter = Canvas()->Painter();
  if (!painter || Width() <= 0 || Height() <= 0) return;
  layers_.Draw(*painter, QSize(Width(), Height()), [this](TCanvas* canvas) { PaintStatic(canvas); });
  const double angle = TKvAnalogInstrument::AngleOf(PositionPPT(), kStartAngle, kSweepAngle);
  const TColor color = Focused() ? ColorFocus() : ColorNonFocus();
  const double a = angle / kRadToDeg;
  const int inner = radius_ / 4;
  const int outer = radius_ * 4 / 5 - 2;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, true);
  // Square caps: a third of the cost of round ones (curves to stroke).
  const QPointF c(centre_.X + 0.5, centre_.Y + 0.5);
  painter->setPen(QPen(ToQColor(color), std::max(3, radius_ / 8), Qt::SolidLine, Qt::SquareCap));
  painter->drawLine(c + QPointF(inner * std::sin(a), -inner * std::cos(a)),
                    c + QPointF(outer * std::sin(a), -outer * std::cos(a)));
  painter->restore();
  ++paints_;
}
