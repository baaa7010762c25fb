// FloatToStrF and FloatToStr: a number written with a format, a precision and
// a number of digits, all working from the 18-digit decimal expansion.
//
// ffFixed (and ffNumber, which adds thousands separators):
//   zero of either sign gives "0" + separator + `digits` zeros. Otherwise
//   N = min(precision, X + digits) significant digits are kept, rounding half
//   up on the next digit with carry (N < 0 or nothing left: zero, written
//   without a minus sign). If then X > precision the text is scientific,
//   d1[.rest]E(X-1) with no "+" and no leading zeros; otherwise it is the
//   integer part (first X digits padded with zeros, or "0") and exactly
//   `digits` decimals.
// ffGeneral: `precision` significant digits, trailing zeros dropped; scientific
//   (as above) when X > precision or the magnitude is below 0.0001 (X < -3),
//   else plain.
// ffExponent: d.ddd (precision digits) "E", a sign always, and at least
//   `digits` (0..4) exponent digits.
// ffCurrency: the ffNumber text of the magnitude with the system locale's
//   currency symbol in front, and a minus sign before the symbol.
// Precision is clamped to 1..18 and digits to 0..18 (0..4 for ffExponent).

#include <QLocale>
#include <algorithm>

#include "platform/core/float_decimal.h"
#include "platform/core/numbers.h"

namespace {

// A text built in place and turned into a QString once: the fixed and
// scientific forms are at most 1 + 18 + 6 + 1 + 18 characters long.
class TTextBuffer {
 public:
  void Add(char16_t c) { chars_[size_++] = c; }
  void Add(QChar c) { chars_[size_++] = c.unicode(); }
  void AddLatin1(char c) { chars_[size_++] = char16_t(static_cast<unsigned char>(c)); }
  // A non-negative integer in decimal.
  void AddNumber(int n) {
    char16_t digits[12];
    int k = 0;
    do {
      digits[k++] = char16_t(u'0' + n % 10);
      n /= 10;
    } while (n > 0);
    while (k > 0) chars_[size_++] = digits[--k];
  }
  QString Text() const { return QString(reinterpret_cast<const QChar*>(chars_), size_); }

 private:
  char16_t chars_[64];
  int size_ = 0;
};

// Integer part of a kept expansion: the first X digits, padded with zeros;
// "0" when X <= 0. With grouping, thousands separators between groups of three.
void AddIntegerPart(TTextBuffer& s, const TFloatDecimal& d, bool grouping) {
  if (d.IsZero() || d.Exponent <= 0) {
    s.Add(u'0');
    return;
  }
  const QChar thousand = grouping ? ThousandSeparator() : QChar();
  for (int i = 0; i < d.Exponent; ++i) {
    s.AddLatin1(d.DigitAt(i));
    const int place = d.Exponent - i;
    if (grouping && place > 1 && place % 3 == 1) s.Add(thousand);
  }
}

// d1[sep rest]E(X-1): the scientific form of the fixed and general formats.
QString ShortScientific(const TFloatDecimal& d) {
  TTextBuffer s;
  if (d.Negative) s.Add(u'-');
  s.AddLatin1(d.Digits[0]);
  if (d.Count > 1) {
    s.Add(DecimalSeparator());
    for (int i = 1; i < d.Count; ++i) s.AddLatin1(d.Digits[static_cast<size_t>(i)]);
  }
  s.Add(u'E');
  const int exponent = d.Exponent - 1;
  if (exponent < 0) s.Add(u'-');
  s.AddNumber(exponent < 0 ? -exponent : exponent);
  return s.Text();
}

QString Fixed(TFloatDecimal d, int precision, int digits, bool grouping) {
  if (!d.IsZero()) RoundDecimal(d, std::min(precision, d.Exponent + digits));
  TTextBuffer s;
  if (d.IsZero()) {
    s.Add(u'0');
    if (digits > 0) {
      s.Add(DecimalSeparator());
      for (int k = 0; k < digits; ++k) s.Add(u'0');
    }
    return s.Text();
  }
  if (d.Exponent > precision) return ShortScientific(d);
  if (d.Negative) s.Add(u'-');
  AddIntegerPart(s, d, grouping);
  if (digits > 0) {
    s.Add(DecimalSeparator());
    for (int k = 0; k < digits; ++k) s.AddLatin1(d.DigitAt(d.Exponent + k));
  }
  return s.Text();
}

QString General(TFloatDecimal d, int precision) {
  RoundDecimal(d, precision);
  if (d.IsZero()) return QStringLiteral("0");
  if (d.Exponent > precision || d.Exponent < -3) return ShortScientific(d);
  QString s;
  if (d.Negative) s += QLatin1Char('-');
  TTextBuffer integer;
  AddIntegerPart(integer, d, false);
  s += integer.Text();
  if (d.Count > d.Exponent) {
    s += DecimalSeparator();
    // From X < 0 the first -X digits read as the zeros after the point.
    for (int i = d.Exponent; i < d.Count; ++i) s += QLatin1Char(d.DigitAt(i));
  }
  return s;
}

QString Exponent(TFloatDecimal d, int precision, int digits) {
  RoundDecimal(d, precision);
  QString s;
  if (d.Negative && !d.IsZero()) s += QLatin1Char('-');
  s += QLatin1Char(d.IsZero() ? '0' : d.Digits[0]);
  if (precision > 1) {
    s += DecimalSeparator();
    for (int i = 1; i < precision; ++i) s += QLatin1Char(d.DigitAt(i));
  }
  const int exponent = d.IsZero() ? 0 : d.Exponent - 1;
  s += QLatin1Char('E');
  s += QLatin1Char(exponent < 0 ? '-' : '+');
  const QString e = QString::number(exponent < 0 ? -exponent : exponent);
  if (e.size() < digits) s += QString(digits - e.size(), QLatin1Char('0'));
  s += e;
  return s;
}

}  // namespace

QString FloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
  const TFloatDecimal d = FloatToDecimal(value);
  if (d.Kind != TFloatDecimal::fkFinite) return NonFiniteText(d);
  precision = std::clamp(precision, 1, TFloatDecimal::kMaxDigits);
  switch (format) {
    case ffGeneral:
      return General(d, precision);
    case ffExponent:
      return Exponent(d, precision, std::clamp(digits, 0, 4));
    case ffFixed:
      return Fixed(d, precision, std::clamp(digits, 0, 18), false);
    case ffNumber:
      return Fixed(d, precision, std::clamp(digits, 0, 18), true);
    case ffCurrency: {
      QString number = Fixed(d, precision, std::clamp(digits, 0, 18), true);
      const bool minus = number.startsWith(QLatin1Char('-'));
      if (minus) number.remove(0, 1);
      return (minus ? QStringLiteral("-") : QString()) + QLocale::system().currencySymbol() + number;
    }
  }
  return General(d, precision);
}

QString FloatToStr(long double value) {
  return FloatToStrF(value, ffGeneral, 15, 0);
}
