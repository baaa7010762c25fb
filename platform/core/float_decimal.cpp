#include "platform/core/float_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

static_assert(std::numeric_limits<long double>::digits == 64, "the fast path reads an 80-bit extended value");

using u128 = unsigned __int128;

constexpr uint64_t kTen17 = 100000000000000000ull;
constexpr uint64_t kTen18 = 1000000000000000000ull;
constexpr int kMaxPow5 = 27;  // 5^27 < 2^63, so m * 5^s fits 127 bits

constexpr std::array<uint64_t, kMaxPow5 + 1> kPow5 = [] {
  std::array<uint64_t, kMaxPow5 + 1> p{};
  p[0] = 1;
  for (size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 5;
  return p;
}();

// m x 2^e2 x 10^s rounded to the nearest integer, ties to even, into `n`;
// false when the result would not fit 64 bits or s is beyond the table.
// Exact: 10^s = 5^s x 2^s, and m x 5^s fits 128 bits.
bool ScaledRound(uint64_t m, int e2, int s, uint64_t& n) {
  if (s < 0 || s > kMaxPow5) return false;
  const u128 p = u128(m) * kPow5[size_t(s)];
  const int shift = e2 + s;
  if (shift >= 0) {
    if (shift >= 64 || (p >> (64 - shift)) != 0) return false;
    n = uint64_t(p << shift);
    return true;
  }
  const int t = -shift;
  if (t >= 128) return false;
  const u128 q = p >> t;
  if ((q >> 64) != 0) return false;
  const u128 rest = p - (q << t);
  const u128 half = u128(1) << (t - 1);
  n = uint64_t(q);
  if (rest > half || (rest == half && (n & 1) != 0)) ++n;
  return true;
}

// The 18 digits of a positive normal value whose decimal exponent lies within
// the power-of-five table (about 1e-10 to 1e18), in integer arithmetic;
// false for other values.
bool ExactDigits(long double value, TFloatDecimal& d) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &value, sizeof value);
  uint64_t m;
  uint16_t signExp;
  std::memcpy(&m, bytes, 8);
  std::memcpy(&signExp, bytes + 8, 2);
  const int biased = signExp & 0x7FFF;
  if (biased == 0 || (m >> 63) == 0) return false;  // subnormal or unnormal
  const int e2 = biased - 16383 - 63;               // value = m x 2^e2
  // value lies in [2^(e2+63), 2^(e2+64)): k is floor(log10 value) or one less.
  const int k = int(std::floor((e2 + 63) * 0.301029995663981195));
  int s = 17 - k;
  uint64_t n = 0;
  for (int tries = 0; tries < 3; ++tries) {
    if (!ScaledRound(m, e2, s, n)) return false;
    if (n >= kTen18) {
      --s;
    } else if (n < kTen17) {
      ++s;
    } else {
      break;
    }
  }
  if (n < kTen17 || n >= kTen18) return false;
  d.Exponent = 18 - s;
  for (int i = TFloatDecimal::kMaxDigits - 1; i >= 0; --i) {
    d.Digits[size_t(i)] = char('0' + n % 10);
    n /= 10;
  }
  int count = TFloatDecimal::kMaxDigits;
  while (count > 0 && d.Digits[size_t(count - 1)] == '0') --count;
  d.Count = count;
  return true;
}

// The same through the standard library's exact conversion, for the values
// outside the table.
void LibraryDigits(long double value, TFloatDecimal& d) {
  // Precision 17 in scientific form gives d.ddddddddddddddddde+XX: 18
  // significant digits rounded to nearest with ties to even.
  char buf[48];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                                 TFloatDecimal::kMaxDigits - 1);
  const char* p = buf;
  const char* end = res.ptr;
  int n = 0;
  for (; p < end && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9' && n < TFloatDecimal::kMaxDigits) d.Digits[static_cast<size_t>(n++)] = *p;
  }
  int exp10 = 0;
  if (p < end) std::from_chars(*(p + 1) == '+' ? p + 2 : p + 1, end, exp10);
  d.Exponent = exp10 + 1;
  while (n > 0 && d.Digits[static_cast<size_t>(n - 1)] == '0') --n;
  d.Count = n;
}

}  // namespace

TFloatDecimal FloatToDecimal(long double value) {
  TFloatDecimal d;
  d.Negative = std::signbit(value);
  if (std::isnan(value)) {
    d.Kind = TFloatDecimal::fkNaN;
    d.Negative = false;
    return d;
  }
  if (std::isinf(value)) {
    d.Kind = TFloatDecimal::fkInfinite;
    return d;
  }
  if (value == 0) return d;
  const long double magnitude = std::fabs(value);
  if (!ExactDigits(magnitude, d)) LibraryDigits(magnitude, d);
  return d;
}

void RoundDecimal(TFloatDecimal& d, int keep) {
  if (d.Kind != TFloatDecimal::fkFinite || d.Count == 0) return;
  if (keep < 0) {
    d.Count = 0;
    d.Exponent = 0;
    return;
  }
  if (keep >= d.Count) return;
  const bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
  d.Count = keep;
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.Digits[static_cast<size_t>(i)] == '9') --i;
    if (i < 0) {
      // Carry out of the first digit (or nothing kept): 0.999.. x 10^X -> 0.1 x 10^(X+1).
      d.Digits[0] = '1';
      d.Count = 1;
      ++d.Exponent;
      return;
    }
    ++d.Digits[static_cast<size_t>(i)];
    d.Count = i + 1;  // digits after i became zeros
  }
  while (d.Count > 0 && d.Digits[static_cast<size_t>(d.Count - 1)] == '0') --d.Count;
  if (d.Count == 0) d.Exponent = 0;
}

QString NonFiniteText(const TFloatDecimal& d) {
  if (d.Kind == TFloatDecimal::fkNaN) return QStringLiteral("NAN");
  return d.Negative ? QStringLiteral("-INF") : QStringLiteral("INF");
}
