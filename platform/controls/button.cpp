#include "platform/controls/button.h"

#include "platform/controls/focus_rect.h"
#include "platform/controls/safe_call.h"

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner, std::make_unique<QPushButton>()) {
  // The native button decides what a click is (press and release inside,
  // or Space); the generic mouse-message click would report it twice.
  SetControlStyle(ControlStyle() & ~TControlStyle(csClickEvents));
  SetBounds(0, 0, 75, 25);
  SetColor(clBtnFace);
  SetTabStop(true);
  QObject::connect(PushButton(), &QPushButton::clicked, this, [this] { SafeCall([this] { Click(); }); });
}

TButton::~TButton() {
  Destroying();
}

QString TButton::GetText() const {
  return Widget() ? PushButton()->text() : QString();
}

void TButton::StoreText(const QString& value) {
  if (Widget()) PushButton()->setText(value);
}

void TButton::PaintWindow(QPainter& painter) {
  // The style's own cue for a focused button may be faint or missing (some
  // draw it only after Tab was pressed); this one always shows.
  QWidget* widget = Widget();
  if (!widget || !widget->hasFocus()) return;
  DrawFocusRect(painter, widget->rect().adjusted(4, 4, -4, -4),
                widget->palette().color(QPalette::ButtonText));
}
