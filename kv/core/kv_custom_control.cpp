#include "kv/core/kv_custom_control.h"

TKvCustomControl::TKvCustomControl(TComponent* AOwner) : TCustomControl(AOwner), kvInfo_(LoadKavelInfo()) {}

void TKvCustomControl::EndUpdate() {
  if (bracket_.End()) Invalidate();
}

void TKvCustomControl::Change() {
  if (!bracket_.Open()) ParamChange(this);
}

void TKvCustomControl::ParamChange(TObject* /*Sender*/) {}

void TKvCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
}
