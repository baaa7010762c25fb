#include "platform/core/numbers.h"

#include <emmintrin.h>

#include <QLocale>
#include <atomic>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/core/exceptions.h"

namespace {

// Both bounds are powers of two, exact in long double.
constexpr long double kInt64Low = -9223372036854775808.0L;
constexpr long double kInt64High = 9223372036854775808.0L;

int64_t ToInt64(long double r) {
  // A NaN fails both comparisons. The hardware conversion of such a value is
  // an invalid operation; in C++ it would be undefined.
  if (!(r >= kInt64Low && r < kInt64High)) throw EInvalidOp(SInvalidOp);
  return static_cast<int64_t>(r);
}

char16_t FirstCharOr(const QString& s, char16_t fallback) {
  return s.isEmpty() ? fallback : s.at(0).unicode();
}

// The separators are read from the system locale on first use; the setters
// force that first read so a later lazy read cannot undo an override. Atomics
// because formatting may run on a timer's worker thread.
struct TSeparators {
  std::atomic<char16_t> Decimal;
  std::atomic<char16_t> Thousand;
  TSeparators() { Reset(); }
  void Reset() {
    const QLocale system = QLocale::system();
    Decimal.store(FirstCharOr(system.decimalPoint(), u'.'));
    Thousand.store(FirstCharOr(system.groupSeparator(), u','));
  }
};

TSeparators& Separators() {
  static TSeparators separators;
  return separators;
}

bool IsAsciiDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

// Below 2^52 in magnitude the nearest double is within a quarter of x, so a
// whole number taken from it with one SSE instruction is the result or one
// off, and exact long double arithmetic mends that. The library's x87 routes
// cost far more: nearbyintl saves and restores the floating-point
// environment, and the x87 truncation switches the unit's rounding mode twice
// (the gradients round or truncate three colour components per line).
constexpr long double kFastLimit = 4503599627370496.0L;  // 2^52

int64_t Round(long double x) {
  if (x > -kFastLimit && x < kFastLimit) {
    int64_t i = _mm_cvtsd_si64(_mm_set_sd(static_cast<double>(x)));
    const long double rest = x - static_cast<long double>(i);  // exact, within 1.25
    if (rest > 0.5L || (rest == 0.5L && (i & 1) != 0))
      ++i;
    else if (rest < -0.5L || (rest == -0.5L && (i & 1) != 0))
      --i;
    return i;
  }
  return ToInt64(std::nearbyint(x));
}

int64_t Trunc(long double x) {
  if (x > -kFastLimit && x < kFastLimit) {
    int64_t i = static_cast<int64_t>(static_cast<double>(x));
    if (x >= 0) {
      if (i > x)
        --i;
      else if (i + 1 <= x)
        ++i;
    } else {
      if (i < x)
        ++i;
      else if (i - 1 >= x)
        --i;
    }
    return i;
  }
  return ToInt64(std::trunc(x));
}

QString IntToStr(int64_t value) {
  return QString::number(static_cast<qlonglong>(value));
}

QChar DecimalSeparator() {
  return QChar(Separators().Decimal.load(std::memory_order_relaxed));
}

QChar ThousandSeparator() {
  return QChar(Separators().Thousand.load(std::memory_order_relaxed));
}

void SetDecimalSeparator(QChar c) {
  Separators().Decimal.store(c.unicode());
}

void SetThousandSeparator(QChar c) {
  Separators().Thousand.store(c.unicode());
}

void ResetSeparators() {
  Separators().Reset();
}

bool TryStrToFloat(const QString& text, long double& value) {
  const QString s = text.trimmed();
  const QChar point = DecimalSeparator();
  // Validate the shape ourselves: [sign] digits [point digits] [e [sign] digits],
  // at least one mantissa digit. Meanwhile build the text from_chars reads.
  std::string ascii;
  ascii.reserve(static_cast<size_t>(s.size()));
  qsizetype i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
    negative = s[i] == QLatin1Char('-');
    ++i;
  }
  int mantissaDigits = 0;
  // Decimal magnitude of the number (position of its first non-zero digit
  // relative to the point), to tell an underflow from an overflow.
  long long magnitude = 0;
  bool seenNonZero = false;
  bool seenPoint = false;
  for (; i < s.size(); ++i) {
    const QChar c = s[i];
    if (IsAsciiDigit(c)) {
      ++mantissaDigits;
      if (c != QLatin1Char('0')) seenNonZero = true;
      if (!seenPoint && seenNonZero) ++magnitude;
      if (seenPoint && !seenNonZero) --magnitude;
      ascii.push_back(static_cast<char>(c.unicode()));
    } else if (c == point && !seenPoint) {
      seenPoint = true;
      ascii.push_back('.');
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
    ascii.push_back('e');
    ++i;
    bool expNegative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
      expNegative = s[i] == QLatin1Char('-');
      if (expNegative) ascii.push_back('-');
      ++i;
    }
    const qsizetype expStart = i;
    long long exponent = 0;
    for (; i < s.size() && IsAsciiDigit(s[i]); ++i) {
      ascii.push_back(static_cast<char>(s[i].unicode()));
      if (exponent < 1000000) exponent = exponent * 10 + (s[i].unicode() - u'0');
    }
    if (i == expStart) return false;
    magnitude += expNegative ? -exponent : exponent;
  }
  if (i != s.size()) return false;

  long double result = 0;
  const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), result);
  if (res.ec == std::errc::result_out_of_range) {
    if (!seenNonZero || magnitude < 0) {
      result = 0;  // below the smallest denormal: reads as zero
    } else {
      return false;
    }
  } else if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size()) {
    return false;
  }
  value = negative ? -result : result;
  return true;
}

long double StrToFloat(const QString& text) {
  long double value = 0;
  if (!TryStrToFloat(text, value))
    throw EConvertError(Exception::Fmt("'%s' is not a valid floating point value", text));
  return value;
}

long double CheckFloat(long double x) {
  if (std::isnan(x)) throw EInvalidOp(SInvalidOp);
  if (std::isinf(x)) throw EOverflow(SOverflow);
  return x;
}

// The checks follow what a floating-point unit with the zero-divide,
// invalid-operation and overflow traps enabled reports: quiet NaN operands pass
// through without a trap, an infinite dividend over zero is no zero-divide.
long double FDiv(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b)) return a / b;
  if (b == 0) {
    if (a == 0) throw EInvalidOp(SInvalidOp);
    if (std::isinf(a)) return a / b;
    throw EZeroDivide(SZeroDivide);
  }
  if (std::isinf(a) && std::isinf(b)) throw EInvalidOp(SInvalidOp);
  const long double r = a / b;
  if (std::isinf(r) && !std::isinf(a)) throw EOverflow(SOverflow);
  return r;
}

long double FLn(long double x) {
  if (std::isnan(x)) return x;
  if (x == 0) throw EZeroDivide(SZeroDivide);
  if (x < 0) throw EInvalidOp(SInvalidOp);
  return std::log(x);
}

int64_t IDiv(int64_t a, int64_t b) {
  if (b == 0) throw EDivByZero(SDivByZero);
  if (b == -1 && a == std::numeric_limits<int64_t>::min())
    throw EIntError(QStringLiteral("Integer overflow"));
  return a / b;
}
