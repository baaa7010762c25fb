#pragma once
// TForm: a top-level window. Its client area is exactly ClientWidth x
// ClientHeight; Left/Top/Width/Height are the outer (frame) geometry. The form
// keeps track of its active control (the one that has or will get the focus),
// raises CM_EXIT/CM_ENTER when the focus moves between controls, and handles
// the dialog keys that a focused control does not want (Tab moves along the
// tab order, arrow keys to the next or previous control).

#include <QPointer>

#include "platform/controls/win_control.h"

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

class TForm : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
  Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
  Q_PROPERTY(ControlTypes::TPosition Position READ Position WRITE SetPosition)
  Q_PROPERTY(ControlTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_PROPERTY(ControlTypes::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
  Q_PROPERTY(bool Scaled READ Scaled WRITE SetScaled)
  Q_PROPERTY(int PixelsPerInch READ PixelsPerInch WRITE SetPixelsPerInch)
  Q_PROPERTY(TWinControl* ActiveControl READ ActiveControl WRITE SetActiveControl)
  Q_PROPERTY(TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
  Q_PROPERTY(TNotifyEvent OnShow READ OnShow WRITE SetOnShow)
  Q_PROPERTY(TNotifyEvent OnHide READ OnHide WRITE SetOnHide)
  Q_PROPERTY(TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)
  Q_PROPERTY(TCloseEvent OnClose READ OnClose WRITE SetOnClose)
  Q_PROPERTY(TCloseQueryEvent OnCloseQuery READ OnCloseQuery WRITE SetOnCloseQuery)
  Q_CLASSINFO("default:Color", "clBtnFace")
  Q_CLASSINFO("default:Visible", "False")
  Q_CLASSINFO("default:ParentFont", "False")
  Q_CLASSINFO("default:Position", "poDesigned")
  Q_CLASSINFO("default:BorderStyle", "bsSizeable")
  Q_CLASSINFO("default:BorderIcons", "[biSystemMenu,biMinimize,biMaximize]")
  Q_CLASSINFO("default:Scaled", "True")
  Q_CLASSINFO("default:PixelsPerInch", "96")
  // A form is described by its client size; the outer size follows from the frame.
  Q_CLASSINFO("stored:Width", "IsOuterSizeStored")
  Q_CLASSINFO("stored:Height", "IsOuterSizeStored")

 public:
  Q_INVOKABLE explicit TForm(TComponent* AOwner = nullptr);
  ~TForm() override;

  void SetClientWidth(int value) override;
  void SetClientHeight(int value) override;
  TRect ClientRect() const override;
  Q_INVOKABLE bool IsOuterSizeStored() const { return Parent() != nullptr; }

  TPosition Position() const { return position_; }
  void SetPosition(TPosition value);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  // Scaled forms are scaled by the screen's dots per inch over PixelsPerInch
  // when loaded; unscaled forms keep every position in pixels.
  bool Scaled() const { return scaled_; }
  void SetScaled(bool value) { scaled_ = value; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }

  // The control that has the focus, or gets it when the form is shown.
  TWinControl* ActiveControl() const { return activeControl_.data(); }
  void SetActiveControl(TWinControl* control);
  // Records that `control` received the focus: CM_EXIT to the previous
  // control, CM_ENTER to the new one.
  void FocusChanged(TWinControl* control);
  // Forgets a control that is being destroyed (active and entered control).
  void ControlDestroyed(TWinControl* control);

  // Shows the form (positioned as Position says) and activates it; the
  // ActiveControl, else the first control in tab order, gets the focus.
  void Show();
  // Asks OnCloseQuery, then OnClose; hides the form (or frees it later, for
  // caFree). Closing the application's main form terminates the application.
  void Close();
  bool CloseQuery();
  // Frees the form once the events being handled now are finished.
  void Release();
  // Raises OnCreate; the application calls it after constructing a form.
  virtual void AfterConstruction();

  void WndProc(TMessage& Message) override;
  void Loaded() override;
  bool Showing() const override;

  const TNotifyEvent& OnCreate() const { return onCreate_; }
  void SetOnCreate(const TNotifyEvent& value) { onCreate_ = value; }
  const TNotifyEvent& OnShow() const { return onShow_; }
  void SetOnShow(const TNotifyEvent& value) { onShow_ = value; }
  const TNotifyEvent& OnHide() const { return onHide_; }
  void SetOnHide(const TNotifyEvent& value) { onHide_ = value; }
  const TNotifyEvent& OnDestroy() const { return onDestroy_; }
  void SetOnDestroy(const TNotifyEvent& value) { onDestroy_ = value; }
  const TCloseEvent& OnClose() const { return onClose_; }
  void SetOnClose(const TCloseEvent& value) { onClose_ = value; }
  const TCloseQueryEvent& OnCloseQuery() const { return onCloseQuery_; }
  void SetOnCloseQuery(const TCloseQueryEvent& value) { onCloseQuery_ = value; }

 protected:
  void BoundsChanged(const TRect& oldBounds) override;
  void VisibleChanged() override;
  void ParentChanged(TWinControl* oldParent) override;
  bool WidgetEvent(QWidget* target, QEvent* event) override;
  virtual void DoShow() { onShow_(this); }
  virtual void DoHide() { onHide_(this); }
  virtual void DoClose(TCloseAction& Action) { onClose_(this, Action); }

 private:
  void ApplyWindowFlags();
  void ApplyClientSize();
  void PlaceOnScreen();
  void FocusFirstControl();
  QMargins FrameMargins() const;

  int clientWidth_ = 0;
  int clientHeight_ = 0;
  TPosition position_ = poDesigned;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = TBorderIcons(biSystemMenu) | biMinimize | biMaximize;
  bool scaled_ = true;
  int pixelsPerInch_ = 96;
  QPointer<TWinControl> activeControl_;
  QPointer<TWinControl> enteredControl_;  // the control that got CM_ENTER last
  bool closing_ = false;
  bool placed_ = false;  // Position was applied at the first showing

  TNotifyEvent onCreate_;
  TNotifyEvent onShow_;
  TNotifyEvent onHide_;
  TNotifyEvent onDestroy_;
  TCloseEvent onClose_;
  TCloseQueryEvent onCloseQuery_;
};

Q_DECLARE_METATYPE(TCloseEvent)
Q_DECLARE_METATYPE(TCloseQueryEvent)
