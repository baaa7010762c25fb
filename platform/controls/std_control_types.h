#pragma once
// Enumerations and event types of the standard controls (label, picture,
// memo, combo box, spinner, edit field, button). They live in a namespace
// with a meta-object so that form descriptions read and write them by name;
// the values are brought into the global scope so code writes `ssNone`.

#include <QObject>

#include "platform/core/events.h"

namespace StdControlTypes {
Q_NAMESPACE

// Scroll bars of a memo.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
Q_ENUM_NS(TScrollStyle)

// Kinds of combo box: an editable text part with a drop-down list, an
// editable text part with the list always shown, or a pick-only list.
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
Q_ENUM_NS(TComboBoxStyle)

// The arrow of a spinner that was used: btNext raises the position.
enum TUDBtnType { btNext, btPrev };
Q_ENUM_NS(TUDBtnType)

}  // namespace StdControlTypes

using TScrollStyle = StdControlTypes::TScrollStyle;
using TComboBoxStyle = StdControlTypes::TComboBoxStyle;
using TUDBtnType = StdControlTypes::TUDBtnType;
using enum StdControlTypes::TScrollStyle;
using enum StdControlTypes::TComboBoxStyle;
using enum StdControlTypes::TUDBtnType;

// A spinner's click: the sender and the arrow used.
using TUDClickEvent = TEvent<TObject*, TUDBtnType>;
Q_DECLARE_METATYPE(TUDClickEvent)

// Registers the standard control classes (TLabel, TImage, TMemo, TComboBox,
// TUpDown, TEdit, TButton, TSpeedButton) and their event types for form descriptions.
// Safe to call any number of times.
void RegisterStandardControls();
