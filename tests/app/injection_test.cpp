// The calculation on its own: the partial values of the worked examples,
// the branch at r = 25, the texts, and inputs far outside the window's range.

#include "app/injection.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "platform/core/numbers.h"

namespace {

// Bit patterns of the stored singles, so that a rounding step left out or
// done in another order shows up as a different last bit.
constexpr uint32_t Bits(float f) {
  return std::bit_cast<uint32_t>(f);
}

struct Case {
  int q, i2, t, k3, k1;
  uint32_t a, B, C, D, E;
  const char* memo;
  const char* result;
};

// The worked example, the further cases, and two inputs where storing E
// after each step changes the text.
const Case kCases[] = {
    {100, 1, 14, 2, 0, 0x00000000, 0x80000000, 0x00000000, 0x3b50c090, 0x3ffb6db7, "2.00 0.00 0.00", "1.97"},
    {60, 1, 10, 0, 0, 0x3e4ccccd, 0xbdcb6ff9, 0xbf000000, 0x3ef62e62, 0x3fc00000, "1.50 -0.10 0.48", "1.88"},
    {1000, 0, 5, 2, 0, 0x3ee66666, 0xbe5eb3cd, 0x3fc55555, 0xbfffe113, 0x4292aaaa, "73.00 -0.22 -2.00",
     "71.10"},
    {20, 4, 30, 0, -1, 0xbf4ccccd, 0x3eb7a4a6, 0xbf900000, 0x3f6727f0, 0x3d088889, "0.03 0.36 0.90", "1.29"},
    {1000, -1, 5, 2, 0, 0x3ee66666, 0xbe5eb3cd, 0x409c0000, 0x3ffcb043, 0x435c0000, "2.2E2 -0.22 2.00",
     "222.00"},
    {20, 1, 30, 1, 0, 0xbf4ccccd, 0x3eb7a4a6, 0xbf800000, 0x3f57a2f8, 0x3e333334, "0.18 0.36 0.84", "1.38"},
    {99, -1, 20, 1, 0, 0xbe99999a, 0x3e174e6d, 0x3ebd70a4, 0xbf3862f9, 0x40a651eb, "5.20 0.15 -0.72", "4.62"},
    // r just below 25 scales (r - 25) by 0.05; r = 25 exactly takes the upper branch.
    {74, 0, 5, 0, 0, 0x3ee66666, 0xbe5eb3cd, 0xbc888889, 0x3c959272, 0x409dddde, "4.90 -0.22 0.02", "4.73"},
    {75, 0, 5, 0, 0, 0x3ee66666, 0xbe5eb3cd, 0x00000000, 0x3b50c090, 0x40a00000, "5.00 -0.22 0.00", "4.79"},
};

class Injection : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator(u'.'); }
  void TearDown() override { ResetSeparators(); }
};

TEST_F(Injection, StoredSinglesAndTextsBitForBit) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.q << " " << c.i2 << " " << c.t << " " << c.k3 << " " << c.k1);
    const auto v = ComputeInjectionValues(c.q, c.i2, c.t, c.k3, c.k1);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(Bits(v->a), c.a);
    EXPECT_EQ(Bits(v->B), c.B);
    EXPECT_EQ(Bits(v->C), c.C);
    EXPECT_EQ(Bits(v->D), c.D);
    EXPECT_EQ(Bits(v->E), c.E);
    const auto texts = ComputeInjection(c.q, c.i2, c.t, c.k3, c.k1);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(texts->memo.toStdString(), c.memo);
    EXPECT_EQ(texts->result.toStdString(), c.result);
  }
  // The sum stays in extended precision: E + D needs 33 significant bits.
  EXPECT_EQ(ComputeInjectionValues(100, 1, 14, 2, 0)->S,
            static_cast<long double>(std::bit_cast<float>(0x3ffb6db7u)) + std::bit_cast<float>(0x3b50c090u));
}

TEST_F(Injection, BIsTheSineOfTheStoredA) {
  // B for t = 5..30; for t = 11, 12, 16 and 17 the sine of the unrounded
  // (14 - t) x 0.05 would differ in the last bit.
  const uint32_t expected[] = {0xbe5eb3cd, 0xbe4761d7, 0xbe2f904d, 0xbe174e6d, 0xbdfd5777, 0xbdcb6ff9,
                               0xbd990650, 0xbd4c7577, 0xbcccb6f5, 0x80000000, 0x3cccb6f5, 0x3d4c7577,
                               0x3d990650, 0x3dcb6ff9, 0x3dfd5777, 0x3e174e6d, 0x3e2f904d, 0x3e4761d7,
                               0x3e5eb3cd, 0x3e757744, 0x3e85ced5, 0x3e908c69, 0x3e9aed7f, 0x3ea4eb73,
                               0x3eae7fe1, 0x3eb7a4a6};
  for (int t = 5; t <= 30; ++t)
    EXPECT_EQ(Bits(ComputeInjectionValues(100, 1, t, 2, 0)->B), expected[t - 5]) << "t = " << t;
}

TEST_F(Injection, QuotientOf25TakesTheUpperBranchForEveryCylinderItem) {
  const int quantities[] = {75, 100, 125, 150, 200};
  for (int i2 = 0; i2 < 5; ++i2) {
    const auto v = ComputeInjectionValues(quantities[i2], i2, 5, 0, 0);
    EXPECT_EQ(v->r, 25.0L);
    EXPECT_EQ(Bits(v->D), 0x3b50c090u) << "2 sin(3.14), not 1 sin(3.14)";
  }
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
