#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/forms/form_reader.h"
#include "tests/platform/forms/form_test_classes.h"

namespace {

struct BadInput {
  const char* what;
  const char* text;
  const char* message;  // the whole message of the EReadError
};

// Each description goes wrong in one place. The first lines are shared so
// that line numbers in the messages are easy to follow:
//   1 object Form1: TTestForm
//   2   Caption = 'set before the error'
//   3   object Button1: TTestItem
//   4     <the line under test>
std::string Described(const char* body) {
  return std::string(
             "object Form1: TTestForm\n  Caption = 'set before the error'\n  object Button1: TTestItem\n") +
         body;
}

const BadInput kBadInputs[] = {
    {"unknown class", "    object Inner: TNoSuchClass\n    end\n  end\nend",
     "TESTFORM(4,19): Form1.Inner: Class TNoSuchClass not found"},
    {"unknown property", "    Colour = clRed\n  end\nend",
     "TESTFORM(4,5): Form1.Button1.Colour: Property Colour does not exist"},
    {"unknown nested property", "    Font.Weight = 700\n  end\nend",
     "TESTFORM(4,5): Form1.Button1.Font.Weight: Property Weight does not exist"},
    {"string for an integer", "    Font.Height = 'abc'\n  end\nend",
     "TESTFORM(4,19): Form1.Button1.Font.Height: 'abc' is not a valid integer value"},
    {"identifier for a string", "    Text = abc\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Text: abc is not a valid string value"},
    {"block for an integer", "    Count = ( X = 1 )\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Count: ( X = 1 ) is not a valid integer value"},
    {"integer for a nested object", "    Font = 12\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Font: 12 is not a valid nested property block"},
    {"integer out of range", "    Byte = 256\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Byte: 256 is out of range"},
    {"negative unsigned", "    Mask = -1\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Mask: -1 is out of range"},
    {"integer beyond 64 bits", "    Big = 99999999999999999999\n  end\nend",
     "TESTFORM(4,11): Form1.Button1.Big: 99999999999999999999 is not a valid integer value"},
    {"float out of range", "    Single = 1e39\n  end\nend",
     "TESTFORM(4,14): Form1.Button1.Single: 1e39 is out of range"},
    {"float as text", "    Ratio = 'x'\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Ratio: 'x' is not a valid floating point value"},
    {"bad boolean", "    Flag = Yes\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Flag: Yes is not a valid boolean value"},
    {"unknown enumeration value", "    Shape = tsHexagon\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Shape: tsHexagon is not a valid TTestShape value"},
    {"ordinal out of range", "    Shape = 3\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Shape: 3 is out of range for TTestShape"},
    {"unknown set element", "    Options = [toBold, toShadow]\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.Options: toShadow is not a valid element of TTestOptions"},
    {"set bits out of range", "    Options = 16\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.Options: 16 is out of range for TTestOptions"},
    {"unknown colour", "    Color = clMauve\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Color: clMauve is not a valid colour value"},
    {"read-only property", "    Version = 4\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.Version: Property Version is read-only"},
    {"unsupported type", "    Area = 1\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Area: Property Area has a type (QRect) that form descriptions cannot "
     "hold"},
    {"dotted name through a value", "    Count.Low = 1\n  end\nend",
     "TESTFORM(4,5): Form1.Button1.Count: Property Count has no properties of its own"},
    {"unterminated string", "    Text = 'abc\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Text: Unterminated string"},
    {"unterminated string list", "    Items = ( 'a' 'b'\n  end\nend",
     "TESTFORM(5,3): Form1.Button1.Items: ')' expected but end found"},
    {"unterminated nested block", "    Font = ( Name = 'x'\n",
     "TESTFORM(5,1): Form1.Button1.Font: ')' expected but end of text found"},
    {"unterminated binary data", "    Data = { 0A0B\n",
     "TESTFORM(4,12): Form1.Button1.Data: Unterminated binary data"},
    {"bad hex digit", "    Data = { 0A0G }\n  end\nend",
     "TESTFORM(4,17): Form1.Button1.Data: 'G' is not a valid hex digit in binary data"},
    {"odd hex digit count", "    Data = {\n      0A0\n    }\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Data: Binary data has an odd number of hex digits"},
    {"bad character code", "    Text = 'a'#\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.Text: Invalid character code"},
    {"character code too big", "    Text = #1114112\n  end\nend",
     "TESTFORM(4,12): Form1.Button1.Text: Character code out of range"},
    {"missing end of object", "    Count = 1\n",
     "TESTFORM(5,1): Form1.Button1: 'end' expected but end of text found"},
    {"missing equals sign", "    Count 1\n  end\nend",
     "TESTFORM(4,11): Form1.Button1.Count: '=' expected but 1 found"},
    {"missing value", "    Count =\n  end\nend",
     "TESTFORM(5,3): Form1.Button1.Count: end is not a valid integer value"},
    {"bad number", "    Count = 12abc\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Count: 12abc is not a valid number"},
    {"keyword in a nested block", "    Font = ( Name = 'x' end )\n  end\nend",
     "TESTFORM(4,25): Form1.Button1.Font: Property name expected but end found"},
    {"garbage character", "    @@@\n  end\nend", "TESTFORM(4,5): Form1.Button1: Invalid character '@'"},
    {"value where a property belongs", "    'text'\n  end\nend",
     "TESTFORM(4,5): Form1.Button1: Property name, 'object' or 'end' expected but 'text' found"},
    {"duplicate name", "  end\n  object button1: TTestItem\n  end\nend",
     "TESTFORM(5,10): Form1.button1: A component named button1 already exists"},
    {"missing handler", "    OnClick = NoSuchHandler\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.OnClick: Method NoSuchHandler not found in TTestForm"},
    {"handler of another event type", "    OnClick = ValueChanged\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.OnClick: Method ValueChanged of TTestForm does not take the arguments of "
     "OnClick"},
    {"signal as handler", "    OnClick = destroyed\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.OnClick: destroyed is a signal of TTestForm, not an event handler"},
    {"signal named in another case", "    OnClick = OBJECTNAMECHANGED\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.OnClick: OBJECTNAMECHANGED is a signal of TTestForm, not an event "
     "handler"},
    {"string as handler", "    OnClick = 'Button1Click'\n  end\nend",
     "TESTFORM(4,15): Form1.Button1.OnClick: 'Button1Click' is not a valid event handler name"},
    {"unknown reference", "    Buddy = Nobody\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Buddy: Component Nobody not found"},
    {"reference of the wrong class", "    Buddy = Plain1\n  end\n  object Plain1: TTestPlain\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Buddy: Plain1 is a TTestPlain, not a TTestItem"},
    {"setter raises", "    Count = -999\n  end\nend",
     "TESTFORM(4,13): Form1.Button1.Count: Count may not be -999"},
    {"invalid name", "  end\n  object Form1: TTestItem\n    object 1x: TTestItem\n",
     "TESTFORM(6,12): Form1.Form1: 1x is not a valid number"},
    {"text after the end", "  end\nend\nobject",
     "TESTFORM(6,1): Form1: Text after the end of the description: object"},
};

class FormReaderErrors : public ::testing::TestWithParam<BadInput> {
 protected:
  void SetUp() override {
    RegisterFormTestClasses();
    TestLog::Clear();
  }
};

TEST_P(FormReaderErrors, NameThePlaceAndFreeWhatWasCreated) {
  const BadInput& input = GetParam();
  const int liveBefore = TestLog::live;
  {
    TTestForm form;
    try {
      ReadComponentFromText(QString::fromStdString(Described(input.text)), &form, "TESTFORM");
      ADD_FAILURE() << "no error for " << input.what;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), QString::fromUtf8(input.message)) << input.what;
    }
    // The root keeps what was set before the error, loses every component
    // created for the description, and is no longer loading.
    EXPECT_EQ(form.Caption(), "set before the error");
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(TestLog::live, liveBefore + 1);
    EXPECT_EQ(form.ComponentState() & (csLoading | csReading), 0);
    EXPECT_TRUE(TestLog::loaded.empty()) << "Loaded ran for an unread description";
  }
  EXPECT_EQ(TestLog::live, liveBefore);
}

INSTANTIATE_TEST_SUITE_P(BadInputs, FormReaderErrors, ::testing::ValuesIn(kBadInputs),
                         [](const ::testing::TestParamInfo<BadInput>& info) {
                           std::string name = info.param.what;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

struct RootError {
  const char* what;
  const char* text;
  const char* message;
};

TEST(FormReaderRootErrors, AreReportedBeforeAnythingIsSet) {
  RegisterFormTestClasses();
  const RootError cases[] = {
      {"wrong root class", "object Form1: TOtherForm\nend",
       "TESTFORM(1,15): Form1: The description is for a TOtherForm, not for a TTestForm"},
      {"empty text", "", "TESTFORM(1,1): 'object' expected but end of text found"},
      {"no header", "Caption = 'x'", "TESTFORM(1,1): 'object' expected but Caption found"},
      {"header without class", "object Form1:\nCaption = 'x'\nend",
       "TESTFORM(2,1): Form1: The description is for a Caption, not for a TTestForm"},
  };
  for (const RootError& c : cases) {
    TTestForm form;
    form.SetName("Original");
    try {
      ReadComponentFromText(QString::fromUtf8(c.text), &form, "TESTFORM");
      ADD_FAILURE() << "no error for " << c.what;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), QString::fromUtf8(c.message)) << c.what;
    }
    EXPECT_EQ(form.Name(), "Original") << c.what;
    EXPECT_EQ(form.ComponentState() & (csLoading | csReading), 0) << c.what;
  }
}

TEST(FormReaderRootErrors, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  RegisterFormTestClasses();
  const int liveBefore = TestLog::live;
  QString text = "object Form1: TTestForm\n";
  for (int i = 0; i < 1000; ++i) text += QStringLiteral("object C%1: TTestControl\n").arg(i);
  TTestForm form;
  EXPECT_THROW(ReadComponentFromText(text, &form, "DEEP"), EReadError);
  EXPECT_EQ(TestLog::live, liveBefore + 1);

  QString blocks = "object Form1: TTestForm\n  Font = ";
  for (int i = 0; i < 100000; ++i) blocks += QStringLiteral("( Name = ");
  try {
    ReadComponentFromText(blocks, &form, "DEEP");
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_TRUE(e.Message().endsWith("Nesting too deep")) << e.what();
  }
}

TEST(FormReaderFailures, ConstructorErrorsAreReadErrorsAndFreeEarlierComponents) {
  RegisterFormTestClasses();
  const int liveBefore = TestLog::live;
  TTestForm form;
  TTestFragile::failConstruction = true;
  try {
    ReadComponentFromText(
        "object Form1: TTestForm\n  object A: TTestItem\n  end\n  object B: TTestFragile\n  end\nend", &form,
        "F");
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "F(4,3): Form1.B: TTestFragile refuses to be created");
  }
  TTestFragile::failConstruction = false;
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(TestLog::live, liveBefore + 1);
}

TEST(FormReaderFailures, AnErrorInLoadedLeavesNoComponentLoading) {
  RegisterFormTestClasses();
  TestLog::Clear();
  TTestForm form;
  EXPECT_THROW(ReadComponentFromText(R"(object Form1: TTestForm
  object A: TTestItem
  end
  object B: TTestFragile
    Count = 13
  end
  object C: TTestItem
  end
end)",
                                     &form, "F"),
               EInvalidOperation);
  // The description was complete: the components stay with the root.
  ASSERT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(TestLog::loaded, (std::vector<QString>{"Form1", "A", "B"}));
  for (int i = 0; i < form.ComponentCount(); ++i)
    EXPECT_EQ(form.Components(i)->ComponentState() & (csLoading | csReading), 0);
  EXPECT_EQ(form.ComponentState() & csLoading, 0);
}

}  // namespace
