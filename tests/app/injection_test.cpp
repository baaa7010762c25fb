// The calculation on its own: the partial values of the worked examples,
// the branch at r = 25, the texts, and inputs far outside the window's range.

#include "app/injection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/core/numbers.h"

namespace {

struct Case {
  int q, i2, t, k3, k1;
  float B, C, D, E;
  const char* memo;
  const char* result;
};

// The worked example and the further cases with their partial values.
const Case kCases[] = {
    {100, 1, 14, 2, 0, -0.0f, 0.0f, 0.00318530574f, 1.96428573f, "2.00 0.00 0.00", "1.97"},
    {60, 1, 10, 0, 0, -0.0993346646f, -0.5f, 0.480822623f, 1.5f, "1.50 -0.10 0.48", "1.88"},
    {1000, 0, 5, 2, 0, -0.217482761f, 1.54166663f, -1.99905622f, 73.3333282f, "73.00 -0.22 -2.00", "71.10"},
    {20, 4, 30, 0, -1, 0.358678043f, -1.125f, 0.902953148f, 0.0333333351f, "0.03 0.36 0.90", "1.29"},
    {1000, -1, 5, 2, 0, -0.217482761f, 4.875f, 1.97412908f, 220.0f, "2.2E2 -0.22 2.00", "222.00"},
};

class Injection : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(u'.'); }
  void TearDown() override { ResetSeparators(); }
};

TEST_F(Injection, WorkedExamplesDigitForDigit) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "q=" << c.q << " i2=" << c.i2 << " t=" << c.t);
    const auto v = ComputeInjectionValues(c.q, c.i2, c.t, c.k3, c.k1);
    ASSERT_TRUE(v.has_value());
    // Single values compared to the nine digits they are given with.
    EXPECT_FLOAT_EQ(v->B, c.B);
    EXPECT_FLOAT_EQ(v->C, c.C);
    EXPECT_FLOAT_EQ(v->D, c.D);
    EXPECT_FLOAT_EQ(v->E, c.E);
    const auto texts = ComputeInjection(c.q, c.i2, c.t, c.k3, c.k1);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(texts->memo.toStdString(), c.memo);
    EXPECT_EQ(texts->result.toStdString(), c.result);
  }
  // The negative zero of B (sin 0 times -0.5) shows without a sign.
  const auto v = ComputeInjectionValues(100, 1, 14, 2, 0);
  EXPECT_TRUE(std::signbit(v->B));
  EXPECT_FLOAT_EQ(float(v->S), 1.96747104f);
}

TEST_F(Injection, QuotientOf25TakesTheUpperBranch) {
  // r = 25 exactly for every list entry: C = 0 and D = 2 sin(3.14) on the
  // upper branch (the lower one would give half of it).
  const int quantities[] = {75, 100, 125, 150, 200};
  for (int i2 = 0; i2 < 5; ++i2) {
    const auto v = ComputeInjectionValues(quantities[i2], i2, 5, 0, 0);
    EXPECT_EQ(v->r, 25.0L);
    EXPECT_EQ(v->C, 0.0f);
    EXPECT_FLOAT_EQ(v->D, 0.00318530574f);
    EXPECT_EQ(ComputeInjection(quantities[i2], i2, 5, 0, 0)->result, "4.79");
  }
  // Just below 25 the lower branch scales (r - 25) by 0.05.
  const auto below = ComputeInjectionValues(74, 0, 5, 0, 0);
  EXPECT_EQ(below->C, float((74.0L / 3 - 25) * static_cast<long double>(0.05)));
}

TEST_F(Injection, CylinderTableAndItsFallback) {
  const int expected[] = {3, 4, 5, 6, 8, 10, 12, 16};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(CylinderCount(i), expected[i]);
  for (int i : {-1, 8, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
    EXPECT_EQ(CylinderCount(i), 1);
}

TEST_F(Injection, NegativeValueThatRoundsToZeroHasNoSign) {
  // q = 76 on 3 cylinders: r = 25.33, D = 2 sin(3.14 + 0.00167) < 0.
  const auto v = ComputeInjectionValues(76, 0, 14, 2, 0);
  EXPECT_LT(v->D, 0.0f);
  EXPECT_GT(v->D, -0.005f);
  EXPECT_EQ(ComputeInjection(76, 0, 14, 2, 0)->memo, "2.00 0.00 0.00");
}

TEST_F(Injection, TheUsersDecimalSeparatorIsUsed) {
  SetDecimalSeparator(u',');
  const auto texts = ComputeInjection(60, 1, 10, 0, 0);
  EXPECT_EQ(texts->memo, "1,50 -0,10 0,48");
  EXPECT_EQ(texts->result, "1,88");
}

TEST_F(Injection, AnyThirtyTwoBitInputsGiveFiniteTextsExceptTimeZero) {
  EXPECT_FALSE(ComputeInjectionValues(100, 1, 0, 2, 0).has_value());
  const int32_t extremes[] = {std::numeric_limits<int32_t>::min(), -1, 0, 1,
                              std::numeric_limits<int32_t>::max()};
  for (int32_t q : extremes)
    for (int32_t t : extremes)
      for (int32_t k : extremes) {
        if (t == 0) continue;
        const auto v = ComputeInjectionValues(q, k, t, k, k);
        ASSERT_TRUE(v.has_value());
        EXPECT_TRUE(std::isfinite(v->E) && std::isfinite(v->B) && std::isfinite(v->D) && std::isfinite(v->S))
            << q << " " << t << " " << k;
        const InjectionTexts texts = FormatInjection(*v);
        EXPECT_FALSE(texts.memo.contains(QLatin1String("INF")) || texts.memo.contains(QLatin1String("NAN")));
      }
  // Huge sums are written in scientific form.
  EXPECT_EQ(ComputeInjection(std::numeric_limits<int32_t>::max(), -1, 1, 0, 0)->result, "2.15E9");
}

}  // namespace
