#include "kv/controls/kv_gradient.h"

#include "kv/proc/gradient_fill.h"
#include "platform/core/class_registry.h"

TKvGradient::TKvGradient(TComponent* AOwner)
    : TKvGraphicControl(AOwner), gradSettings_(std::make_unique<TKvGradSettings>()) {
  SetBounds(Left(), Top(), 50, 50);
  if (Designing()) Loaded();
}

// The settings go first, then the control's base part.
TKvGradient::~TKvGradient() {
  Destroying();
  gradSettings_.reset();
}

bool TKvGradient::Designing() const {
  // A control placed on a form that is being designed is designed too, even
  // before the designing state reaches it.
  if (ComponentState() & csDesigning) return true;
  const TComponent* owner = Owner();
  return owner && (owner->ComponentState() & csDesigning);
}

void TKvGradient::Loaded() {
  TKvGraphicControl::Loaded();
  gradSettings_->SetOnChange(TNotifyEvent(this, &TKvGradient::ParamChange));
  EndUpdate();
}

void TKvGradient::ParamChange(TObject* Sender) {
  TKvGraphicControl::ParamChange(Sender);
  Invalidate();
}

void TKvGradient::Paint() {
  if (!Visible() && !Designing()) return;
  KvGradFill(Canvas(), TRect(0, 0, Width(), Height()), gradSettings_->ColorFrom(), gradSettings_->ColorTo(),
             gradSettings_->Style());
}

TUnit& KvgradientUnit() {
  static TUnit unit(
      "Kvgradient", [] { RegisterComponentClass<TKvGradient>(); }, nullptr);
  return unit;
}
