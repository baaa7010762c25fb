#pragma once
// Arithmetic and label lists of logarithmic (decade) scales. All arithmetic
// runs in extended precision; label lists are ";"-terminated items formatted
// with a caller's picture ("0e-0" writes 1000 as 1e3).

#include <QString>

// log10(x) = ln(x) / ln(10). Raises EZeroDivide for 0 and EInvalidOp below 0.
long double KvLog10(long double x);
// base^exponent = e^(exponent * ln(base)); defined for base > 0 only (the
// same errors as KvLog10 otherwise). A result beyond the extended range
// raises EOverflow.
long double KvPower(long double base, long double exponent);
// The decade nearest to x (round-half-even of log10 x): returns 10^e and
// stores e. Values not above 0 count as 1, so this never raises.
double KvRoundLogValue(double x, int& e);
// decades+1 labels. Descending: 10^top, 10^(top-1), ..., 10^e where
// e = round(log10 x) and top = e + decades. Ascending: x, 10x, ...,
// 10^decades * x (starting at x itself, not at its decade).
QString KvCalcLogStr(double x, int decades, const QString& format, bool descending);
// Labels 10^e for e stepping from one end to the other by (high - low) /
// steps (steps below 1 count as 1). When the step does not divide the span
// the last label lies beyond the far end; high < low gives one label.
QString KvLogRangeStr(int low, int high, int steps, const QString& format, bool descending);
