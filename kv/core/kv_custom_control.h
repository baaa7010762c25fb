#pragma once
// TKvCustomControl: the base of the library's windowed controls. Like
// TKvGraphicControl it refers to the shared identification object and has
// an update bracket with Change/ParamChange, but closing the last bracket
// only requests a repaint (Invalidate), and it takes no parent from its
// owner. ShowHint is published by the framework's control already.

#include "kv/core/kv_info.h"
#include "kv/core/update_bracket.h"
#include "platform/controls/custom_control.h"

class TKvCustomControl : public TCustomControl {
  Q_OBJECT
  // Shown for information; it refers to the shared object and is never stored.
  Q_PROPERTY(TKvInfo* KvInfo READ KvInfo STORED false)
 public:
  Q_INVOKABLE explicit TKvCustomControl(TComponent* AOwner = nullptr);
  ~TKvCustomControl() override = default;

  TKvInfo* KvInfo() const { return kvInfo_; }

  void BeginUpdate() { bracket_.Begin(); }
  // Closes one bracket; when none is left open, requests a repaint.
  void EndUpdate();
  // Number of open brackets.
  int32_t UpdateCount() const { return bracket_.Count(); }

  // ParamChange(this) when no bracket is open, nothing otherwise.
  virtual void Change();
  // Brings derived state up to date and repaints; the base does nothing.
  virtual void ParamChange(TObject* Sender);

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  TKvInfo* kvInfo_;  // shared, owned by its unit
  TUpdateBracket bracket_;
};
