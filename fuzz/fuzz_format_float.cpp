// Feeds a value and a number picture, both from the input, to FormatFloat.
// The first byte chooses how the next eight make the value: even, as the bits
// of a double; odd, as an integer scaled by a power of ten from the byte after
// (decimal ties and long digit runs). The rest is the picture, in UTF-8.
// Whatever the input, formatting either returns text or raises EConvertError
// quoting the picture as it stands; and a picture accepted once is accepted
// for every value.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "fuzz/fuzz_support.h"
#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"

namespace {

long double ValueFrom(const uint8_t* data, size_t size, size_t& used) {
  uint8_t mode = 0, bits[8] = {}, scale = 0;
  if (size > 0) mode = data[0];
  for (size_t i = 0; i < 8 && 1 + i < size; ++i) bits[i] = data[1 + i];
  if (size > 9) scale = data[9];
  used = std::min<size_t>(size, 10);
  if (mode % 2 == 0) {
    double d;
    std::memcpy(&d, bits, sizeof d);
    return d;
  }
  int64_t n;
  std::memcpy(&n, bits, sizeof n);
  return static_cast<long double>(n) / std::pow(10.0L, scale % 40);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  SetDecimalSeparator(QLatin1Char('.'));
  SetThousandSeparator(QLatin1Char(','));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t used = 0;
  const long double value = ValueFrom(data, size, used);
  const QString picture =
      QString::fromUtf8(reinterpret_cast<const char*>(data) + used, qsizetype(size - used));
  const QString quoted = QStringLiteral("Invalid number picture '") + picture + QStringLiteral("': ");
  QString text;
  try {
    text = FormatFloat(picture, value);
  } catch (const EConvertError& e) {
    if (!e.Message().startsWith(quoted))
      fuzz::Die("fuzz_format_float", "the message garbles the picture", e.Message());
    return 0;
  }
  // The picture was accepted: it must be for every other kind of value too.
  for (long double other : {0.0L, -1.5L, 1e300L, std::numeric_limits<long double>::infinity(),
                            std::numeric_limits<long double>::quiet_NaN()}) {
    try {
      FormatFloat(picture, other);
    } catch (const EConvertError& e) {
      fuzz::Die("fuzz_format_float", "a picture accepted for one value is refused for another", e.Message());
    }
  }
  return 0;
}
