#pragma once
// Window messages. Controls receive input and notifications as numbered
// messages through Perform -> WndProc, so a descendant can handle any of them
// by overriding WndProc and passing the rest on. The numbers are the
// framework's well-known ones (WM_USER = 1024, WM_FLASH = 1124).

#include <cstdint>

struct TMessage {
  uint32_t Msg = 0;
  intptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Packing of two 16-bit halves into a message parameter.
constexpr intptr_t MakeLong(uint16_t low, uint16_t high) {
  return intptr_t(uint32_t(low) | (uint32_t(high) << 16));
}
constexpr uint16_t LoWord(intptr_t value) {
  return uint16_t(uintptr_t(value) & 0xFFFF);
}
constexpr uint16_t HiWord(intptr_t value) {
  return uint16_t((uintptr_t(value) >> 16) & 0xFFFF);
}
// Signed client coordinates of a mouse message's LParam.
constexpr int GetXParam(intptr_t lParam) {
  return int16_t(LoWord(lParam));
}
constexpr int GetYParam(intptr_t lParam) {
  return int16_t(HiWord(lParam));
}
constexpr intptr_t MakePointParam(int x, int y) {
  return MakeLong(uint16_t(int16_t(x)), uint16_t(int16_t(y)));
}

// Window messages.
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_MOVE = 0x0003;
inline constexpr uint32_t WM_SIZE = 0x0005;       // WParam: SIZE_*, LParam: MakeLong(client w, client h)
inline constexpr uint32_t WM_SETFOCUS = 0x0007;   // the control gained the keyboard focus
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;  // the control lost the keyboard focus
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_SETCURSOR = 0x0020;    // the mouse is over the control: set its cursor
inline constexpr uint32_t WM_CONTEXTMENU = 0x007B;  // LParam: screen position (MakePointParam)
inline constexpr uint32_t WM_GETDLGCODE = 0x0087;   // Result: DLGC_* keys the control wants
inline constexpr uint32_t WM_KEYDOWN = 0x0100;      // WParam: virtual key, LParam: TShiftState bits
inline constexpr uint32_t WM_KEYUP = 0x0101;        // as WM_KEYDOWN
inline constexpr uint32_t WM_CHAR = 0x0102;         // WParam: UTF-16 character
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;  // WParam: MK_* keys, LParam: client position
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;    // WParam: MakeLong(MK_* keys, delta), LParam: screen pos
inline constexpr uint32_t WM_USER = 0x0400;          // 1024: first message number free for applications
inline constexpr uint32_t WM_FLASH = WM_USER + 100;  // 1124: the flash timer's tick

// Notifications among the framework's own controls.
inline constexpr uint32_t CM_BASE = 0xB000;
inline constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 1;
inline constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 2;
inline constexpr uint32_t CM_COLORCHANGED = CM_BASE + 3;
inline constexpr uint32_t CM_FONTCHANGED = CM_BASE + 4;
inline constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 5;  // the control's text or caption changed
inline constexpr uint32_t CM_ENTER = CM_BASE + 6;        // the control became the form's active control
inline constexpr uint32_t CM_EXIT = CM_BASE + 7;         // the control stopped being the active control
inline constexpr uint32_t CM_MOUSEENTER = CM_BASE + 8;
inline constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 9;
inline constexpr uint32_t CM_DIALOGKEY = CM_BASE + 10;  // sent to the form: WParam key, LParam shift
inline constexpr uint32_t CM_SHOWHINTCHANGED = CM_BASE + 11;
inline constexpr uint32_t CM_PARENTFONTCHANGED = CM_BASE + 12;
inline constexpr uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 13;
inline constexpr uint32_t CM_CURSORCHANGED = CM_BASE + 14;
inline constexpr uint32_t CM_HINTCHANGED = CM_BASE + 15;

// WM_GETDLGCODE answers.
inline constexpr intptr_t DLGC_WANTARROWS = 0x0001;
inline constexpr intptr_t DLGC_WANTTAB = 0x0002;
inline constexpr intptr_t DLGC_WANTALLKEYS = 0x0004;
inline constexpr intptr_t DLGC_HASSETSEL = 0x0008;
inline constexpr intptr_t DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr intptr_t DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr intptr_t DLGC_RADIOBUTTON = 0x0040;
inline constexpr intptr_t DLGC_WANTCHARS = 0x0080;
inline constexpr intptr_t DLGC_STATIC = 0x0100;
inline constexpr intptr_t DLGC_BUTTON = 0x2000;

// WM_SIZE kinds.
inline constexpr intptr_t SIZE_RESTORED = 0;
inline constexpr intptr_t SIZE_MINIMIZED = 1;
inline constexpr intptr_t SIZE_MAXIMIZED = 2;

// Key state of mouse messages (MK_ALT is this framework's own bit).
inline constexpr uint16_t MK_LBUTTON = 0x0001;
inline constexpr uint16_t MK_RBUTTON = 0x0002;
inline constexpr uint16_t MK_SHIFT = 0x0004;
inline constexpr uint16_t MK_CONTROL = 0x0008;
inline constexpr uint16_t MK_MBUTTON = 0x0010;
inline constexpr uint16_t MK_ALT = 0x4000;

// One notch of a mouse wheel.
inline constexpr int WHEEL_DELTA = 120;
// The signed wheel delta of a WM_MOUSEWHEEL message.
constexpr int WheelDelta(const TMessage& message) {
  return int16_t(HiWord(message.WParam));
}
