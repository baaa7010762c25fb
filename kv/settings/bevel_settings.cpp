#include "kv/settings/bevel_settings.h"

#include <utility>

#include "kv/proc/gradient_fill.h"
#include "kv/settings/store_setting.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/frame3d.h"

void KvPaintGradientBevel(TCanvas* canvas, TRect& rect, bool raised, bool filled, TColor fillColor,
                          TColor highlightFrom, TColor highlightTo, TColor shadowFrom, TColor shadowTo,
                          int32_t width) {
  if (filled) {
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(fillColor);
    canvas->Brush()->SetColor(fillColor);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Rectangle(rect);
  }
  for (int32_t i = 1; i <= width; ++i) {
    const TColor top = raised ? KvCalcColor(highlightFrom, highlightTo, width, i)
                              : KvCalcColor(shadowTo, shadowFrom, width, i);
    const TColor bottom = raised ? KvCalcColor(shadowFrom, shadowTo, width, i)
                                 : KvCalcColor(highlightTo, highlightFrom, width, i);
    Draw3DFrame(canvas, rect, top, bottom, 1);
  }
}

// --- TKvBevelSettings ---------------------------------------------------------------

void TKvBevelSettings::SetColorFrom(TColor value) {
  StoreSetting(this, colorFrom_, value);
}
void TKvBevelSettings::SetColorTo(TColor value) {
  StoreSetting(this, colorTo_, value);
}
void TKvBevelSettings::SetWidth(int32_t value) {
  StoreSetting(this, width_, value);
}

void TKvBevelSettings::SwapColors() {
  std::swap(colorFrom_, colorTo_);
  Change();
}

// --- TKvBtnBevel ----------------------------------------------------------------------

void TKvBtnBevel::SetShadowColFrom(TColor value) {
  StoreSetting(this, shadowColFrom_, value);
}
void TKvBtnBevel::SetShadowColTo(TColor value) {
  StoreSetting(this, shadowColTo_, value);
}
void TKvBtnBevel::SetHighlightColFrom(TColor value) {
  StoreSetting(this, highlightColFrom_, value);
}
void TKvBtnBevel::SetHighlightColTo(TColor value) {
  StoreSetting(this, highlightColTo_, value);
}

void TKvBtnBevel::SetWidth(int32_t value) {
  if (value < 0) return;
  StoreSetting(this, width_, value);
}

void TKvBtnBevel::PaintBevel(TCanvas* Canvas, TRect& Rect, bool Raised, bool Filled, TColor FillColor) const {
  KvPaintGradientBevel(Canvas, Rect, Raised, Filled, FillColor, highlightColFrom_, highlightColTo_,
                       shadowColFrom_, shadowColTo_, width_);
}

void TKvBtnBevel::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TKvBtnBevel*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->shadowColFrom_ = shadowColFrom_;
  dest->shadowColTo_ = shadowColTo_;
  dest->highlightColFrom_ = highlightColFrom_;
  dest->highlightColTo_ = highlightColTo_;
  dest->width_ = width_;
  dest->Change();
}
