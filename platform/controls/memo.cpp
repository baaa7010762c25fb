#include "platform/controls/memo.h"

#include <QApplication>

#include "platform/controls/safe_call.h"

namespace {

QString NormalizeLineBreaks(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

}  // namespace

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner, std::make_unique<QPlainTextEdit>()) {
  SetBounds(0, 0, 185, 89);
  SetTabStop(true);
  QPlainTextEdit* editor = Editor();
  // Tab moves the focus along the form's tab order.
  editor->setTabChangesFocus(true);
  editor->document()->setDocumentMargin(1);
  editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  ApplyScrollBars();
  ApplySelectionColors();
  QObject::connect(editor, &QPlainTextEdit::textChanged, this, [this] { SafeCall([this] { Change(); }); });
}

TMemo::~TMemo() {
  Destroying();
}

QString TMemo::GetText() const {
  return Widget() ? Editor()->toPlainText() : QString();
}

void TMemo::StoreText(const QString& value) {
  if (Widget()) Editor()->setPlainText(NormalizeLineBreaks(value));
}

QStringList TMemo::Lines() const {
  const QString text = GetText();
  if (text.isEmpty()) return QStringList();
  QStringList lines = text.split(u'\n');
  if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

void TMemo::SetLines(const QStringList& value) {
  QStringList lines;
  lines.reserve(value.size());
  // A string holding line breaks becomes several lines.
  for (const QString& line : value) lines.append(NormalizeLineBreaks(line));
  SetText(lines.join(u'\n'));
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  ApplyScrollBars();
}

void TMemo::ApplyScrollBars() {
  if (!Widget()) return;
  const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  Editor()->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  Editor()->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  if (Widget()) Editor()->setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  if (Widget()) Editor()->setReadOnly(value);
}

intptr_t TMemo::DefaultDialogCode() const {
  return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
}

void TMemo::SetHideSelection(bool value) {
  if (hideSelection_ == value) return;
  hideSelection_ = value;
  ApplySelectionColors();
}

void TMemo::ApplyFont() {
  TWinControl::ApplyFont();
  ApplySelectionColors();
}

void TMemo::ApplyColor() {
  TWinControl::ApplyColor();
  ApplySelectionColors();
}

void TMemo::ApplySelectionColors() {
  QWidget* widget = Widget();
  if (!widget) return;
  QPalette palette = widget->palette();
  const QPalette standard = QApplication::palette(widget);
  const bool hide = hideSelection_;
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   hide ? palette.color(QPalette::Active, QPalette::Base)
                        : standard.color(QPalette::Inactive, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   hide ? palette.color(QPalette::Active, QPalette::Text)
                        : standard.color(QPalette::Inactive, QPalette::HighlightedText));
  widget->setPalette(palette);
}
