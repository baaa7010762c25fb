#pragma once
// TEdit: a single-line text field around a QLineEdit. Its text can be made
// read-only (the user can still select and copy it); the background is the
// control's Color, the text is drawn in its Font. OnChange follows every
// change of the text, by the user or by the program.

#include <QLineEdit>

#include "platform/controls/win_control.h"

class TEdit : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
  Q_CLASSINFO("default:Text", "''")
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_CLASSINFO("default:MaxLength", "0")
  Q_CLASSINFO("default:TabStop", "True")

 public:
  Q_INVOKABLE explicit TEdit(TComponent* AOwner = nullptr);
  ~TEdit() override;

  QLineEdit* LineEdit() const { return static_cast<QLineEdit*>(Widget()); }

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // Longest text the user can type; 0 = no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }

 protected:
  QString GetText() const override;
  void StoreText(const QString& value) override;
  virtual void Change() { onChange_(this); }

 private:
  bool readOnly_ = false;
  int maxLength_ = 0;
  TNotifyEvent onChange_;
};
