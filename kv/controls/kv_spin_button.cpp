#include "kv/controls/kv_spin_button.h"

#include <algorithm>

#include "platform/controls/keys.h"
#include "platform/core/class_registry.h"
#include "platform/core/exceptions.h"

// The glyph resources live in this static library; the linker drops their
// registration unless something refers to it, so the first spin button does.
static void InitSpinGlyphResources() {
  static const bool done = [] {
    Q_INIT_RESOURCE(kv_spin_glyphs);
    return true;
  }();
  (void)done;
}

TKvSpinButton::TKvSpinButton(TComponent* AOwner) : TWinControl(AOwner), kvInfo_(LoadKavelInfo()) {
  // Not a container; it paints its whole area (the buttons cover it).
  SetControlStyle((ControlStyle() & ~TControlStyle(csAcceptsControls)) | csOpaque);
  upButton_ = MakeButton();
  downButton_ = MakeButton();
  SetUpGlyph(nullptr);
  SetDownGlyph(nullptr);
  SetBounds(Left(), Top(), kMinWidth, 24);
}

TKvSpinButton::~TKvSpinButton() {
  Destroying();
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
}

TKvTimerSpeedBtn* TKvSpinButton::MakeButton() {
  auto* button = new TKvTimerSpeedBtn(this);
  button->SetOnClick(TNotifyEvent(this, &TKvSpinButton::ButtonClick));
  button->SetOnMouseDown(TMouseEvent(this, &TKvSpinButton::ButtonMouseDown));
  button->SetVisible(true);
  button->SetEnabled(true);
  button->SetParent(this);
  return button;
}

// --- Glyphs ------------------------------------------------------------------------------

void TKvSpinButton::LoadBuiltInGlyph(TKvTimerSpeedBtn* button, const char* resource) {
  InitSpinGlyphResources();
  try {
    button->Glyph()->LoadFromResourceName(QString::fromLatin1(resource));
  } catch (const EResNotFound&) {
    // Without the resource the button works with an empty glyph.
    button->Glyph()->SetImage(QImage());
  }
  button->SetNumGlyphs(2);
  button->Invalidate();
}

void TKvSpinButton::SetUpGlyph(TBitmap* value) {
  if (value && !value->Empty())
    upButton_->SetGlyph(value);
  else
    LoadBuiltInGlyph(upButton_, "KvSpinUp");
}

void TKvSpinButton::SetDownGlyph(TBitmap* value) {
  if (value && !value->Empty())
    downButton_->SetGlyph(value);
  else
    LoadBuiltInGlyph(downButton_, "KvSpinDown");
}

// --- Properties ---------------------------------------------------------------------------

void TKvSpinButton::SetInterval(int value) {
  upButton_->SetInterval(value);
  downButton_->SetInterval(value);
}

void TKvSpinButton::SetStartDelay(int value) {
  upButton_->SetStartDelay(uint32_t(value));
  downButton_->SetStartDelay(uint32_t(value));
}

void TKvSpinButton::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (focusControl_) focusControl_->FreeNotification(this);
}

void TKvSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == focusControl_) focusControl_ = nullptr;
}

void TKvSpinButton::SetEnabled(bool value) {
  TWinControl::SetEnabled(value);
  upButton_->SetEnabled(value);
  downButton_->SetEnabled(value);
}

// --- Size ----------------------------------------------------------------------------------

void TKvSpinButton::AdjustSize(int& width, int& height) {
  if ((ComponentState() & csLoading) || !upButton_ || !downButton_) return;
  width = std::max(width, kMinWidth);
  upButton_->SetBounds(0, 0, width, height / 2);
  downButton_->SetBounds(0, upButton_->Height(), width, height - upButton_->Height());
}

void TKvSpinButton::AdjustToCurrentSize() {
  int w = Width();
  int h = Height();
  AdjustSize(w, h);
  if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
}

void TKvSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AdjustSize(AWidth, AHeight);
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TKvSpinButton::Loaded() {
  TWinControl::Loaded();
  AdjustToCurrentSize();
}

// --- Input ------------------------------------------------------------------------------------

void TKvSpinButton::ButtonClick(TObject* Sender) {
  if (Sender == upButton_)
    onUpClick_(this);
  else
    onDownClick_(this);
}

void TKvSpinButton::ButtonMouseDown(TObject* /*Sender*/, TMouseButton Button, TShiftState /*Shift*/,
                                    int /*X*/, int /*Y*/) {
  if (Button != mbLeft) return;
  if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
    focusControl_->SetFocus();
  else if (TabStop() && !Focused() && CanFocus())
    SetFocus();
}

void TKvSpinButton::KeyDown(uint16_t& Key, TShiftState /*Shift*/) {
  if (Key == VK_UP)
    upButton_->Click();
  else if (Key == VK_DOWN)
    downButton_->Click();
}

void TKvSpinButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SIZE:
      TWinControl::WndProc(Message);
      AdjustToCurrentSize();
      Message.Result = 0;
      return;
    default:
      break;
  }
  TWinControl::WndProc(Message);
}

TUnit& KvSpinButtonUnit() {
  static TUnit unit(
      "KvSpinButton",
      [] {
        RegisterComponentClass<TKvTimerSpeedBtn>();
        RegisterComponentClass<TKvSpinButton>();
      },
      nullptr);
  return unit;
}
