#include "platform/controls/edit.h"

#include <limits>

#include "platform/controls/safe_call.h"

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner, std::make_unique<QLineEdit>()) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  QLineEdit* edit = LineEdit();
  edit->setMaxLength(std::numeric_limits<int>::max());
  QObject::connect(edit, &QLineEdit::textChanged, this, [this] { SafeCall([this] { Change(); }); });
  QObject::connect(edit, &QLineEdit::textEdited, this,
                   [this] { SafeCall([this] { Perform(CM_TEXTCHANGED); }); });
}

TEdit::~TEdit() {
  Destroying();
}

QString TEdit::GetText() const {
  return Widget() ? LineEdit()->text() : QString();
}

void TEdit::StoreText(const QString& value) {
  if (!Widget()) return;
  LineEdit()->setText(value);
  // Text set by the program shows from its start, as the platform's edit
  // fields do, also when it is wider than the field.
  LineEdit()->home(false);
}

void TEdit::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  if (Widget()) LineEdit()->setReadOnly(value);
}

void TEdit::SetMaxLength(int value) {
  if (value < 0) value = 0;
  if (maxLength_ == value) return;
  maxLength_ = value;
  if (Widget()) LineEdit()->setMaxLength(value > 0 ? value : std::numeric_limits<int>::max());
}
