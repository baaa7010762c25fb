#include "platform/controls/label.h"

#include <QFontMetrics>
#include <QKeySequence>
#include <QShortcut>
#include <algorithm>

#include "platform/controls/safe_call.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 13);
  SetParentColor(true);
}

TLabel::~TLabel() {
  Destroying();
  delete shortcut_.data();
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
}

void TLabel::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  if (showAccelChar_ == value) return;
  showAccelChar_ = value;
  UpdateShortcut();
  AdjustBounds();
  Invalidate();
}

TWinControl* TLabel::FocusControl() const {
  return static_cast<TWinControl*>(focusControl_);
}

void TLabel::SetFocusControl(TWinControl* value) {
  if (FocusControl() == value) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == focusControl_) focusControl_ = nullptr;
}

QString TLabel::DisplayText(int* accelIndex) const {
  const QString caption = Caption();
  if (accelIndex) *accelIndex = -1;
  if (!showAccelChar_) return caption;
  QString text;
  text.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    // "&x" marks x; "&&" is one "&"; a final "&" has nothing to mark and shows.
    if (caption[i] == u'&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != u'&' && accelIndex && *accelIndex < 0) *accelIndex = int(text.size());
    }
    text.append(caption[i]);
  }
  return text;
}

QSize TLabel::TextSize() const {
  // The same metrics the canvas draws with.
  const QFontMetrics metrics(Font()->ToQFont());
  return QSize(metrics.horizontalAdvance(DisplayText()), metrics.height());
}

void TLabel::UpdateShortcut() {
  delete shortcut_.data();
  int accel = -1;
  const QString text = DisplayText(&accel);
  TWinControl* parent = Parent();
  if (accel < 0 || !parent || !parent->Widget() || (ComponentState() & csDestroying)) return;
  shortcut_ = new QShortcut(QKeySequence::mnemonic(QStringLiteral("&") + text.at(accel)), parent->Widget());
  shortcut_->setContext(Qt::WindowShortcut);
  // Two labels with the same accelerator take turns, one per key press.
  QObject::connect(shortcut_, &QShortcut::activated, this, [this] { SafeCall([this] { AccelPressed(); }); });
  QObject::connect(shortcut_, &QShortcut::activatedAmbiguously, this,
                   [this] { SafeCall([this] { AccelPressed(); }); });
}

void TLabel::AccelPressed() {
  TWinControl* target = FocusControl();
  if (target && Visible() && Enabled() && target->CanFocus()) target->SetFocus();
}

void TLabel::ParentChanged(TWinControl* oldParent) {
  TGraphicControl::ParentChanged(oldParent);
  UpdateShortcut();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || (ComponentState() & (csLoading | csDestroying))) return;
  const QSize size = TextSize();
  SetBounds(Left(), Top(), size.width(), size.height());
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::WndProc(TMessage& Message) {
  TGraphicControl::WndProc(Message);
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      UpdateShortcut();
      AdjustBounds();
      Invalidate();
      break;
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      break;
    default:
      break;
  }
}

void TLabel::Paint() {
  TCanvas* canvas = Canvas();
  if (!transparent_) {
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(Font());
  // A disabled label shows its text greyed, as the platform does for text
  // that cannot be used.
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  canvas->SetTextAlign(TA_LEFT | TA_TOP);
  int accel = -1;
  const QString text = DisplayText(&accel);
  canvas->TextOut(0, 0, text);
  if (accel < 0) return;
  // The accelerator's underline: one line of the text colour under its
  // character, where the font puts underlines (kept inside the label).
  const QFontMetrics metrics(canvas->Font()->ToQFont());
  const int x = metrics.horizontalAdvance(text.left(accel));
  const int width = metrics.horizontalAdvance(text.mid(accel, 1));
  const int y = std::min(metrics.ascent() + std::max(1, metrics.underlinePos()), Height() - 1);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(canvas->Font()->Color());
  canvas->FillRect(TRect(x, y, x + width, y + std::max(1, metrics.lineWidth())));
}
