#pragma once
// Tokens of the form description text. The lexer works on the whole text and
// reports every problem as a TFormSyntaxError with the line and column where
// it starts; the reader turns it into an EReadError that also names the object
// and property being read.

#include <QByteArray>
#include <QString>
#include <QStringView>

enum class TFormTokenKind { End, Ident, Integer, Float, String, Binary, Symbol };

struct TFormToken {
  TFormTokenKind kind = TFormTokenKind::End;
  int line = 1;
  int column = 1;
  qsizetype start = 0;  // source span [start, end)
  qsizetype end = 0;
  QString text;         // Ident: the name; Integer/Float: the number as written; String: decoded text
  QByteArray bytes;     // Binary: the decoded bytes
  char16_t symbol = 0;  // Symbol: one of = : . , [ ] ( ) +

  bool IsSymbol(char16_t c) const { return kind == TFormTokenKind::Symbol && symbol == c; }
  // An identifier equal to `keyword` without regard to case.
  bool IsKeyword(QLatin1String keyword) const {
    return kind == TFormTokenKind::Ident && text.compare(keyword, Qt::CaseInsensitive) == 0;
  }
};

// A malformed description. `property` is the dotted property path being read,
// filled in by the parser as the error travels up.
struct TFormSyntaxError {
  int line = 1;
  int column = 1;
  QString message;
  QString property;
};

class TFormLexer {
 public:
  explicit TFormLexer(QStringView source);

  // The current token (lexed on demand) and advancing past it.
  const TFormToken& Peek();
  TFormToken Next();

  // The source text of [start, end) on one line, shortened for messages.
  QString Excerpt(qsizetype start, qsizetype end) const;
  // A short description of a token for "expected ... but found ..." messages.
  QString Describe(const TFormToken& token) const;

  [[noreturn]] void Fail(int line, int column, const QString& message) const;

 private:
  void Lex(TFormToken& token);
  void SkipBlanks();
  void LexIdent(TFormToken& token);
  void LexNumber(TFormToken& token);
  void LexString(TFormToken& token);
  void LexBinary(TFormToken& token);
  QChar At(qsizetype i) const { return i < source_.size() ? source_[i] : QChar(); }
  void Advance();  // one character, keeping line and column

  QStringView source_;
  qsizetype pos_ = 0;
  int line_ = 1;
  int column_ = 1;
  bool peeked_ = false;
  TFormToken current_;
};
