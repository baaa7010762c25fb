#include "platform/core/numbers.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>

#include "platform/core/exceptions.h"

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();

template <typename E, typename F>
void ExpectRaises(F&& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "nothing raised, expected " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), QString::fromUtf8(message));
  }
}

TEST(Rounding, RoundTakesHalvesToTheEvenNeighbour) {
  EXPECT_EQ(Round(0.5L), 0);
  EXPECT_EQ(Round(1.5L), 2);
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(Round(3.5L), 4);
  EXPECT_EQ(Round(-0.5L), 0);
  EXPECT_EQ(Round(-1.5L), -2);
  EXPECT_EQ(Round(-2.5L), -2);
  EXPECT_EQ(Round(2.5000000001L), 3);
  EXPECT_EQ(Round(-2.4999999999L), -2);
  EXPECT_EQ(Round(-9223372036854775808.0L), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(Round(4611686018427387904.5L), 4611686018427387904);  // 2^62 + 1/2
}

TEST(Rounding, TruncCutsTowardZero) {
  EXPECT_EQ(Trunc(2.9L), 2);
  EXPECT_EQ(Trunc(-2.9L), -2);
  EXPECT_EQ(Trunc(-0.1L), 0);
  EXPECT_EQ(Trunc(9223372036854775807.0L), 9223372036854775807);  // 63 bits, exact in long double
  EXPECT_EQ(Trunc(-9223372036854775807.5L), -9223372036854775807);
}

// Round and Trunc take a fast route through a double below 2^52: values a
// long double's step beside a whole number or a half, which the nearest
// double rounds onto it, must come out as the exact x87 rounding gives them,
// at every magnitude up to and past that bound.
TEST(Rounding, NeighboursOfWholeNumbersAndHalvesRoundExactly) {
  for (long double whole = 1; whole < 1e17L; whole = whole * 3 + 1) {
    for (long double sign : {1.0L, -1.0L}) {
      for (long double at : {sign * whole, sign * whole + 0.5L, sign * whole - 0.5L}) {
        for (long double x :
             {at, std::nextafter(at, 0.0L), std::nextafter(at, at * 2), at + 0.25L, at - 0.25L}) {
          EXPECT_EQ(Trunc(x), static_cast<int64_t>(std::trunc(x))) << static_cast<double>(x);
          EXPECT_EQ(Round(x), static_cast<int64_t>(std::nearbyint(x))) << static_cast<double>(x);
        }
      }
    }
  }
}

TEST(Rounding, ValuesOutsideTheIntegerRangeAreInvalid) {
  for (long double bad : {9223372036854775808.0L, 1e19L, -9223372036854775809.0L, kInf, -kInf, kNaN}) {
    EXPECT_THROW(Round(bad), EInvalidOp) << static_cast<double>(bad);
    EXPECT_THROW(Trunc(bad), EInvalidOp) << static_cast<double>(bad);
  }
}

TEST(IntegerText, IntToStr) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToStr(4294967295LL), "4294967295");
}

TEST(Separators, OverrideAndReset) {
  const QLocale system = QLocale::system();
  ResetSeparators();
  EXPECT_EQ(DecimalSeparator(), system.decimalPoint().at(0));
  SetDecimalSeparator(QLatin1Char(','));
  SetThousandSeparator(QLatin1Char('.'));
  EXPECT_EQ(DecimalSeparator(), QLatin1Char(','));
  EXPECT_EQ(ThousandSeparator(), QLatin1Char('.'));
  ResetSeparators();
  EXPECT_EQ(DecimalSeparator(), system.decimalPoint().at(0));
  EXPECT_EQ(ThousandSeparator(), system.groupSeparator().at(0));
}

TEST(FloatDivision, TrapsWhereTheFloatingPointUnitWould) {
  ExpectRaises<EZeroDivide>([] { FDiv(1, 0); }, "Floating point division by zero");
  ExpectRaises<EZeroDivide>([] { FDiv(-1, 0); }, "Floating point division by zero");
  ExpectRaises<EZeroDivide>([] { FDiv(1, -0.0L); }, "Floating point division by zero");
  ExpectRaises<EInvalidOp>([] { FDiv(0, 0); }, "Invalid floating point operation");
  ExpectRaises<EInvalidOp>([] { FDiv(-0.0L, 0); }, "Invalid floating point operation");
  ExpectRaises<EInvalidOp>([] { FDiv(kInf, -kInf); }, "Invalid floating point operation");
  ExpectRaises<EOverflow>([] { FDiv(1e4000L, 1e-4000L); }, "Floating point overflow");
  // No trap: an infinite dividend, quiet NaNs, ordinary quotients.
  EXPECT_EQ(FDiv(kInf, 0), kInf);
  EXPECT_EQ(FDiv(-kInf, 2), -kInf);
  EXPECT_TRUE(std::isnan(FDiv(kNaN, 0)));
  EXPECT_EQ(FDiv(6, 3), 2);
  EXPECT_EQ(FDiv(1, 3), 1.0L / 3.0L);
  EXPECT_EQ(FDiv(1, kInf), 0);
}

TEST(FloatDivision, LogarithmTraps) {
  ExpectRaises<EZeroDivide>([] { FLn(0); }, "Floating point division by zero");
  ExpectRaises<EZeroDivide>([] { FLn(-0.0L); }, "Floating point division by zero");
  ExpectRaises<EInvalidOp>([] { FLn(-1); }, "Invalid floating point operation");
  ExpectRaises<EInvalidOp>([] { FLn(-kInf); }, "Invalid floating point operation");
  EXPECT_EQ(FLn(1), 0);
  EXPECT_EQ(FLn(kInf), kInf);
  EXPECT_NEAR(static_cast<double>(FLn(1000) / FLn(10)), 3.0, 1e-15);
  // Both math errors are EMathError, so callers can catch the family.
  EXPECT_THROW(FLn(0), EMathError);
}

TEST(IntegerDivision, TruncatesAndTraps) {
  EXPECT_EQ(IDiv(7, 2), 3);
  EXPECT_EQ(IDiv(-7, 2), -3);
  EXPECT_EQ(IDiv(7, -2), -3);
  EXPECT_EQ(IDiv(std::numeric_limits<int64_t>::min(), 1), std::numeric_limits<int64_t>::min());
  ExpectRaises<EDivByZero>([] { IDiv(5, 0); }, "Division by zero");
  ExpectRaises<EIntError>([] { IDiv(std::numeric_limits<int64_t>::min(), -1); }, "Integer overflow");
}

TEST(FloatChecks, CheckFloat) {
  EXPECT_EQ(CheckFloat(2.5L), 2.5L);
  EXPECT_THROW(CheckFloat(kNaN), EInvalidOp);
  EXPECT_THROW(CheckFloat(-kInf), EOverflow);
}

class StrToFloatTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(QLatin1Char('.')); }
  void TearDown() override { ResetSeparators(); }
};

TEST_F(StrToFloatTest, ReadsDecimalTextCorrectlyRounded) {
  EXPECT_EQ(StrToFloat("12.5"), 12.5L);
  EXPECT_EQ(StrToFloat(" -3 "), -3.0L);
  EXPECT_EQ(StrToFloat("+2"), 2.0L);
  EXPECT_EQ(StrToFloat("1e-3"), 1e-3L);
  EXPECT_EQ(StrToFloat("1E3"), 1000.0L);
  EXPECT_EQ(StrToFloat("1e+3"), 1000.0L);
  EXPECT_EQ(StrToFloat(".5"), 0.5L);
  EXPECT_EQ(StrToFloat("5."), 5.0L);
  EXPECT_EQ(StrToFloat("0.1"), 0.1L);
  EXPECT_EQ(StrToFloat("1e-5000"), 0.0L);
  EXPECT_EQ(StrToFloat("0.000e99999"), 0.0L);
  SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(StrToFloat("1,5"), 1.5L);
  long double v = 7;
  EXPECT_FALSE(TryStrToFloat("1.5", v));
  EXPECT_EQ(v, 7);
}

TEST_F(StrToFloatTest, RejectsWhatIsNoNumber) {
  long double v = 0;
  for (const char* bad :
       {"", " ", "abc", "1e", "1e+", "--2", "0x10", "inf", "nan", "1.2.3", ".", "-", "1e5000", "1 2"})
    EXPECT_FALSE(TryStrToFloat(QString::fromUtf8(bad), v)) << bad;
  ExpectRaises<EConvertError>([] { StrToFloat("x1"); }, "'x1' is not a valid floating point value");
}

}  // namespace
