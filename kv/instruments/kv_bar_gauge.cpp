#include "kv/instruments/kv_bar_gauge.h"

#include <algorithm>

#include "platform/graphics/canvas.h"

TKvBarGauge::TKvBarGauge(TComponent* AOwner)
    : TKvAnalogInstrument(AOwner),
      bar_(std::make_unique<TBarSettings>()),
      scale_(std::make_unique<TScaleSettings>()) {
  SetBounds(Left(), Top(), 80, 200);
  // A narrow band around the bar and its scale: a bar gauge is often slim.
  Bevel()->SetSpacing(2);
  SubscribeSettings(bar_.get());
  SubscribeSettings(scale_.get());
}

TKvBarGauge::~TKvBarGauge() {
  Destroying();
  bar_.reset();
  scale_.reset();
}

void TKvBarGauge::PaintStatic(TCanvas* canvas) {
  TRect content(0, 0, Width(), Height());
  Bevel()->PaintFilledBevel(canvas, content);
  TScaleSettings& s = *scale_;
  s.LogScale = LogScale();
  const float from = SignalSettings()->ValueFrom();
  const float to = SignalSettings()->ValueTo();
  const int frame = bar_->Bevel()->TotalWidth();
  // A gauge too slim for its scale beside the bar shows the bar alone, over
  // the whole inside, rather than a scale beside nothing.
  constexpr int kMinBar = 8;
  TRect bar(content.Left + frame, content.Top + frame, content.Right - frame, content.Bottom - frame);
  if (Horizontal()) {
    s.CalcHSize(canvas, from, to);
    const int scaleHeight = s.StepLength + s.TextSpace + s.TextHeight + 1;
    const TRect scale(content.Left + s.TextWidth / 2 + 1, content.Bottom - scaleHeight,
                      content.Right - s.TextWidth / 2 - 1, content.Bottom);
    const int barBottom = scale.Top - 2 - frame;
    if (barBottom - bar.Top >= kMinBar) {
      s.HorizScala(canvas, scale);
      bar = TRect(s.PosFrom, bar.Top, s.PosTo + 1, barBottom);
    }
  } else {
    s.CalcSize(canvas, from, to);
    const TRect scale(content.Right - s.NeedWidth - 2, content.Top + s.TextHeight / 2 + 1, content.Right,
                      content.Bottom - s.TextHeight / 2 - 1);
    const int barRight = scale.Left - 3 - frame;
    if (barRight - bar.Left >= kMinBar) {
      s.VertiScala(canvas, scale);
      bar = TRect(bar.Left, s.PosTo, barRight, s.PosFrom + 1);
    }
  }
  // The bar's frame around the bar; what the bevel leaves inside is the bar.
  TRect outer(bar.Left - frame, bar.Top - frame, bar.Right + frame, bar.Bottom + frame);
  if (outer.Width() > 2 * frame && outer.Height() > 2 * frame) bar_->Bevel()->PaintBevel(canvas, outer);
  barRect_ = outer;
}

void TKvBarGauge::PaintMoving(TCanvas* canvas) {
  if (barRect_.Width() <= 0 || barRect_.Height() <= 0) return;
  TBarSettings& b = *bar_;
  b.BarRect = barRect_;
  b.ValueText = ValueText();
  b.UnitText = SignalSettings()->ValueUnit();
  b.SectorColor = SectorColor();
  b.BidirOrigin = std::clamp(SignalSettings()->GetPPT(0), 0, 1000);
  b.PaintBar(canvas, ValuePPT());
}

QRect TKvBarGauge::MovingBounds() const {
  // The bar's bitmap, its caption included, covers the whole bar rectangle.
  if (barRect_.Width() <= 0 || barRect_.Height() <= 0) return {};
  return barRect_.toQRect();
}
