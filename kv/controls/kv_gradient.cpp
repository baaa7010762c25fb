#include "kv/controls/kv_gradient.h"

#include "kv/proc/gradient_fill.h"
#include "platform/core/class_registry.h"
#include "platform/graphics/colors.h"

TKvGradient::TKvGradient(TComponent* AOwner)
    : TKvGraphicControl(AOwner), gradSettings_(std::make_unique<TKvGradSettings>()) {
  SetBounds(Left(), Top(), 50, 50);
  // Every style fills the whole rectangle: what lies beneath needs no paint.
  SetControlStyle(ControlStyle() | csOpaque);
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
  const TColor from = gradSettings_->ColorFrom(), to = gradSettings_->ColorTo();
  const TDrawn key{Width(), Height(), from, to, ColorToRGB(from), ColorToRGB(to), gradSettings_->Style()};
  if (key.width <= 0 || key.height <= 0) return;
  if (!drawn_ || !(key == drawnKey_)) {
    // Drawn at the origin of a bitmap of the control's size, the gradient
    // has the pixels it would have drawn straight onto the control.
    if (!drawn_) drawn_ = std::make_unique<TBitmap>();
    drawn_->SetSize(key.width, key.height);
    KvGradFill(drawn_->Canvas(), TRect(0, 0, key.width, key.height), from, to, key.style);
    drawnKey_ = key;
  }
  Canvas()->Draw(0, 0, drawn_.get());
}

TUnit& KvgradientUnit() {
  static TUnit unit(
      "Kvgradient", [] { RegisterComponentClass<TKvGradient>(); }, nullptr);
  return unit;
}
