// What a user sees of the focus and of accelerators: selections and scrolled
// texts when the focus leaves, long items in a drop-down list, label
// accelerators (underline and Alt + letter).

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <initializer_list>

#include "platform/controls/combo_box.h"
#include "platform/controls/edit.h"
#include "platform/controls/label.h"
#include "platform/controls/memo.h"
#include "platform/graphics/colors.h"
#include "tests/platform/controls/controls_fixture.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::ControlsTest;

class FocusAndAccelTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(240);
    form->SetClientHeight(160);
  }
  void TearDown() override {
    form.reset();
    ControlsTest::TearDown();
  }
  template <typename T>
  T* Place(TRect bounds) {
    auto* control = new T(form.get());
    control->SetParent(form.get());
    control->SetBoundsRect(bounds);
    return control;
  }
  void ShowForm() { ASSERT_TRUE(ShowAndActivate(form.get())); }
  QImage Shot(const TControl* control) const {
    QApplication::processEvents();
    return form->Widget()->grab().toImage().copy(control->BoundsRect().toQRect());
  }

  std::unique_ptr<TForm> form;
};

int CountColor(const QImage& image, QRgb color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == color) ++count;
  return count;
}

// --- Focus leaving -------------------------------------------------------------------

TEST_F(FocusAndAccelTest, MemoSelectionShowsOnlyWhileFocusedUnlessAskedToStay) {
  auto* memo = Place<TMemo>(Bounds(8, 8, 200, 60));
  auto* other = Place<TEdit>(Bounds(8, 100, 100, 21));
  memo->SetText(QStringLiteral("selected words in the memo"));
  ShowForm();
  const QRgb highlight = memo->Editor()->palette().color(QPalette::Active, QPalette::Highlight).rgb();
  for (const bool hide : {true, false}) {
    SCOPED_TRACE(hide ? "HideSelection" : "no HideSelection");
    memo->SetHideSelection(hide);
    memo->SetFocus();
    memo->Editor()->selectAll();
    EXPECT_GT(CountColor(Shot(memo), highlight), 50);
    other->SetFocus();
    const QImage left = Shot(memo);
    const QRgb inactive = memo->Editor()->palette().color(QPalette::Inactive, QPalette::Highlight).rgb();
    if (hide) {
      EXPECT_EQ(CountColor(left, highlight), 0);
      EXPECT_EQ(CountColor(left, inactive), CountColor(left, ToQColor(memo->Color()).rgb()));
    } else {
      EXPECT_GT(CountColor(left, inactive), 50);
    }
    // The selection itself is kept.
    EXPECT_TRUE(memo->Editor()->textCursor().hasSelection());
  }
  // A new colour keeps the hidden selection invisible on it.
  memo->SetHideSelection(true);
  memo->SetColor(clYellow);
  EXPECT_EQ(memo->Editor()->palette().color(QPalette::Inactive, QPalette::Highlight), QColor(255, 255, 0));
}

TEST_F(FocusAndAccelTest, FieldsShowTheStartOfTheirTextOnceTheFocusLeaves) {
  const QString text = QStringLiteral("a text much longer than the field is wide, to the end");
  auto* edit = Place<TEdit>(Bounds(8, 8, 80, 21));
  auto* combo = Place<TComboBox>(Bounds(8, 40, 80, 21));
  auto* other = Place<TEdit>(Bounds(8, 100, 80, 21));
  ShowForm();
  for (TWinControl* field : std::initializer_list<TWinControl*>{edit, combo}) {
    SCOPED_TRACE(field->ClassName().toStdString());
    other->SetFocus();
    field->SetText(text);
    const QImage asSet = Shot(field);
    field->SetFocus();
    QTest::keyClick(field->Widget(), Qt::Key_End);
    EXPECT_NE(Shot(field), asSet);  // scrolled to the end while typing there
    other->SetFocus();
    const QImage left = Shot(field);
    EXPECT_EQ(left, asSet);
    if (left != asSet) {
      kv::test::savePng(left, QStringLiteral("focus_left_%1").arg(field->ClassName()));
      kv::test::savePng(asSet, QStringLiteral("focus_asset_%1").arg(field->ClassName()));
    }
    EXPECT_EQ(field->Text(), text);
  }
}

TEST_F(FocusAndAccelTest, DropDownListIsWideEnoughForItsLongestItem) {
  auto* combo = Place<TComboBox>(Bounds(8, 8, 60, 21));
  const QString longest = QStringLiteral("nazwa88888888888888888888888");
  combo->SetItems({QStringLiteral("short"), longest, QStringLiteral("nazwa777")});
  ShowForm();
  combo->Combo()->showPopup();
  QApplication::processEvents();
  QAbstractItemView* view = combo->Combo()->view();
  ASSERT_TRUE(view->isVisible());
  const int needed = view->fontMetrics().horizontalAdvance(longest);
  EXPECT_GE(view->viewport()->width(), needed);
  EXPECT_EQ(view->textElideMode(), Qt::ElideNone);
  combo->Combo()->hidePopup();
}

// --- Label accelerators ----------------------------------------------------------------

TEST_F(FocusAndAccelTest, LabelCaptionMarksAndShowsItsAccelerator) {
  struct Case {
    const char* caption;
    bool showAccel;
    const char* shown;
    int accel;
  };
  const Case cases[] = {
      {"&Name:", true, "Name:", 0},    {"Save &as", true, "Save as", 5},
      {"A&&B", true, "A&B", -1},       {"&&&x", true, "&x", 1},
      {"end&", true, "end&", -1},      {"&one &two", true, "one two", 0},
      {"&Name:", false, "&Name:", -1}, {"", true, "", -1},
  };
  auto* label = Place<TLabel>(Bounds(8, 8, 100, 13));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    label->SetShowAccelChar(c.showAccel);
    label->SetCaption(QString::fromUtf8(c.caption));
    int accel = -2;
    EXPECT_EQ(label->DisplayText(&accel), QString::fromUtf8(c.shown));
    EXPECT_EQ(accel, c.accel);
    // AutoSize measures what is shown.
    EXPECT_EQ(label->Width(),
              QFontMetrics(label->Font()->ToQFont()).horizontalAdvance(QString::fromUtf8(c.shown)));
  }
}

TEST_F(FocusAndAccelTest, AcceleratorIsUnderlinedUnderItsCharacterOnly) {
  auto* marked = Place<TLabel>(Bounds(8, 8, 100, 13));
  auto* plain = Place<TLabel>(Bounds(8, 40, 100, 13));
  marked->SetCaption(QStringLiteral("Na&me"));
  plain->SetCaption(QStringLiteral("Name"));
  ShowForm();
  const QImage withMark = Shot(marked);
  const QImage without = Shot(plain);
  ASSERT_EQ(withMark.size(), without.size());
  const QFontMetrics metrics(marked->Font()->ToQFont());
  const int left = metrics.horizontalAdvance(QStringLiteral("Na"));
  const int right = left + metrics.horizontalAdvance(QStringLiteral("m"));
  int inside = 0, outside = 0;
  for (int y = 0; y < withMark.height(); ++y)
    for (int x = 0; x < withMark.width(); ++x)
      if (withMark.pixel(x, y) != without.pixel(x, y)) ++(x >= left && x < right ? inside : outside);
  EXPECT_GE(inside, right - left);
  EXPECT_EQ(outside, 0);
  if (outside || inside < right - left) kv::test::savePng(withMark, QStringLiteral("label_accel"));
}

TEST_F(FocusAndAccelTest, AltAndTheAcceleratorFocusesTheLabelsControl) {
  auto* nameLabel = Place<TLabel>(Bounds(8, 8, 100, 13));
  auto* name = Place<TEdit>(Bounds(8, 24, 100, 21));
  auto* cityLabel = Place<TLabel>(Bounds(8, 56, 100, 13));
  auto* city = Place<TEdit>(Bounds(8, 72, 100, 21));
  nameLabel->SetCaption(QStringLiteral("&Name"));
  nameLabel->SetFocusControl(name);
  cityLabel->SetCaption(QStringLiteral("&City"));
  cityLabel->SetFocusControl(city);
  ShowForm();
  name->SetFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(city->Focused());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(name->Focused());
  // A caption without the mark has no key.
  cityLabel->SetCaption(QStringLiteral("City"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(name->Focused());
  // A disabled label's key does nothing, and a freed control is forgotten.
  nameLabel->SetEnabled(false);
  city->SetFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(city->Focused());
  nameLabel->SetEnabled(true);
  delete name;
  EXPECT_EQ(nameLabel->FocusControl(), nullptr);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(city->Focused());
}

}  // namespace
