// The calculator window as the user meets it: built from its description,
// driven with mouse clicks and keys, read back from its controls.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "app/injection.h"
#include "app/vorta.h"
#include "platform/controls/application.h"
#include "platform/core/numbers.h"
#include "platform/graphics/colors.h"
#include "platform/graphics/jpeg_image.h"
#include "tests/support/test_support.h"

namespace {

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator(u'.');
    app = std::make_unique<TApplication>();
    app->SetMessageBoxHandler([this](const QString& text, const QString&, int) {
      boxes.push_back(text);
      return IDOK;
    });
    app->Initialize();
    app->CreateForm(form);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  }
  void TearDown() override {
    app.reset();
    QApplication::processEvents();
    ResetSeparators();
  }

  void Calculate() { QTest::mouseClick(form->Button1->Widget(), Qt::LeftButton); }
  static void ClickArrow(TUpDown* spin, TUDBtnType button) {
    QTest::mouseClick(spin->Widget(), Qt::LeftButton, {}, QPoint(8, button == btNext ? 4 : 16));
  }
  // Replaces the text of a combo box by typing.
  static void TypeInto(TComboBox* combo, const QString& text) {
    combo->SetFocus();
    combo->Combo()->lineEdit()->selectAll();
    QTest::keyClick(combo->Widget(), Qt::Key_Backspace);
    QTest::keyClicks(combo->Widget(), text);
  }
  // Sets the five inputs; a negative list index is given by typing text that
  // matches no item.
  void SetInputs(int q, int cylinderItem, int t, int k3, int k1) {
    form->UpDown1->SetPosition(int16_t(q));
    form->UpDown2->SetPosition(int16_t(t));
    const std::pair<TComboBox*, int> lists[] = {
        {form->ComboBox2, cylinderItem}, {form->ComboBox3, k3}, {form->ComboBox1, k1}};
    for (const auto& [combo, index] : lists) {
      if (index >= 0)
        combo->SetItemIndex(index);
      else
        TypeInto(combo, QStringLiteral("typed text"));
      ASSERT_EQ(combo->ItemIndex(), index);
    }
  }
  QString Memo() const { return form->Memo1->Text(); }
  QString Result() const { return form->EditWynik->Text(); }

  std::unique_ptr<TApplication> app;
  TForm1* form = nullptr;
  std::vector<QString> boxes;
};

TEST_F(Form1Test, WindowAsDescribed) {
  EXPECT_EQ(app->MainForm(), form);
  EXPECT_EQ(form->Name(), "Form1");
  QWidget* window = form->Widget();
  EXPECT_EQ(window->windowTitle(), "nazwa11111111111111111111111111111111111");
  EXPECT_EQ(form->ClientWidth(), 332);
  EXPECT_EQ(form->ClientHeight(), 341);
  EXPECT_EQ(window->size(), QSize(332, 341));
  // Fixed size; system menu and minimise, no maximise.
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_FALSE(form->Scaled());
  EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(form->Font()->Height(), -11);
  EXPECT_EQ(form->Font()->Color(), clWindowText);
  // Centred on the desktop, whatever the stored position.
  const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
  EXPECT_EQ(form->Left(), desktop.x() + (desktop.width() - form->Width()) / 2);
  EXPECT_EQ(form->Top(), desktop.y() + (desktop.height() - form->Height()) / 2);

  // Minimised and restored.
  window->showMinimized();
  QApplication::processEvents();
  EXPECT_TRUE(window->isMinimized());
  window->showNormal();
  QApplication::processEvents();
  EXPECT_FALSE(window->isMinimized());
  EXPECT_EQ(window->size(), QSize(332, 341));
}

TEST_F(Form1Test, ControlsInCreationOrderWithTheirBoundsAndTexts) {
  struct Expected {
    TControl* control;
    const char* name;
    TRect bounds;
  };
  // Labels size themselves to their text; their place is what counts.
  const Expected expected[] = {
      {form->Label1, "Label1", Bounds(8, 16, 0, 0)},
      {form->Label2, "Label2", Bounds(8, 64, 0, 0)},
      {form->Label3, "Label3", Bounds(8, 112, 0, 0)},
      {form->Label5, "Label5", Bounds(8, 216, 0, 0)},
      {form->Image1, "Image1", Bounds(180, 50, 150, 150)},
      {form->Label4, "Label4", Bounds(8, 160, 0, 0)},
      {form->Label6, "Label6", Bounds(8, 176, 0, 0)},
      {form->Memo1, "Memo1", Bounds(8, 264, 305, 73)},
      {form->ComboBox1, "ComboBox1", Bounds(8, 32, 145, 21)},
      {form->ComboBox2, "ComboBox2", Bounds(8, 80, 145, 21)},
      {form->UpDown1, "UpDown1", Bounds(137, 128, 16, 21)},
      {form->Edit1, "Edit1", Bounds(8, 128, 129, 21)},
      {form->Edit2, "Edit2", Bounds(8, 192, 129, 21)},
      {form->UpDown2, "UpDown2", Bounds(137, 192, 16, 21)},
      {form->Button1, "Button1", Bounds(160, 230, 80, 30)},
      {form->ComboBox3, "ComboBox3", Bounds(8, 232, 145, 21)},
      {form->EditWynik, "EditWynik", Bounds(240, 230, 89, 30)},
  };
  // The background comes first, beneath everything; then the others in
  // creation order.
  ASSERT_EQ(form->ControlCount(), 1 + int(std::size(expected)));
  EXPECT_EQ(form->Controls(0), form->KvGradient1);
  EXPECT_EQ(form->KvGradient1->Align(), alClient);
  EXPECT_EQ(form->KvGradient1->BoundsRect(), Bounds(0, 0, 332, 341));
  EXPECT_FALSE(form->KvGradient1->GradSettings()->Visible());
  EXPECT_EQ(form->KvGradient1->GradSettings()->Style(), gsHorizontal1);
  const int first = 1;
  for (size_t i = 0; i < std::size(expected); ++i) {
    const Expected& e = expected[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(form->Controls(first + int(i)), e.control);
    EXPECT_EQ(e.control->Name(), e.name);
    EXPECT_EQ(e.control->Parent(), form);
    EXPECT_EQ(e.control->Left(), e.bounds.Left);
    EXPECT_EQ(e.control->Top(), e.bounds.Top);
    if (!qobject_cast<TLabel*>(e.control)) {
      EXPECT_EQ(e.control->Width(), e.bounds.Width());
      EXPECT_EQ(e.control->Height(), e.bounds.Height());
    }
  }

  const std::pair<TLabel*, const char*> labels[] = {
      {form->Label1, "nazwa2222222222222:"},
      {form->Label2, "nazwa33333333333333333333333333:"},
      {form->Label3, "nazwa44444444444444444444:"},
      {form->Label5, "nazwa6666666666666666666666666666666666:"},
      {form->Label4, "nazwa55555555555555555555"},
      {form->Label6, "aaaaaaaaaaaaaa:"},
  };
  for (const auto& [label, caption] : labels) {
    EXPECT_EQ(label->Caption(), caption);
    EXPECT_EQ(label->Width(), label->TextSize().width()) << caption;
    EXPECT_FALSE(label->Transparent());
    EXPECT_EQ(label->Color(), clBtnFace);
  }

  EXPECT_EQ(form->Memo1->Lines(),
            QStringList({"nazwa///////////////////////////////////////////////////////////////"}));
  EXPECT_TRUE(form->Memo1->WordWrap());
  EXPECT_EQ(form->Memo1->ScrollBars(), ssNone);
  EXPECT_FALSE(form->Memo1->ReadOnly());

  EXPECT_EQ(form->ComboBox1->Items(), QStringList({"ZELMOR, Prax 7Q"}));
  EXPECT_EQ(form->ComboBox1->ItemIndex(), 0);
  EXPECT_EQ(form->ComboBox1->Text(), "ZELMOR, Prax 7Q");
  EXPECT_EQ(form->ComboBox2->Items(), QStringList({"3 cyl.", "4 cyl.", "5 cyl.", "6 cyl.", "8 cyl."}));
  EXPECT_EQ(form->ComboBox2->ItemIndex(), 1);
  EXPECT_EQ(form->ComboBox2->Text(), "4 cyl.");
  EXPECT_EQ(form->ComboBox3->Items(),
            QStringList({"nazwa999999999999999", "nazwa88888888888888888888888", "nazwa777777777777777777"}));
  EXPECT_EQ(form->ComboBox3->ItemIndex(), 2);
  EXPECT_EQ(form->ComboBox3->Text(), "nazwa777777777777777777");
  for (TComboBox* combo : {form->ComboBox1, form->ComboBox2, form->ComboBox3}) {
    EXPECT_EQ(combo->Style(), csDropDown);
    EXPECT_EQ(combo->ItemHeight(), 13);
  }

  const std::tuple<TUpDown*, TEdit*, int, int, int> spinners[] = {{form->UpDown1, form->Edit1, 20, 1000, 100},
                                                                  {form->UpDown2, form->Edit2, 5, 30, 14}};
  for (const auto& [spin, buddy, min, max, position] : spinners) {
    EXPECT_EQ(spin->Associate(), buddy);
    EXPECT_EQ(spin->Min(), min);
    EXPECT_EQ(spin->Max(), max);
    EXPECT_EQ(spin->Position(), position);
    EXPECT_EQ(spin->Increment(), 1);
    EXPECT_TRUE(spin->Wrap());
    EXPECT_TRUE(spin->ArrowKeys());
    EXPECT_TRUE(spin->TabStop());
    EXPECT_TRUE(buddy->ReadOnly());
  }
  EXPECT_EQ(form->UpDown1->OnClick().MethodName(), "UpDown1Click");
  EXPECT_EQ(form->UpDown2->OnClick().MethodName(), "UpDown2Click");
  EXPECT_EQ(form->Button1->OnClick().MethodName(), "Button1Click");
  EXPECT_EQ(form->Edit1->Text(), "100");
  EXPECT_EQ(form->Edit2->Text(), "14");

  EXPECT_EQ(form->Button1->Caption(), "nazwa00000");
  EXPECT_FALSE(form->Button1->ParentFont());
  EXPECT_EQ(form->Button1->Font()->Name(), "Arial Black");
  EXPECT_EQ(form->Button1->Font()->Height(), -13);
  EXPECT_EQ(form->Button1->Font()->Charset(), EASTEUROPE_CHARSET);
  EXPECT_EQ(form->Button1->Font()->Style(), TFontStyles());

  EXPECT_EQ(form->EditWynik->Text(), "nazwaAAAA");
  EXPECT_FALSE(form->EditWynik->ReadOnly());
  EXPECT_EQ(form->EditWynik->Color(), RGBColor(255, 255, 0));
  EXPECT_EQ(form->EditWynik->Font()->Name(), "Arial");
  EXPECT_EQ(form->EditWynik->Font()->Height(), -19);
  EXPECT_EQ(form->EditWynik->Font()->Style(), TFontStyles(fsBold));
  EXPECT_EQ(form->EditWynik->Font()->Charset(), EASTEUROPE_CHARSET);
  EXPECT_EQ(form->EditWynik->LineEdit()->palette().color(QPalette::Base), QColor(255, 255, 0));
}

TEST_F(Form1Test, PictureIsTheEmbeddedJpegDrawnOneToOne) {
  TPicture* picture = form->Image1->Picture();
  ASSERT_NE(qobject_cast<TJPEGImage*>(picture->Graphic()), nullptr);
  EXPECT_EQ(picture->Width(), 150);
  EXPECT_EQ(picture->Height(), 150);
  EXPECT_TRUE(form->Image1->Center());
  EXPECT_TRUE(form->Image1->Proportional());
  EXPECT_EQ(form->Image1->DestRect(), Bounds(0, 0, 150, 150));

  const QImage shot = form->Widget()->grab().toImage();
  const QImage jpeg = picture->Graphic()->ToImage();
  int differing = 0;
  for (int y = 0; y < 150; y += 7)
    for (int x = 0; x < 150; x += 7)
      if (shot.pixel(180 + x, 50 + y) != jpeg.pixel(x, y)) ++differing;
  if (differing) kv::test::savePng(shot, QStringLiteral("app_form1_picture"));
  EXPECT_EQ(differing, 0);
}

TEST_F(Form1Test, GradientBehindOpaqueLabels) {
  const QImage shot = form->Widget()->grab().toImage();
  auto grey = [](int level) { return qRgb(level, level, level); };
  // Bands of 4 rows from grey 226 down to 142 in the last row, where no
  // control covers them.
  const bool ok = shot.pixel(320, 2) == grey(226) && shot.pixel(331, 170) == grey(184) &&
                  shot.pixel(320, 340) == grey(142);
  EXPECT_EQ(shot.pixel(320, 2), grey(226));
  EXPECT_EQ(shot.pixel(331, 170), grey(184));
  EXPECT_EQ(shot.pixel(320, 340), grey(142));
  // A label is a strip of button face over the gradient.
  const QRgb face = ToQColor(clBtnFace).rgb();
  const TRect label = form->Label6->BoundsRect();
  int faces = 0;
  for (int x = label.Left; x < label.Right; ++x)
    if (shot.pixel(x, label.Top) == face) ++faces;
  EXPECT_GT(faces, label.Width() / 2);
  EXPECT_NE(shot.pixel(label.Right + 1, label.Top), face);
  if (!ok || faces <= label.Width() / 2) kv::test::savePng(shot, QStringLiteral("app_form1_gradient"));
}

TEST_F(Form1Test, TabOrderAndInitialFocus) {
  EXPECT_TRUE(form->Memo1->Focused());
  EXPECT_EQ(form->ActiveControl(), form->Memo1);
  const std::vector<TWinControl*> order = {form->Memo1,     form->ComboBox1, form->ComboBox2, form->UpDown1,
                                           form->Edit1,     form->Edit2,     form->UpDown2,   form->Button1,
                                           form->ComboBox3, form->EditWynik};
  for (size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(order[i]->TabOrder(), int(i)) << order[i]->Name().toStdString();
  // Tab visits them in that order and comes round again.
  for (size_t i = 1; i <= order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(order[i % order.size()]->Focused()) << order[i % order.size()]->Name().toStdString();
  }
}

TEST_F(Form1Test, ButtonComputesTheWorkedExampleAndFurtherCases) {
  Calculate();
  EXPECT_EQ(Memo(), "2.00 0.00 0.00");
  EXPECT_EQ(Result(), "1.97") << "rounded from the sum, not from the shown values";
  EXPECT_EQ(form->Memo1->Lines().size(), 1);

  struct Case {
    int q, item, t, k3, k1;
    const char* memo;
    const char* result;
  };
  const Case cases[] = {
      {60, 1, 10, 0, 0, "1.50 -0.10 0.48", "1.88"},
      {1000, 0, 5, 2, 0, "73.00 -0.22 -2.00", "71.10"},
      {20, 4, 30, 0, -1, "0.03 0.36 0.90", "1.29"},
      {1000, -1, 5, 2, 0, "2.2E2 -0.22 2.00", "222.00"},
      // Typed text in the third list: E is scaled by 1 - 0.05.
      {100, 1, 10, -1, 0, "2.40 -0.10 0.00", "2.28"},
      // q = 76 on 3 cylinders: D is a small negative value shown as 0.00.
      {76, 0, 14, 2, 0, "2.00 0.00 0.00", "1.99"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.memo);
    SetInputs(c.q, c.item, c.t, c.k3, c.k1);
    Calculate();
    EXPECT_EQ(Memo(), c.memo);
    EXPECT_EQ(Result(), c.result);
  }
}

TEST_F(Form1Test, QuotientOf25TakesTheUpperBranchForEveryCylinderCount) {
  // r = 25 with t = 5, k3 = 0, k1 = 0: E = 5, B = -0.2175, and D = 2 sin(3.14)
  // only on the r >= 25 branch, so the sum shows 4.79 (4.78 otherwise).
  const std::pair<int, int> cases[] = {{100, 1}, {75, 0}, {125, 2}, {150, 3}, {200, 4}};
  for (const auto& [q, item] : cases) {
    SetInputs(q, item, 5, 0, 0);
    Calculate();
    EXPECT_EQ(Memo(), "5.00 -0.22 0.00") << q;
    EXPECT_EQ(Result(), "4.79") << q;
  }
}

TEST_F(Form1Test, TypedTextThatMatchesNoItemSelectsNone) {
  TypeInto(form->ComboBox2, QStringLiteral("7 cyl."));
  EXPECT_EQ(form->ComboBox2->ItemIndex(), -1);
  TypeInto(form->ComboBox2, QStringLiteral("8 cyl."));
  EXPECT_EQ(form->ComboBox2->ItemIndex(), 4);
  TypeInto(form->ComboBox3, QStringLiteral("nazwa"));
  EXPECT_EQ(form->ComboBox3->ItemIndex(), -1);
  TypeInto(form->ComboBox1, QStringLiteral("ZELMOR"));
  EXPECT_EQ(form->ComboBox1->ItemIndex(), -1);
  // 100 / 8 cylinders = 12.5 on the lower branch; E = 12.5/14 * 0.95 - 0.05.
  Calculate();
  EXPECT_EQ(Memo(), "0.80 0.00 0.59");
  EXPECT_EQ(Result(), "1.38");
}

TEST_F(Form1Test, SpinnersWrapAndWriteTheirFields) {
  EXPECT_EQ(form->Edit2->Text(), "14") << "no unit before the first change";
  ClickArrow(form->UpDown2, btNext);
  EXPECT_EQ(form->Edit2->Text(), "15 ms");
  EXPECT_EQ(form->UpDown2->Position(), 15);

  form->UpDown1->SetPosition(1000);
  ClickArrow(form->UpDown1, btNext);
  EXPECT_EQ(form->UpDown1->Position(), 20);
  EXPECT_EQ(form->Edit1->Text(), "20");
  ClickArrow(form->UpDown1, btPrev);
  EXPECT_EQ(form->UpDown1->Position(), 1000);
  EXPECT_EQ(form->Edit1->Text(), "1000") << "no digit grouping";

  form->UpDown2->SetPosition(30);
  ClickArrow(form->UpDown2, btNext);
  EXPECT_EQ(form->Edit2->Text(), "5 ms");
  ClickArrow(form->UpDown2, btPrev);
  EXPECT_EQ(form->Edit2->Text(), "30 ms");

  // The arrow keys in a field step its spinner; the field keeps the focus.
  form->Edit1->SetFocus();
  QTest::keyClick(form->Edit1->Widget(), Qt::Key_Up);
  EXPECT_EQ(form->Edit1->Text(), "20");
  QTest::keyClick(form->Edit1->Widget(), Qt::Key_Down);
  QTest::keyClick(form->Edit1->Widget(), Qt::Key_Down);
  EXPECT_EQ(form->Edit1->Text(), "999");
  EXPECT_TRUE(form->Edit1->Focused());
  form->Edit2->SetFocus();
  QTest::keyClick(form->Edit2->Widget(), Qt::Key_Down);
  EXPECT_EQ(form->Edit2->Text(), "29 ms");

  // The fields are read-only: typing changes nothing.
  QTest::keyClicks(form->Edit2->Widget(), QStringLiteral("7"));
  EXPECT_EQ(form->Edit2->Text(), "29 ms");

  // The calculation reads the positions the spinners reached.
  Calculate();
  EXPECT_EQ(Memo(), ComputeInjection(999, 1, 29, 2, 0)->memo);
}

}  // namespace
