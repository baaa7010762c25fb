#include "kv/proc/conversions.h"

#include <bit>

#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"

QString KvIntToBin(int32_t value, int width) {
  if (width < 0) width = 0;
  const uint32_t bits = static_cast<uint32_t>(value);
  // Digits are produced least significant first, so fill a buffer from its end.
  char digits[32];
  int first = 32;
  uint32_t accumulated = 0;
  for (int i = 0; i < 32; ++i) {
    const bool set = (bits >> i) & 1u;
    if (set) accumulated += uint32_t(1) << i;
    digits[--first] = set ? '1' : '0';
    if (width == 0 && accumulated == bits) break;
    if (width != 0 && i == width) break;
  }
  return QString::fromLatin1(digits + first, 32 - first);
}

QString KvSingleToBin(float value, int width) {
  return KvIntToBin(std::bit_cast<int32_t>(value), width);
}

uint32_t KvBinToLWord(const QString& text) {
  uint32_t result = 0;
  uint32_t weight = 1;
  for (qsizetype i = text.size() - 1; i >= 0 && weight != 0; --i) {
    if (text.at(i) == QLatin1Char('1')) result += weight;
    weight <<= 1;  // unsigned: becomes 0 after 32 characters
  }
  return result;
}

int32_t KvBinToInt(const QString& text) {
  return static_cast<int32_t>(KvBinToLWord(text));
}

float KvBinToSingle(const QString& text) {
  return std::bit_cast<float>(KvBinToLWord(text));
}

QString KvRemoveSign(const QString& text, QChar c) {
  QString result;
  result.reserve(text.size());
  for (const QChar ch : text)
    if (ch != c) result.append(ch);
  return result;
}

int KvCharCount(const QString& text, QChar c) {
  return int(text.count(c));
}

QString KvStrToken(QString& text, QChar separator) {
  const qsizetype at = text.indexOf(separator);
  if (at < 0) {
    QString token;
    token.swap(text);
    return token;
  }
  QString token = text.left(at);
  text.remove(0, at + 1);
  return token;
}

QString KvRangeStr(float first, float second, int steps, const QString& format) {
  // The division comes first, so steps = 0 raises before anything is built.
  const float step = static_cast<float>(FDiv(
      static_cast<long double>(second) - static_cast<long double>(first), static_cast<long double>(steps)));
  QString result;
  if (steps < 0) return result;
  KvCheckLabelCount("KvRangeStr", int64_t(steps) + 1);
  for (int k = 0; k <= steps; ++k) {
    const long double value = static_cast<long double>(first) +
                              static_cast<long double>(steps - k) * static_cast<long double>(step);
    result += FormatFloat(format, value);
    result += QLatin1Char(';');
  }
  return result;
}

void KvCheckLabelCount(const char* procedure, int64_t count) {
  if (count > KvMaxLabels)
    throw EListError(Exception::Fmt("%s: a list of %s labels is too long (at most %s)", procedure,
                                    static_cast<long long>(count), static_cast<long long>(KvMaxLabels)));
}

int32_t KvMinInt(int32_t a, int32_t b) {
  return a < b ? a : b;
}

int32_t KvMaxInt(int32_t a, int32_t b) {
  return a > b ? a : b;
}

int32_t KvMinMaxInt(int32_t value, int32_t lower, int32_t upper) {
  return KvMaxInt(KvMinInt(value, upper), lower);
}
