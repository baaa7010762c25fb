#include "platform/core/float_decimal.h"

#include <charconv>
#include <cmath>

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

  // to_chars is exact and independent of the C library's locale; precision 17
  // in scientific form gives d.ddddddddddddddddde+XX, 18 significant digits
  // rounded to nearest with ties to even.
  char buf[48];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
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
