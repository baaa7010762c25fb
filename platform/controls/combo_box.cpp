#include "platform/controls/combo_box.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <utility>

#include "platform/controls/safe_call.h"

namespace {

// Gives every row of the drop-down list the combo box's ItemHeight while
// another delegate paints the rows.
class ItemHeightDelegate : public QAbstractItemDelegate {
 public:
  ItemHeightDelegate(QAbstractItemDelegate* inner, QObject* parent)
      : QAbstractItemDelegate(parent), inner_(inner) {}
  void SetHeight(int height) { height_ = height; }
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (inner_) inner_->paint(painter, option, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = inner_ ? inner_->sizeHint(option, index) : QSize();
    size.setHeight(height_);
    return size;
  }

 private:
  QPointer<QAbstractItemDelegate> inner_;
  int height_ = 16;
};

}  // namespace

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner, std::make_unique<QComboBox>()) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  QComboBox* combo = Combo();
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMaxVisibleItems(dropDownCount_);
  // Rows painted as list items: a style's menu-like rows would size from the
  // menu's metrics and elide long items in their middle.
  combo->setItemDelegate(new ItemHeightDelegate(new QStyledItemDelegate(combo), combo));
  combo->view()->setTextElideMode(Qt::ElideNone);
  ApplyItemHeight();
  ApplyStyle();
  // Picking from the list or stepping with the arrow keys.
  QObject::connect(combo, &QComboBox::activated, this, [this] { SafeCall([this] { Change(); }); });
}

TComboBox::~TComboBox() {
  Destroying();
}

void TComboBox::ApplyStyle() {
  QComboBox* combo = Combo();
  if (!combo) return;
  const bool editable = style_ != csDropDownList;
  const QString text = GetText();
  combo->setEditable(editable);
  if (!editable) {
    MatchTextToItem();
    return;
  }
  QLineEdit* edit = combo->lineEdit();
  // No inline completion: the text is what the user typed. A case-sensitive
  // completer with nothing to offer also makes the native box match typed
  // text to items exactly (case included) when editing ends.
  auto* completer = new QCompleter(new QStringListModel(edit), edit);
  completer->setCaseSensitivity(Qt::CaseSensitive);
  combo->setCompleter(completer);
  QObject::connect(edit, &QLineEdit::textEdited, this, [this] { SafeCall([this] { TextEdited(); }); });
  if (edit->text() != text) {
    edit->setText(text);
    MatchTextToItem();
  }
}

void TComboBox::SetStyle(TComboBoxStyle value) {
  if (style_ == value) return;
  style_ = value;
  ApplyStyle();
}

void TComboBox::SetItemHeight(int value) {
  if (value < 1) value = 1;
  if (itemHeight_ == value) return;
  itemHeight_ = value;
  ApplyItemHeight();
}

void TComboBox::ApplyItemHeight() {
  if (!Combo()) return;
  if (auto* delegate = dynamic_cast<ItemHeightDelegate*>(Combo()->itemDelegate()))
    delegate->SetHeight(itemHeight_);
}

void TComboBox::SetDropDownCount(int value) {
  if (value < 1) value = 1;
  if (dropDownCount_ == value) return;
  dropDownCount_ = value;
  if (Combo()) Combo()->setMaxVisibleItems(value);
  ApplyListWidth();
}

QStringList TComboBox::Items() const {
  QStringList items;
  if (!Combo()) return items;
  items.reserve(Combo()->count());
  for (int i = 0; i < Combo()->count(); ++i) items.append(Combo()->itemText(i));
  return items;
}

void TComboBox::SetItems(const QStringList& value) {
  QComboBox* combo = Combo();
  if (!combo || value == Items()) return;
  const QString text = GetText();
  {
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(value);
  }
  // Qt selects the first item of a list that was empty; keep the text instead.
  if (style_ != csDropDownList) {
    const QSignalBlocker blocker(combo->lineEdit());
    combo->lineEdit()->setText(text);
    combo->lineEdit()->home(false);
  }
  const int match = value.indexOf(text);
  SelectKeepingText(match);
  ApplyListWidth();
}

void TComboBox::ApplyFont() {
  TWinControl::ApplyFont();
  ApplyListWidth();
}

void TComboBox::ApplyListWidth() {
  QComboBox* combo = Combo();
  if (!combo) return;
  QAbstractItemView* view = combo->view();
  int width = view->sizeHintForColumn(0) + 2 * view->frameWidth();
  if (combo->count() > combo->maxVisibleItems())
    width += view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
  view->setMinimumWidth(width);
}

int TComboBox::ItemIndex() const {
  if (pendingIndex_ != -2) return pendingIndex_;
  return Combo() ? Combo()->currentIndex() : -1;
}

void TComboBox::SetItemIndex(int value) {
  if (ComponentState() & csLoading) {
    pendingIndex_ = value;
    return;
  }
  QComboBox* combo = Combo();
  if (!combo) return;
  if (value < 0 || value >= combo->count()) value = -1;
  if (value == combo->currentIndex() && (value >= 0 || GetText().isEmpty())) return;
  combo->setCurrentIndex(value);
  if (QLineEdit* edit = combo->lineEdit()) {
    // Qt leaves the text of an editable box when nothing is selected.
    if (value < 0) edit->clear();
    // Text set by the program shows from its start.
    edit->home(false);
  }
}

void TComboBox::Loaded() {
  TWinControl::Loaded();
  if (pendingIndex_ != -2) {
    const int index = std::exchange(pendingIndex_, -2);
    SetItemIndex(index);
  }
}

QString TComboBox::GetText() const {
  if (!Combo()) return QString();
  if (QLineEdit* edit = Combo()->lineEdit()) return edit->text();
  return Combo()->currentText();
}

void TComboBox::StoreText(const QString& value) {
  QComboBox* combo = Combo();
  if (!combo) return;
  if (QLineEdit* edit = combo->lineEdit()) {
    edit->setText(value);
    if (pendingIndex_ == -2) MatchTextToItem();
    edit->home(false);
  } else {
    // A pick-only list can show nothing but one of its items.
    combo->setCurrentIndex(Items().indexOf(value));
  }
}

void TComboBox::SelectKeepingText(int index) {
  QComboBox* combo = Combo();
  if (!combo || combo->currentIndex() == index) return;
  QLineEdit* edit = combo->lineEdit();
  if (!edit) {
    combo->setCurrentIndex(index);
    return;
  }
  // Selecting rewrites the text part with the item's text (nothing for -1):
  // put the typed text, cursor and selection back as they were.
  const QString text = edit->text();
  const int cursor = edit->cursorPosition();
  const int selStart = edit->selectionStart();
  const int selLength = edit->selectedText().size();
  {
    const QSignalBlocker blocker(edit);
    combo->setCurrentIndex(index);
    if (edit->text() != text) edit->setText(text);
    if (selStart >= 0 && selLength > 0) {
      // Keep the cursor at the end of the selection where it was.
      if (cursor == selStart)
        edit->setSelection(selStart + selLength, -selLength);
      else
        edit->setSelection(selStart, selLength);
    } else {
      edit->setCursorPosition(cursor);
    }
  }
}

void TComboBox::MatchTextToItem() {
  if (!Combo()) return;
  SelectKeepingText(Items().indexOf(GetText()));
}

void TComboBox::TextEdited() {
  MatchTextToItem();
  Perform(CM_TEXTCHANGED);
  Change();
}
