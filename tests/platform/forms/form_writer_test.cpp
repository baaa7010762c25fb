#include "platform/forms/form_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "tests/platform/forms/form_test_classes.h"

namespace {

class FormWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFormTestClasses();
    TestLog::Clear();
    liveBefore_ = TestLog::live;
  }
  void TearDown() override { EXPECT_EQ(TestLog::live, liveBefore_) << "test components leaked"; }
  int liveBefore_ = 0;
};

// Lines of `text` that start (after indentation) with `prefix`.
QStringList LinesStartingWith(const QString& text, const QString& prefix) {
  QStringList found;
  for (const QString& line : text.split(u'\n'))
    if (line.trimmed().startsWith(prefix)) found.append(line.trimmed());
  return found;
}

TEST_F(FormWriter, GradientSettingsAtTheirInitialValuesKeepVisibleAndStyleOnly) {
  TTestGradient gradient;
  gradient.SetName("KvGradient1");
  EXPECT_EQ(WriteComponentToText(&gradient),
            "object KvGradient1: TTestGradient\n"
            "  Grad.Visible = False\n"
            "  Grad.Style = tsCircle\n"
            "end\n");
  gradient.Grad()->SetColorTo(clRed);
  gradient.Grad()->SetColorFrom(RGBColor(1, 2, 3));
  gradient.Grad()->Pen()->SetWidth(2);
  gradient.SetTag(-4);
  gradient.SetOnClick(TNotifyEvent::BindByName(&gradient, "Clicked"));
  EXPECT_EQ(WriteComponentToText(&gradient),
            "object KvGradient1: TTestGradient\n"
            "  Tag = -4\n"
            "  Grad.ColorFrom = $00030201\n"
            "  Grad.ColorTo = clRed\n"
            "  Grad.Visible = False\n"
            "  Grad.Style = tsCircle\n"
            "  Grad.Pen.Width = 2\n"
            "  OnClick = Clicked\n"
            "end\n");
}

TEST_F(FormWriter, LeavesOutDefaultsUnstoredAndUnsupportedProperties) {
  TTestForm form;
  form.SetName("Form1");
  form.SetHidden(5);
  form.SetCounted(7);  // IsCountedStored says no
  form.SetArea(QRect(1, 2, 3, 4));
  const QString text = WriteComponentToText(&form);
  for (const char* absent : {"Name", "Tag", "Count", "Flag", "Hidden", "Counted", "Area", "Version", "Font.",
                             "Grad.ColorFrom", "Grad.Pen", "OnClick", "Buddy"})
    EXPECT_TRUE(
        LinesStartingWith(text, QLatin1String(absent) + u' ').isEmpty() &&
        LinesStartingWith(text, QLatin1String(absent) + u'.').isEmpty() &&
        (QLatin1String(absent).back() != u'.' || LinesStartingWith(text, QLatin1String(absent)).isEmpty()))
        << absent << " in\n"
        << text.toStdString();
  EXPECT_EQ(LinesStartingWith(text, "Grad."), QStringList({"Grad.Visible = False", "Grad.Style = tsCircle"}));

  form.SetCount(1);
  form.SetFlag(true);
  form.SetCounted(8);
  form.Font()->SetName("Arial");
  form.Font()->SetStyle(toItalic);
  const QString changed = WriteComponentToText(&form);
  EXPECT_EQ(LinesStartingWith(changed, "Count "), QStringList("Count = 1"));
  EXPECT_EQ(LinesStartingWith(changed, "Flag "), QStringList("Flag = True"));
  EXPECT_EQ(LinesStartingWith(changed, "Counted "), QStringList("Counted = 8"));
  EXPECT_EQ(LinesStartingWith(changed, "Font."),
            QStringList({"Font.Name = 'Arial'", "Font.Style = [toItalic]"}));
}

TEST_F(FormWriter, EventsAreWrittenOnlyWhenBoundByName) {
  TTestForm form;
  form.SetName("Form1");
  form.SetOnClick([](TObject*) {});
  EXPECT_TRUE(LinesStartingWith(WriteComponentToText(&form), "OnClick").isEmpty());
  form.SetOnClick(TNotifyEvent::BindByName(&form, "Button1Click"));
  form.SetOnValue(TValueEvent::BindByName(&form, "ValueChanged"));
  const QString text = WriteComponentToText(&form);
  EXPECT_EQ(LinesStartingWith(text, "OnClick"), QStringList("OnClick = Button1Click"));
  EXPECT_EQ(LinesStartingWith(text, "OnValue"), QStringList("OnValue = ValueChanged"));
}

// Zero has one text, whatever its sign, and reads as +0 whatever the property
// held before: a description means the same to every setter.
TEST_F(FormWriter, ZeroHasOneTextWhateverItsSign) {
  const struct {
    const char* text;  // the value as read
    bool single;
  } cases[] = {{"-0", true}, {"-0.0", true}, {"-0e5", true}, {"-0", false}, {"-0.000", false}, {"0", false}};
  for (const auto& c : cases) {
    TTestForm form;
    form.SetName("Form1");
    form.SetSingle(5);
    form.SetRatio(5);
    const QString property = c.single ? QStringLiteral("Single") : QStringLiteral("Ratio");
    ReadComponentFromText(QStringLiteral("object Form1: TTestForm\n  %1 = %2\nend").arg(property, c.text),
                          &form, "ZERO");
    const double read = c.single ? form.Single() : form.Ratio();
    EXPECT_EQ(read, 0) << c.text;
    EXPECT_FALSE(std::signbit(read)) << c.text;
    form.SetSingle(-0.0f);
    form.SetRatio(-0.0);
    const QString text = WriteComponentToText(&form);
    EXPECT_EQ(LinesStartingWith(text, property + u' '), QStringList(property + QStringLiteral(" = 0")))
        << c.text;
  }
}

TEST_F(FormWriter, ChildrenGoInsideTheirParentsBlockAndReferencesByName) {
  TTestForm form;
  form.SetName("Form1");
  auto* panel = new TTestControl(&form);
  panel->SetName("Panel1");
  panel->SetParentComponent(&form);
  auto* unnamed = new TTestItem(&form);  // not written: it has no name
  auto* button = new TTestControl(&form);
  button->SetName("Button1");
  button->SetParentComponent(panel);
  auto* label = new TTestItem(&form);
  label->SetName("Label1");
  label->SetBuddy(button);
  TTestItem stranger;
  stranger.SetName("Stranger");
  button->SetBuddy(&stranger);  // not owned by the root: no reference written
  panel->SetBuddy(unnamed);
  const QString text = WriteComponentToText(&form);
  const QStringList lines = text.split(u'\n');
  QStringList headers;
  for (const QString& line : lines)
    if (line.trimmed().startsWith("object ") || line.trimmed() == "end") headers.append(line);
  EXPECT_EQ(headers, QStringList({"object Form1: TTestForm", "  object Panel1: TTestControl",
                                  "    object Button1: TTestControl", "    end", "  end",
                                  "  object Label1: TTestItem", "  end", "end"}));
  EXPECT_EQ(LinesStartingWith(text, "Buddy"), QStringList("Buddy = Button1"));
  button->SetBuddy(nullptr);
}

TEST_F(FormWriter, ParentsThatContainEachOtherAreWrittenAtTheTop) {
  TTestForm form;
  form.SetName("Form1");
  auto* a = new TTestControl(&form);
  a->SetName("A");
  auto* b = new TTestControl(&form);
  b->SetName("B");
  a->SetParentComponent(b);
  b->SetParentComponent(a);
  const QString text = WriteComponentToText(&form);
  EXPECT_TRUE(text.contains("object A: TTestControl")) << text.toStdString();
  EXPECT_TRUE(text.contains("object B: TTestControl")) << text.toStdString();
}

TEST_F(FormWriter, RefusesWhatCannotBeWrittenFaithfully) {
  TTestBadDefault bad;
  EXPECT_THROW(WriteComponentToText(&bad), EWriteError);
  TTestItem item;
  item.SetRatio(std::numeric_limits<double>::infinity());
  try {
    WriteComponentToText(&item);
    FAIL() << "no error";
  } catch (const EWriteError& e) {
    EXPECT_TRUE(e.Message().startsWith("TTestItem.Ratio: ")) << e.what();
  }
}

// Field-by-field comparison of two items as the test sees them.
void ExpectSameItem(const TTestItem& a, const TTestItem& b) {
  SCOPED_TRACE(a.Name().toStdString());
  EXPECT_EQ(a.Name(), b.Name());
  EXPECT_EQ(a.ClassName(), b.ClassName());
  EXPECT_EQ(a.Tag(), b.Tag());
  EXPECT_EQ(a.Flag(), b.Flag());
  EXPECT_EQ(a.Count(), b.Count());
  EXPECT_EQ(a.Big(), b.Big());
  EXPECT_EQ(a.Small(), b.Small());
  EXPECT_EQ(a.Mask(), b.Mask());
  EXPECT_EQ(a.Byte(), b.Byte());
  // Zero is written as 0 whatever its sign; every other value bit for bit.
  const double ra = a.Ratio() + 0.0, rb = b.Ratio();
  const float sa = a.Single() + 0.0f, sb = b.Single();
  EXPECT_EQ(std::memcmp(&ra, &rb, sizeof ra), 0) << ra << " " << rb;
  EXPECT_EQ(std::memcmp(&sa, &sb, sizeof sa), 0) << sa << " " << sb;
  EXPECT_EQ(a.Text(), b.Text());
  EXPECT_EQ(a.Items(), b.Items());
  EXPECT_EQ(a.Data(), b.Data());
  EXPECT_EQ(a.Color(), b.Color());
  EXPECT_EQ(a.Shape(), b.Shape());
  EXPECT_EQ(a.Options(), b.Options());
  EXPECT_EQ(a.Font()->Name(), b.Font()->Name());
  EXPECT_EQ(a.Font()->Height(), b.Font()->Height());
  EXPECT_EQ(a.Font()->Color(), b.Font()->Color());
  EXPECT_EQ(a.Font()->Style(), b.Font()->Style());
  EXPECT_EQ(a.Grad()->ColorFrom(), b.Grad()->ColorFrom());
  EXPECT_EQ(a.Grad()->ColorTo(), b.Grad()->ColorTo());
  EXPECT_EQ(a.Grad()->Visible(), b.Grad()->Visible());
  EXPECT_EQ(a.Grad()->Style(), b.Grad()->Style());
  EXPECT_EQ(a.Grad()->Pen()->Width(), b.Grad()->Pen()->Width());
  EXPECT_EQ(a.OnClick().MethodName(), b.OnClick().MethodName());
  EXPECT_EQ(a.OnValue().MethodName(), b.OnValue().MethodName());
  EXPECT_EQ(a.Buddy() ? a.Buddy()->Name() : QString(), b.Buddy() ? b.Buddy()->Name() : QString());
  EXPECT_EQ(a.Counted(), b.Counted());
}

void Fill(TTestItem& item, int variant) {
  item.SetFlag(variant % 2 == 0);
  item.SetCount(variant == 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max() - variant);
  item.SetBig(variant == 0 ? std::numeric_limits<qint64>::min() : qint64(1) << (40 + variant));
  item.SetSmall(variant == 0 ? short(-32768) : short(32767));
  item.SetMask(0xFFFFFFFFu - uint(variant));
  item.SetByte(uchar(255 - variant));
  const double ratios[] = {0.1, 1.0 / 3.0, -0.0, 5e-324, 1.7976931348623157e308, -123456789.125};
  const float singles[] = {0.1f, 3.4028235e38f, -1e-45f, 16777217.0f, 2.5f, -0.0f};
  item.SetRatio(ratios[variant % 6]);
  item.SetSingle(singles[variant % 6]);
  QString text = QStringLiteral("it's \"quoted\"\r\n\ttab ");
  text += QString::fromUtf8("zażółć gęślą jaźń \U0001F600 ");
  text += QChar(0);
  text += QChar(0xD800);  // a lone surrogate survives as a character code
  text += QChar(0xFFFF);
  text += QChar(0x2028);
  item.SetText(variant == 1 ? QString() : text);
  item.SetItems(variant == 1 ? QStringList() : QStringList({"ZELMOR, Prax 7Q", "", "'", text}));
  QByteArray data;
  for (int i = 0; i < 100 + variant * 37; ++i) data.append(char((i * 37 + variant) & 0xFF));
  item.SetData(variant == 1 ? QByteArray() : data);
  item.SetColor(variant == 0   ? clBtnFace
                : variant == 1 ? RGBColor(255, 255, 0)
                               : TColor(kSystemColorBase | 99));
  item.SetShape(TTestShape(variant % 3));
  item.SetOptions(variant == 0 ? TTestOptions() : TTestOptions(toBold | toStrikeOut));
  item.Font()->SetName(variant == 0 ? QStringLiteral("Arial Black") : QStringLiteral("MS Sans Serif"));
  item.Font()->SetHeight(-13 - variant);
  item.Font()->SetColor(RGBColor(0, 0, variant));
  item.Font()->SetStyle(toBold);
  item.Grad()->SetColorFrom(clNone);
  item.Grad()->SetVisible(variant == 2);
  item.Grad()->SetStyle(tsSquare);
  item.Grad()->Pen()->SetWidth(variant + 1);
  item.SetCounted(variant);
  item.SetTag(variant * 1000);
}

TEST_F(FormWriter, WhatItWritesReadsBackToAnEqualTree) {
  TTestForm original;
  original.SetName("Form1");
  Fill(original, 0);
  original.SetCaption("nazwa11111111111111111111111111111111111");
  original.SetOnCreate(TNotifyEvent::BindByName(&original, "FormCreate"));
  original.SetOnValue(TValueEvent::BindByName(&original, "ValueChanged"));
  auto* panel = new TTestControl(&original);
  panel->SetName("Panel1");
  panel->SetParentComponent(&original);
  Fill(*panel, 1);
  auto* button = new TTestControl(&original);
  button->SetName("Button1");
  button->SetParentComponent(panel);
  Fill(*button, 2);
  button->SetOnClick(TNotifyEvent::BindByName(&original, "Button1Click"));
  auto* edit = new TTestItem(&original);
  edit->SetName("Edit1");
  Fill(*edit, 3);
  original.SetBuddy(edit);
  panel->SetBuddy(button);
  edit->SetBuddy(&original);

  const QString text = WriteComponentToText(&original);
  TTestForm copy;
  ReadComponentFromText(text, &copy, "ROUNDTRIP");
  ExpectSameItem(original, copy);
  EXPECT_EQ(copy.Caption(), original.Caption());
  EXPECT_EQ(copy.OnCreate().MethodName(), "FormCreate");
  ASSERT_EQ(copy.ComponentCount(), 3);
  for (int i = 0; i < 3; ++i)
    ExpectSameItem(*qobject_cast<TTestItem*>(original.Components(i)),
                   *qobject_cast<TTestItem*>(copy.Components(i)));
  auto* copiedButton = qobject_cast<TTestControl*>(copy.FindComponent("Button1"));
  EXPECT_EQ(copiedButton->GetParentComponent(), copy.FindComponent("Panel1"));
  EXPECT_EQ(copiedButton->OnClick().Receiver(), &copy);
  EXPECT_EQ(WriteComponentToText(&copy), text);
}

TEST_F(FormWriter, NonAsciiTextIsWrittenAsItIsAndControlsAsCodes) {
  TTestItem item;
  item.SetName("Item1");
  item.SetText(QString::fromUtf8("Zażółć\r\n'x'") + QChar(0xD800) + QChar(0x2028) + u'.');
  EXPECT_EQ(LinesStartingWith(WriteComponentToText(&item), "Text"),
            QStringList(QString::fromUtf8("Text = 'Zażółć'#13#10'''x'''#55296#8232'.'")));
}

TEST_F(FormWriter, ListsAndBinaryDataSpanIndentedLines) {
  TTestForm form;
  form.SetName("Form1");
  auto* item = new TTestItem(&form);
  item->SetName("Combo");
  item->SetItems({"3 cyl.", "4 cyl."});
  item->SetData(QByteArray(40, '\xAB'));
  const QString text = WriteComponentToText(&form);
  EXPECT_TRUE(
      text.contains("    Items = (\n"
                    "      '3 cyl.'\n"
                    "      '4 cyl.'\n"
                    "    )\n"))
      << text.toStdString();
  EXPECT_TRUE(
      text.contains("    Data = {\n"
                    "      " +
                    QString("AB").repeated(32) +
                    "\n"
                    "      ABABABABABABABAB\n"
                    "    }\n"))
      << text.toStdString();
}

}  // namespace
