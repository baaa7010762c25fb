#include "platform/controls/form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWindow>

#include "platform/controls/application.h"
#include "platform/controls/keys.h"
#include "platform/controls/safe_call.h"

namespace {
void RegisterFormEvents() {
  static const bool registered = [] {
    RegisterEventType<TCloseEvent>();
    RegisterEventType<TCloseQueryEvent>();
    return true;
  }();
  (void)registered;
}

bool IsFixedSize(TFormBorderStyle style) {
  return style != bsSizeable && style != bsSizeToolWin;
}
}  // namespace

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner, std::make_unique<QWidget>(nullptr, Qt::Window)) {
  RegisterFormEvents();
  plainWidget_ = true;
  // The form fills its background itself (TWinControl::PaintEvent).
  widget_->setAttribute(Qt::WA_OpaquePaintEvent);
  // Drops of the controls' own drags onto the form and its windowless controls.
  widget_->setAcceptDrops(true);
  nativeFocusPolicy_ = Qt::NoFocus;
  ApplyTabStop();
  SetVisible(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  ApplyWindowFlags();
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  Destroying();
  SafeCall([this] { onDestroy_(this); });
  if (widget_) widget_->hide();
}

// --- Geometry ---------------------------------------------------------------------

QMargins TForm::FrameMargins() const {
  if (Parent() || !widget_ || !widget_->windowHandle()) return QMargins();
  return widget_->windowHandle()->frameMargins();
}

TRect TForm::ClientRect() const {
  if (Parent()) return TWinControl::ClientRect();
  return Rect(0, 0, clientWidth_, clientHeight_);
}

void TForm::SetClientWidth(int value) {
  const QMargins m = FrameMargins();
  SetBounds(Left(), Top(), SaturatedInt32(int64_t(value) + m.left() + m.right()), Height());
}

void TForm::SetClientHeight(int value) {
  const QMargins m = FrameMargins();
  SetBounds(Left(), Top(), Width(), SaturatedInt32(int64_t(value) + m.top() + m.bottom()));
}

void TForm::BoundsChanged(const TRect& oldBounds) {
  if (Parent()) {
    TWinControl::BoundsChanged(oldBounds);
    return;
  }
  // Left/Top/Width/Height are the outer geometry; the client area is what
  // the frame leaves.
  const QMargins m = FrameMargins();
  const int oldClientWidth = clientWidth_;
  const int oldClientHeight = clientHeight_;
  clientWidth_ = int(std::max<int64_t>(0, int64_t(Width()) - m.left() - m.right()));
  clientHeight_ = int(std::max<int64_t>(0, int64_t(Height()) - m.top() - m.bottom()));
  ApplyClientSize();
  {
    QScopedValueRollback<bool> guard(applyingGeometry_, true);
    widget_->move(QtCoord(Left()), QtCoord(Top()));
  }
  if (oldClientWidth != clientWidth_ || oldClientHeight != clientHeight_) {
    Realign();
    Perform(WM_SIZE, SIZE_RESTORED, MakeLong(uint16_t(clientWidth_), uint16_t(clientHeight_)));
  }
}

void TForm::ApplyClientSize() {
  if (!widget_ || Parent()) return;
  QScopedValueRollback<bool> guard(applyingGeometry_, true);
  // No screen shows a window larger than this, and the window's backing
  // store would need that many pixels: a larger client area is cut to it.
  constexpr int kMaxWindowSide = 8192;
  const QSize size(std::min(clientWidth_, kMaxWindowSide), std::min(clientHeight_, kMaxWindowSide));
  if (IsFixedSize(borderStyle_)) {
    widget_->setFixedSize(size);
  } else {
    widget_->setMinimumSize(0, 0);
    widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    widget_->resize(size);
  }
}

void TForm::SetPosition(TPosition value) {
  if (position_ == value) return;
  position_ = value;
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  ApplyWindowFlags();
  ApplyClientSize();
}

void TForm::SetBorderIcons(TBorderIcons value) {
  if (borderIcons_ == value) return;
  borderIcons_ = value;
  ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
  if (!widget_ || Parent()) return;
  const bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
  Qt::WindowFlags flags = tool ? Qt::Tool : Qt::Window;
  if (borderStyle_ == bsNone) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderIcons_ & biSystemMenu) {
      flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      // Dialog and tool windows have no minimise or maximise buttons.
      if (borderStyle_ != bsDialog && !tool) {
        if (borderIcons_ & biMinimize) flags |= Qt::WindowMinimizeButtonHint;
        if (borderIcons_ & biMaximize) flags |= Qt::WindowMaximizeButtonHint;
      }
      if ((borderIcons_ & biHelp) &&
          (borderStyle_ == bsDialog || !(borderIcons_ & (biMinimize | biMaximize))))
        flags |= Qt::WindowContextHelpButtonHint;
    }
  }
  if (widget_->windowFlags() == flags) return;
  const bool wasVisible = widget_->isVisible();
  widget_->setWindowFlags(flags);
  if (wasVisible) widget_->show();
}

void TForm::PlaceOnScreen() {
  QRect area;
  auto centreOn = [&](const QRect& r) {
    const QMargins m = FrameMargins();
    const int w = SaturatedInt32(int64_t(clientWidth_) + m.left() + m.right());
    const int h = SaturatedInt32(int64_t(clientHeight_) + m.top() + m.bottom());
    SetBounds(r.x() + (r.width() - w) / 2, r.y() + (r.height() - h) / 2, w, h);
  };
  QScreen* screen = QGuiApplication::primaryScreen();
  switch (position_) {
    case poScreenCenter:
      if (screen) centreOn(screen->geometry());
      break;
    case poDesktopCenter:
      if (screen) centreOn(screen->virtualGeometry());
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TForm* over = position_ == poMainFormCenter ? (Application ? Application->MainForm() : nullptr)
                                                  : qobject_cast<TForm*>(Owner());
      if (over && over != this && over->Showing())
        centreOn(over->BoundsRect().toQRect());
      else if (screen)
        centreOn(screen->geometry());
      break;
    }
    default: {
      // Designed (and default) positions keep Left and Top; now that the
      // frame is known, the window is put there again with its client size.
      const QMargins m = FrameMargins();
      SetBounds(Left(), Top(), SaturatedInt32(int64_t(clientWidth_) + m.left() + m.right()),
                SaturatedInt32(int64_t(clientHeight_) + m.top() + m.bottom()));
      QScopedValueRollback<bool> guard(applyingGeometry_, true);
      widget_->move(QtCoord(Left()), QtCoord(Top()));
      break;
    }
  }
}

// --- Showing and closing --------------------------------------------------------------

bool TForm::Showing() const {
  return widget_ && widget_->isVisible();
}

void TForm::Show() {
  SetVisible(true);
  if (widget_ && widget_->isVisible() && !Parent()) {
    if (TApplication::DisplayAvailable()) widget_->raise();
    widget_->activateWindow();
  }
}

void TForm::VisibleChanged() {
  if (Parent()) {
    TWinControl::VisibleChanged();
    return;
  }
  if (!widget_ || (ComponentState() & csLoading)) return;
  if (Visible()) {
    if (widget_->isVisible()) return;
    DoShow();
    if (!Visible()) return;  // OnShow hid it again
    // Creating the native window first makes the frame size known for centring.
    widget_->winId();
    if (!placed_) {
      placed_ = true;
      PlaceOnScreen();
    }
    widget_->show();
    FocusFirstControl();
  } else {
    if (!widget_->isVisible()) return;
    DoHide();
    widget_->hide();
  }
}

void TForm::FocusFirstControl() {
  TWinControl* target = activeControl_.data();
  if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true);
  if (!target) target = FindNextControl(nullptr, true, false);
  if (!target || !target->Widget()) return;
  activeControl_ = target;
  target->Widget()->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm::Loaded() {
  TWinControl::Loaded();
  if (scaled_ && !Parent()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const int dpi = qRound(screen->logicalDotsPerInch());
      if (pixelsPerInch_ > 0 && dpi != pixelsPerInch_) {
        ScaleBy(dpi, pixelsPerInch_);
        if (!ParentFont()) Font()->SetHeight(SaturatedInt32(int64_t(Font()->Height()) * dpi / pixelsPerInch_));
        const int w = SaturatedInt32(int64_t(clientWidth_) * dpi / pixelsPerInch_);
        const int h = SaturatedInt32(int64_t(clientHeight_) * dpi / pixelsPerInch_);
        SetClientWidth(w);
        SetClientHeight(h);
        pixelsPerInch_ = dpi;
      }
    }
  }
  if (Visible()) VisibleChanged();
}

bool TForm::CloseQuery() {
  bool canClose = true;
  onCloseQuery_(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (closing_) return;
  closing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{closing_};
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide:
      SetVisible(false);
      break;
    case caMinimize:
      if (widget_) widget_->showMinimized();
      break;
    case caFree:
      Release();
      break;
    default:
      break;
  }
}

void TForm::Release() {
  if (widget_) widget_->hide();
  deleteLater();
}

void TForm::AfterConstruction() {
  onCreate_(this);
}

// --- Focus ------------------------------------------------------------------------------

void TForm::SetActiveControl(TWinControl* control) {
  if (control == this) control = nullptr;
  if (control && !(ComponentState() & csLoading)) {
    if (GetParentForm(control) != this || !control->CanFocus())
      throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
  }
  activeControl_ = control;
  if (control && control->Widget() && widget_ && widget_->isVisible() && !(ComponentState() & csLoading))
    control->Widget()->setFocus(Qt::OtherFocusReason);
}

void TForm::FocusChanged(TWinControl* control) {
  activeControl_ = control;
  if (enteredControl_ == control) return;
  QPointer<TWinControl> previous = enteredControl_;
  enteredControl_ = control;
  if (previous) previous->Perform(CM_EXIT);
  if (control && enteredControl_ == control) control->Perform(CM_ENTER);
}

void TForm::ControlDestroyed(TWinControl* control) {
  if (activeControl_ == control) activeControl_ = nullptr;
  if (enteredControl_ == control) enteredControl_ = nullptr;
}

// --- Messages and events ---------------------------------------------------------------

void TForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      if (widget_) widget_->setWindowTitle(Text());
      break;
    case CM_DIALOGKEY: {
      const auto key = uint16_t(Message.WParam);
      const TShiftState shift = TShiftState::fromInt(int(Message.LParam));
      if (shift & (ssCtrl | ssAlt)) break;
      if (key == VK_TAB) {
        SelectNext(activeControl_.data(), !(shift & ssShift), true);
        Message.Result = 1;
        return;
      }
      if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
        if (activeControl_) {
          SelectNext(activeControl_.data(), key == VK_RIGHT || key == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      }
      break;
    }
    default:
      break;
  }
  TWinControl::WndProc(Message);
}

void TForm::ParentChanged(TWinControl* oldParent) {
  TWinControl::ParentChanged(oldParent);
  if (!Parent()) {
    ApplyWindowFlags();
    ApplyClientSize();
  }
}

bool TForm::WidgetEvent(QWidget* target, QEvent* event) {
  if (target == widget_ && !Parent()) {
    switch (event->type()) {
      case QEvent::Close:
        // The window's close button: the form decides (OnCloseQuery, OnClose).
        event->ignore();
        Close();
        return true;
      case QEvent::Resize:
      case QEvent::Move: {
        // Take the geometry the window system gave (a user resize, the frame
        // appearing); the client size follows from it.
        if (applyingGeometry_) return false;
        const QRect frame = widget_->frameGeometry();
        UpdateBounds(frame.x(), frame.y(), frame.width(), frame.height());
        return false;
      }
      default:
        break;
    }
  }
  return TWinControl::WidgetEvent(target, event);
}
