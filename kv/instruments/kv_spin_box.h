#pragma once
// TKvSpinBox: a number in an edit field with a spin button on its right.
//
// Value lies in MinValue..MaxValue and is kept rounded to Decimals places;
// the field shows it in fixed notation with the user's decimal separator.
// What changes it:
//  - the spin button's up and down clicks, including its auto-repeat while a
//    button is held (Interval and StartDelay are the spin button's), and the
//    Up and Down keys in the field: one Increment each, stopping at the ends;
//  - typed text, taken when Return is pressed or the field loses the focus.
//    A number is clamped to the range and rounded; text that is no number
//    keeps the old value, is remembered as RejectedText, fires
//    OnInvalidText, and the field shows the value again. Escape drops what
//    was typed.
// Before a step, typed text is taken first, so a step counts from what the
// user sees. OnChange fires after every change of Value, except while the
// control is being loaded from a form; bounds are applied when loading ends,
// so the order of the stored properties does not matter.
//
// Numbers that cannot be stored in a form (NaN, infinities) are ignored by
// every setter; an Increment not above 0 and Decimals outside 0..15 too.
// Raising MinValue above MaxValue moves MaxValue along, and the other way
// round.

#include "kv/controls/kv_spin_button.h"
#include "kv/core/kv_info.h"
#include "platform/controls/edit.h"
#include "platform/controls/win_control.h"

class TKvSpinBox : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(TKvInfo* KvInfo READ KvInfo STORED false)
  Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
  Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
  Q_PROPERTY(double Increment READ Increment WRITE SetIncrement)
  Q_PROPERTY(int Decimals READ Decimals WRITE SetDecimals)
  Q_PROPERTY(double Value READ Value WRITE SetValue)
  Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
  Q_PROPERTY(int StartDelay READ StartDelay WRITE SetStartDelay)
  Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
  Q_PROPERTY(TNotifyEvent OnInvalidText READ OnInvalidText WRITE SetOnInvalidText)
  Q_CLASSINFO("default:MinValue", "0")
  Q_CLASSINFO("default:MaxValue", "100")
  Q_CLASSINFO("default:Increment", "1")
  Q_CLASSINFO("default:Decimals", "0")
  Q_CLASSINFO("default:Value", "0")
  Q_CLASSINFO("default:Interval", "100")
  Q_CLASSINFO("default:StartDelay", "500")

 public:
  static constexpr int kMaxDecimals = 15;

  // 80 x 24 pixels, 0 in 0..100 by 1.
  Q_INVOKABLE explicit TKvSpinBox(TComponent* AOwner = nullptr);
  ~TKvSpinBox() override;

  TKvInfo* KvInfo() const { return kvInfo_; }
  // The parts, owned as components.
  TEdit* Edit() const { return edit_; }
  TKvSpinButton* SpinButton() const { return spinButton_; }

  double Value() const { return value_; }
  void SetValue(double value);
  double MinValue() const { return minValue_; }
  void SetMinValue(double value);
  double MaxValue() const { return maxValue_; }
  void SetMaxValue(double value);
  double Increment() const { return increment_; }
  void SetIncrement(double value);
  int Decimals() const { return decimals_; }
  void SetDecimals(int value);
  int Interval() const { return spinButton_->Interval(); }
  void SetInterval(int value) { spinButton_->SetInterval(value); }
  int StartDelay() const { return spinButton_->StartDelay(); }
  void SetStartDelay(int value) { spinButton_->SetStartDelay(value); }

  // Value moved by `steps` increments (typed text taken first).
  void Step(int steps);
  // Takes the field's text as described above; true unless it was rejected.
  bool CommitText();
  // The field shows Value again.
  void ShowValue();
  // The last text that was not a number.
  const QString& RejectedText() const { return rejectedText_; }
  // Value as the field shows it.
  QString ValueText() const;

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }
  const TNotifyEvent& OnInvalidText() const { return onInvalidText_; }
  void SetOnInvalidText(const TNotifyEvent& value) { onInvalidText_ = value; }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetEnabled(bool value) override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;

  // Keys of the field: Up, Down, Return and Escape are the spin box's. Sets
  // `Key` to 0 when it used the key.
  void EditKeyDown(uint16_t& Key);

 protected:
  // Value changed (not while loading): fires OnChange.
  virtual void Change();

 private:
  // `value` clamped to the range and rounded to Decimals; NaN stays NaN.
  double Normalized(double value) const;
  // Stores a normalised value, shows it and reports a change.
  void StoreValue(double value);
  void LayoutParts();
  bool Loading() const { return ComponentState() & csLoading; }
  void UpClick(TObject* Sender);
  void DownClick(TObject* Sender);

  TKvInfo* kvInfo_;
  TEdit* edit_ = nullptr;                // owned as a component
  TKvSpinButton* spinButton_ = nullptr;  // owned as a component
  double value_ = 0;
  double minValue_ = 0;
  double maxValue_ = 100;
  double increment_ = 1;
  int decimals_ = 0;
  QString rejectedText_;
  TNotifyEvent onChange_;
  TNotifyEvent onInvalidText_;
};
