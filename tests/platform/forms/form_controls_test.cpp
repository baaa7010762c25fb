// Loading descriptions into real controls: windowed children get the
// enclosing block as parent, also in the native widget tree.

#include <gtest/gtest.h>

#include <QWidget>

#include "platform/controls/form.h"
#include "platform/controls/graphic_control.h"
#include "platform/controls/win_control.h"
#include "platform/core/class_registry.h"
#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"

class TLoadTestForm : public TForm {
  Q_OBJECT
 public:
  using TForm::TForm;
  Q_INVOKABLE void PanelClick(TObject* sender) { clicked = sender; }
  TObject* clicked = nullptr;
};

namespace {

const char* const kDescription = R"(object Form1: TLoadTestForm
  Caption = 'Loaded form'
  ClientWidth = 332
  ClientHeight = 341
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  ActiveControl = Edit1
  object Panel1: TWinControl
    Left = 8
    Top = 16
    Width = 200
    Height = 100
    OnClick = PanelClick
    object Inner: TWinControl
      Left = 4
      Top = 4
      Width = 50
      Height = 20
    end
    object Shape1: TGraphicControl
      Left = 60
      Top = 4
      Width = 30
      Height = 30
    end
  end
  object Edit1: TWinControl
    Left = 8
    Top = 130
    Width = 120
    Height = 21
    TabStop = True
  end
end
)";

class FormReaderWithControls : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterComponentClass<TWinControl>();
    RegisterComponentClass<TGraphicControl>();
    RegisterComponentClass<TLoadTestForm>();
  }
  template <typename T>
  static T* Child(TComponent* root, const char* name) {
    return qobject_cast<T*>(root->FindComponent(QLatin1String(name)));
  }
};

TEST_F(FormReaderWithControls, WindowedChildrenAreParentedByTheEnclosingBlock) {
  TLoadTestForm form;
  ReadComponentFromText(kDescription, &form, "TFORMTEST");
  auto* panel = Child<TWinControl>(&form, "Panel1");
  auto* inner = Child<TWinControl>(&form, "Inner");
  auto* shape = Child<TGraphicControl>(&form, "Shape1");
  auto* edit = Child<TWinControl>(&form, "Edit1");
  ASSERT_TRUE(panel && inner && shape && edit);
  for (TComponent* c : {static_cast<TComponent*>(panel), static_cast<TComponent*>(inner),
                        static_cast<TComponent*>(shape), static_cast<TComponent*>(edit)}) {
    EXPECT_EQ(c->Owner(), &form);
    EXPECT_EQ(c->ComponentState() & csLoading, 0);
  }
  EXPECT_EQ(panel->Parent(), &form);
  EXPECT_EQ(edit->Parent(), &form);
  EXPECT_EQ(inner->Parent(), panel);
  EXPECT_EQ(shape->Parent(), panel);
  ASSERT_EQ(panel->ControlCount(), 2);
  EXPECT_EQ(panel->Controls(0), inner);
  EXPECT_EQ(panel->Controls(1), shape);
  // The native widgets follow the same tree.
  EXPECT_TRUE(panel->Widget()->isAncestorOf(inner->Widget()));
  EXPECT_TRUE(form.Widget()->isAncestorOf(panel->Widget()));
  EXPECT_FALSE(panel->Widget()->isAncestorOf(edit->Widget()));
  EXPECT_EQ(inner->BoundsRect(), Bounds(4, 4, 50, 20));
  EXPECT_EQ(form.Caption(), "Loaded form");
  EXPECT_EQ(form.ClientWidth(), 332);
  EXPECT_EQ(form.ClientHeight(), 341);
  EXPECT_EQ(form.ActiveControl(), edit);
  panel->Click();
  EXPECT_EQ(form.clicked, panel);
}

TEST_F(FormReaderWithControls, AControlInsideAWindowlessControlIsAReadError) {
  TLoadTestForm form;
  try {
    ReadComponentFromText(R"(object Form1: TLoadTestForm
  object Shape1: TGraphicControl
    object Inner: TWinControl
    end
  end
end)",
                          &form, "TFORMTEST");
    FAIL() << "no error";
  } catch (const EReadError& e) {
    EXPECT_TRUE(e.Message().startsWith("TFORMTEST(3,5): Form1.Inner: ")) << e.what();
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.ControlCount(), 0);
}

TEST_F(FormReaderWithControls, AWrittenFormReadsBackWithTheSameTree) {
  TLoadTestForm form;
  ReadComponentFromText(kDescription, &form, "TFORMTEST");
  const QString text = WriteComponentToText(&form);
  TLoadTestForm copy;
  ReadComponentFromText(text, &copy, "WRITTEN");
  EXPECT_EQ(WriteComponentToText(&copy), text);
  auto* inner = Child<TWinControl>(&copy, "Inner");
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent(), Child<TWinControl>(&copy, "Panel1"));
  EXPECT_EQ(inner->BoundsRect(), Bounds(4, 4, 50, 20));
  EXPECT_EQ(copy.ActiveControl(), Child<TWinControl>(&copy, "Edit1"));
  EXPECT_TRUE(text.contains("OnClick = PanelClick")) << text.toStdString();
}

}  // namespace

#include "form_controls_test.moc"
