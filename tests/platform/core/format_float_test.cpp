#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

// Every case runs with "." and "," unless it sets its own separators.
class FormatFloatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator(QLatin1Char('.'));
    SetThousandSeparator(QLatin1Char(','));
  }
  void TearDown() override { ResetSeparators(); }
};

struct TCase {
  const char* picture;
  long double value;
  const char* expected;
};

void ExpectAll(std::initializer_list<TCase> cases) {
  for (const TCase& c : cases) {
    EXPECT_EQ(FormatFloat(QString::fromUtf8(c.picture), c.value), QString::fromUtf8(c.expected))
        << "picture " << c.picture << " value " << static_cast<double>(c.value);
  }
}

TEST_F(FormatFloatTest, LibraryPictures) {
  ExpectAll({
      {"##0", 250, "250"},       {"##0", 0, "0"},         {"##0", 12345, "12345"},  {"##0", 7.5, "8"},
      {"##0", -42.4, "-42"},     {"##0.0", 0, "0.0"},     {"##0.0", 12.34, "12.3"}, {"##0.0", 2.25, "2.3"},
      {"##0.0", -1.05, "-1.1"},  // the double is just above 1.05
      {"##0.0", 99.96, "100.0"}, {"##0.#", 3, "3"},       {"##0.#", 2.5, "2.5"},    {"##0.#", 2.04, "2"},
      {"##0.#", 0.96, "1"},      {"##0.#", 0, "0"},       {"0e-0", 1000, "1e3"},    {"0e-0", 0.1, "1e-1"},
      {"0e-0", 1, "1e0"},        {"0e-0", 100, "1e2"},    {"0e-0", 0.001, "1e-3"},  {"0e-0", 250, "3e2"},
      {"0e-0", 9.6, "1e1"},      {"0e-0", -1000, "-1e3"}, {"0e-0", 0, "0e0"},
  });
}

TEST_F(FormatFloatTest, RoundsHalfAwayFromZeroOnTheDecimalExpansion) {
  ExpectAll({
      {"0", 0.5, "1"},
      {"0", 2.5, "3"},
      {"0", 3.5, "4"},
      {"0", -2.5, "-3"},
      {"0", 0.49999999999999999L, "0"},
      {"0.00", 0.125, "0.13"},
      {"0.00", 0.375, "0.38"},
      {"0.00", -0.125, "-0.13"},
      // The doubles nearest 1.005 and 0.15 lie below them and stay below.
      {"0.00", 1.005, "1.00"},
      {"0.0", 0.15, "0.1"},
      // The single nearest 0.15 lies above it.
      {"0.0", 0.15f, "0.2"},
      {"0.0", 0.15L, "0.2"},
  });
}

TEST_F(FormatFloatTest, KeepsEighteenSignificantDigitsRoundedTiesToEven) {
  // 2^60 - 11 and 2^60 - 1 have 19 digits ending in 5: the 18th digit rounds
  // to even (6 stays, 7 goes up), before the picture adds its zeros.
  ExpectAll({
      {"0", 1152921504606846965.0L, "1152921504606846960"},
      {"0", 1152921504606846975.0L, "1152921504606846980"},
      {"0", 1e25L, "10000000000000000000000000"},
      {"#,##0", 1e25L, "10,000,000,000,000,000,000,000,000"},
      {"0.00", 1e-30L, "0.00"},
  });
}

TEST_F(FormatFloatTest, DigitPlaceholders) {
  ExpectAll({
      {"#", 0, ""},
      {"#", 7, "7"},
      {"000", 7, "007"},
      {"000", 12345, "12345"},
      {"#0#", 5, "05"},
      {"#.##", 0.5, ".5"},
      {"#.##", 1, "1"},
      {"#0.0#", 5, "5.0"},
      {"#0.0#", 5.25, "5.25"},
      {"#0.0#", 5.255, "5.25"},  // the double is 5.25499...
      {"0.#0", 1.5, "1.50"},
      {".00", 12.5, "12.50"},
      {".00", 0.5, ".50"},
      {"0.", 5, "5"},
      {"0.0.0", 1.25, "1.25"},  // a second point is dropped, its digits stay decimals
      {"0.000000000000000000000", 0.5, "0.500000000000000000000"},
  });
}

TEST_F(FormatFloatTest, ThousandsSeparators) {
  ExpectAll({
      {"#,##0", 1234567, "1,234,567"},
      {"#,##0", 999, "999"},
      {"#,##0", 1000, "1,000"},
      {"#,##0", 0, "0"},
      {"#,##0.00", 1234.5, "1,234.50"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"0,", 1234, "1,234"},  // "," anywhere switches grouping on
      {"0.0,0", 1234.56, "1,234.56"},
      {"#", 1234, "1234"},
  });
  SetDecimalSeparator(QLatin1Char(','));
  SetThousandSeparator(QChar(0x00A0));
  EXPECT_EQ(FormatFloat(QStringLiteral("#,##0.00"), 1234567.891),
            QString::fromUtf8("1\u00A0234\u00A0567,89"));
  EXPECT_EQ(FormatFloat(QStringLiteral("0.0"), 1.5), QStringLiteral("1,5"));
  EXPECT_EQ(FormatFloat(QStringLiteral("0.#"), 2), QStringLiteral("2"));
}

TEST_F(FormatFloatTest, Exponents) {
  ExpectAll({
      {"0.00E+00", 12345, "1.23E+04"},
      {"0.00E+00", 0.00012345, "1.23E-04"},
      {"0.00E+00", -0.000123, "-1.23E-04"},
      {"0.00E-00", 12345, "1.23E04"},
      {"0.00E-00", 0.00012345, "1.23E-04"},
      {"0.0e+0", 12345, "1.2e+4"},
      {"0.0e-0", 0.012, "1.2e-2"},
      {"00.0E+0", 1234, "12.3E+2"},
      {"0E+000", 5, "5E+000"},
      {"0E+0", 123456, "1E+5"},
      {"0E+", 123, "1E+2"},
      {"0.##E+0", 1000, "1E+3"},
      {"0.##E+0", 1500, "1.5E+3"},
      {"0.00E+0", 0, "0.00E+0"},
      {"0.0E+0", 9.96, "1.0E+1"},
      {"0.0E+0 'V'", 2500, "2.5E+3 V"},
      {"0 Ee", 5, "5 Ee"},  // "E" without a sign is text
  });
}

TEST_F(FormatFloatTest, QuotedAndLiteralText) {
  ExpectAll({
      {"0' V'", 5, "5 V"},
      {"\"T=\"0.0", 1.25, "T=1.3"},
      {"\"T=\"0.0", -1.25, "-T=1.3"},  // the sign leads the whole text
      {"$#,##0", 1234, "$1,234"},
      {"0%", 50, "50%"},
      {"0-00", 12345, "123-45"},
      {"0';'0", 12, "1;2"},  // a quoted ";" separates nothing
      {"'0.#'0", 7, "0.#7"},
      {"\"it's \"0", 3, "it's 3"},
      {"0''", 3, "3"},
  });
}

TEST_F(FormatFloatTest, Sections) {
  ExpectAll({
      {"0.00;(0.00);'zero'", 1.5, "1.50"},
      {"0.00;(0.00);'zero'", -1.5, "(1.50)"},
      {"0.00;(0.00);'zero'", 0, "zero"},
      {"0.00;(0.00);'zero'", -0.0, "zero"},
      // Rounding to zero in its own section moves a value to the zero section.
      {"0.00;(0.00);'zero'", 0.004, "zero"},
      {"0.00;(0.00);'zero'", -0.004, "zero"},
      {"0.00;(0.00);'zero'", 0.005, "0.01"},
      // An empty negative section means the positive one with a minus.
      {"0;;'nil'", -5, "-5"},
      {"0.00;;", -1.5, "-1.50"},
      {"0;;'nil'", 0, "nil"},
      // An empty zero section leaves zero in the positive section.
      {"0.0;-0.0;", 0, "0.0"},
      // A negative section without digits writes only its text.
      {"0;'neg'", -3, "neg"},
      {"0;'neg'", 0, "0"},
      // Without a zero section a rounded zero shows no minus sign...
      {"0.0", -0.04, "0.0"},
      {"0.0", -0.0, "0.0"},
      // ...but the negative section's own text stays what it is.
      {"0;-0", -0.4, "-0"},
      // An empty positive section formats like FloatToStr.
      {";(0)", 1.5, "1.5"},
      {";(0)", -1.5, "(2)"},
  });
}

TEST_F(FormatFloatTest, NonFiniteValues) {
  const long double inf = std::numeric_limits<long double>::infinity();
  EXPECT_EQ(FormatFloat(QStringLiteral("##0.0"), inf), QStringLiteral("INF"));
  EXPECT_EQ(FormatFloat(QStringLiteral("##0.0"), -inf), QStringLiteral("-INF"));
  EXPECT_EQ(FormatFloat(QStringLiteral("0;(0)"), -inf), QStringLiteral("-INF"));
  EXPECT_EQ(FormatFloat(QStringLiteral("0e-0"), std::numeric_limits<long double>::quiet_NaN()),
            QStringLiteral("NAN"));
}

TEST_F(FormatFloatTest, EmptyPictureFormatsLikeFloatToStr) {
  ExpectAll({
      {"", 1.5, "1.5"},
      {"", 0, "0"},
      {"", -250, "-250"},
      {"", 1e20, "1E20"},
  });
}

TEST_F(FormatFloatTest, UnusablePicturesRaiseNamingThePicture) {
  for (const char* bad : {"0'abc", "\"0.0", "0;0;0;0", "0E+0E+0", "E+0", "0E+00#", "'x';0;0;0"}) {
    const QString picture = QString::fromUtf8(bad);
    try {
      FormatFloat(picture, 1);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const EConvertError& e) {
      EXPECT_TRUE(e.Message().contains(picture)) << e.what();
    }
  }
  // The picture is checked whatever the value.
  EXPECT_THROW(FormatFloat(QStringLiteral("0'"), std::numeric_limits<long double>::infinity()),
               EConvertError);
  EXPECT_EQ(FormatFloat(QStringLiteral("0;0;0"), 1), QStringLiteral("1"));
}

// The picture is quoted as it stands, even when it holds the message's own
// placeholder text.
TEST_F(FormatFloatTest, ErrorMessageQuotesPicturesHoldingPlaceholders) {
  const struct {
    const char* picture;
    const char* message;
  } cases[] = {
      {"%s'", "Invalid number picture '%s'': unterminated quote"},
      {"%s%s;0;0;0", "Invalid number picture '%s%s;0;0;0': more than three sections"},
      {"E+0%s", "Invalid number picture 'E+0%s': exponent without a digit placeholder"},
  };
  for (const auto& c : cases) {
    try {
      FormatFloat(QString::fromUtf8(c.picture), 1);
      ADD_FAILURE() << "no error for " << c.picture;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QString::fromUtf8(c.message));
    }
  }
  // Placeholders beyond the arguments stay as written.
  EXPECT_EQ(Exception::Fmt("%s and %s", "a"), QStringLiteral("a and %s"));
}

}  // namespace
