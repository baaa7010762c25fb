#include "platform/controls/up_down.h"

#include <QKeyEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

#include "platform/controls/focus_rect.h"
#include "platform/controls/keys.h"
#include "platform/controls/safe_call.h"
#include "platform/core/numbers.h"

namespace {
// Auto-repeat of a held arrow: first delay, then the interval between steps.
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;
}  // namespace

// Watches the buddy's widget for the up and down keys. Installed after the
// buddy's own filter, it sees the keys first, as the spinner must step before
// the field (or the form) does anything with them.
class TUpDown::BuddyKeys : public QObject {
 public:
  BuddyKeys(TUpDown* owner, QWidget* widget) : owner_(owner), widget_(widget) {
    widget->installEventFilter(this);
  }
  ~BuddyKeys() override {
    if (widget_) widget_->removeEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != widget_ || event->type() != QEvent::KeyPress || !owner_->ArrowKeys() || !owner_->Enabled())
      return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
    if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down) return false;
    const TUDBtnType button = key->key() == Qt::Key_Up ? btNext : btPrev;
    SafeCall([this, button] { owner_->ClickButton(button); });
    return true;
  }

 private:
  TUpDown* owner_;
  QPointer<QWidget> widget_;
};

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  static const bool eventRegistered = [] {
    RegisterEventType<TUDClickEvent>();
    return true;
  }();
  (void)eventRegistered;
  // Clicks are steps reported with their arrow, not generic clicks.
  SetControlStyle(ControlStyle() & ~(TControlStyle(csClickEvents) | csDoubleClicks));
  SetBounds(0, 0, 16, 24);
  SetColor(clBtnFace);
  repeatTimer_.setSingleShot(false);
  QObject::connect(&repeatTimer_, &QTimer::timeout, this, [this] { SafeCall([this] { Repeat(); }); });
}

TUpDown::~TUpDown() {
  Destroying();
  repeatTimer_.stop();
  buddyKeys_.reset();
  if (associate_) associate_->RemoveFreeNotification(this);
}

// --- Range and position --------------------------------------------------------

void TUpDown::SetMin(int16_t value) {
  if (min_ == value) return;
  min_ = value;
  SetPosition(position_);
}

void TUpDown::SetMax(int16_t value) {
  if (max_ == value) return;
  max_ = value;
  SetPosition(position_);
}

void TUpDown::SetIncrement(int value) {
  if (value == 0) value = 1;
  increment_ = value;
}

void TUpDown::SetPosition(int16_t value) {
  // While a description is read the range may not be complete yet: Loaded
  // brings the position into it.
  if (!(ComponentState() & csLoading)) value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  if (position_ == value) return;
  position_ = value;
  if (!(ComponentState() & csLoading)) WriteBuddy();
}

int16_t TUpDown::NextPosition(TUDBtnType Button) const {
  // With Min above Max the arrows still move towards Max (btNext) and Min.
  const int lo = std::min(min_, max_);
  const int hi = std::max(min_, max_);
  const int direction = (Button == btNext) == (max_ >= min_) ? 1 : -1;
  // 64-bit: any 32-bit increment plus a 16-bit position stays exact.
  const int64_t next = int64_t(position_) + int64_t(direction) * increment_;
  if (next > hi) return int16_t(wrap_ ? lo : hi);
  if (next < lo) return int16_t(wrap_ ? hi : lo);
  return int16_t(next);
}

void TUpDown::ClickButton(TUDBtnType Button) {
  if (!Enabled()) return;
  position_ = NextPosition(Button);
  WriteBuddy();
  DoClick(Button);
}

void TUpDown::WriteBuddy() {
  if (associate_ && !(associate_->ComponentState() & csDestroying)) Associate()->SetText(IntToStr(position_));
}

// --- Buddy ---------------------------------------------------------------------------

void TUpDown::SetAssociate(TWinControl* value) {
  if (value == this) value = nullptr;
  if (Associate() == value) return;
  buddyKeys_.reset();
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = value;
  if (!value) return;
  value->FreeNotification(this);
  if (value->Widget()) buddyKeys_ = std::make_unique<BuddyKeys>(this, value->Widget());
  if (!(ComponentState() & csLoading)) WriteBuddy();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == associate_) {
    buddyKeys_.reset();
    associate_ = nullptr;
  }
}

void TUpDown::Loaded() {
  TWinControl::Loaded();
  position_ = std::clamp(position_, std::min(min_, max_), std::max(min_, max_));
  WriteBuddy();
}

// --- Input ---------------------------------------------------------------------------

void TUpDown::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS;
    return;
  }
  TWinControl::WndProc(Message);
}

void TUpDown::KeyDown(uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == VK_UP || Key == VK_DOWN) {
    const TUDBtnType button = Key == VK_UP ? btNext : btPrev;
    Key = 0;
    ClickButton(button);
  }
}

void TUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWinControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  pressed_ = true;
  pressedInside_ = true;
  pressedButton_ = ButtonAt(Y);
  Invalidate();
  repeatTimer_.start(kRepeatDelayMs);
  ClickButton(pressedButton_);
}

void TUpDown::MouseMove(TShiftState Shift, int X, int Y) {
  TWinControl::MouseMove(Shift, X, Y);
  if (!pressed_) return;
  const bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height() && ButtonAt(Y) == pressedButton_;
  if (inside == pressedInside_) return;
  pressedInside_ = inside;
  Invalidate();
}

void TUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) StopRepeat();
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TUpDown::Repeat() {
  if (!pressed_) {
    StopRepeat();
    return;
  }
  repeatTimer_.setInterval(kRepeatIntervalMs);
  // The held arrow steps only while the mouse is over it.
  if (pressedInside_) ClickButton(pressedButton_);
}

void TUpDown::StopRepeat() {
  repeatTimer_.stop();
  if (!pressed_) return;
  pressed_ = false;
  Invalidate();
}

// --- Painting ------------------------------------------------------------------------

void TUpDown::PaintWindow(QPainter& painter) {
  QWidget* widget = Widget();
  if (!widget) return;
  QStyle* style = widget->style();
  const int half = Height() / 2;
  const QRect halves[2] = {QRect(0, 0, Width(), half), QRect(0, half, Width(), Height() - half)};
  for (int i = 0; i < 2; ++i) {
    const TUDBtnType button = i == 0 ? btNext : btPrev;
    const bool down = pressed_ && pressedInside_ && pressedButton_ == button;
    QStyleOptionButton bevel;
    bevel.initFrom(widget);
    bevel.rect = halves[i];
    bevel.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    bevel.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    style->drawPrimitive(QStyle::PE_PanelButtonCommand, &bevel, &painter, widget);

    QStyleOption arrow;
    arrow.initFrom(widget);
    arrow.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    if (!Enabled()) arrow.state &= ~QStyle::State_Enabled;
    // The arrow keeps to the middle of its half; pressed, it moves by a pixel.
    const int size = std::max(3, std::min(halves[i].width(), halves[i].height()) - 2);
    QRect box(0, 0, size, size);
    box.moveCenter(halves[i].center());
    if (down) box.translate(1, 1);
    arrow.rect = box;
    style->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow,
                         &painter, widget);
  }
  // A spinner in tab order shows that it has the focus (the arrow keys step it).
  if (widget->hasFocus())
    DrawFocusRect(painter, widget->rect().adjusted(2, 2, -2, -2),
                  widget->palette().color(QPalette::ButtonText));
}
