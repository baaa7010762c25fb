#include "kv/controls/kv_bin_control.h"

#include <bit>

#include "kv/timers/flash_timer.h"
#include "platform/controls/win_control.h"

bool GroupUpdate = false;

namespace {

uint32_t BitOf(int32_t bit) {
  return uint32_t(1) << bit;
}

bool HasBit(int32_t word, int32_t bit) {
  return (uint32_t(word) & BitOf(bit)) != 0;
}

// Raises GroupUpdate for its lifetime. It goes down again when a member's
// handler throws, or no group would ever propagate again.
class TGroupUpdateScope {
 public:
  TGroupUpdateScope() { GroupUpdate = true; }
  ~TGroupUpdateScope() { GroupUpdate = false; }
  TGroupUpdateScope(const TGroupUpdateScope&) = delete;
  TGroupUpdateScope& operator=(const TGroupUpdateScope&) = delete;
};

}  // namespace

TKvBinGControl::TKvBinGControl(TComponent* AOwner) : TGraphicControl(AOwner), kvInfo_(LoadKavelInfo()) {
  if (TWinControl* parent = CheckedCast<TWinControl>(AOwner)) SetParent(parent);
}

TKvBinGControl::~TKvBinGControl() {
  DelControl(this);
  Destroying();
}

// --- State ----------------------------------------------------------------------------

void TKvBinGControl::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  if (checked_ && flashing_)
    StartFlashing();
  else
    DelControl(this);
  if (checked_) {
    if (mode_ == mRadioButton)
      SetStatusInt(int32_t(BitOf(statusBit_)));
    else
      SetStatusInt(int32_t(uint32_t(statusInt_) | BitOf(statusBit_)));
  } else if (mode_ != mRadioButton) {
    // An unchecked radio button leaves the word alone: the group's new word
    // comes from the member that was checked.
    SetStatusInt(int32_t(uint32_t(statusInt_) & ~BitOf(statusBit_)));
  }
  StatusChanged();
  onStatusChange_(this);
}

void TKvBinGControl::SetStatusInt(int32_t value) {
  // A radio button keeps one bit of a word with several, the lowest: were
  // each member to keep its own, a group written with such a word (its
  // members do not propagate again) would show several members on.
  if (mode_ == mRadioButton) value = int32_t(uint32_t(value) & (0u - uint32_t(value)));
  if (value == statusInt_) return;
  statusInt_ = value;
  SetChecked(HasBit(value, statusBit_));
  // From here on the current word counts: a radio button has just reduced it
  // to its own bit.
  firstBit_ = statusInt_ == 0 ? 32 : std::countr_zero(uint32_t(statusInt_));
  StatusIntChanged();
  onStatusIntChange_(this);
  if (groupIndex_ != 0 && !GroupUpdate) PropagateToGroup();
}

void TKvBinGControl::PropagateToGroup() {
  // A control without an owner has no group to walk: it is its own group.
  TComponent* owner = Owner();
  if (!owner) return;
  TGroupUpdateScope scope;
  const int32_t word = statusInt_;
  // By index, looking at the count each time: a handler may add or free components.
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* member = qobject_cast<TKvBinGControl*>(owner->Components(i));
    if (member && member->groupIndex_ == groupIndex_) member->SetStatusInt(word);
  }
}

void TKvBinGControl::SetStatusBit(int32_t value) {
  if (value == statusBit_ || value < 0 || value >= 32) return;
  statusBit_ = value;
  SetChecked(HasBit(statusInt_, statusBit_));
}

void TKvBinGControl::SetGroupIndex(int32_t value) {
  if (value == groupIndex_ || value < 0) return;
  groupIndex_ = value;
  // Adopt the word of the group's first member in the owner's order (which
  // may be this control itself).
  if (groupIndex_ != 0 && Owner()) {
    TComponent* owner = Owner();
    for (int i = 0; i < owner->ComponentCount(); ++i) {
      auto* member = qobject_cast<TKvBinGControl*>(owner->Components(i));
      if (member && member->groupIndex_ == groupIndex_) {
        SetStatusInt(member->statusInt_);
        break;
      }
    }
  }
  GroupIndexChanged();
}

void TKvBinGControl::SeTMode(TMode value) {
  if (value != mode_) mode_ = value;
  if (mode_ == mButton)
    SetStatusInt(0);
  else if (mode_ == mRadioButton)
    SetStatusInt(1);
}

void TKvBinGControl::SetFlashing(bool value) {
  if (value == flashing_) return;
  flashing_ = value;
  if (checked_ && flashing_)
    StartFlashing();
  else
    DelControl(this);
  StatusChanged();
  onStatusChange_(this);
}

void TKvBinGControl::SetFrequency(TFlashFreq value) {
  frequency_ = value;
  if (checked_ && flashing_) StartFlashing();
}

void TKvBinGControl::StartFlashing() {
  AddControl(this, FlashCodeOf(frequency_));
}

// --- Hooks --------------------------------------------------------------------------------

void TKvBinGControl::ParamChange(TObject* /*Sender*/) {}
void TKvBinGControl::StatusChanged() {}
void TKvBinGControl::GroupIndexChanged() {}
void TKvBinGControl::StatusIntChanged() {}
void TKvBinGControl::Flash(bool /*State*/) {}

// --- Input and messages ----------------------------------------------------------------------

void TKvBinGControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    mouseIsDown_ = true;
    switch (mode_) {
      case mButton:
        SetChecked(true);
        break;
      case mSwitch:
        SetChecked(!checked_);
        break;
      case mRadioButton:
        SetStatusInt(int32_t(BitOf(statusBit_)));
        break;
      case mIndicator:
        break;
    }
  }
  // OnMouseDown sees the new state.
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TKvBinGControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || mode_ == mIndicator) return;
  mouseIsDown_ = false;
  if (mode_ == mButton) SetChecked(false);
  StatusChanged();
}

void TKvBinGControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      ParamChange(this);
      return;
    case WM_FLASH:
      Flash(Message.LParam != 0);
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(Message);
}
