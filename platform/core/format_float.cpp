// FormatFloat: a number written through a picture.
//
// Grammar of a picture
// - Up to three sections separated by ";" (outside quotes): for positive,
//   negative and zero values. A fourth section is an error.
// - A missing or empty negative section means: the positive section with a
//   "-" in front. A missing or empty zero section means: the section the sign
//   chose. An empty positive section (and an empty picture) formats like
//   FloatToStr.
// - A value that rounds to zero in the section its sign chose is formatted
//   with the zero section when there is one; otherwise it stays in its section
//   and never gets a minus sign (-0.04 with "0.0" is "0.0", not "-0.0").
// - "0" is a digit always written, "#" a digit written only when significant.
//   The leftmost "0" before the point fixes the least number of integer digits
//   and the rightmost "0" after it the least number of decimals ("#0.0#" with
//   5 gives "5.0", with 5.25 "5.25"). Integer digits beyond the placeholders
//   are all written at the first one, so "##0" writes 12345 as "12345".
// - The first "." places the decimal separator (DecimalSeparator is written),
//   and only when at least one decimal is written ("##0.#" writes 3 as "3").
//   Further "." are ignored.
// - "," anywhere switches on thousands separators (ThousandSeparator) between
//   groups of three integer digits; the "," itself is not written.
// - "E+", "E-", "e+", "e-" switch to scientific notation. The "0"s that follow
//   give the least number of exponent digits; with "+" the exponent always has
//   a sign, with "-" only when negative. The mantissa has as many significant
//   digits as the section has digit placeholders, its integer part as many as
//   there are placeholders before the point. A section holds one exponent, no
//   digit placeholder after it, and at least one digit placeholder before it.
//   Zero has the exponent 0. "E"/"e" not followed by a sign is plain text.
// - Text in single or double quotes is copied without the quotes; an
//   unterminated quote is an error. Every other character is copied.
// - The minus sign of a negative value in the positive section is written in
//   front of the whole text ("$#0" writes -5 as "-$5"). A section without any
//   digit placeholder writes only its text, and no sign.
// - Rounding: half away from zero at the last placeholder, applied to the
//   18-digit decimal expansion of the value (see float_decimal.h).
// - Infinities and NaN give "INF", "-INF" and "NAN" whatever the picture (a bad
//   picture still raises first).
// Errors raise EConvertError naming the picture.

#include <algorithm>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/core/float_decimal.h"
#include "platform/core/numbers.h"

namespace {

enum class TTokenKind { Literal, Digit, Point, Exponent };

struct TToken {
  TTokenKind Kind;
  QString Text;  // literal text
};

// One section of a picture, analysed.
struct TSection {
  std::vector<TToken> Tokens;
  bool Empty = true;
  bool HasDigits = false;
  int IntPlaces = 0;  // digit placeholders before the point
  int DecPlaces = 0;  // digit placeholders after the point
  int MinInt = 0;     // integer digits always written
  int MinDec = 0;     // decimals always written
  bool Grouping = false;
  bool Scientific = false;
  QChar ExpChar;
  bool ExpAlwaysSigned = false;
  int ExpDigits = 0;
};

[[noreturn]] void BadPicture(const QString& picture, const char* why) {
  throw EConvertError(Exception::Fmt("Invalid number picture '%s': %s", picture, why));
}

void AppendLiteral(TSection& section, QString text) {
  if (!section.Tokens.empty() && section.Tokens.back().Kind == TTokenKind::Literal) {
    section.Tokens.back().Text += text;
  } else {
    section.Tokens.push_back({TTokenKind::Literal, std::move(text)});
  }
}

TSection ParseSection(const QString& picture, QStringView text) {
  TSection s;
  s.Empty = text.isEmpty();
  bool seenPoint = false;
  int firstZero = -1;  // index among integer placeholders of the leftmost "0"
  qsizetype i = 0;
  while (i < text.size()) {
    const QChar c = text[i];
    if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      const qsizetype close = text.indexOf(c, i + 1);
      // Quotes were matched when the picture was split into sections.
      AppendLiteral(s, text.mid(i + 1, close - i - 1).toString());
      i = close + 1;
      continue;
    }
    if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
      if (s.Scientific) BadPicture(picture, "digit placeholder after the exponent");
      s.HasDigits = true;
      if (seenPoint) {
        ++s.DecPlaces;
        if (c == QLatin1Char('0')) s.MinDec = s.DecPlaces;
      } else {
        if (c == QLatin1Char('0') && firstZero < 0) firstZero = s.IntPlaces;
        ++s.IntPlaces;
      }
      s.Tokens.push_back({TTokenKind::Digit, {}});
      ++i;
      continue;
    }
    if (c == QLatin1Char('.')) {
      if (!seenPoint) {
        seenPoint = true;
        s.Tokens.push_back({TTokenKind::Point, {}});
      }
      ++i;
      continue;
    }
    if (c == QLatin1Char(',')) {
      s.Grouping = true;
      ++i;
      continue;
    }
    if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && i + 1 < text.size() &&
        (text[i + 1] == QLatin1Char('+') || text[i + 1] == QLatin1Char('-'))) {
      if (s.Scientific) BadPicture(picture, "more than one exponent in a section");
      if (!s.HasDigits) BadPicture(picture, "exponent without a digit placeholder");
      s.Scientific = true;
      s.ExpChar = c;
      s.ExpAlwaysSigned = text[i + 1] == QLatin1Char('+');
      i += 2;
      while (i < text.size() && text[i] == QLatin1Char('0')) {
        ++s.ExpDigits;
        ++i;
      }
      s.Tokens.push_back({TTokenKind::Exponent, {}});
      continue;
    }
    AppendLiteral(s, QString(c));
    ++i;
  }
  s.MinInt = firstZero < 0 ? 0 : s.IntPlaces - firstZero;
  return s;
}

// Splits at ";" outside quotes and analyses each section.
std::vector<TSection> ParsePicture(const QString& picture) {
  std::vector<TSection> sections;
  qsizetype start = 0;
  QChar quote;
  for (qsizetype i = 0; i <= picture.size(); ++i) {
    if (i == picture.size()) {
      if (!quote.isNull()) BadPicture(picture, "unterminated quote");
      sections.push_back(ParseSection(picture, QStringView(picture).mid(start, i - start)));
      break;
    }
    const QChar c = picture[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      quote = c;
    } else if (c == QLatin1Char(';')) {
      if (sections.size() == 2) BadPicture(picture, "more than three sections");
      sections.push_back(ParseSection(picture, QStringView(picture).mid(start, i - start)));
      start = i + 1;
    }
  }
  return sections;
}

void RoundForSection(const TSection& s, TFloatDecimal& d) {
  if (!s.HasDigits) return;
  RoundDecimal(d, s.Scientific ? s.IntPlaces + s.DecPlaces : d.Exponent + s.DecPlaces);
}

QString Render(const TSection& s, const TFloatDecimal& d, bool minus) {
  QString out;
  if (minus) out += QLatin1Char('-');

  // Integer digits (most significant first), written decimals, exponent.
  QString intDigits;
  QString decDigits;
  int exponent = 0;
  const int firstDecimal = s.Scientific ? s.IntPlaces : d.Exponent;  // expansion index of decimal 1
  if (s.Scientific) {
    if (!d.IsZero()) {
      exponent = d.Exponent - s.IntPlaces;
      for (int i = 0; i < s.IntPlaces; ++i) intDigits += QLatin1Char(d.DigitAt(i));
    }
  } else {
    for (int i = 0; i < d.Exponent; ++i) intDigits += QLatin1Char(d.DigitAt(i));
  }
  if (intDigits.size() < s.MinInt) intDigits.prepend(QString(s.MinInt - intDigits.size(), QLatin1Char('0')));
  int lastSignificant = 0;
  for (int k = 1; k <= s.DecPlaces; ++k) {
    const char c = d.DigitAt(firstDecimal + k - 1);
    decDigits += QLatin1Char(c);
    if (c != '0') lastSignificant = k;
  }
  decDigits.truncate(std::max(s.MinDec, lastSignificant));

  const int intLength = static_cast<int>(intDigits.size());
  const QChar thousand = ThousandSeparator();
  auto emitInt = [&](int place) {  // place counts from the point: 1 = units
    out += intDigits[intLength - place];
    if (s.Grouping && place > 1 && place % 3 == 1) out += thousand;
  };
  auto emitExcess = [&](int above) {
    for (int place = intLength; place > above; --place) emitInt(place);
  };

  int place = s.IntPlaces;
  int decimal = 0;
  for (const TToken& t : s.Tokens) {
    switch (t.Kind) {
      case TTokenKind::Literal:
        out += t.Text;
        break;
      case TTokenKind::Digit:
        if (place > 0) {
          if (place == s.IntPlaces) emitExcess(s.IntPlaces);
          if (place <= intLength) emitInt(place);
          --place;
        } else if (++decimal <= decDigits.size()) {
          out += decDigits[decimal - 1];
        }
        break;
      case TTokenKind::Point:
        if (s.IntPlaces == 0) emitExcess(0);
        if (!decDigits.isEmpty()) out += DecimalSeparator();
        break;
      case TTokenKind::Exponent: {
        out += s.ExpChar;
        if (exponent < 0) {
          out += QLatin1Char('-');
        } else if (s.ExpAlwaysSigned) {
          out += QLatin1Char('+');
        }
        const QString digits = QString::number(exponent < 0 ? -exponent : exponent);
        if (digits.size() < s.ExpDigits) out += QString(s.ExpDigits - digits.size(), QLatin1Char('0'));
        out += digits;
        break;
      }
    }
  }
  return out;
}

bool Usable(const std::vector<TSection>& sections, size_t index) {
  return index < sections.size() && !sections[index].Empty;
}

}  // namespace

QString FormatFloat(const QString& picture, long double value) {
  if (picture.isEmpty()) return FloatToStr(value);
  // Read-outs format value after value through one picture: its parsed form
  // is kept per thread (a picture that does not parse raises and is not kept).
  thread_local QString lastPicture;
  thread_local std::vector<TSection> lastSections;
  if (lastSections.empty() || picture != lastPicture) {
    lastSections = ParsePicture(picture);
    lastPicture = picture;
  }
  const std::vector<TSection>& sections = lastSections;

  const TFloatDecimal exact = FloatToDecimal(value);
  if (exact.Kind != TFloatDecimal::fkFinite) return NonFiniteText(exact);

  size_t index = 0;
  if (exact.IsZero()) {
    if (Usable(sections, 2)) index = 2;
  } else if (exact.Negative && Usable(sections, 1)) {
    index = 1;
  }
  if (sections[index].Empty) return FloatToStr(value);

  TFloatDecimal rounded = exact;
  RoundForSection(sections[index], rounded);
  if (rounded.IsZero() && index != 2 && Usable(sections, 2)) index = 2;
  const TSection& section = sections[index];
  const bool minus = index == 0 && exact.Negative && !rounded.IsZero() && section.HasDigits;
  return Render(section, rounded, minus);
}
