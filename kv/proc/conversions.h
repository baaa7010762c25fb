#pragma once
// Small stateless conversions of the procedure unit: integers and single
// floats to and from binary texts, character removal and counting, the
// list tokenizer, evenly spaced number lists and integer min/max/clamp.
//
// Text positions in these contracts are counted from 1, as the callers (the
// scale painters and text procedures) count them.

#include <QChar>
#include <QString>
#include <cstdint>

// Binary text of `value`, most significant bit first. Without a width (0 or
// negative) the text stops at the highest set bit ("101" for 5, "0" for 0, 32
// characters for a negative value); a width n of 1..31 shows bits 0..n, that
// is n+1 characters; 32 or more shows all 32 bits.
QString KvIntToBin(int32_t value, int width);
// Binary text of the bit pattern of a single float (KvIntToBin of the bits).
QString KvSingleToBin(float value, int width);
// Reads a binary text from its last character backwards; any character other
// than "1" is a zero digit and only the last 32 characters count.
uint32_t KvBinToLWord(const QString& text);
// The KvBinToLWord bits read as a signed integer.
int32_t KvBinToInt(const QString& text);
// The KvBinToLWord bits read as a single float.
float KvBinToSingle(const QString& text);

// `text` with every occurrence of `c` removed.
QString KvRemoveSign(const QString& text, QChar c);
// Number of occurrences of `c` in `text`.
int KvCharCount(const QString& text, QChar c);
// Returns the text before the first `separator` and removes it and the
// separator from `text`; without a separator returns the whole text and
// leaves `text` empty.
QString KvStrToken(QString& text, QChar separator);

// List text of steps+1 numbers running from `second` down to `first`, each
// formatted with the picture `format` and followed by ";". The step is
// (second - first) / steps held as a single float. Negative steps give the
// empty text; steps = 0 raises the division's arithmetic error (EZeroDivide,
// or EInvalidOp when both values are equal) and returns nothing.
// More than KvMaxLabels labels are refused with EListError.
QString KvRangeStr(float first, float second, int steps, const QString& format);

// The most labels a list procedure makes. No scale shows more, and a count
// from a corrupt description must not exhaust the memory: a longer list is
// refused with EListError before its first label is made.
inline constexpr int64_t KvMaxLabels = 1000000;
// Raises EListError naming `procedure` when `count` exceeds KvMaxLabels.
void KvCheckLabelCount(const char* procedure, int64_t count);

int32_t KvMinInt(int32_t a, int32_t b);
int32_t KvMaxInt(int32_t a, int32_t b);
// `value` clamped into [lower, upper]; lower wins when lower > upper.
int32_t KvMinMaxInt(int32_t value, int32_t lower, int32_t upper);
