// A windowed control around a native Qt widget, as the standard widgets are
// built: the widget keeps its own behaviour, the control's messages and
// events come first.

#include <QLineEdit>

#include "platform/controls/keys.h"
#include "tests/platform/controls/controls_fixture.h"

namespace {

using kv::test::ControlsTest;

class LineEdit : public TWinControl {
 public:
  explicit LineEdit(TComponent* owner) : TWinControl(owner, std::make_unique<QLineEdit>()) {
    SetTabStop(true);
    QObject::connect(Edit(), &QLineEdit::textChanged, this,
                     [this] { SafeCall([this] { Perform(CM_TEXTCHANGED); }); });
  }
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(Widget()); }
  int textChanges = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_TEXTCHANGED) ++textChanges;
    TWinControl::WndProc(m);
  }

 protected:
  QString GetText() const override { return Edit()->text(); }
  void StoreText(const QString& value) override { Edit()->setText(value); }
};

TEST_F(ControlsTest, NativeWidgetKeepsItsBehaviourBehindTheControlsHandlers) {
  TForm form(nullptr);
  form.SetClientWidth(200);
  form.SetClientHeight(50);
  auto* edit = new LineEdit(&form);
  edit->SetBounds(8, 8, 120, 21);
  edit->SetParent(&form);
  ASSERT_TRUE(ShowAndActivate(&form));
  QTRY_VERIFY(edit->Focused());

  // Characters pass through KeyPress, which may change them.
  edit->SetOnKeyPress([](TObject*, QChar& ch) {
    if (ch == u'x')
      ch = QChar();
    else
      ch = ch.toUpper();
  });
  QTest::keyClicks(edit->Widget(), QStringLiteral("abxc"));
  EXPECT_EQ(edit->Text(), QStringLiteral("ABC"));
  EXPECT_EQ(edit->textChanges, 3);

  // A native edit keeps its arrow keys: Left moves its cursor, not the focus.
  std::vector<uint16_t> keys;
  edit->SetOnKeyDown([&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); });
  QTest::keyClick(edit->Widget(), Qt::Key_Left);
  QTest::keyClick(edit->Widget(), Qt::Key_Backspace);
  EXPECT_EQ(edit->Text(), QStringLiteral("AC"));
  EXPECT_TRUE(edit->Focused());
  const std::vector<uint16_t> expected = {VK_LEFT, VK_BACK};
  EXPECT_EQ(keys, expected);

  // The mouse reaches the control's events and then the widget.
  int downs = 0;
  edit->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, int x, int) {
    ++downs;
    EXPECT_EQ(x, 2);
  });
  QTest::mouseClick(edit->Widget(), Qt::LeftButton, {}, QPoint(2, 10));
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(edit->Edit()->cursorPosition(), 0);

  // Text set through the control lands in the widget and is reported once.
  edit->SetText(QStringLiteral("100"));
  EXPECT_EQ(edit->Edit()->text(), QStringLiteral("100"));
  // The native widget keeps its own cursor shape unless one is set.
  EXPECT_EQ(edit->Widget()->cursor().shape(), Qt::IBeamCursor);
  edit->SetCursor(-21);
  EXPECT_EQ(edit->Widget()->cursor().shape(), Qt::PointingHandCursor);
  edit->SetCursor(0);
  EXPECT_EQ(edit->Widget()->cursor().shape(), Qt::IBeamCursor);
}

}  // namespace
