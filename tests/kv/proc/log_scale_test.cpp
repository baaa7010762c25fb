#include "kv/proc/log_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "kv/proc/conversions.h"
#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"
#include "tests/kv/proc/print_helpers.h"

namespace {

class LogLabels : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = DecimalSeparator();
    SetDecimalSeparator(QLatin1Char('.'));
  }
  void TearDown() override { SetDecimalSeparator(saved_); }

 private:
  QChar saved_;
};

TEST(LogArithmetic, Log10AndPower) {
  EXPECT_EQ(KvLog10(1), 0.0L);
  EXPECT_NEAR(double(KvLog10(1000)), 3.0, 1e-15);
  EXPECT_NEAR(double(KvLog10(0.001L)), -3.0, 1e-15);
  EXPECT_NEAR(double(KvLog10(400)), 2.6020599913279625, 1e-15);
  EXPECT_NEAR(double(KvPower(10, 3)), 1000.0, 1e-12);
  EXPECT_NEAR(double(KvPower(2, 0.5L)), std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(double(KvPower(10, -2)), 0.01, 1e-17);
  EXPECT_EQ(KvPower(7, 0), 1.0L);
}

TEST(LogArithmetic, LogsOfZeroAndNegativeValuesRaise) {
  EXPECT_THROW(KvLog10(0), EZeroDivide);
  EXPECT_THROW(KvLog10(-1), EInvalidOp);
  EXPECT_THROW(KvPower(0, 2), EZeroDivide);
  EXPECT_THROW(KvPower(-2, 2), EInvalidOp);
  EXPECT_THROW(KvPower(10, 6000), EOverflow);
  EXPECT_EQ(KvPower(10, -6000), 0.0L);  // underflow is no error
}

TEST(LogArithmetic, RoundLogValueFindsTheNearestDecade) {
  struct Case {
    double x;
    double value;
    int e;
  };
  const Case cases[] = {{-5, 1, 0},
                        {0, 1, 0},
                        {1, 1, 0},
                        {3.1, 1, 0},
                        {3.2, 10, 1},
                        {300, 100, 2},
                        {400, 1000, 3},
                        {0.004, 0.01, -2},
                        {1e-300, 1e-300, -300},
                        {5e12, 1e13, 13},
                        {1.7976931348623157e308, 1e308, 308},
                        {std::numeric_limits<double>::infinity(), 1e308, 308}};
  for (const Case& c : cases) {
    int e = 12345;
    const double v = KvRoundLogValue(c.x, e);
    EXPECT_EQ(e, c.e) << c.x;
    EXPECT_DOUBLE_EQ(v, c.value) << c.x;
  }
  int e = 0;
  EXPECT_EQ(KvRoundLogValue(1000, e), 1000.0);  // exact, not 999.9999...
  EXPECT_EQ(KvRoundLogValue(std::nan(""), e), 1.0);
  EXPECT_EQ(e, 0);
}

TEST_F(LogLabels, CalcLogStrWorkedExamples) {
  EXPECT_EQ(KvCalcLogStr(1, 3, "0e-0", true), "1e3;1e2;1e1;1e0;");
  EXPECT_EQ(KvCalcLogStr(1, 3, "0e-0", false), "1e0;1e1;1e2;1e3;");
  EXPECT_EQ(KvCalcLogStr(250, 2, "##0", false), "250;2500;25000;");
}

TEST_F(LogLabels, CalcLogStrDescendingStartsAtTheDecadeAscendingAtX) {
  EXPECT_EQ(KvCalcLogStr(250, 2, "##0", true), "10000;1000;100;");
  EXPECT_EQ(KvCalcLogStr(250, 0, "##0", true), "100;");
  // The decade is the nearest one, not the one below: log10(400) = 2.6.
  EXPECT_EQ(KvCalcLogStr(400, 1, "##0", true), "10000;1000;");
  EXPECT_EQ(KvCalcLogStr(250, 0, "##0", false), "250;");
  EXPECT_EQ(KvCalcLogStr(250, -4, "##0", false), "250;");
  EXPECT_EQ(KvCalcLogStr(0.01, 2, "0e-0", true), "1e0;1e-1;1e-2;");
  EXPECT_EQ(KvCalcLogStr(0.01, 2, "0e-0", false), "1e-2;1e-1;1e0;");
  EXPECT_EQ(KvCalcLogStr(0.004, 1, "0.000", true), "0.100;0.010;");
}

TEST_F(LogLabels, CalcLogStrOfValuesNotAboveZeroRaises) {
  EXPECT_THROW(KvCalcLogStr(0, 3, "0e-0", true), EZeroDivide);
  EXPECT_THROW(KvCalcLogStr(-10, 3, "0e-0", false), EInvalidOp);
}

TEST_F(LogLabels, LogRangeStrWorkedExamples) {
  EXPECT_EQ(KvLogRangeStr(-1, 2, 3, "0e-0", false), "1e-1;1e0;1e1;1e2;");
  EXPECT_EQ(KvLogRangeStr(-1, 2, 3, "0e-0", true), "1e2;1e1;1e0;1e-1;");
}

TEST_F(LogLabels, LogRangeStrStepsAndEnds) {
  // Steps below 1 count as 1.
  EXPECT_EQ(KvLogRangeStr(0, 3, 0, "0e-0", false), "1e0;1e3;");
  EXPECT_EQ(KvLogRangeStr(0, 3, -7, "0e-0", true), "1e3;1e0;");
  // A step that does not divide the span overshoots the far end.
  EXPECT_EQ(KvLogRangeStr(0, 5, 2, "0e-0", false), "1e0;1e2;1e4;1e6;");
  EXPECT_EQ(KvLogRangeStr(0, 5, 2, "0e-0", true), "1e5;1e3;1e1;1e-1;");
  // Equal or inverted ends give one label.
  EXPECT_EQ(KvLogRangeStr(2, 2, 1, "0e-0", false), "1e2;");
  EXPECT_EQ(KvLogRangeStr(2, 2, 4, "0e-0", true), "1e2;");
  EXPECT_EQ(KvLogRangeStr(3, 1, 1, "0e-0", true), "1e1;");
  EXPECT_EQ(KvLogRangeStr(3, 1, 1, "0e-0", false), "1e3;");
  // Negative exponents give values below 1.
  EXPECT_EQ(KvLogRangeStr(-3, -3, 1, "0.000", false), "0.001;");
  EXPECT_EQ(KvLogRangeStr(-3, -1, 2, "0.000", true), "0.100;0.010;0.001;");
}

// A list of more than a million labels is refused before its first label;
// one of exactly a million passes the count and fails (here) at its first
// label, which overflows.
TEST_F(LogLabels, AbsurdLabelCountsAreRefused) {
  const struct {
    const char* what;
    std::function<void()> call;
    bool refused;
  } cases[] = {
      {"range of INT_MAX steps", [] { KvRangeStr(0, 1, std::numeric_limits<int>::max(), "0"); }, true},
      {"range of a million steps", [] { KvRangeStr(0, 1, 1000000, "0"); }, true},
      {"log range of 2e9 decades", [] { KvLogRangeStr(-1000000000, 0, 1000000000, "0", false); }, true},
      {"log range of every int", [] { KvLogRangeStr(INT32_MIN, INT32_MAX, INT32_MAX, "0", true); }, true},
      {"log range one over", [] { KvLogRangeStr(-999691, 309, 1000000, "0", true); }, true},
      {"log range at the bound", [] { KvLogRangeStr(-999690, 309, 999999, "0", true); }, false},
      {"decades one over", [] { KvCalcLogStr(1e300, 1000000, "0", false); }, true},
      {"decades at the bound", [] { KvCalcLogStr(1e300, 999999, "0", false); }, false},
      {"descending INT_MAX decades", [] { KvCalcLogStr(1, std::numeric_limits<int>::max(), "0", true); },
       true},
  };
  for (const auto& c : cases) {
    if (c.refused) {
      try {
        c.call();
        ADD_FAILURE() << c.what << ": no error";
      } catch (const EListError& e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("1000000"))) << e.what();
      }
    } else {
      EXPECT_THROW(c.call(), EOverflow) << c.what;
    }
  }
}

TEST_F(LogLabels, LogRangeStrWithASpanSmallerThanTheStepsWalksEveryDecade) {
  // (2 - 0) div 5 = 0 would never reach the far end; it counts as 1.
  EXPECT_EQ(KvLogRangeStr(0, 2, 5, "0e-0", false), "1e0;1e1;1e2;");
  EXPECT_EQ(KvLogRangeStr(0, 2, 5, "0e-0", true), "1e2;1e1;1e0;");
}

}  // namespace
