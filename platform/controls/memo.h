#pragma once
// TMemo: a multi-line text box around a QPlainTextEdit. Its contents are
// Lines (one string per line) or Text (the lines joined with "\n"; "\r\n"
// and "\r" are accepted when set). WordWrap breaks long lines at the right
// edge; ScrollBars chooses the scroll bars that are always shown. With
// HideSelection the selection shows only while the memo has the focus.

#include <QPlainTextEdit>
#include <QStringList>

#include "platform/controls/std_control_types.h"
#include "platform/controls/win_control.h"

class TMemo : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
  Q_PROPERTY(QString Text READ Text WRITE SetText STORED false)
  Q_PROPERTY(StdControlTypes::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
  Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
  Q_CLASSINFO("default:Lines", "()")
  Q_CLASSINFO("default:ScrollBars", "ssNone")
  Q_CLASSINFO("default:WordWrap", "True")
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_CLASSINFO("default:HideSelection", "True")
  Q_CLASSINFO("default:TabStop", "True")

 public:
  Q_INVOKABLE explicit TMemo(TComponent* AOwner = nullptr);
  ~TMemo() override;

  QPlainTextEdit* Editor() const { return static_cast<QPlainTextEdit*>(Widget()); }

  // The text split into lines; a final line break does not start another line.
  QStringList Lines() const;
  void SetLines(const QStringList& value);

  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // Whether the selection is shown only while the memo has the focus.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }

 protected:
  QString GetText() const override;
  void StoreText(const QString& value) override;
  // Arrows, characters and Return belong to the text, not to the form.
  intptr_t DefaultDialogCode() const override;
  virtual void Change() { onChange_(this); }
  void ApplyFont() override;
  void ApplyColor() override;

 private:
  void ApplyScrollBars();
  // Unfocused, the editor paints its selection in the inactive colours: with
  // HideSelection those are the plain text colours, so nothing shows.
  void ApplySelectionColors();

  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  TNotifyEvent onChange_;
};
