#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/core/float_decimal.h"
#include "platform/core/numbers.h"

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

class FloatToStrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator(QLatin1Char('.'));
    SetThousandSeparator(QLatin1Char(','));
  }
  void TearDown() override { ResetSeparators(); }
};

QString Fixed(long double value, int precision) {
  return FloatToStrF(value, ffFixed, precision, 2);
}

// The calculator's partial values (precision 2) as they are stored, in single
// precision, and its sums (precision 3) in extended precision.
TEST_F(FloatToStrTest, FixedFormatOfTheCalculatorFigures) {
  EXPECT_EQ(Fixed(1.9642857L, 2), "2.00");
  EXPECT_EQ(Fixed(73.333L, 2), "73.00");
  EXPECT_EQ(Fixed(1.9674710L, 3), "1.97");
  EXPECT_EQ(Fixed(71.11679L, 3), "71.10");
  EXPECT_EQ(Fixed(0.0033333L, 2), "0.00");
  EXPECT_EQ(Fixed(220, 2), "2.2E2");
  EXPECT_EQ(Fixed(200, 2), "2E2");
  EXPECT_EQ(Fixed(-0.0L, 2), "0.00");
  EXPECT_EQ(Fixed(0.0L, 3), "0.00");
  EXPECT_EQ(Fixed(222.0L, 3), "222.00");

  EXPECT_EQ(Fixed(1.96428573f, 2), "2.00");
  EXPECT_EQ(Fixed(0.00318530574f, 2), "0.00");
  EXPECT_EQ(Fixed(1.5f, 2), "1.50");
  EXPECT_EQ(Fixed(-0.0993346646f, 2), "-0.10");
  EXPECT_EQ(Fixed(0.480822623f, 2), "0.48");
  EXPECT_EQ(Fixed(73.3333282f, 2), "73.00");
  EXPECT_EQ(Fixed(-0.217482761f, 2), "-0.22");
  EXPECT_EQ(Fixed(-1.99905622f, 2), "-2.00");
  EXPECT_EQ(Fixed(0.0333333351f, 2), "0.03");
  EXPECT_EQ(Fixed(0.358678043f, 2), "0.36");
  EXPECT_EQ(Fixed(0.902953148f, 2), "0.90");
  EXPECT_EQ(Fixed(220.0f, 2), "2.2E2");
  EXPECT_EQ(Fixed(1.97412908f, 2), "2.00");

  // Sums: 1.5 - 0.0993346646 + 0.480822623 and the others, in extended.
  EXPECT_EQ(Fixed(1.5L + static_cast<long double>(-0.0993346646f) + 0.480822623f, 3), "1.88");
  EXPECT_EQ(Fixed(static_cast<long double>(73.3333282f) - 0.217482761f - 1.99905622f, 3), "71.10");
  EXPECT_EQ(Fixed(static_cast<long double>(0.0333333351f) + 0.358678043f + 0.902953148f, 3), "1.29");
  EXPECT_EQ(Fixed(220.0L - 0.217482761f + 1.97412908f, 3), "222.00");
}

TEST_F(FloatToStrTest, FixedFormatRoundingEdges) {
  // N < 0: far too small for two decimals, whatever the sign.
  EXPECT_EQ(Fixed(0.0004L, 2), "0.00");
  EXPECT_EQ(Fixed(-0.0004L, 2), "0.00");
  // N == 0: the first digit decides alone.
  EXPECT_EQ(Fixed(0.005L, 2), "0.01");
  EXPECT_EQ(Fixed(-0.005L, 2), "-0.01");
  EXPECT_EQ(Fixed(0.0049L, 2), "0.00");
  EXPECT_EQ(Fixed(-0.0049L, 2), "0.00");
  // Carry out of the first digit raises the exponent, which may then exceed p.
  EXPECT_EQ(Fixed(0.995L, 2), "1.00");
  EXPECT_EQ(Fixed(9.96L, 2), "10.00");
  EXPECT_EQ(Fixed(99.4L, 2), "99.00");
  EXPECT_EQ(Fixed(99.5L, 2), "1E2");
  EXPECT_EQ(Fixed(-99.5L, 2), "-1E2");
  EXPECT_EQ(Fixed(999.5L, 3), "1E3");
  EXPECT_EQ(Fixed(100, 3), "100.00");
  EXPECT_EQ(Fixed(1234, 3), "1.23E3");
  EXPECT_EQ(Fixed(-220, 2), "-2.2E2");
  EXPECT_EQ(Fixed(1e20L, 18), "1E20");
  // The precision cuts before the decimals do.
  EXPECT_EQ(Fixed(12.345L, 3), "12.30");
  EXPECT_EQ(Fixed(0.012345L, 3), "0.01");
  // A half at the 19th digit of the binary value rounds to even at the 18th
  // (X = 19 > 18, so these show in scientific form).
  EXPECT_EQ(FloatToStrF(1152921504606846965.0L, ffFixed, 18, 0), "1.15292150460684696E18");
  EXPECT_EQ(FloatToStrF(1152921504606846975.0L, ffFixed, 18, 0), "1.15292150460684698E18");
}

TEST_F(FloatToStrTest, FixedFormatWithOtherDigitsAndSeparators) {
  EXPECT_EQ(FloatToStrF(1.5L, ffFixed, 15, 0), "2");
  EXPECT_EQ(FloatToStrF(3.14159L, ffFixed, 15, 4), "3.1416");
  EXPECT_EQ(FloatToStrF(0.5L, ffFixed, 15, 5), "0.50000");
  EXPECT_EQ(FloatToStrF(-0.0L, ffFixed, 15, 0), "0");
  EXPECT_EQ(FloatToStrF(1.25L, ffFixed, 0, 2), "1.00");   // precision clamps to 1
  EXPECT_EQ(FloatToStrF(1.25L, ffFixed, 40, 2), "1.25");  // and to 18
  SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(Fixed(1.9674710L, 3), "1,97");
  EXPECT_EQ(Fixed(220, 2), "2,2E2");
  EXPECT_EQ(Fixed(0, 2), "0,00");
}

TEST_F(FloatToStrTest, GeneralFormat) {
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(-0.0L), "0");
  EXPECT_EQ(FloatToStr(1.5L), "1.5");
  EXPECT_EQ(FloatToStr(-2.25L), "-2.25");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(123456789012345.0L), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15L), "1E15");
  EXPECT_EQ(FloatToStr(0.0001L), "0.0001");
  EXPECT_EQ(FloatToStr(0.00012L), "0.00012");
  EXPECT_EQ(FloatToStr(0.00009L), "9E-5");
  EXPECT_EQ(FloatToStr(0.00001L), "1E-5");
  EXPECT_EQ(FloatToStr(-1.5e-7L), "-1.5E-7");
  EXPECT_EQ(FloatToStr(1.0L / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0L / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(0.1), "0.1");
  EXPECT_EQ(FloatToStr(0.1f), "0.100000001490116");
  EXPECT_EQ(FloatToStr(999999999999999.9L), "1E15");
  EXPECT_EQ(FloatToStrF(1234.5L, ffGeneral, 4, 0), "1235");
  EXPECT_EQ(FloatToStrF(12345.0L, ffGeneral, 4, 0), "1.235E4");
}

TEST_F(FloatToStrTest, ExponentNumberAndCurrencyFormats) {
  EXPECT_EQ(FloatToStrF(1234.5L, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(1234.5L, ffExponent, 4, 0), "1.235E+3");
  EXPECT_EQ(FloatToStrF(-0.00012L, ffExponent, 4, 2), "-1.200E-04");
  EXPECT_EQ(FloatToStrF(0, ffExponent, 4, 2), "0.000E+00");
  EXPECT_EQ(FloatToStrF(-0.0L, ffExponent, 4, 2), "0.000E+00");
  EXPECT_EQ(FloatToStrF(9.9999L, ffExponent, 3, 1), "1.00E+1");
  EXPECT_EQ(FloatToStrF(5, ffExponent, 1, 9), "5E+0000");

  EXPECT_EQ(FloatToStrF(1234567.891L, ffNumber, 15, 2), "1,234,567.89");
  EXPECT_EQ(FloatToStrF(-999.999L, ffNumber, 15, 2), "-1,000.00");
  EXPECT_EQ(FloatToStrF(123.0L, ffNumber, 15, 0), "123");

  const QString money = FloatToStrF(-1234.5L, ffCurrency, 15, 2);
  EXPECT_TRUE(money.startsWith('-')) << money.toStdString();
  EXPECT_TRUE(money.endsWith("1,234.50")) << money.toStdString();
  EXPECT_FALSE(FloatToStrF(-0.001L, ffCurrency, 15, 2).startsWith('-'));
}

TEST_F(FloatToStrTest, NonFiniteValues) {
  const long double inf = std::numeric_limits<long double>::infinity();
  for (TFloatFormat f : {ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency}) {
    EXPECT_EQ(FloatToStrF(inf, f, 15, 2), "INF");
    EXPECT_EQ(FloatToStrF(-inf, f, 15, 2), "-INF");
    EXPECT_EQ(FloatToStrF(std::numeric_limits<long double>::quiet_NaN(), f, 15, 2), "NAN");
  }
}

}  // namespace

// The 18-digit expansion against the standard library's exact conversion:
// values spread over every magnitude a number format meets (and beyond the
// range the integer arithmetic covers), and values lying exactly halfway
// between two 18-digit neighbours, which must round to the even one.
TEST(FloatDecimal, EighteenDigitsEqualTheExactConversion) {
  auto text = [](const TFloatDecimal& d) {
    std::string s(d.Digits.begin(), d.Digits.begin() + d.Count);
    return s + "e" + std::to_string(d.Exponent);
  };
  auto reference = [](long double v) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 17).ptr;
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p)
      if (*p != '.') digits += *p;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return digits + "e" + std::to_string(std::stoi(std::string(p + 1, static_cast<const char*>(end))) + 1);
  };
  std::vector<long double> values;
  std::mt19937_64 random(20261209);
  for (int i = 0; i < 100000; ++i) {
    const uint64_t mantissa = random() | (uint64_t(1) << 63);
    values.push_back(std::ldexp(static_cast<long double>(mantissa), int(random() % 200) - 150));
  }
  for (uint64_t n = 1000000000000000005ull; n < 1000000000000200000ull; n += 10000) values.push_back(n);
  for (uint64_t n = 100000000000000001ull; n < 100000000000020000ull; n += 1000) values.push_back(n / 2.0L);
  values.insert(values.end(),
                {1.0L, 0.1L, 1e-10L, 9.999999999999999995e17L, 1e18L, 1e-300L, 1e300L,
                 std::numeric_limits<long double>::denorm_min(), std::numeric_limits<long double>::max()});
  for (long double v : values) {
    for (long double signedValue : {v, -v}) {
      const TFloatDecimal d = FloatToDecimal(signedValue);
      ASSERT_EQ(d.Negative, signedValue < 0);
      ASSERT_EQ(text(d), reference(v)) << static_cast<double>(v);
    }
  }
}
