#pragma once
// TLabel: a windowless line of text. With AutoSize it takes the size of its
// caption in its font; unless Transparent it first fills its rectangle with
// its colour (by default the parent's), so it shows as an opaque strip over
// whatever the parent paints beneath it.
//
// With ShowAccelChar an "&" in the caption underlines the character after it
// (the label's accelerator) and is not shown; "&&" shows one "&". Alt and the
// accelerator give the focus to FocusControl, anywhere in the label's window.

#include <QPointer>

#include "platform/controls/graphic_control.h"
#include "platform/controls/win_control.h"

class QShortcut;

class TLabel : public TGraphicControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
  Q_PROPERTY(TWinControl* FocusControl READ FocusControl WRITE SetFocusControl)
  Q_CLASSINFO("default:Caption", "''")
  Q_CLASSINFO("default:AutoSize", "True")
  Q_CLASSINFO("default:Transparent", "False")
  Q_CLASSINFO("default:ShowAccelChar", "True")
  Q_CLASSINFO("default:ParentColor", "True")

 public:
  Q_INVOKABLE explicit TLabel(TComponent* AOwner = nullptr);
  ~TLabel() override;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  // The control that Alt + the accelerator focuses (none: the key does nothing).
  TWinControl* FocusControl() const;
  void SetFocusControl(TWinControl* value);

  // The caption as shown (accelerator marks taken out) and the position of
  // the underlined character in it (-1: none).
  QString DisplayText(int* accelIndex = nullptr) const;
  // The size the caption needs in the label's font (what AutoSize applies).
  QSize TextSize() const;

  void WndProc(TMessage& Message) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  void Paint() override;
  void ParentChanged(TWinControl* oldParent) override;
  // Gives the label the size of its caption when AutoSize is on (not while
  // a form description is read: Loaded does it once everything is set).
  void AdjustBounds();

 private:
  // (Re)binds Alt + accelerator on the parent's window.
  void UpdateShortcut();
  void AccelPressed();

  bool autoSize_ = true;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  // Kept as the component it is: Notification compares it while it is
  // being destroyed.
  TComponent* focusControl_ = nullptr;
  QPointer<QShortcut> shortcut_;
};
