#pragma once
// Number helpers of the runtime: rounding, integer text, the user's separators,
// picture formatting (FormatFloat), the fixed float format (FloatToStrF) and
// floating-point operations that raise the framework's arithmetic exceptions
// instead of producing infinities or NaNs.
//
// Precision model: extended precision is long double (80-bit on x86-64),
// single is float, double is double. Storing a value "as single" is
// static_cast<float>; callers keep intermediates in long double.

#include <QChar>
#include <QString>
#include <cstdint>

// Round to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t Round(long double x);
// Round toward zero.
int64_t Trunc(long double x);

QString IntToStr(int64_t value);

// Decimal and thousands separators of the user's locale (from the system
// locale at start-up); tests and embedders may override them.
QChar DecimalSeparator();
QChar ThousandSeparator();
void SetDecimalSeparator(QChar c);
void SetThousandSeparator(QChar c);

// Formats `value` with a picture ("##0.0", "0e-0", "#,##0.00;(#,##0.00);zero").
// Raises EConvertError for a picture that cannot be used.
QString FormatFloat(const QString& picture, long double value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// Float to text with a format, a precision (significant digits) and digits.
QString FloatToStrF(long double value, TFloatFormat format, int precision, int digits);

// Division that raises EZeroDivide for x/0 (x != 0) and EInvalidOp for 0/0.
long double FDiv(long double a, long double b);
// Natural logarithm that raises EZeroDivide for 0 and EInvalidOp below 0.
long double FLn(long double x);
// Integer division that raises EDivByZero for a zero divisor.
int64_t IDiv(int64_t a, int64_t b);
