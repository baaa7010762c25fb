#include "kv/proc/log_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "kv/proc/conversions.h"
#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"

namespace {

// 10^e read from the text "1e<e>" as a double, which gives the correctly
// rounded decade (repeated multiplication would not for negative exponents).
double DecadeValue(int64_t e) {
  const QByteArray text = "1e" + QByteArray::number(e);
  const double value = std::strtod(text.constData(), nullptr);
  if (std::isinf(value)) throw EOverflow(QString::fromLatin1(SOverflow));
  return value;
}

void AppendLabel(QString& list, const QString& format, long double value) {
  list += FormatFloat(format, value);
  list += QLatin1Char(';');
}

}  // namespace

long double KvLog10(long double x) {
  return FLn(x) / FLn(10.0L);
}

long double KvPower(long double base, long double exponent) {
  const long double result = std::exp(exponent * FLn(base));
  if (std::isinf(result) && std::isfinite(exponent)) throw EOverflow(QString::fromLatin1(SOverflow));
  return result;
}

double KvRoundLogValue(double x, int& e) {
  if (!(x > 0)) x = 1.0;
  // +Inf has no decade; the largest finite value stands for it (1e308).
  if (x > std::numeric_limits<double>::max()) x = std::numeric_limits<double>::max();
  e = static_cast<int>(Round(KvLog10(x)));
  return static_cast<double>(KvPower(10, e));
}

QString KvCalcLogStr(double x, int decades, const QString& format, bool descending) {
  KvCheckLabelCount("KvCalcLogStr", int64_t(std::max(decades, 0)) + 1);
  const int64_t e = Round(KvLog10(x));
  QString list;
  // The running value is held in double; each step is computed in extended
  // precision and then stored.
  double v;
  if (descending) {
    v = DecadeValue(e + decades);
    AppendLabel(list, format, v);
    for (int i = 0; i < decades; ++i) {
      v = static_cast<double>(static_cast<long double>(v) / 10);
      AppendLabel(list, format, v);
    }
  } else {
    v = x;
    AppendLabel(list, format, v);
    for (int i = 0; i < decades; ++i) {
      v = static_cast<double>(static_cast<long double>(v) * 10);
      if (std::isinf(v)) throw EOverflow(QString::fromLatin1(SOverflow));
      AppendLabel(list, format, v);
    }
  }
  return list;
}

QString KvLogRangeStr(int low, int high, int steps, const QString& format, bool descending) {
  if (steps < 1) steps = 1;
  int64_t step = (int64_t(high) - low) / steps;
  // A span smaller than the steps count truncates the step to 0, which would
  // never reach the far end: walk it one decade at a time instead.
  if (step == 0) step = 1;
  const int64_t span = int64_t(high) - low;
  KvCheckLabelCount("KvLogRangeStr", span <= 0 ? 1 : 1 + (span + step - 1) / step);
  QString list;
  if (descending) {
    int64_t e = high;
    AppendLabel(list, format, DecadeValue(e));
    while (e > low) {
      e -= step;
      AppendLabel(list, format, DecadeValue(e));
    }
  } else {
    int64_t e = low;
    AppendLabel(list, format, DecadeValue(e));
    while (e < high) {
      e += step;
      AppendLabel(list, format, DecadeValue(e));
    }
  }
  return list;
}
