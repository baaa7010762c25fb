#pragma once
// TComboBox: a list of strings with a text part, around a QComboBox. In the
// csDropDown style (the default) the text part is editable and the list
// drops down; csSimple is edited the same way; csDropDownList only picks.
//
// ItemIndex is the selected item, -1 for none. Picking an item selects it
// and shows its text. Typed text selects the item it equals exactly, case
// included ("4 cyl." selects that item, "4 CYL." selects none); text that
// equals no item leaves ItemIndex at -1. Exact matching is deliberate: a
// program reading ItemIndex must never get an item the user did not spell.

#include <QComboBox>
#include <QStringList>

#include "platform/controls/std_control_types.h"
#include "platform/controls/win_control.h"

class TComboBox : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(StdControlTypes::TComboBoxStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
  Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
  Q_CLASSINFO("default:Style", "csDropDown")
  Q_CLASSINFO("default:ItemHeight", "16")
  Q_CLASSINFO("default:DropDownCount", "8")
  Q_CLASSINFO("default:Items", "()")
  Q_CLASSINFO("default:ItemIndex", "-1")
  Q_CLASSINFO("default:Text", "''")
  Q_CLASSINFO("default:TabStop", "True")

 public:
  Q_INVOKABLE explicit TComboBox(TComponent* AOwner = nullptr);
  ~TComboBox() override;

  QComboBox* Combo() const { return static_cast<QComboBox*>(Widget()); }

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  // Height of one row of the list, in pixels.
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int value);
  // Rows the dropped-down list shows before it scrolls.
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value);

  QStringList Items() const;
  // Replaces the items. The text stays; ItemIndex becomes the item equal to it.
  void SetItems(const QStringList& value);
  int ItemIndex() const;
  // Selects an item and shows its text; -1 (or any index outside the list)
  // selects none and empties the text.
  void SetItemIndex(int value);

  void Loaded() override;

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }

 protected:
  QString GetText() const override;
  void StoreText(const QString& value) override;
  // Raised when the user changes the text or picks an item.
  virtual void Change() { onChange_(this); }
  void ApplyFont() override;

 private:
  void ApplyStyle();
  void ApplyItemHeight();
  // Makes the drop-down list wide enough for its widest item, so that long
  // items show whole instead of losing their middle.
  void ApplyListWidth();
  // Selects `index` in the native list without touching the text part.
  void SelectKeepingText(int index);
  // Makes the selection the item equal to the current text (or none).
  void MatchTextToItem();
  void TextEdited();

  TComboBoxStyle style_ = csDropDown;
  int itemHeight_ = 16;
  int dropDownCount_ = 8;
  // ItemIndex read from a form description, applied in Loaded once the
  // items are known.
  int pendingIndex_ = -2;
  TNotifyEvent onChange_;
};
