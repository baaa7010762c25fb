#include "kv/settings/bar_settings.h"

#include <algorithm>

#include "kv/proc/text_output.h"
#include "kv/settings/store_setting.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"

namespace {

// A single-precision scale factor: `length` / `per`.
float Factor(int32_t length, long double per) {
  return float(static_cast<long double>(length) / per);
}

// Round(value * factor), computed in extended precision and then held
// between `low` and `high`. Positions beyond the bitmap look the same
// wherever they are, so the clamp changes no pixel; it keeps absurd values
// from overflowing and from drawing millions of invisible separators.
int32_t Scaled(int32_t value, float factor, int32_t low, int32_t high) {
  const int64_t v = Round(static_cast<long double>(value) * static_cast<long double>(factor));
  return int32_t(std::clamp<int64_t>(v, low, high));
}

}  // namespace

TBarSettings::TBarSettings(QObject* parent)
    : TKvPersistent(parent), font_(std::make_unique<TFont>()), bevel_(std::make_unique<TKvSBevel>()) {
  // Set before wiring, so construction reports nothing.
  bevel_->SetStyle(bsLowered);
  bevel_->SetSpacing(0);
  bevel_->SetBevelLine(blNone);
  bevel_->SetWidth(1);
  bevel_->SetColor(clBtnFace);
  font_->SetColor(clBtnHighlight);
  font_->SetOnChange(ChangeObjectHandler());
  bevel_->SetOnChange(ChangeObjectHandler());
}

TBarSettings::~TBarSettings() = default;

void TBarSettings::SetStyle(TBarStyle value) {
  StoreSetting(this, style_, value);
}
void TBarSettings::SetOptions(TBarOptions value) {
  StoreSetting(this, options_, value);
}
void TBarSettings::SetColor(TColor value) {
  StoreSetting(this, color_, value);
}
void TBarSettings::SetBkColor(TColor value) {
  StoreSetting(this, bkColor_, value);
}

void TBarSettings::SetFont(TFont* value) {
  if (value == font_.get()) return;
  font_->Assign(value);
  ChangeObject(this);
}

void TBarSettings::SetBevel(TKvSBevel* value) {
  if (value == bevel_.get()) return;
  bevel_->Assign(value);
  Change();
}

void TBarSettings::SetMinHeight(int32_t value) {
  if (value <= 0) return;
  minHeight_ = value;
  Change();
}

void TBarSettings::SetMinWidth(int32_t value) {
  if (value <= 0) return;
  minWidth_ = value;
  Change();
}

void TBarSettings::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TBarSettings*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->color_ = color_;
  dest->bkColor_ = bkColor_;
  dest->font_->Assign(font_.get());
  dest->options_ = options_;
  dest->style_ = style_;
  dest->bevel_->Assign(bevel_.get());
  dest->minWidth_ = minWidth_;
  dest->minHeight_ = minHeight_;
  dest->Change();
}

// --- Painting ---------------------------------------------------------------------

void TBarSettings::TakeSize() {
  barWidth_ = BarRect.Right - BarRect.Left;
  barHeight_ = BarRect.Bottom - BarRect.Top;
}

TColor TBarSettings::BarColor() const {
  return options_.testFlag(opUseSectorCol) ? SectorColor : color_;
}

TCanvas* TBarSettings::StartBitmap() {
  if (bar_.Width() != barWidth_ || bar_.Height() != barHeight_) bar_.SetSize(barWidth_, barHeight_);
  TCanvas* c = bar_.Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(bkColor_);
  c->Brush()->SetColor(bkColor_);
  c->Rectangle(0, 0, barWidth_, barHeight_);
  const TColor bar = BarColor();
  c->Pen()->SetColor(bar);
  c->Brush()->SetColor(bar);
  return c;
}

void TBarSettings::DrawCaption(bool vertical) {
  const int32_t w = barWidth_, h = barHeight_;
  if (caption_.Width() != w || caption_.Height() != h) caption_.SetSize(w, h);
  TCanvas* c = caption_.Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clBlack);
  c->Rectangle(0, 0, w, h);
  c->SetFont(font_.get());
  c->Font()->SetColor(clBtnHighlight);  // the XOR needs a light colour, whatever the font says
  c->Brush()->SetStyle(bsClear);
  const bool unit = options_.testFlag(opUnit);
  if (vertical && unit) {
    KvTextOut(c, w / 2, h / 2, ValueText, toBotCenter);
    KvTextOut(c, w / 2, h / 2, UnitText, toTopCenter);
  } else {
    KvTextOut(c, w / 2, h / 2, unit ? ValueText + u' ' + UnitText : ValueText, toMidCenter);
  }
  TCanvas* target = bar_.Canvas();
  const TCopyMode mode = target->CopyMode();
  target->SetCopyMode(cmSrcInvert);
  target->Draw(0, 0, &caption_);
  target->SetCopyMode(mode);
}

void TBarSettings::PaintBar(TCanvas* Canvas, int32_t Value) {
  TakeSize();
  if (barWidth_ > barHeight_)
    PaintHBar(Canvas, Value);
  else
    PaintVBar(Canvas, Value);
}

void TBarSettings::PaintHBar(TCanvas* Canvas, int32_t Value) {
  TakeSize();
  const int32_t w = barWidth_, h = barHeight_;
  if (w < 1 || h < 1) return;
  TCanvas* c = StartBitmap();
  switch (style_) {
    case bsBar: {
      const float f = Factor(w, 1000);
      const int32_t end = Scaled(Value, f, -1, w + 1);
      const int32_t start = options_.testFlag(opBidir) ? Scaled(BidirOrigin, f, -1, w + 1) : 0;
      c->Rectangle(start, 0, end, h);  // from the value to the origin when below it
      break;
    }
    case bsPoint: {
      const int32_t p = Scaled(Value, Factor(w - kPointWidth, 1000), -kPointWidth - 1, w + 1);
      c->Rectangle(p, 0, p + kPointWidth, h);
      break;
    }
    case bsLED_Bar: {
      const float f = Factor(w, 4000);
      const int32_t n = int32_t(Round(1000 * static_cast<long double>(f)));
      const int32_t s = (w + 1 - kSegmentPitch * n) / 2;
      const int32_t k = Scaled(Value, f, 0, w / kSegmentPitch + 2);
      if (k > 0) {
        c->Rectangle(s, 0, kSegmentPitch * k, h);
        c->Pen()->SetColor(bkColor_);
        for (int32_t i = 1; i <= k; ++i) {
          const int32_t x = kSegmentPitch * i + s - 1;
          c->MoveTo(x, 0);
          c->LineTo(x, h);
        }
      }
      break;
    }
  }
  if (options_.testFlag(opValue)) DrawCaption(false);
  Canvas->Draw(BarRect.Left, BarRect.Top, &bar_);
}

void TBarSettings::PaintVBar(TCanvas* Canvas, int32_t Value) {
  TakeSize();
  const int32_t w = barWidth_, h = barHeight_;
  // An empty or inverted rectangle shows nothing.
  if (w < 1 || h < 1) return;
  TCanvas* c = StartBitmap();
  switch (style_) {
    case bsBar: {
      const float f = Factor(h, 1000);
      const int32_t end = Scaled(Value, f, -1, h + 1);
      const int32_t start = options_.testFlag(opBidir) ? Scaled(BidirOrigin, f, -1, h + 1) : 0;
      c->Rectangle(0, h - end, w, h - start);
      break;
    }
    case bsPoint: {
      const int32_t p = Scaled(Value, Factor(h - kPointWidth, 1000), -kPointWidth - 1, h + 1);
      c->Rectangle(0, h - p - kPointWidth, w, h - p);
      break;
    }
    case bsLED_Bar: {
      const float f = Factor(h, 4000);
      const int32_t n = int32_t(Round(1000 * static_cast<long double>(f)));
      const int32_t e = (h - kSegmentPitch * n) / 2;
      const int32_t k = Scaled(Value, f, 0, h / kSegmentPitch + 2);
      if (k > 0) {
        c->Rectangle(0, h - e - kSegmentPitch * k, w, h - e - 1);
        c->Pen()->SetColor(bkColor_);
        for (int32_t i = 1; i <= k; ++i) {
          const int32_t y = h - (kSegmentPitch * i + e) - 1;
          c->MoveTo(0, y);
          c->LineTo(w, y);
        }
      }
      break;
    }
  }
  if (options_.testFlag(opValue)) DrawCaption(true);
  Canvas->Draw(BarRect.Left, BarRect.Top, &bar_);
}
