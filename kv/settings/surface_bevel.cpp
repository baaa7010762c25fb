#include "kv/settings/surface_bevel.h"

#include "kv/proc/geometry.h"
#include "kv/settings/bevel_settings.h"
#include "kv/settings/store_setting.h"
#include "platform/graphics/canvas.h"

TKvSBevel::TKvSBevel(QObject* parent)
    : TKvPersistent(parent),
      offset_(std::make_unique<TKvOffset>()),
      surfaceGrad_(std::make_unique<TKvGradSettings>()) {
  // Set before wiring, so construction reports nothing.
  surfaceGrad_->SetColorFrom(kSurfaceColorFrom);
  surfaceGrad_->SetColorTo(kSurfaceColorTo);
  surfaceGrad_->SetStyle(gsHorizontal1);
  surfaceGrad_->SetVisible(false);
  totalWidth_ = spacing_ + width_ + LineCount();
  offset_->SetOnChange(TNotifyEvent(this, &TKvSBevel::ParamChange));
  surfaceGrad_->SetOnChange(TNotifyEvent(this, &TKvSBevel::ParamChange));
}

TKvSBevel::~TKvSBevel() = default;

void TKvSBevel::SetStyle(TBevelStyle value) {
  StoreSetting(this, style_, value);
}
void TKvSBevel::SetSpacing(int32_t value) {
  StoreSetting(this, spacing_, value);
}
void TKvSBevel::SetBevelLine(TBevelLine value) {
  StoreSetting(this, bevelLine_, value);
}
void TKvSBevel::SetColor(TColor value) {
  StoreSetting(this, color_, value);
}
void TKvSBevel::SetColorShadowFrom(TColor value) {
  StoreSetting(this, colorShadowFrom_, value);
}
void TKvSBevel::SetColorShadowTo(TColor value) {
  StoreSetting(this, colorShadowTo_, value);
}
void TKvSBevel::SetColorHighLightFrom(TColor value) {
  StoreSetting(this, colorHighLightFrom_, value);
}
void TKvSBevel::SetColorHighLightTo(TColor value) {
  StoreSetting(this, colorHighLightTo_, value);
}
void TKvSBevel::SetPenColor(TColor value) {
  StoreSetting(this, penColor_, value);
}

void TKvSBevel::SetWidth(int32_t value) {
  if (value < 0) return;
  StoreSetting(this, width_, value);
}

int32_t TKvSBevel::LineCount() const {
  switch (bevelLine_) {
    case blOuter:
    case blInner:
      return 1;
    case blBoth:
      return 2;
    case blNone:
      break;
  }
  return 0;
}

void TKvSBevel::Change() {
  totalWidth_ = spacing_ + width_ + LineCount();
  TKvPersistent::Change();
}

void TKvSBevel::ParamChange(TObject* /*Sender*/) {
  Change();
}

void TKvSBevel::PaintGradBevel(TCanvas* Canvas, TRect& Rect, bool Raised, bool Filled,
                               TColor FillColor) const {
  KvPaintGradientBevel(Canvas, Rect, Raised, Filled, FillColor, colorHighLightFrom_, colorHighLightTo_,
                       colorShadowFrom_, colorShadowTo_, width_);
}

void TKvSBevel::FinishFrame(TCanvas* Canvas, TRect& Rect, const TRect& outer) const {
  if (bevelLine_ == blInner || bevelLine_ == blBoth) {
    Canvas->Rectangle(Rect);
    KvBorder(Rect, 1);
  }
  if (bevelLine_ == blOuter || bevelLine_ == blBoth) Canvas->Rectangle(outer);
  KvBorder(Rect, spacing_);
  Rect = offset_->SetOffset(Rect);
}

void TKvSBevel::PaintBevel(TCanvas* Canvas, TRect& Rect) const {
  const TRect outer = Rect;
  const bool outerLine = bevelLine_ == blOuter || bevelLine_ == blBoth;
  Canvas->Pen()->SetWidth(1);
  Canvas->Brush()->SetStyle(bsClear);
  KvBorder(Rect, outerLine ? 1 : 0);
  PaintGradBevel(Canvas, Rect, style_ == bsRaised, false, color_);
  Canvas->Pen()->SetColor(penColor_);
  FinishFrame(Canvas, Rect, outer);
}

void TKvSBevel::PaintFilledBevel(TCanvas* Canvas, TRect& Rect) const {
  const TRect outer = Rect;
  const bool outerLine = bevelLine_ == blOuter || bevelLine_ == blBoth;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Pen()->SetWidth(1);
  Canvas->Brush()->SetColor(color_);
  Canvas->Pen()->SetColor(color_);
  Canvas->Rectangle(Rect);
  TRect surface = Rect;
  KvBorder(surface, totalWidth_ - spacing_);
  KvBorder(Rect, outerLine ? 1 : 0);
  PaintGradBevel(Canvas, Rect, style_ == bsRaised, true, color_);
  if (surfaceGrad_->Visible())
    KvGradFill(Canvas, surface, surfaceGrad_->ColorFrom(), surfaceGrad_->ColorTo(), surfaceGrad_->Style());
  Canvas->Pen()->SetColor(penColor_);
  Canvas->Brush()->SetStyle(bsClear);
  FinishFrame(Canvas, Rect, outer);
}

void TKvSBevel::PaintRoundBevel(TCanvas* /*Canvas*/, TRect& /*Rect*/, int32_t /*X*/, int32_t /*Y*/) const {}

void TKvSBevel::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TKvSBevel*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->style_ = style_;
  dest->spacing_ = spacing_;
  dest->bevelLine_ = bevelLine_;
  dest->width_ = width_;
  dest->color_ = color_;
  dest->offset_->Assign(offset_.get());
  dest->colorShadowFrom_ = colorShadowFrom_;
  dest->colorShadowTo_ = colorShadowTo_;
  dest->colorHighLightFrom_ = colorHighLightFrom_;
  dest->colorHighLightTo_ = colorHighLightTo_;
  dest->penColor_ = penColor_;
  dest->surfaceGrad_->Assign(surfaceGrad_.get());
  dest->Change();
}
