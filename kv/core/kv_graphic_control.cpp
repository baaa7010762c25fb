#include "kv/core/kv_graphic_control.h"

#include "platform/controls/win_control.h"

TKvGraphicControl::TKvGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner), kvInfo_(LoadKavelInfo()) {
  if (TWinControl* parent = CheckedCast<TWinControl>(AOwner)) SetParent(parent);
}

void TKvGraphicControl::EndUpdate() {
  if (bracket_.End()) Change();
}

void TKvGraphicControl::Change() {
  if (!bracket_.Open()) ParamChange(this);
}

void TKvGraphicControl::ParamChange(TObject* /*Sender*/) {}

void TKvGraphicControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}
