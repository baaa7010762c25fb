#include "kv/instruments/kv_round_meter.h"

#include <algorithm>

#include "platform/graphics/canvas.h"

TKvRoundMeter::TKvRoundMeter(TComponent* AOwner)
    : TKvAnalogInstrument(AOwner),
      scale_(std::make_unique<TScaleSettings>()),
      valInd_(std::make_unique<TKvValInd>()) {
  SetBounds(Left(), Top(), 150, 150);
  valInd_->SetVisible(true);
  SubscribeSettings(scale_.get());
  SubscribeSettings(valInd_.get());
}

TKvRoundMeter::~TKvRoundMeter() {
  Destroying();
  scale_.reset();
  valInd_.reset();
}

void TKvRoundMeter::SetStartAngle(int value) {
  if (value == startAngle_) return;
  startAngle_ = value;
  Change();
}

void TKvRoundMeter::SetSweepAngle(int value) {
  if (value == sweepAngle_ || value < 10 || value > 360) return;
  sweepAngle_ = value;
  Change();
}

void TKvRoundMeter::PaintStatic(TCanvas* canvas) {
  TRect rect(0, 0, Width(), Height());
  Bevel()->PaintFilledBevel(canvas, rect);
  TScaleSettings& s = *scale_;
  s.LogScale = LogScale();
  s.CalcRSize(canvas, SignalSettings()->ValueFrom(), SignalSettings()->ValueTo());
  // The ring is as wide as its rectangle and one label height taller than
  // its diameter: take the largest square that fits, centred.
  const int side = std::max(0, std::min(rect.Width(), rect.Height() - s.TextHeight + s.TextWidth));
  TRect ring(rect.Left + (rect.Width() - side) / 2, rect.Top, 0, 0);
  ring.Right = ring.Left + side;
  ring.Bottom = rect.Bottom;
  // A 270 degree ring leaves its bottom quarter open: move it down by half
  // of what it leaves unused.
  const int used = side - s.TextWidth + s.TextHeight;
  ring.Top += std::max(0, (rect.Height() - used) / 2);
  TRect labels = ring;
  s.RoundScala(canvas, labels, startAngle_, sweepAngle_);
  centre_ = s.Center;
  const int r = s.Center.Y - ring.Top - s.TextHeight / 2;
  tickRadius_ = std::max(0, r - s.TextSpace - s.StepLength);
  const int band = std::max(2, s.StepLength / 2);
  PaintSectorBand(canvas, centre_, tickRadius_ - band, tickRadius_, startAngle_, sweepAngle_);
  if (valInd_->Visible())
    valInd_->Draw(canvas, TPoint(centre_.X - 1, centre_.Y + tickRadius_ / 2), toMidCenter);
}

void TKvRoundMeter::PaintMoving(TCanvas* canvas) {
  const int band = std::max(2, scale_->StepLength / 2);
  PaintMinMaxMarks(canvas, centre_, tickRadius_ - band - 1, band + 2, startAngle_, sweepAngle_);
  PaintReadoutValue(canvas, valInd_.get(), Value());
  const double width = std::max(3.0, tickRadius_ / 20.0);
  PaintNeedle(canvas, centre_, AngleOf(ValuePPT(), startAngle_, sweepAngle_), std::max(0, tickRadius_ - 2),
              width, scale_->PointerColor(), std::max(3, tickRadius_ / 10), scale_->Color());
}

QRect TKvRoundMeter::MarksBounds() const {
  const int band = std::max(2, scale_->StepLength / 2);
  return MinMaxMarksBounds(centre_, tickRadius_ - band - 1, band + 2, startAngle_, sweepAngle_);
}

QRect TKvRoundMeter::MovingBounds() const {
  // The same geometry PaintMoving paints with.
  const double width = std::max(3.0, tickRadius_ / 20.0);
  return ReadoutValueBounds(valInd_.get()) |
         NeedleBounds(centre_, AngleOf(ValuePPT(), startAngle_, sweepAngle_), std::max(0, tickRadius_ - 2),
                      width, std::max(3, tickRadius_ / 10));
}
