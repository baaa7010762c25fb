#include "platform/forms/form_lexer.h"

namespace {

bool IsIdentStart(QChar c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}
bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}
bool IsIdentChar(QChar c) {
  return IsIdentStart(c) || IsDigit(c);
}
int HexValue(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}
bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v';
}

// A character as it should appear in a message: itself when printable ASCII,
// else its code.
QString ShowChar(QChar c) {
  if (c.unicode() > 32 && c.unicode() < 127) return QStringLiteral("'%1'").arg(c);
  return QStringLiteral("#%1").arg(c.unicode());
}

constexpr char32_t kMaxCharCode = 0x10FFFF;
constexpr qsizetype kExcerptLength = 40;

}  // namespace

TFormLexer::TFormLexer(QStringView source) : source_(source) {
  if (!source_.isEmpty() && source_[0] == QChar(0xFEFF)) pos_ = 1;  // byte order mark
}

void TFormLexer::Fail(int line, int column, const QString& message) const {
  throw TFormSyntaxError{line, column, message, QString()};
}

void TFormLexer::Advance() {
  const QChar c = At(pos_);
  ++pos_;
  if (c == u'\n' || (c == u'\r' && At(pos_) != u'\n')) {
    ++line_;
    column_ = 1;
  } else {
    ++column_;
  }
}

void TFormLexer::SkipBlanks() {
  while (pos_ < source_.size() && IsBlank(source_[pos_])) Advance();
}

const TFormToken& TFormLexer::Peek() {
  if (!peeked_) {
    Lex(current_);
    peeked_ = true;
  }
  return current_;
}

TFormToken TFormLexer::Next() {
  Peek();
  peeked_ = false;
  return std::move(current_);
}

void TFormLexer::Lex(TFormToken& token) {
  SkipBlanks();
  token = TFormToken();
  token.line = line_;
  token.column = column_;
  token.start = pos_;
  if (pos_ >= source_.size()) {
    token.kind = TFormTokenKind::End;
    token.end = pos_;
    return;
  }
  const QChar c = source_[pos_];
  if (IsIdentStart(c)) {
    LexIdent(token);
  } else if (IsDigit(c) || c == u'$' || (c == u'-' && (IsDigit(At(pos_ + 1)) || At(pos_ + 1) == u'$'))) {
    LexNumber(token);
  } else if (c == u'\'' || c == u'#') {
    LexString(token);
  } else if (c == u'{') {
    LexBinary(token);
  } else if (QStringView(u"=:.,[]()+").contains(c)) {
    token.kind = TFormTokenKind::Symbol;
    token.symbol = c.unicode();
    Advance();
  } else {
    Fail(line_, column_, QStringLiteral("Invalid character %1").arg(ShowChar(c)));
  }
  token.end = pos_;
}

void TFormLexer::LexIdent(TFormToken& token) {
  const qsizetype from = pos_;
  while (pos_ < source_.size() && IsIdentChar(source_[pos_])) Advance();
  token.kind = TFormTokenKind::Ident;
  token.text = source_.mid(from, pos_ - from).toString();
}

void TFormLexer::LexNumber(TFormToken& token) {
  const qsizetype from = pos_;
  token.kind = TFormTokenKind::Integer;
  if (At(pos_) == u'-') Advance();
  if (At(pos_) == u'$') {
    Advance();
    if (HexValue(At(pos_)) < 0) Fail(token.line, token.column, QStringLiteral("Invalid hexadecimal number"));
    while (HexValue(At(pos_)) >= 0) Advance();
  } else {
    while (IsDigit(At(pos_))) Advance();
    if (At(pos_) == u'.' && IsDigit(At(pos_ + 1))) {
      token.kind = TFormTokenKind::Float;
      Advance();
      while (IsDigit(At(pos_))) Advance();
    }
    const QChar e = At(pos_);
    const QChar afterE = At(pos_ + 1);
    if ((e == u'e' || e == u'E') &&
        (IsDigit(afterE) || ((afterE == u'+' || afterE == u'-') && IsDigit(At(pos_ + 2))))) {
      token.kind = TFormTokenKind::Float;
      Advance();
      if (!IsDigit(At(pos_))) Advance();
      while (IsDigit(At(pos_))) Advance();
    }
  }
  if (IsIdentChar(At(pos_)) || At(pos_) == u'.') {
    while (IsIdentChar(At(pos_)) || At(pos_) == u'.') Advance();
    Fail(token.line, token.column, QStringLiteral("%1 is not a valid number").arg(Excerpt(from, pos_)));
  }
  token.text = source_.mid(from, pos_ - from).toString();
}

void TFormLexer::LexString(TFormToken& token) {
  token.kind = TFormTokenKind::String;
  for (;;) {
    const QChar c = At(pos_);
    if (pos_ < source_.size() && c == u'\'') {
      const int line = line_;
      const int column = column_;
      Advance();
      for (;;) {
        const QChar d = At(pos_);
        if (pos_ >= source_.size() || d == u'\n' || d == u'\r')
          Fail(line, column, QStringLiteral("Unterminated string"));
        if (d == u'\'') {
          if (At(pos_ + 1) != u'\'') break;
          Advance();
        }
        token.text.append(d);
        Advance();
      }
      Advance();  // closing quote
    } else if (pos_ < source_.size() && c == u'#') {
      const int line = line_;
      const int column = column_;
      Advance();
      const bool hex = At(pos_) == u'$';
      if (hex) Advance();
      const int base = hex ? 16 : 10;
      char32_t code = 0;
      int digits = 0;
      for (;;) {
        const int d = hex ? HexValue(At(pos_)) : (IsDigit(At(pos_)) ? At(pos_).unicode() - u'0' : -1);
        if (d < 0) break;
        code = code * base + char32_t(d);
        if (code > kMaxCharCode) Fail(line, column, QStringLiteral("Character code out of range"));
        ++digits;
        Advance();
      }
      if (digits == 0) Fail(line, column, QStringLiteral("Invalid character code"));
      if (code > 0xFFFF) {
        const char32_t pair[1] = {code};
        token.text.append(QString::fromUcs4(pair, 1));
      } else {
        token.text.append(QChar(char16_t(code)));
      }
    } else {
      return;
    }
  }
}

void TFormLexer::LexBinary(TFormToken& token) {
  token.kind = TFormTokenKind::Binary;
  Advance();  // '{'
  int high = -1;
  for (;;) {
    SkipBlanks();
    if (pos_ >= source_.size()) Fail(token.line, token.column, QStringLiteral("Unterminated binary data"));
    const QChar c = source_[pos_];
    if (c == u'}') {
      if (high >= 0)
        Fail(token.line, token.column, QStringLiteral("Binary data has an odd number of hex digits"));
      Advance();
      return;
    }
    const int nibble = HexValue(c);
    if (nibble < 0)
      Fail(line_, column_, QStringLiteral("%1 is not a valid hex digit in binary data").arg(ShowChar(c)));
    if (high < 0) {
      high = nibble;
    } else {
      token.bytes.append(char((high << 4) | nibble));
      high = -1;
    }
    Advance();
  }
}

QString TFormLexer::Excerpt(qsizetype start, qsizetype end) const {
  start = qBound(qsizetype(0), start, source_.size());
  end = qBound(start, end, source_.size());
  QString text = source_.mid(start, qMin(end - start, kExcerptLength + 1)).toString();
  for (QChar& c : text)
    if (IsBlank(c)) c = u' ';
  if (text.size() > kExcerptLength) {
    text.truncate(kExcerptLength);
    text.append(QStringLiteral("..."));
  }
  return text;
}

QString TFormLexer::Describe(const TFormToken& token) const {
  switch (token.kind) {
    case TFormTokenKind::End:
      return QStringLiteral("end of text");
    case TFormTokenKind::Binary:
      return QStringLiteral("binary data");
    case TFormTokenKind::Symbol:
      return QStringLiteral("'%1'").arg(QChar(token.symbol));
    default:
      return Excerpt(token.start, token.end);
  }
}
