#pragma once
// Decimal expansion of an extended value, the common ground of the number
// formatters. A finite value is 0.d1 d2 ... dn x 10^Exponent with d1 != 0 and
// no trailing zero digits; zero has no digits at all and the exponent 0.
//
// The expansion holds 18 significant digits of the 80-bit value, the 18th
// rounded to nearest with ties to even from the exact binary value. The
// formatters then round that text half away from zero at the last digit they
// write, so 2.5 shows as 3 and 0.125 as 0.13 while 0.15 (a double just below
// 0.15) keeps showing as 0.1 with one decimal.

#include <QString>
#include <array>

struct TFloatDecimal {
  enum TKind { fkFinite, fkInfinite, fkNaN };
  static constexpr int kMaxDigits = 18;

  TKind Kind = fkFinite;
  bool Negative = false;
  int Exponent = 0;
  int Count = 0;                          // significant digits held, 0 for zero
  std::array<char, kMaxDigits> Digits{};  // '1'..'9' first, then '0'..'9'

  bool IsZero() const { return Kind == fkFinite && Count == 0; }
  // Digit i (0-based) of the expansion; '0' outside the held digits.
  char DigitAt(int i) const { return i >= 0 && i < Count ? Digits[static_cast<size_t>(i)] : '0'; }
};

// Expansion of `value` to 18 significant digits. Infinities and NaN only set
// Kind (and Negative for an infinity).
TFloatDecimal FloatToDecimal(long double value);

// Keeps `keep` significant digits, rounding half up on the first dropped digit
// (away from zero, since the digits are a magnitude). A carry out of the first
// digit leaves the single digit 1 and raises Exponent by one; so does keep == 0
// with a first digit of 5 or more. keep < 0, or nothing left, gives zero (the
// sign flag is kept; callers decide whether a rounded zero shows a minus).
void RoundDecimal(TFloatDecimal& d, int keep);

// "INF", "-INF" or "NAN" for a value that is not finite.
QString NonFiniteText(const TFloatDecimal& d);
