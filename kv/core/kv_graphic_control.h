#pragma once
// TKvGraphicControl: the base of the library's windowless controls. It adds
// to the framework's windowless control the reference to the shared
// identification object, an update bracket and the Change/ParamChange pair
// through which changes turn into repaints:
//  - the control's own setters call Change(), which calls ParamChange(this)
//    unless an update bracket is open (such changes are dropped, not queued);
//  - closing the last bracket runs Change() once;
//  - settings objects are subscribed with ParamChange itself as their
//    listener, so their changes arrive whether a bracket is open or not.

#include "kv/core/kv_info.h"
#include "kv/core/update_bracket.h"
#include "platform/controls/graphic_control.h"

class TKvGraphicControl : public TGraphicControl {
  Q_OBJECT
  // Shown for information; it refers to the shared object and is never stored.
  Q_PROPERTY(TKvInfo* KvInfo READ KvInfo STORED false)
 public:
  // The parent is the owner taken as a windowed control: a null owner gives
  // no parent, any other kind of owner raises EInvalidCast.
  Q_INVOKABLE explicit TKvGraphicControl(TComponent* AOwner = nullptr);
  ~TKvGraphicControl() override = default;

  TKvInfo* KvInfo() const { return kvInfo_; }

  void BeginUpdate() { bracket_.Begin(); }
  // Closes one bracket; when none is left open, runs Change().
  void EndUpdate();
  // Number of open brackets.
  int32_t UpdateCount() const { return bracket_.Count(); }

  // Reports a change of the control's own state: ParamChange(this) when no
  // bracket is open, nothing otherwise.
  virtual void Change();
  // Brings derived state up to date and repaints; the base does nothing.
  // Descendants subscribe it as the OnChange listener of their settings.
  virtual void ParamChange(TObject* Sender);

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  TKvInfo* kvInfo_;  // shared, owned by its unit
  TUpdateBracket bracket_;
};
