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
// Both raise EInvalidOp for a NaN or a value outside the 64-bit range.
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
// Returns both separators to the values of the system locale.
void ResetSeparators();

// Formats `value` with a picture ("##0.0", "0e-0", "#,##0.00;(#,##0.00);zero").
// Raises EConvertError for a picture that cannot be used. The grammar is
// described in format_float.cpp. An empty picture formats like FloatToStr.
QString FormatFloat(const QString& picture, long double value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// Float to text with a format, a precision (significant digits, 1..18) and
// digits (decimals for ffFixed/ffNumber/ffCurrency, minimum exponent digits
// 0..4 for ffExponent). Infinities and NaN give "INF", "-INF" and "NAN".
QString FloatToStrF(long double value, TFloatFormat format, int precision, int digits);
// FloatToStrF(value, ffGeneral, 15, 0): shortest plain text of a value.
QString FloatToStr(long double value);

// Reads a decimal number ("12.5", "-3", "1e-3", with DecimalSeparator as the
// decimal point, surrounding blanks allowed), correctly rounded to extended
// precision and independent of the C library's locale. StrToFloat raises
// EConvertError ("'%s' is not a valid floating point value").
bool TryStrToFloat(const QString& text, long double& value);
long double StrToFloat(const QString& text);

// Returns x, raising EInvalidOp for a NaN and EOverflow for an infinity: for
// callers that compute with the library functions and must fail the way a
// trapping floating-point unit would.
long double CheckFloat(long double x);

// Division that raises EZeroDivide for x/0 (x finite and != 0), EInvalidOp for
// 0/0 and inf/inf, and EOverflow when finite operands give an infinite result.
long double FDiv(long double a, long double b);
// Natural logarithm that raises EZeroDivide for 0 and EInvalidOp below 0.
long double FLn(long double x);
// Integer division (truncating) that raises EDivByZero for a zero divisor and
// EIntError ("Integer overflow") for INT64_MIN / -1.
int64_t IDiv(int64_t a, int64_t b);
