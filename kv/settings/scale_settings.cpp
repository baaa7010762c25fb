#include "kv/settings/scale_settings.h"

#include <algorithm>

#include "kv/proc/conversions.h"
#include "kv/proc/log_scale.h"
#include "kv/proc/text_output.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"

TScaleSettings::TScaleSettings(QObject* parent) : TKvPersistent(parent), font_(std::make_unique<TFont>()) {
  font_->SetName(QStringLiteral("Arial"));
  font_->SetSize(14);
  font_->SetOnChange(TNotifyEvent(this, &TScaleSettings::FontChange));
}

TScaleSettings::~TScaleSettings() {
  // The font must not report into a half-destroyed object.
  font_->SetOnChange(nullptr);
}

// --- Properties --------------------------------------------------------------

void TScaleSettings::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Change();
}

void TScaleSettings::SetPointerColor(TColor value) {
  if (value == pointerColor_) return;
  pointerColor_ = value;
  Change();
}

void TScaleSettings::SetDrawLine(bool value) {
  drawLine_ = value;
  Change();
}

void TScaleSettings::SetFont(TFont* value) {
  font_->Assign(value);
  Change();
}

void TScaleSettings::SetPosLeftTop(bool value) {
  if (value == posLeftTop_) return;
  posLeftTop_ = value;
  Change();
}

void TScaleSettings::SetSteps(int value) {
  if (value < kMinSteps || value > kMaxSteps) return;
  steps_ = value;
  Change();
}

void TScaleSettings::SetSubSteps(int value) {
  if (value < kMinSubSteps || value > kMaxSubSteps) return;
  subSteps_ = value;
  Change();
}

void TScaleSettings::SetValueFormat(const QString& value) {
  if (value == valueFormat_) return;
  valueFormat_ = value;
  Change();
}

void TScaleSettings::SetValueFormatLog(const QString& value) {
  if (value == valueFormatLog_) return;
  valueFormatLog_ = value;
  Change();
}

void TScaleSettings::FontChange(TObject*) {
  Change();
}

void TScaleSettings::AssignTo(TPersistent* Dest) {
  auto* dest = qobject_cast<TScaleSettings*>(Dest);
  if (!dest) {
    TKvPersistent::AssignTo(Dest);
    return;
  }
  dest->SetColor(color_);
  dest->SetDrawLine(drawLine_);
  dest->font_->Assign(font_.get());
  dest->SetPointerColor(pointerColor_);
  dest->SetPosLeftTop(posLeftTop_);
  dest->SetSteps(steps_);
  dest->SetSubSteps(subSteps_);
  dest->SetValueFormat(valueFormat_);
  dest->SetValueFormatLog(valueFormatLog_);
}

// --- Size calculations -------------------------------------------------------

int TScaleSettings::CalcLogScaleSteps(int count, int decades) {
  if (count < 1) count = 1;
  if (decades == 0) return 1;
  for (int c = count; c >= 2; --c)
    if (decades % c == 0) return c;
  return 1;
}

void TScaleSettings::SelectLabelFont(TCanvas* canvas) const {
  TFont* current = canvas->Font();
  if (current->Color() == font_->Color() && current->GetLogFont() == font_->GetLogFont()) return;
  canvas->SetFont(font_.get());
}

void TScaleSettings::CalcCommon(TCanvas* canvas, float startValue, float endValue, TScaleShape shape) {
  SelectLabelFont(canvas);
  canvas->Pen()->SetColor(color_);
  const bool vertical = shape == TScaleShape::Vertical;
  if (LogScale) {
    // Both logarithms come first: a value not above 0 raises before any
    // field changes.
    const int from = static_cast<int>(Round(KvLog10(startValue)));
    const int to = static_cast<int>(Round(KvLog10(endValue)));
    const int steps = CalcLogScaleSteps(steps_, to - from);
    ScaleText = KvLogRangeStr(from, to, steps, valueFormatLog_, vertical);
    LogFrom = from;
    LogTo = to;
    LogSteps = steps;
  } else if (vertical) {
    // KvRangeStr lists from its second value down to its first: top to bottom.
    ScaleText = KvRangeStr(startValue, endValue, steps_, valueFormat_);
  } else {
    ScaleText = KvRangeStr(endValue, startValue, steps_, valueFormat_);
  }
  KvGetMaxTokenSize(canvas, TextWidth, TextHeight, ScaleText);
  StepWidth = static_cast<int>(Round(static_cast<long double>(TextHeight) / 14));
}

namespace {

// Tick lengths and the edge gap shared by both straight scales.
void StraightTicks(TScaleSettings& s) {
  s.StepLength = static_cast<int>(Round(s.TextHeight / 1.4L));
  s.SubStepLength = s.StepWidth == 1 ? s.StepLength / 2 : static_cast<int>(Round(s.StepLength / 1.4L));
  s.EdgeSpace = s.StepWidth / 2 + 3;
}

}  // namespace

void TScaleSettings::CalcSize(TCanvas* canvas, float startValue, float endValue) {
  CalcCommon(canvas, startValue, endValue, TScaleShape::Vertical);
  TextSpace = TextHeight / 3;
  StraightTicks(*this);
  NeedWidth = TextWidth + StepLength + TextSpace;
  NeedHeight = static_cast<int>(Round(static_cast<long double>(TextHeight) * Intervals() * 1.4L));
}

void TScaleSettings::CalcHSize(TCanvas* canvas, float startValue, float endValue) {
  CalcCommon(canvas, startValue, endValue, TScaleShape::Horizontal);
  TextSpace = TextHeight / 5;
  StraightTicks(*this);
  NeedWidth = static_cast<int>(Round(static_cast<long double>(TextWidth) * Intervals() * 1.4L));
  NeedHeight = TextHeight / 2 + StepLength + TextSpace;
}

void TScaleSettings::CalcRSize(TCanvas* canvas, float startValue, float endValue) {
  CalcCommon(canvas, startValue, endValue, TScaleShape::Round);
  TextSpace = std::max(TextWidth, TextHeight) / 2 + 1;
  EdgeSpace = StepWidth / 2 + 3;
}
