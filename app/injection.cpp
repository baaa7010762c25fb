#include "app/injection.h"

#include <array>
#include <bit>
#include <cmath>

#include "platform/core/numbers.h"

namespace {

// The double constants of the calculation, widened exactly to extended.
constexpr long double k005 = static_cast<long double>(0.05);
constexpr long double k0005 = static_cast<long double>(0.005);
constexpr long double k314 = static_cast<long double>(3.14);

// sin of an argument rounded to double, computed in extended precision.
// Arguments recur from one calculation to the next (a depends on t alone,
// C on q / c alone), so each thread keeps the last sines by argument: the
// same argument gives the same bits, with or without the memo.
long double SinOfDouble(long double x) {
  const double arg = static_cast<double>(x);
  struct Entry {
    uint64_t bits = 0;
    bool used = false;
    long double sine = 0;
  };
  thread_local std::array<Entry, 1024> memo;
  const uint64_t bits = std::bit_cast<uint64_t>(arg);
  Entry& entry = memo[(bits ^ (bits >> 21) ^ (bits >> 42)) % memo.size()];
  if (!entry.used || entry.bits != bits) entry = {bits, true, sinl(static_cast<long double>(arg))};
  return entry.sine;
}

}  // namespace

int CylinderCount(int32_t i2) {
  static constexpr int kCylinders[] = {3, 4, 5, 6, 8, 10, 12, 16};
  return i2 >= 0 && i2 < 8 ? kCylinders[i2] : 1;
}

std::optional<InjectionValues> ComputeInjectionValues(int32_t q, int32_t i2, int32_t t, int32_t k3,
                                                      int32_t k1) {
  if (t == 0) return std::nullopt;
  InjectionValues v;
  const int c = CylinderCount(i2);
  // 14 - t in 64 bits: t may be any 32-bit value.
  v.a = static_cast<float>(static_cast<long double>(int64_t(14) - t) * k005);
  v.B = static_cast<float>(SinOfDouble(v.a) * -0.5L);
  v.r = static_cast<long double>(q) / c;
  if (v.r >= 25) {
    v.C = static_cast<float>((v.r - 25) * k0005);
    v.D = static_cast<float>(SinOfDouble(v.C + k314) * 2);
  } else {
    v.C = static_cast<float>((v.r - 25) * k005);
    v.D = static_cast<float>(SinOfDouble(v.C + k314) * 1);
  }
  v.E = static_cast<float>(v.r / t);
  v.E = static_cast<float>(static_cast<long double>(k3) * k005 * v.E + v.E);
  v.E = static_cast<float>(static_cast<long double>(k1) * k005 + v.E);
  v.S = static_cast<long double>(v.E) + v.B + v.D;
  return v;
}

InjectionTexts FormatInjection(const InjectionValues& values) {
  InjectionTexts texts;
  texts.memo = FloatToStrF(values.E, ffFixed, 2, 2) + u' ' + FloatToStrF(values.B, ffFixed, 2, 2) + u' ' +
               FloatToStrF(values.D, ffFixed, 2, 2);
  texts.result = FloatToStrF(values.S, ffFixed, 3, 2);
  return texts;
}

std::optional<InjectionTexts> ComputeInjection(int32_t q, int32_t i2, int32_t t, int32_t k3, int32_t k1) {
  const std::optional<InjectionValues> values = ComputeInjectionValues(q, i2, t, k3, k1);
  if (!values) return std::nullopt;
  return FormatInjection(*values);
}
