#include "kv/settings/scale_marks.h"

#include "kv/settings/store_setting.h"

// The marks' initial pens are set before the line settings are wired, so
// construction reports nothing.
TKvCustomScale::TKvCustomScale(QObject* parent) : TKvPersistent(parent), font_(std::make_unique<TFont>()) {
  font_->SetOnChange(ChangeObjectHandler());
  formatStr_ = QStringLiteral("##0.#");
  stepLines_ = std::make_unique<TKvLineSettings>();
  stepLines_->Pen()->SetColor(clWhite);
  stepLines_->Pen()->SetWidth(2);
  stepLines_->SetOnChange(ChangeObjectHandler());
  textAlignment_ = toMidCenter;
  subStepLines_ = std::make_unique<TKvLineSettings>();
  subStepLines_->Pen()->SetColor(clSilver);
  subStepLines_->SetOnChange(ChangeObjectHandler());
}

TKvCustomScale::~TKvCustomScale() {
  font_.reset();
  stepLines_.reset();
  subStepLines_.reset();
}

void TKvCustomScale::SetFont(TFont* value) {
  if (value == font_.get()) return;
  font_->Assign(value);
  Change();
}

void TKvCustomScale::SetFormatStr(const QString& value) {
  StoreSetting(this, formatStr_, value);
}
void TKvCustomScale::SetTextOffsetX(int32_t value) {
  StoreSetting(this, textOffsetX_, value);
}
void TKvCustomScale::SetTextOffsetY(int32_t value) {
  StoreSetting(this, textOffsetY_, value);
}
void TKvCustomScale::SetText(const QString& value) {
  StoreSetting(this, text_, value);
}
void TKvCustomScale::SetTextAlignment(toPos value) {
  StoreSetting(this, textAlignment_, value);
}
void TKvCustomScale::SetAngle(int32_t value) {
  StoreSetting(this, angle_, value);
}
void TKvCustomScale::SetAngleMode(TAngleMode value) {
  StoreSetting(this, angleMode_, value);
}

void TKvFlexScale::SetSubStepAt(float value) {
  if (!(value > 0.0f)) return;  // also refuses NaN
  StoreSetting(this, subStepAt_, value);
}
void TKvFlexScale::SetStepMulti(int32_t value) {
  if (value <= 0) return;
  StoreSetting(this, stepMulti_, value);
}
void TKvFlexScale::SetSubStepsVis(int32_t value) {
  if (value <= 0) return;
  StoreSetting(this, subStepsVis_, value);
}

TKvText::TKvText(QObject* parent) : TKvPersistent(parent), font_(std::make_unique<TFont>()) {
  font_->SetOnChange(ChangeObjectHandler());
  visible_ = true;
}

TKvText::~TKvText() = default;

void TKvText::SetText(const QString& value) {
  StoreSetting(this, text_, value);
}
// No self test and no report of its own: the font reports its copy.
void TKvText::SetFont(TFont* value) {
  font_->Assign(value);
}
void TKvText::SetOffsetX(int32_t value) {
  StoreSetting(this, offsetX_, value);
}
void TKvText::SetOffsetY(int32_t value) {
  StoreSetting(this, offsetY_, value);
}
void TKvText::SetPos(toPos value) {
  StoreSetting(this, pos_, value);
}
void TKvText::SetVisible(bool value) {
  StoreSetting(this, visible_, value);
}
