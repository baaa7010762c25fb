#pragma once
// TKvBinGControl: the base of the library's windowless two-state controls
// (push buttons, switches, lamps, radio buttons). It holds the state and
// leaves the look to descendants:
//  - Checked, the on/off state, and StatusInt, a 32-bit status word in which
//    the control owns the bit StatusBit. Checking sets that bit, unchecking
//    clears it; writing StatusInt checks the control when its bit is set.
//  - A group (GroupIndex > 0) of controls with the same owner shares one
//    status word: a change of one member's word is written to every member
//    (in the owner's component order). In mRadioButton mode a checked member
//    reduces the word to its own bit, so exactly one member is on.
//  - Flashing: while checked and Flashing, the control is listed with the
//    shared flash timer at its Frequency and receives WM_FLASH whenever the
//    phase changes; Flash(State) is where a descendant paints the phase.
//    Every control of one frequency blinks in step.
//  - Mode says what the left mouse button does: mButton is on while held,
//    mSwitch toggles per press, mRadioButton sets its bit as the only one,
//    mIndicator only shows.
//
// Descendants override the empty hooks ParamChange, StatusChanged,
// GroupIndexChanged, StatusIntChanged and Flash, and publish the state they
// need. Every hook runs before its published event (StatusChanged before
// OnStatusChange, StatusIntChanged before OnStatusIntChange).
//
// One process-wide flag (GroupUpdate) is up while a group is being written:
// changes started from inside that propagation (from an event handler, say)
// do not propagate to their own group.

#include <QObject>
#include <cstdint>

#include "kv/core/kv_info.h"
#include "platform/controls/graphic_control.h"

namespace BinControlTypes {
Q_NAMESPACE

// Flash rates; the control registers under frequency code 2 + the position.
enum TFlashFreq { ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz };
Q_ENUM_NS(TFlashFreq)

// What the left mouse button does.
enum TMode { mButton, mSwitch, mIndicator, mRadioButton };
Q_ENUM_NS(TMode)

}  // namespace BinControlTypes

using TFlashFreq = BinControlTypes::TFlashFreq;
using TMode = BinControlTypes::TMode;
using enum BinControlTypes::TFlashFreq;
using enum BinControlTypes::TMode;

// The flash timer's frequency code of a rate (2 for ff8Hz up to 6 for ff05Hz).
constexpr int64_t FlashCodeOf(TFlashFreq frequency) {
  return 2 + int64_t(frequency);
}

// Up while a group propagates its status word (one flag for the process).
extern bool GroupUpdate;

class TKvBinGControl : public TGraphicControl {
  Q_OBJECT
  Q_PROPERTY(TKvInfo* KvInfo READ KvInfo STORED false)

 public:
  // The parent is the owner taken as a windowed control: a null owner gives
  // no parent, any other kind of owner raises EInvalidCast. Off, not
  // flashing, ff1Hz, mIndicator, status word 0.
  Q_INVOKABLE explicit TKvBinGControl(TComponent* AOwner = nullptr);
  // Leaves the flash list first, so no tick reaches a freed control.
  ~TKvBinGControl() override;

  TKvInfo* KvInfo() const { return kvInfo_; }

  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  TFlashFreq Frequency() const { return frequency_; }
  void SetFrequency(TFlashFreq value);
  bool Flashing() const { return flashing_; }
  void SetFlashing(bool value);
  int32_t StatusInt() const { return statusInt_; }
  void SetStatusInt(int32_t value);
  int32_t StatusBit() const { return statusBit_; }
  // 0..31; other values are ignored.
  void SetStatusBit(int32_t value);
  int32_t GroupIndex() const { return groupIndex_; }
  // Negative values are ignored. Joining a group adopts its status word.
  void SetGroupIndex(int32_t value);
  TMode Mode() const { return mode_; }
  // Always applies the mode's start: mButton clears the status word,
  // mRadioButton sets it to 1.
  void SeTMode(TMode value);
  void SetMode(TMode value) { SeTMode(value); }
  // The left button went down on the control (and, except in mIndicator
  // mode, has not been released since).
  bool MouseIsDown() const { return mouseIsDown_; }
  // Lowest set bit of StatusInt, 32 when none is set.
  int32_t FirstBit() const { return firstBit_; }

  const TNotifyEvent& OnStatusChange() const { return onStatusChange_; }
  void SetOnStatusChange(const TNotifyEvent& value) { onStatusChange_ = value; }
  const TNotifyEvent& OnStatusIntChange() const { return onStatusIntChange_; }
  void SetOnStatusIntChange(const TNotifyEvent& value) { onStatusIntChange_ = value; }

  // Hooks for descendants; all empty here.
  virtual void ParamChange(TObject* Sender);
  virtual void StatusChanged();
  virtual void GroupIndexChanged();
  virtual void StatusIntChanged();
  // The flash phase changed (true: the on phase).
  virtual void Flash(bool State);

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // CM_TEXTCHANGED runs ParamChange(this); WM_FLASH runs Flash.
  void WndProc(TMessage& Message) override;

 protected:
  // Lists the control with the flash timer at its frequency (or updates it).
  void StartFlashing();

 private:
  // Writes the word to every member of the group, this one included.
  void PropagateToGroup();

  TKvInfo* kvInfo_;
  bool checked_ = false;
  TFlashFreq frequency_ = ff1Hz;
  bool flashing_ = false;
  int32_t statusInt_ = 0;
  int32_t statusBit_ = 0;
  int32_t groupIndex_ = 0;
  TMode mode_ = mIndicator;
  bool mouseIsDown_ = false;
  int32_t firstBit_ = 32;
  TNotifyEvent onStatusChange_;
  TNotifyEvent onStatusIntChange_;
};
