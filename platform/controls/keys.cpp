#include "platform/controls/keys.h"

#include "platform/controls/messages.h"

namespace {

struct KeyPair {
  Qt::Key qt;
  uint16_t vk;
};

// Keys whose virtual code is not their character.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},      {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
};

}  // namespace

uint16_t VirtualKeyFromQt(const QKeyEvent& event) {
  const int key = event.key();
  const bool keypad = event.modifiers() & Qt::KeypadModifier;
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return uint16_t(keypad ? VK_NUMPAD0 + (key - Qt::Key_0) : key);
  if (keypad) {
    switch (key) {
      case Qt::Key_Asterisk:
        return VK_MULTIPLY;
      case Qt::Key_Plus:
        return VK_ADD;
      case Qt::Key_Minus:
        return VK_SUBTRACT;
      case Qt::Key_Period:
      case Qt::Key_Comma:
        return VK_DECIMAL;
      case Qt::Key_Slash:
        return VK_DIVIDE;
      default:
        break;
    }
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return uint16_t(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return uint16_t(VK_F1 + (key - Qt::Key_F1));
  for (const KeyPair& pair : kKeys)
    if (pair.qt == key) return pair.vk;
  return 0;
}

Qt::Key QtKeyFromVirtualKey(uint16_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return Qt::Key(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return Qt::Key(Qt::Key_0 + (key - VK_NUMPAD0));
  if (key >= VK_F1 && key < VK_F1 + 24) return Qt::Key(Qt::Key_F1 + (key - VK_F1));
  for (const KeyPair& pair : kKeys)
    if (pair.vk == key) return pair.qt;
  return Qt::Key_unknown;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

uint16_t MouseKeysFromShift(TShiftState shift) {
  uint16_t keys = 0;
  if (shift & ssShift) keys |= MK_SHIFT;
  if (shift & ssCtrl) keys |= MK_CONTROL;
  if (shift & ssAlt) keys |= MK_ALT;
  if (shift & ssLeft) keys |= MK_LBUTTON;
  if (shift & ssRight) keys |= MK_RBUTTON;
  if (shift & ssMiddle) keys |= MK_MBUTTON;
  return keys;
}

TShiftState ShiftFromMouseKeys(uint16_t keys) {
  TShiftState shift;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_ALT) shift |= ssAlt;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  return shift;
}
