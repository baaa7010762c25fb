#pragma once
// TUpDown: a spinner of two vertical arrow buttons holding an integer
// Position between Min and Max (16-bit values, as the platform's spinner
// keeps them). The upper arrow (btNext) moves the position by Increment
// towards Max, the lower one (btPrev) towards Min; past either end it stops
// there, or with Wrap jumps to the other end. Holding an arrow down repeats.
//
// A spinner may have a buddy control (Associate), usually an edit field next
// to it: every change of the position is written into the buddy as a plain
// integer, and with ArrowKeys the up and down keys typed into the buddy step
// the spinner. After each step by the user the spinner raises OnClick with
// the arrow used, so a handler can rewrite the buddy's text.

#include <QTimer>
#include <cstdint>
#include <memory>

#include "platform/controls/std_control_types.h"
#include "platform/controls/win_control.h"

class TUpDown : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(TWinControl* Associate READ Associate WRITE SetAssociate)
  Q_PROPERTY(qint16 Min READ Min WRITE SetMin)
  Q_PROPERTY(qint16 Max READ Max WRITE SetMax)
  Q_PROPERTY(qint16 Position READ Position WRITE SetPosition)
  Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
  Q_PROPERTY(bool Wrap READ Wrap WRITE SetWrap)
  Q_PROPERTY(bool ArrowKeys READ ArrowKeys WRITE SetArrowKeys)
  Q_PROPERTY(TUDClickEvent OnClick READ OnClick WRITE SetOnClick)
  Q_CLASSINFO("default:Min", "0")
  Q_CLASSINFO("default:Max", "100")
  Q_CLASSINFO("default:Position", "0")
  Q_CLASSINFO("default:Increment", "1")
  Q_CLASSINFO("default:Wrap", "False")
  Q_CLASSINFO("default:ArrowKeys", "True")
  Q_CLASSINFO("default:Color", "clBtnFace")

 public:
  Q_INVOKABLE explicit TUpDown(TComponent* AOwner = nullptr);
  ~TUpDown() override;

  // The buddy control, or null. The spinner is told when it is freed.
  TWinControl* Associate() const { return static_cast<TWinControl*>(associate_); }
  void SetAssociate(TWinControl* value);

  int16_t Min() const { return min_; }
  void SetMin(int16_t value);
  int16_t Max() const { return max_; }
  void SetMax(int16_t value);
  int16_t Position() const { return position_; }
  // Kept between Min and Max; the buddy shows the new position.
  void SetPosition(int16_t value);
  int Increment() const { return increment_; }
  void SetIncrement(int value);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool value) { wrap_ = value; }
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool value) { arrowKeys_ = value; }

  // Does what a click on the arrow does: steps, writes the buddy, raises OnClick.
  void ClickButton(TUDBtnType Button);

  const TUDClickEvent& OnClick() const { return onUDClick_; }
  void SetOnClick(const TUDClickEvent& value) { onUDClick_ = value; }

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void PaintWindow(QPainter& painter) override;
  // Raises OnClick after a step by the user.
  virtual void DoClick(TUDBtnType Button) { onUDClick_(this, Button); }

 private:
  class BuddyKeys;
  // The arrow under a client point.
  TUDBtnType ButtonAt(int Y) const { return Y < Height() / 2 ? btNext : btPrev; }
  // The position one step from the current one, wrapped or stopped at the ends.
  int16_t NextPosition(TUDBtnType Button) const;
  void WriteBuddy();
  void Repeat();
  void StopRepeat();

  // The buddy, kept as the component it is: Notification compares it with a
  // component that is being destroyed, when it is no longer a control.
  TComponent* associate_ = nullptr;
  std::unique_ptr<BuddyKeys> buddyKeys_;
  int16_t min_ = 0;
  int16_t max_ = 100;
  int16_t position_ = 0;
  int increment_ = 1;
  bool wrap_ = false;
  bool arrowKeys_ = true;
  // The arrow held down with the mouse (repeating while the mouse is over it).
  bool pressed_ = false;
  bool pressedInside_ = false;
  TUDBtnType pressedButton_ = btNext;
  QTimer repeatTimer_;
  TUDClickEvent onUDClick_;
};
