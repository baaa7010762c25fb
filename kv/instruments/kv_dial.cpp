#include "kv/instruments/kv_dial.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/canvas.h"

TKvDial::TKvDial(TComponent* AOwner)
    : TKvAnalogInstrument(AOwner), scale_(std::make_unique<TScaleSettings>()) {
  SetBounds(Left(), Top(), 120, 120);
  SubscribeSettings(scale_.get());
}

TKvDial::~TKvDial() {
  Destroying();
  scale_.reset();
}

void TKvDial::PaintStatic(TCanvas* canvas) {
  TRect rect(0, 0, Width(), Height());
  Bevel()->PaintBevel(canvas, rect);
  TScaleSettings& s = *scale_;
  s.LogScale = LogScale();
  s.CalcRSize(canvas, SignalSettings()->ValueFrom(), SignalSettings()->ValueTo());
  const int side = std::max(0, std::min(rect.Width(), rect.Height() - s.TextHeight + s.TextWidth));
  TRect ring(rect.Left + (rect.Width() - side) / 2, rect.Top + (rect.Height() - side) / 2, 0, 0);
  ring.Right = ring.Left + side;
  ring.Bottom = ring.Top + side;
  // The face under the whole ring, labels included.
  canvas->Pen()->SetColor(s.Color());
  canvas->Pen()->SetWidth(1);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Bevel()->Color());
  canvas->Ellipse(ring);
  TRect labels = ring;
  // The ring hangs from the top of its rectangle half a label height down.
  labels.Top -= s.TextHeight / 2 - s.TextWidth / 2;
  // The scale puts the labels' centres where the widest label just touches
  // the ring's box at 3 and 9 o'clock; everywhere else a label's corner
  // (and at 12 o'clock a label taller than wide) would reach across the
  // face's round outline. Drawn this much further in, no label corner gets
  // farther from the centre than the face's radius less one pixel.
  const int inset = int(std::ceil((std::hypot(s.TextWidth, s.TextHeight) - s.TextWidth) / 2)) + 1;
  labels.Left += inset;
  labels.Top += inset;
  labels.Right -= inset;
  labels.Bottom -= inset;
  const int top = labels.Top;  // DialScala turns `labels` into the square inside them
  s.DialScala(canvas, labels, kStartAngle, kSweepAngle);
  centre_ = s.Center;
  const int r = s.Center.Y - top - s.TextHeight / 2;
  tickRadius_ = std::max(0, r - s.TextSpace - s.StepLength);
  PaintSectorBand(canvas, centre_, tickRadius_ - 3, tickRadius_, kStartAngle, kSweepAngle);
}

void TKvDial::PaintMoving(TCanvas* canvas) {
  PaintMinMaxMarks(canvas, centre_, tickRadius_ - 4, 5, kStartAngle, kSweepAngle);
  PaintNeedle(canvas, centre_, AngleOf(ValuePPT(), kStartAngle, kSweepAngle), std::max(0, tickRadius_ + 2),
              3.0, scale_->PointerColor(), std::max(3, tickRadius_ / 8), scale_->Color());
}

QRect TKvDial::MarksBounds() const {
  return MinMaxMarksBounds(centre_, tickRadius_ - 4, 5, kStartAngle, kSweepAngle);
}

QRect TKvDial::MovingBounds() const {
  // The same geometry PaintMoving paints with.
  return NeedleBounds(centre_, AngleOf(ValuePPT(), kStartAngle, kSweepAngle), std::max(0, tickRadius_ + 2),
                      3.0, std::max(3, tickRadius_ / 8));
}
