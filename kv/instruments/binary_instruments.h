#pragma once
// The ready two-state instruments and the spin box: the unit that registers
// them for form descriptions, and the few drawing and key rules the
// captioned ones share.
//
//   TKvLedLamp       a lamp in one of the LED shapes, lit, dark or flashing
//   TKvToggleSwitch  a lever in a slot that the mouse or Space flips
//   TKvRadioButton   one choice of a group (same owner, same GroupIndex)
//   TKvSpinBox       a number in an edit field with an auto-repeat spin button
//
// Every constructor requires the unit, so a program that only creates the
// controls in code never has to think about it; a program that reads forms
// either holds a TUnitsInitialization or requires the unit before reading.

#include <QString>
#include <optional>

#include "kv/core/unit_init.h"
#include "platform/core/types.h"

class TCanvas;
class TControl;
class TKvBinGControl;
struct TMessage;

// The unit "KvBinaryInstruments": registers the four classes.
TUnit& KvBinaryInstrumentsUnit();

namespace kv_binary_instruments_detail {
inline const bool kUnitRegistered = RegisterUnit(KvBinaryInstrumentsUnit());
}  // namespace kv_binary_instruments_detail

namespace kv_binary {

// The caption of a two-state control, in its font, left-aligned at `left` and
// centred vertically in `area`; grey when the control is disabled.
void DrawCaption(TCanvas* canvas, const TControl& control, int left, const TRect& area);

// Whether a message is the key that flips a two-state control: Space pressed,
// delivered by whoever holds the keyboard (the windowless control has none of
// its own; its parent forwards the key with Perform).
bool IsToggleKey(const TMessage& message);

// Tells assistive technology that the control's checked state changed, when
// it differs from the one told last (`announced`): the base reports a
// status change also after a click that left the state as it was.
void AnnounceCheckedState(TKvBinGControl* control, std::optional<bool>& announced);

}  // namespace kv_binary
