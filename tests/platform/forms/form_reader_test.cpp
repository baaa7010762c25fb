#include "platform/forms/form_reader.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "platform/core/exceptions.h"
#include "tests/platform/forms/form_test_classes.h"

namespace {

class FormReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFormTestClasses();
    TestLog::Clear();
    liveBefore_ = TestLog::live;
  }
  void TearDown() override { EXPECT_EQ(TestLog::live, liveBefore_) << "test components leaked"; }

  static void Read(TComponent* root, const QString& text) { ReadComponentFromText(text, root, "TESTFORM"); }
  template <typename T>
  static T* Child(TComponent* root, const char* name) {
    return qobject_cast<T*>(root->FindComponent(QLatin1String(name)));
  }

  int liveBefore_ = 0;
};

TEST_F(FormReader, ReadsEveryKindOfValue) {
  TTestForm form;
  Read(&form, R"(object Form1: TTestForm
  Caption = 'nazwa1111'
  Flag = True
  Count = -42
  Big = $7FFFFFFFFFFFFFFF
  Small = -32768
  Mask = $FFFFFFFF
  Byte = 255
  Ratio = 2.5e-3
  Single = 0.1
  Text = 'it''s'#13#10'line'#$41 +
    ' more'
  Items = (
    'ZELMOR, Prax 7Q'
    '3 cyl.')
  Data = {
    0A544A504547
    496D616765}
  Color = clYellow
  Shape = tsTriangle
  Options = [toBold, toUnderline]
  Font.Name = 'Arial Black'
  Font.Height = -13
  Font.Color = $00102030
  Grad.Visible = True
  Grad.Pen.Width = 3
end
)");
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption(), "nazwa1111");
  EXPECT_TRUE(form.Flag());
  EXPECT_EQ(form.Count(), -42);
  EXPECT_EQ(form.Big(), std::numeric_limits<qint64>::max());
  EXPECT_EQ(form.Small(), -32768);
  EXPECT_EQ(form.Mask(), 0xFFFFFFFFu);
  EXPECT_EQ(form.Byte(), 255);
  EXPECT_EQ(form.Ratio(), 2.5e-3);
  EXPECT_EQ(form.Single(), 0.1f);
  EXPECT_EQ(form.Text(), "it's\r\nlineA more");
  EXPECT_EQ(form.Items(), QStringList({"ZELMOR, Prax 7Q", "3 cyl."}));
  EXPECT_EQ(form.Data(), QByteArray("\x0ATJPEGImage"));
  EXPECT_EQ(form.Color(), clYellow);
  EXPECT_EQ(form.Shape(), tsTriangle);
  EXPECT_EQ(form.Options(), toBold | toUnderline);
  EXPECT_EQ(form.Font()->Name(), "Arial Black");
  EXPECT_EQ(form.Font()->Height(), -13);
  EXPECT_EQ(form.Font()->Color(), RGBColor(0x30, 0x20, 0x10));
  EXPECT_TRUE(form.Grad()->Visible());
  EXPECT_EQ(form.Grad()->Pen()->Width(), 3);
  EXPECT_EQ(form.ComponentState() & csLoading, 0);
}

TEST_F(FormReader, NumbersByOrdinalHexAndTwosComplement) {
  TTestForm form;
  Read(&form, R"(object Form1: TTestForm
  Count = $FFFFFFFF
  Small = $8000
  Shape = 1
  Options = 10
  Color = -2147483633
  Ratio = 3
  Single = -0.0
  Mask = -0
end)");
  EXPECT_EQ(form.Count(), -1);
  EXPECT_EQ(form.Small(), -32768);
  EXPECT_EQ(form.Shape(), tsSquare);
  EXPECT_EQ(form.Options(), toItalic | toStrikeOut);
  EXPECT_EQ(form.Color(), clBtnFace);
  EXPECT_EQ(form.Ratio(), 3.0);
  EXPECT_EQ(form.Single(), 0.0f);
  EXPECT_FALSE(std::signbit(form.Single()));  // zero reads as +0 whatever its sign
  EXPECT_EQ(form.Mask(), 0u);                 // a negative zero fits an unsigned property
}

TEST_F(FormReader, StringsTakeCharacterCodesAndAnyUnicode) {
  TTestForm form;
  Read(&form, "object Form1: TTestForm\n  Caption = 'zażółć '#128512#0'x'\n  Text = ''''\nend");
  EXPECT_EQ(form.Caption(), QString::fromUtf8("zażółć \U0001F600") + QChar(0) + u'x');
  EXPECT_EQ(form.Text(), "'");
}

TEST_F(FormReader, NestedBlocksAndDottedNamesSetTheSameObjects) {
  TTestForm form;
  Read(&form, R"(object Form1: TTestForm
  Font = ( Name = 'Arial' Height = -19 Style = [toBold] )
  Grad = (
    ColorTo = clRed
    Pen = ( Width = 4 )
  )
  Grad.Pen = ( Width = 5 )
  Grad = ()
end)");
  EXPECT_EQ(form.Font()->Name(), "Arial");
  EXPECT_EQ(form.Font()->Height(), -19);
  EXPECT_EQ(form.Font()->Style(), TTestOptions(toBold));
  EXPECT_EQ(form.Grad()->ColorTo(), clRed);
  EXPECT_EQ(form.Grad()->Pen()->Width(), 5);
}

TEST_F(FormReader, NamesOfEveryKindIgnoreCase) {
  TTestForm form;
  Read(&form, R"(OBJECT form1: ttestform
  caption = 'x'
  FONT.name = 'y'
  shape = TSTRIANGLE
  options = [TOBOLD]
  color = CLRED
  flag = true
  onclick = BUTTON1CLICK
  Object child: TTESTITEM
    buddy = FORM1
  END
END)");
  EXPECT_EQ(form.Caption(), "x");
  EXPECT_EQ(form.Font()->Name(), "y");
  EXPECT_EQ(form.Shape(), tsTriangle);
  EXPECT_EQ(form.Options(), TTestOptions(toBold));
  EXPECT_EQ(form.Color(), clRed);
  EXPECT_TRUE(form.Flag());
  ASSERT_TRUE(form.OnClick());
  EXPECT_EQ(form.OnClick().MethodName(), "Button1Click");
  EXPECT_EQ(Child<TTestItem>(&form, "Child")->Buddy(), &form);
}

TEST_F(FormReader, EventsBindToTheRootsMethodsByName) {
  TTestForm form;
  Read(&form, R"(object Form1: TTestForm
  OnCreate = FormCreate
  OnValue = ValueChanged
  object Button1: TTestItem
    OnClick = Button1Click
    OnValue = ValueChanged
  end
end)");
  auto* button = Child<TTestItem>(&form, "Button1");
  ASSERT_NE(button, nullptr);
  form.OnCreate()(&form);
  button->OnClick()(button);
  button->OnValue()(button, 17);
  form.OnValue()(&form, -3);
  EXPECT_EQ(form.clicks, (std::vector<TObject*>{&form, button, button, &form}));
  EXPECT_EQ(form.values, (std::vector<int>{17, -3}));
  EXPECT_EQ(button->OnClick().Receiver(), &form);

  Read(&form, "object Form1: TTestForm\n  OnCreate = nil\nend");
  EXPECT_FALSE(form.OnCreate());
}

TEST_F(FormReader, ChildrenAreOwnedByTheRootAndParentedByTheEnclosingBlock) {
  TTestForm form;
  Read(&form, R"(object Form1: TTestForm
  object Panel1: TTestControl
    object Button1: TTestControl
      Text = 'inner'
    end
    object Label1: TTestItem
    end
  end
  object Edit1: TTestControl
  end
end)");
  ASSERT_EQ(form.ComponentCount(), 4);
  const char* order[] = {"Panel1", "Button1", "Label1", "Edit1"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(form.Components(i)->Name(), order[i]);
    EXPECT_EQ(form.Components(i)->Owner(), &form);
  }
  auto* panel = Child<TTestControl>(&form, "Panel1");
  EXPECT_EQ(panel->GetParentComponent(), &form);
  EXPECT_EQ(Child<TTestControl>(&form, "Button1")->GetParentComponent(), panel);
  EXPECT_EQ(Child<TTestControl>(&form, "Button1")->Text(), "inner");
  EXPECT_EQ(Child<TTestControl>(&form, "Edit1")->GetParentComponent(), &form);
}

TEST_F(FormReader, ReferencesMayNameComponentsReadLater) {
  TTestForm form;
  Read(&form, R"(object Form1: TTestForm
  Buddy = Second
  object First: TTestItem
    Buddy = Second
  end
  object Second: TTestItem
    Buddy = Form1
  end
  object Third: TTestItem
    Buddy = nil
  end
  object End: TTestItem
    Buddy = object
  end
  object object: TTestItem
    Buddy = End
  end
end)");
  auto* second = Child<TTestItem>(&form, "Second");
  EXPECT_EQ(form.Buddy(), second);
  EXPECT_EQ(Child<TTestItem>(&form, "First")->Buddy(), second);
  EXPECT_EQ(second->Buddy(), &form);
  EXPECT_EQ(Child<TTestItem>(&form, "Third")->Buddy(), nullptr);
  // Keywords are fine as names wherever a name is expected.
  EXPECT_EQ(Child<TTestItem>(&form, "End")->Buddy(), form.FindComponent("object"));
  EXPECT_EQ(Child<TTestItem>(&form, "object")->Buddy(), form.FindComponent("End"));
}

TEST_F(FormReader, SettersRunInTextOrderWhileLoadingAndLoadedRunsOnceAfterwardsRootFirst) {
  TTestForm form;
  Read(&form, R"(object Form1: TTestForm
  Text = 'a'
  object B: TTestItem
    Count = 1
    Buddy = C
    Flag = True
  end
  Caption = 'after B'
  object C: TTestItem
    Text = 'c'
  end
end)");
  const std::vector<QString> expected = {"Form1.Text[loading]",    "B.Count[loading]", "B.Flag[loading]",
                                         "Form1.Caption[loading]", "C.Text[loading]",  "B.Buddy[loading]",
                                         "Form1.Loaded()",         "B.Loaded()",       "C.Loaded()"};
  EXPECT_EQ(TestLog::setters, expected);
  EXPECT_EQ(TestLog::loaded, (std::vector<QString>{"Form1", "B", "C"}));
  for (TComponent* c : {static_cast<TComponent*>(&form), form.Components(0), form.Components(1)})
    EXPECT_EQ(c->ComponentState() & (csLoading | csReading), 0) << c->Name().toStdString();
}

TEST_F(FormReader, TheRootMayBeDescribedByAnAncestorClassAndKeepsItsOwnComponents) {
  TTestForm form;
  auto* existing = new TTestItem(&form);
  existing->SetName("Existing");
  Read(&form, "object Form1: TTestItem\n  object Added: TTestItem\n  end\nend");
  EXPECT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(form.Components(0), existing);
  EXPECT_EQ(TestLog::loaded, (std::vector<QString>{"Form1", "Added"}));
}

TEST_F(FormReader, WindowsLineEndsAndByteOrderMarkAreAccepted) {
  TTestForm form;
  Read(&form, QString(QChar(0xFEFF)) + "object Form1: TTestForm\r\n  Count = 3\r\nend\r\n");
  EXPECT_EQ(form.Count(), 3);
  try {
    Read(&form, "object Form1: TTestForm\r\n\r\n  Count = 'x'\r\nend\r\n");
    FAIL() << "no error";
  } catch (const EReadError& e) {
    EXPECT_TRUE(e.Message().startsWith("TESTFORM(3,11): ")) << e.what();
  }
}

TEST_F(FormReader, ReadComponentResFindsTheDescriptionWithoutRegardToCase) {
  EXPECT_EQ(FindFormResource("tform_test"), ":/forms_test/TFORM_TEST.txt");
  TTestForm form;
  ReadComponentRes("TForm_Test", &form);
  EXPECT_EQ(form.Caption(), "from the resources");
  ASSERT_NE(Child<TTestItem>(&form, "Button1"), nullptr);
  EXPECT_EQ(Child<TTestItem>(&form, "Button1")->Data().size(), 4);
  try {
    ReadComponentRes("NoSuchForm", &form);
    FAIL() << "no error";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource NoSuchForm not found");
  }
}

}  // namespace
