#pragma once
// A form with handlers that form descriptions bind by name.

#include "platform/controls/form.h"

class THandlerForm : public TForm {
  Q_OBJECT
 public:
  using TForm::TForm;
  Q_INVOKABLE void FormClose(TObject* /*Sender*/, TCloseAction& Action) { Action = caNone; }
  Q_INVOKABLE void EditKeyDown(TObject* /*Sender*/, uint16_t& Key, TShiftState Shift) {
    if (Shift & ssCtrl) Key = 0;
  }
  Q_INVOKABLE void EditMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int X, int Y) {
    last = QStringLiteral("%1 %2 %3,%4").arg(Sender->objectName()).arg(int(Button)).arg(X).arg(Y);
  }
  QString last;
};
