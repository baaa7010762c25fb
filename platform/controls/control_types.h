#pragma once
// Enumerations and sets of the control classes. They live in a namespace with
// a meta-object so that form descriptions read and write them by name; the
// values are brought into the global scope so code writes `alClient`.

#include <QFlags>
#include <QObject>
#include <cstdint>

namespace ControlTypes {
Q_NAMESPACE

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

enum TMouseButton { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)

// Keys and buttons held during an input event; bit n for the n-th value.
enum TShiftStateFlag {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
  ssDouble = 0x40,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_FLAG_NS(TShiftState)

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)

enum TBorderIcon { biSystemMenu = 0x01, biMinimize = 0x02, biMaximize = 0x04, biHelp = 0x08 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_FLAG_NS(TBorderIcons)

enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter,
};
Q_ENUM_NS(TPosition)

enum TCloseAction { caNone, caHide, caFree, caMinimize };
Q_ENUM_NS(TCloseAction)

}  // namespace ControlTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TShiftState)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TBorderIcons)

using TAlign = ControlTypes::TAlign;
using TMouseButton = ControlTypes::TMouseButton;
using TShiftStateFlag = ControlTypes::TShiftStateFlag;
using TShiftState = ControlTypes::TShiftState;
using TFormBorderStyle = ControlTypes::TFormBorderStyle;
using TBorderIcon = ControlTypes::TBorderIcon;
using TBorderIcons = ControlTypes::TBorderIcons;
using TPosition = ControlTypes::TPosition;
using TCloseAction = ControlTypes::TCloseAction;
using enum ControlTypes::TAlign;
using enum ControlTypes::TMouseButton;
using enum ControlTypes::TShiftStateFlag;
using enum ControlTypes::TFormBorderStyle;
using enum ControlTypes::TBorderIcon;
using enum ControlTypes::TPosition;
using enum ControlTypes::TCloseAction;

// Behaviour switches of a control class (not streamed).
enum TControlStyleFlag {
  csAcceptsControls = 0x01,  // may be the parent of other controls
  csCaptureMouse = 0x02,     // keeps receiving the mouse while a button is held
  csClickEvents = 0x04,      // a left press and release inside the control is a Click
  csDoubleClicks = 0x08,     // a double click is a DblClick (else a second press)
  csOpaque = 0x10,           // paints its whole rectangle: nothing beneath needs painting
};
Q_DECLARE_FLAGS(TControlStyle, TControlStyleFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TControlStyle)

// Cursor identifier: negative values are the standard cursors, positive ones
// index the application's own cursor table (see cursors.h).
using TCursor = int16_t;
