#include "platform/controls/label.h"

#include <QFontMetrics>

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 13);
  SetParentColor(true);
}

TLabel::~TLabel() {
  Destroying();
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

QSize TLabel::TextSize() const {
  // The same metrics the canvas draws with.
  const QFontMetrics metrics(Font()->ToQFont());
  return QSize(metrics.horizontalAdvance(Caption()), metrics.height());
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
  canvas->TextOut(0, 0, Caption());
}
