#pragma once
// TButton: a push button around a QPushButton. A click with the mouse, or
// Space while it has the focus, raises OnClick once. A focused button shows
// a dotted focus rectangle inside its border.

#include <QPushButton>

#include "platform/controls/win_control.h"

class TButton : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_CLASSINFO("default:Caption", "''")
  Q_CLASSINFO("default:TabStop", "True")
  Q_CLASSINFO("default:Color", "clBtnFace")

 public:
  Q_INVOKABLE explicit TButton(TComponent* AOwner = nullptr);
  ~TButton() override;

  QPushButton* PushButton() const { return static_cast<QPushButton*>(Widget()); }

 protected:
  QString GetText() const override;
  void StoreText(const QString& value) override;
  // The focus rectangle over the native button while it has the focus.
  void PaintWindow(QPainter& painter) override;
};
