#include "kv/proc/conversions.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"
#include "tests/kv/proc/print_helpers.h"

namespace {

// Pins the decimal separator for texts built with the picture formatter.
class SeparatorGuard {
 public:
  explicit SeparatorGuard(QChar c) : saved_(DecimalSeparator()) { SetDecimalSeparator(c); }
  ~SeparatorGuard() { SetDecimalSeparator(saved_); }

 private:
  QChar saved_;
};

QString Ones(int n) {
  return QString(n, QLatin1Char('1'));
}

TEST(BinaryText, IntToBinWithoutWidthStopsAtHighestSetBit) {
  EXPECT_EQ(KvIntToBin(5, 0), "101");
  EXPECT_EQ(KvIntToBin(6, 0), "110");
  EXPECT_EQ(KvIntToBin(1, 0), "1");
  EXPECT_EQ(KvIntToBin(0, 0), "0");
  EXPECT_EQ(KvIntToBin(-1, 0), Ones(32));
  EXPECT_EQ(KvIntToBin(std::numeric_limits<int32_t>::min(), 0), "1" + QString(31, QLatin1Char('0')));
  EXPECT_EQ(KvIntToBin(std::numeric_limits<int32_t>::max(), 0), Ones(31));
  // A negative width is no width.
  EXPECT_EQ(KvIntToBin(5, -3), "101");
}

TEST(BinaryText, IntToBinWidthShowsOneMoreBitThanItSays) {
  EXPECT_EQ(KvIntToBin(5, 7), "00000101");
  EXPECT_EQ(KvIntToBin(5, 1), "01");  // bit 2 is cut off
  EXPECT_EQ(KvIntToBin(0xFF, 3), "1111");
  EXPECT_EQ(KvIntToBin(0, 2), "000");
  EXPECT_EQ(KvIntToBin(5, 31).size(), 32);
  EXPECT_EQ(KvIntToBin(5, 32), QString(29, QLatin1Char('0')) + "101");
  EXPECT_EQ(KvIntToBin(5, 1000), KvIntToBin(5, 32));
  EXPECT_EQ(KvIntToBin(-1, 4), "11111");
}

TEST(BinaryText, BinToLWordReadsFromTheRightAndTreatsOtherCharactersAsZero) {
  EXPECT_EQ(KvBinToLWord(""), 0u);
  EXPECT_EQ(KvBinToLWord("101"), 5u);
  EXPECT_EQ(KvBinToLWord("1x1"), 5u);
  EXPECT_EQ(KvBinToLWord("0000101"), 5u);
  EXPECT_EQ(KvBinToLWord(Ones(32)), 4294967295u);
  EXPECT_EQ(KvBinToInt(Ones(32)), -1);
  EXPECT_EQ(KvBinToInt("1" + QString(31, QLatin1Char('0'))), std::numeric_limits<int32_t>::min());
  // Only the last 32 characters count.
  const QString tail = "10" + QString(29, QLatin1Char('0')) + "1";
  EXPECT_EQ(KvBinToLWord(Ones(8) + tail), 0x80000001u);
  EXPECT_EQ(KvBinToLWord(Ones(40)), 4294967295u);
}

TEST(BinaryText, IntegersSurviveTheRoundTrip) {
  for (int32_t v : {0, 1, 5, 255, 1 << 20, -1, -2, -12345678, std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<int32_t>::max()}) {
    EXPECT_EQ(KvBinToInt(KvIntToBin(v, 0)), v) << v;
    EXPECT_EQ(KvBinToInt(KvIntToBin(v, 32)), v) << v;
  }
}

TEST(BinaryText, SingleToBinShowsTheBitPattern) {
  EXPECT_EQ(KvSingleToBin(1.0f, 0), "111111100000000000000000000000");  // 0x3F800000
  EXPECT_EQ(KvSingleToBin(0.0f, 0), "0");
  EXPECT_EQ(KvSingleToBin(-0.0f, 0), "1" + QString(31, QLatin1Char('0')));
  EXPECT_EQ(KvSingleToBin(2.0f, 3), "0000");  // only the low bits of 0x40000000
}

TEST(BinaryText, SinglesSurviveTheRoundTripBitForBit) {
  const float values[] = {0.0f,
                          -0.0f,
                          1.0f,
                          -2.5f,
                          0.1f,
                          std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()};
  for (float v : values) {
    const float back = KvBinToSingle(KvSingleToBin(v, 0));
    EXPECT_EQ(std::bit_cast<uint32_t>(back), std::bit_cast<uint32_t>(v)) << v;
  }
}

TEST(CharacterText, RemoveSignAndCharCount) {
  EXPECT_EQ(KvRemoveSign("1.234.567", QLatin1Char('.')), "1234567");
  EXPECT_EQ(KvRemoveSign("abc", QLatin1Char('x')), "abc");
  EXPECT_EQ(KvRemoveSign("xxx", QLatin1Char('x')), "");
  EXPECT_EQ(KvRemoveSign("", QLatin1Char('x')), "");
  EXPECT_EQ(KvCharCount("a|b|c", QLatin1Char('|')), 2);
  EXPECT_EQ(KvCharCount("||", QLatin1Char('|')), 2);
  EXPECT_EQ(KvCharCount("abc", QLatin1Char('|')), 0);
  EXPECT_EQ(KvCharCount("", QLatin1Char('|')), 0);
}

TEST(StrToken, TakesTheFirstTokenAndItsSeparator) {
  QString list = "a;b;";
  EXPECT_EQ(KvStrToken(list, QLatin1Char(';')), "a");
  EXPECT_EQ(list, "b;");
  EXPECT_EQ(KvStrToken(list, QLatin1Char(';')), "b");
  EXPECT_EQ(list, "");
  EXPECT_EQ(KvStrToken(list, QLatin1Char(';')), "");
  EXPECT_EQ(list, "");

  QString whole = "abc";
  EXPECT_EQ(KvStrToken(whole, QLatin1Char(';')), "abc");
  EXPECT_EQ(whole, "");

  QString leading = ";x";
  EXPECT_EQ(KvStrToken(leading, QLatin1Char(';')), "");
  EXPECT_EQ(leading, "x");

  QString doubled = "1;;2";
  EXPECT_EQ(KvStrToken(doubled, QLatin1Char(';')), "1");
  EXPECT_EQ(KvStrToken(doubled, QLatin1Char(';')), "");
  EXPECT_EQ(KvStrToken(doubled, QLatin1Char(';')), "2");
  EXPECT_TRUE(doubled.isEmpty());
}

TEST(RangeStr, ListsRunFromTheSecondValueDownToTheFirst) {
  SeparatorGuard dot(QLatin1Char('.'));
  EXPECT_EQ(KvRangeStr(0, 10, 2, "0.0"), "10.0;5.0;0.0;");
  EXPECT_EQ(KvRangeStr(0, 100, 4, "0"), "100;75;50;25;0;");
  EXPECT_EQ(KvRangeStr(100, 0, 4, "0"), "0;25;50;75;100;");
  EXPECT_EQ(KvRangeStr(-1, 1, 1, "0"), "1;-1;");
  EXPECT_EQ(KvRangeStr(7, 7, 3, "0"), "7;7;7;7;");
  EXPECT_EQ(KvRangeStr(0, 10, -1, "0.0"), "");
  EXPECT_EQ(KvRangeStr(0, 10, -100, "0.0"), "");
}

TEST(RangeStr, UsesTheLocaleDecimalSeparator) {
  SeparatorGuard comma(QLatin1Char(','));
  EXPECT_EQ(KvRangeStr(0, 10, 2, "0.0"), "10,0;5,0;0,0;");
}

TEST(RangeStr, TheStepIsHeldInSinglePrecision) {
  SeparatorGuard dot(QLatin1Char('.'));
  // 1/3 stored as a single is 0.3333333432674408; in extended arithmetic the
  // first item would be 1.000000000.
  EXPECT_EQ(KvRangeStr(0, 1, 3, "0.000000000"), "1.000000030;0.666666687;0.333333343;0.000000000;");
}

TEST(RangeStr, ZeroStepsRaiseTheDivisionError) {
  EXPECT_THROW(KvRangeStr(0, 10, 0, "0"), EZeroDivide);
  EXPECT_THROW(KvRangeStr(10, 0, 0, "0"), EZeroDivide);
  EXPECT_THROW(KvRangeStr(3, 3, 0, "0"), EInvalidOp);
}

TEST(MinMax, MinMaxAndClamp) {
  EXPECT_EQ(KvMinInt(3, 4), 3);
  EXPECT_EQ(KvMinInt(4, 3), 3);
  EXPECT_EQ(KvMaxInt(3, 4), 4);
  EXPECT_EQ(KvMaxInt(-3, -4), -3);
  EXPECT_EQ(KvMinInt(std::numeric_limits<int32_t>::min(), 0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(KvMaxInt(std::numeric_limits<int32_t>::max(), 0), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(KvMinMaxInt(15, 0, 10), 10);
  EXPECT_EQ(KvMinMaxInt(-5, 0, 10), 0);
  EXPECT_EQ(KvMinMaxInt(5, 0, 10), 5);
  EXPECT_EQ(KvMinMaxInt(0, 0, 10), 0);
  EXPECT_EQ(KvMinMaxInt(10, 0, 10), 10);
  EXPECT_EQ(KvMinMaxInt(5, 8, 2), 8);  // inverted bounds: the lower one wins
}

}  // namespace
