// The standard controls on real widgets: label sizing and painting, picture
// placement, memo lines, combo box selection by typed text, the spinner and
// its buddy, edit fields, buttons, registration for form descriptions.

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/controls/button.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/edit.h"
#include "platform/controls/image.h"
#include "platform/controls/label.h"
#include "platform/controls/memo.h"
#include "platform/controls/up_down.h"
#include "platform/core/class_registry.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/colors.h"
#include "tests/platform/controls/controls_fixture.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::ControlsTest;

// A shown form of the given client size to put controls on.
class StdControlsTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsSingle);
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
  QImage Grab() const { return form->Widget()->grab().toImage(); }

  std::unique_ptr<TForm> form;
};

bool HasPixel(const QImage& image, const QRect& area, QRgb color) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) == color) return true;
  return false;
}

// --- Label -------------------------------------------------------------------------

TEST_F(StdControlsTest, LabelSizesItselfToItsCaptionInItsFont) {
  auto* label = Place<TLabel>(Bounds(8, 16, 102, 13));
  label->SetCaption(QStringLiteral("nazwa2222222222222:"));
  const QFontMetrics metrics(label->Font()->ToQFont());
  EXPECT_EQ(label->Width(), metrics.horizontalAdvance(label->Caption()));
  EXPECT_EQ(label->Height(), metrics.height());
  EXPECT_EQ(label->Left(), 8);

  // A bigger font makes a bigger label; without AutoSize the bounds stay.
  const int narrow = label->Width();
  label->Font()->SetHeight(-20);
  EXPECT_GT(label->Width(), narrow);
  label->SetAutoSize(false);
  label->SetBounds(8, 16, 30, 13);
  label->SetCaption(QStringLiteral("a much longer caption than before"));
  EXPECT_EQ(label->Width(), 30);

  // While a description is read the size waits for Loaded.
  auto* loading = new TLabel(form.get());
  loading->SetComponentStateFlag(csLoading, true);
  loading->SetCaption(QStringLiteral("abc"));
  loading->SetBounds(0, 0, 99, 13);
  EXPECT_EQ(loading->Width(), 99);
  loading->Loaded();
  loading->SetComponentStateFlag(csLoading, false);
  EXPECT_EQ(loading->Width(), QFontMetrics(loading->Font()->ToQFont()).horizontalAdvance("abc"));
}

TEST_F(StdControlsTest, OpaqueLabelFillsWithTheParentColourAndTransparentOneDoesNot) {
  form->SetColor(clWhite);
  // Something beneath the labels, painted first.
  new kv::test::Swatch(form.get(), form.get(), Bounds(0, 0, 240, 60), clBlue);
  auto* opaque = Place<TLabel>(Bounds(10, 10, 100, 20));
  opaque->SetAutoSize(false);
  opaque->SetCaption(QStringLiteral("Ab"));
  auto* clear = Place<TLabel>(Bounds(10, 35, 100, 20));
  clear->SetAutoSize(false);
  clear->SetTransparent(true);
  clear->SetCaption(QStringLiteral("Ab"));
  EXPECT_TRUE(opaque->ParentColor());
  EXPECT_EQ(opaque->Color(), clWhite);

  const QImage image = Grab();
  const bool ok = image.pixel(90, 15) == qRgb(255, 255, 255) && image.pixel(90, 40) == qRgb(0, 0, 255) &&
                  HasPixel(image, QRect(10, 10, 20, 15), qRgb(0, 0, 0)) &&
                  HasPixel(image, QRect(10, 35, 20, 15), qRgb(0, 0, 0));
  if (!ok) kv::test::savePng(image, QStringLiteral("std_label_opaque"));
  EXPECT_EQ(image.pixel(90, 15), qRgb(255, 255, 255)) << "opaque label in the parent's colour";
  EXPECT_EQ(image.pixel(90, 40), qRgb(0, 0, 255)) << "transparent label shows what lies beneath";
  EXPECT_TRUE(HasPixel(image, QRect(10, 10, 20, 15), qRgb(0, 0, 0))) << "caption in the font colour";
  EXPECT_TRUE(HasPixel(image, QRect(10, 35, 20, 15), qRgb(0, 0, 0)));
}

// --- Image -------------------------------------------------------------------------

TEST_F(StdControlsTest, ImagePlacesItsPictureCentredAndScaledProportionally) {
  auto* image = Place<TImage>(Bounds(100, 10, 40, 30));
  TBitmap bitmap;
  bitmap.SetSize(20, 10);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 20, 10));
  image->Picture()->SetGraphic(&bitmap);

  EXPECT_EQ(image->DestRect(), Bounds(0, 0, 20, 10));
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), Bounds(10, 10, 20, 10));
  // Proportional alone only shrinks a picture that does not fit.
  image->SetProportional(true);
  EXPECT_EQ(image->DestRect(), Bounds(10, 10, 20, 10));
  image->SetBounds(100, 10, 10, 30);
  EXPECT_EQ(image->DestRect(), Bounds(0, 12, 10, 5));
  // Stretch with Proportional: the largest size that fits.
  image->SetBounds(100, 10, 40, 30);
  image->SetStretch(true);
  EXPECT_EQ(image->DestRect(), Bounds(0, 5, 40, 20));
  image->SetProportional(false);
  EXPECT_EQ(image->DestRect(), Bounds(0, 0, 40, 30));

  image->SetStretch(false);
  image->SetProportional(true);
  form->SetColor(clWhite);
  const QImage shot = Grab();
  const bool ok = shot.pixel(115, 25) == qRgb(255, 0, 0) && shot.pixel(105, 15) == qRgb(255, 255, 255);
  if (!ok) kv::test::savePng(shot, QStringLiteral("std_image_centred"));
  EXPECT_EQ(shot.pixel(110, 20), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(129, 29), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(130, 25), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(105, 15), qRgb(255, 255, 255));

  // An empty picture draws nothing and has no place.
  image->Picture()->SetGraphic(nullptr);
  EXPECT_EQ(image->DestRect(), TRect());
}

// --- Memo --------------------------------------------------------------------------

TEST_F(StdControlsTest, MemoLinesAndText) {
  auto* memo = Place<TMemo>(Bounds(8, 8, 200, 60));
  EXPECT_TRUE(memo->Lines().isEmpty());
  memo->SetLines({QStringLiteral("first"), QStringLiteral("second")});
  EXPECT_EQ(memo->Text(), "first\nsecond");
  memo->SetText(QStringLiteral("a\r\nb\rc\n"));
  EXPECT_EQ(memo->Lines(), QStringList({"a", "b", "c"}));
  memo->SetText(QStringLiteral("\n"));
  EXPECT_EQ(memo->Lines(), QStringList({""}));
  memo->SetLines({QStringLiteral("x\r\ny")});
  EXPECT_EQ(memo->Lines(), QStringList({"x", "y"}));

  QPlainTextEdit* editor = memo->Editor();
  EXPECT_EQ(editor->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  memo->SetWordWrap(false);
  memo->SetScrollBars(ssBoth);
  EXPECT_EQ(editor->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(StdControlsTest, MemoTakesTypingAndReturnButTabMovesOn) {
  auto* memo = Place<TMemo>(Bounds(8, 8, 200, 60));
  auto* edit = Place<TEdit>(Bounds(8, 80, 100, 21));
  memo->SetTabOrder(0);
  edit->SetTabOrder(1);
  int changes = 0;
  memo->SetOnChange([&](TObject*) { ++changes; });
  ShowForm();
  ASSERT_TRUE(memo->Focused());
  QTest::keyClicks(memo->Widget(), QStringLiteral("ab"));
  QTest::keyClick(memo->Widget(), Qt::Key_Return);
  QTest::keyClicks(memo->Widget(), QStringLiteral("c"));
  EXPECT_EQ(memo->Lines(), QStringList({"ab", "c"}));
  EXPECT_EQ(changes, 4);
  QTest::keyClick(memo->Widget(), Qt::Key_Tab);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(memo->Text(), "ab\nc");
}

// --- Combo box ---------------------------------------------------------------------

class ComboBoxTest : public StdControlsTest {
 protected:
  void SetUp() override {
    StdControlsTest::SetUp();
    combo = Place<TComboBox>(Bounds(8, 8, 145, 21));
    combo->SetItems({"3 cyl.", "4 cyl.", "5 cyl."});
    combo->SetItemIndex(1);
    combo->SetOnChange([this](TObject*) { ++changes; });
  }
  void Type(const QString& text) { QTest::keyClicks(combo->Widget(), text); }
  void ClearText() {
    combo->Combo()->lineEdit()->selectAll();
    QTest::keyClick(combo->Widget(), Qt::Key_Backspace);
  }
  TComboBox* combo = nullptr;
  int changes = 0;
};

TEST_F(ComboBoxTest, ItemIndexSelectsAndShowsAnItem) {
  EXPECT_EQ(combo->Text(), "4 cyl.");
  EXPECT_TRUE(combo->Combo()->isEditable());
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->Text(), "3 cyl.");
  combo->SetItemIndex(7);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  // Text equal to an item selects it; other text selects none but stays.
  combo->SetText(QStringLiteral("5 cyl."));
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->SetText(QStringLiteral("7 cyl."));
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "7 cyl.");
  // New items keep the text and select the item equal to it.
  combo->SetItems({"6 cyl.", "7 cyl."});
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "7 cyl.");
  EXPECT_EQ(changes, 0) << "changes by the program are not reported";
}

TEST_F(ComboBoxTest, TypedTextSelectsOnlyTheItemItSpellsExactly) {
  ShowForm();
  combo->SetFocus();
  ClearText();
  EXPECT_EQ(combo->ItemIndex(), -1);
  Type(QStringLiteral("5 cyl"));
  EXPECT_EQ(combo->ItemIndex(), -1) << "a prefix is no match";
  EXPECT_EQ(combo->Text(), "5 cyl") << "no completion of typed text";
  Type(QStringLiteral("."));
  EXPECT_EQ(combo->ItemIndex(), 2);
  QTest::keyClick(combo->Widget(), Qt::Key_Backspace);
  Type(QStringLiteral(" "));
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "5 cyl ");
  EXPECT_GT(changes, 0);

  // Differently cased text stays unmatched, also when editing ends.
  ClearText();
  Type(QStringLiteral("4 CYL."));
  EXPECT_EQ(combo->ItemIndex(), -1);
  auto* other = Place<TEdit>(Bounds(8, 60, 100, 21));
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "4 CYL.");
}

TEST_F(ComboBoxTest, ArrowKeysStepThroughTheItems) {
  ShowForm();
  combo->SetFocus();
  QTest::keyClick(combo->Widget(), Qt::Key_Down);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "5 cyl.");
  EXPECT_EQ(changes, 1);
  QTest::keyClick(combo->Widget(), Qt::Key_Up);
  QTest::keyClick(combo->Widget(), Qt::Key_Up);
  EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(ComboBoxTest, ItemIndexReadFromADescriptionWaitsForTheItems) {
  auto* loaded = new TComboBox(form.get());
  loaded->SetComponentStateFlag(csLoading, true);
  loaded->SetParent(form.get());
  loaded->SetItemIndex(2);
  loaded->SetText(QStringLiteral("c"));
  loaded->SetItems({"a", "b", "c"});
  EXPECT_EQ(loaded->ItemIndex(), 2);
  loaded->Loaded();
  loaded->SetComponentStateFlag(csLoading, false);
  EXPECT_EQ(loaded->ItemIndex(), 2);
  EXPECT_EQ(loaded->Combo()->currentIndex(), 2);
  EXPECT_EQ(loaded->Text(), "c");
}

TEST_F(ComboBoxTest, PickOnlyListShowsOnlyItems) {
  combo->SetStyle(csDropDownList);
  EXPECT_FALSE(combo->Combo()->isEditable());
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->SetText(QStringLiteral("3 cyl."));
  EXPECT_EQ(combo->ItemIndex(), 0);
  combo->SetText(QStringLiteral("none"));
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->SetStyle(csDropDown);
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->Text(), "5 cyl.");
}

// --- Spinner -----------------------------------------------------------------------

class UpDownTest : public StdControlsTest {
 protected:
  void SetUp() override {
    StdControlsTest::SetUp();
    buddy = Place<TEdit>(Bounds(8, 8, 129, 21));
    buddy->SetReadOnly(true);
    spin = Place<TUpDown>(Bounds(137, 8, 16, 21));
    spin->SetMin(20);
    spin->SetMax(1000);
    spin->SetPosition(100);
    spin->SetWrap(true);
    spin->SetAssociate(buddy);
    spin->SetOnClick([this](TObject* sender, TUDBtnType button) {
      EXPECT_EQ(sender, spin);
      clicks.push_back(button);
      buddyAtClick = buddy ? buddy->Text() : QString();
    });
  }
  void ClickArrow(TUDBtnType button) {
    QTest::mouseClick(spin->Widget(), Qt::LeftButton, {}, QPoint(8, button == btNext ? 4 : 16));
  }
  TEdit* buddy = nullptr;
  TUpDown* spin = nullptr;
  std::vector<TUDBtnType> clicks;
  QString buddyAtClick;
};

TEST_F(UpDownTest, ArrowsStepWrapAndWriteTheBuddyBeforeTheClick) {
  EXPECT_EQ(buddy->Text(), "100") << "associating shows the position";
  ShowForm();
  ClickArrow(btNext);
  EXPECT_EQ(spin->Position(), 101);
  EXPECT_EQ(buddyAtClick, "101");
  ClickArrow(btPrev);
  ClickArrow(btPrev);
  EXPECT_EQ(spin->Position(), 99);
  EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev, btPrev}));

  spin->SetPosition(1000);
  EXPECT_EQ(buddy->Text(), "1000") << "no digit grouping";
  ClickArrow(btNext);
  EXPECT_EQ(spin->Position(), 20);
  ClickArrow(btPrev);
  EXPECT_EQ(spin->Position(), 1000);
  // Without Wrap the position stops at the ends.
  spin->SetWrap(false);
  ClickArrow(btNext);
  EXPECT_EQ(spin->Position(), 1000);
  EXPECT_EQ(buddy->Text(), "1000");
}

TEST_F(UpDownTest, ArrowKeysInTheBuddyAndOnTheSpinnerStepIt) {
  ShowForm();
  buddy->SetFocus();
  QTest::keyClick(buddy->Widget(), Qt::Key_Up);
  QTest::keyClick(buddy->Widget(), Qt::Key_Up);
  QTest::keyClick(buddy->Widget(), Qt::Key_Down);
  EXPECT_EQ(spin->Position(), 101);
  EXPECT_EQ(buddy->Text(), "101");
  EXPECT_TRUE(buddy->Focused()) << "the arrows do not move the focus";
  EXPECT_EQ(clicks.size(), 3u);
  spin->SetArrowKeys(false);
  QTest::keyClick(buddy->Widget(), Qt::Key_Up);
  EXPECT_EQ(spin->Position(), 101);

  spin->SetTabStop(true);
  spin->SetFocus();
  QTest::keyClick(spin->Widget(), Qt::Key_Down);
  EXPECT_EQ(spin->Position(), 100);
}

TEST_F(UpDownTest, RangeKeepsThePositionAndSurvivesTheExtremes) {
  spin->SetPosition(5000);
  EXPECT_EQ(spin->Position(), 1000);
  spin->SetMax(500);
  EXPECT_EQ(spin->Position(), 500);
  EXPECT_EQ(buddy->Text(), "500");

  // The whole 16-bit range with a large step: no overflow, the ends hold.
  spin->SetWrap(false);
  spin->SetMin(-32768);
  spin->SetMax(32767);
  spin->SetIncrement(1 << 30);
  spin->ClickButton(btNext);
  EXPECT_EQ(spin->Position(), 32767);
  spin->ClickButton(btPrev);
  EXPECT_EQ(spin->Position(), -32768);
  EXPECT_EQ(buddy->Text(), "-32768");

  // Min above Max: the upper arrow still moves towards Max.
  spin->SetIncrement(1);
  spin->SetMin(10);
  spin->SetMax(0);
  spin->SetPosition(5);
  spin->ClickButton(btNext);
  EXPECT_EQ(spin->Position(), 4);
}

TEST_F(UpDownTest, AFreedBuddyIsForgotten) {
  delete std::exchange(buddy, nullptr);
  EXPECT_EQ(spin->Associate(), nullptr);
  spin->ClickButton(btNext);
  EXPECT_EQ(spin->Position(), 101);
}

TEST_F(UpDownTest, ArrowsArePaintedAndPressedOneSinks) {
  ShowForm();
  const QImage image = spin->Widget()->grab().toImage();
  const QRgb face = ToQColor(clBtnFace).rgb();
  int upper = 0, lower = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 16; ++x)
      if (qGray(image.pixel(x, y)) < qGray(face) - 60) ++(y < 10 ? upper : lower);
  if (upper == 0 || lower == 0) kv::test::savePng(image, QStringLiteral("std_updown"));
  EXPECT_GT(upper, 3) << "dark arrow pixels in the upper half";
  EXPECT_GT(lower, 3) << "dark arrow pixels in the lower half";
}

// --- Edit and button ---------------------------------------------------------------

TEST_F(StdControlsTest, EditShowsItsColourAndFontAndReportsChanges) {
  auto* edit = Place<TEdit>(Bounds(8, 8, 89, 30));
  edit->SetColor(clYellow);
  edit->Font()->SetHeight(-19);
  edit->Font()->SetStyle(TFontStyles(fsBold));
  int changes = 0;
  edit->SetOnChange([&](TObject*) { ++changes; });
  edit->SetText(QStringLiteral("nazwaAAAA"));
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(edit->ParentFont());
  EXPECT_TRUE(edit->LineEdit()->font().bold());
  EXPECT_EQ(edit->LineEdit()->font().pixelSize(), 19);
  EXPECT_EQ(edit->LineEdit()->cursorPosition(), 0) << "program text shows from its start";
  ShowForm();
  const QImage image = Grab();
  EXPECT_EQ(image.pixel(94, 34), qRgb(255, 255, 0));

  edit->SetFocus();
  edit->LineEdit()->end(false);
  QTest::keyClicks(edit->Widget(), QStringLiteral("xy"));
  EXPECT_EQ(edit->Text(), "nazwaAAAAxy");
  EXPECT_EQ(changes, 3);
  edit->SetReadOnly(true);
  QTest::keyClicks(edit->Widget(), QStringLiteral("z"));
  EXPECT_EQ(edit->Text(), "nazwaAAAAxy");
  edit->SetReadOnly(false);
  edit->SetMaxLength(3);
  edit->SetText(QString());
  QTest::keyClicks(edit->Widget(), QStringLiteral("12345"));
  EXPECT_EQ(edit->Text(), "123");
}

TEST_F(StdControlsTest, ButtonClicksOnceByMouseAndBySpace) {
  auto* button = Place<TButton>(Bounds(160, 100, 80, 30));
  button->SetCaption(QStringLiteral("nazwa00000"));
  int clicks = 0;
  button->SetOnClick([&](TObject* sender) {
    EXPECT_EQ(sender, button);
    ++clicks;
  });
  ShowForm();
  EXPECT_EQ(button->PushButton()->text(), "nazwa00000");
  QTest::mouseClick(button->Widget(), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  button->SetFocus();
  QTest::keyClick(button->Widget(), Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
  // A press that is released outside is no click.
  QTest::mousePress(button->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(button->Widget(), Qt::LeftButton, {}, QPoint(200, 200));
  EXPECT_EQ(clicks, 2);
}

// --- Registration ------------------------------------------------------------------

TEST_F(StdControlsTest, ClassesAreRegisteredForFormDescriptions) {
  RegisterStandardControls();
  for (const char* name : {"TLabel", "TImage", "TMemo", "TComboBox", "TUpDown", "TEdit", "TButton"}) {
    const TRegisteredClass* registered = FindClass(QLatin1String(name));
    ASSERT_NE(registered, nullptr) << name;
    std::unique_ptr<TComponent> made(registered->create(nullptr));
    EXPECT_EQ(made->ClassName(), QLatin1String(name));
  }
  EXPECT_NE(FindEventType(QMetaType::fromType<TUDClickEvent>()), nullptr);
}

}  // namespace
