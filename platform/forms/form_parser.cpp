#include "platform/forms/form_parser.h"

TFormToken TFormParser::Take() {
  TFormToken token = lexer_.Next();
  lastEnd_ = token.end;
  return token;
}

void TFormParser::Expect(char16_t symbol) {
  const TFormToken& token = lexer_.Peek();
  if (!token.IsSymbol(symbol))
    lexer_.Fail(token.line, token.column,
                QStringLiteral("'%1' expected but %2 found").arg(QChar(symbol), lexer_.Describe(token)));
  Take();
}

TFormToken TFormParser::ExpectIdent(const char* what) {
  const TFormToken& token = lexer_.Peek();
  if (token.kind != TFormTokenKind::Ident)
    lexer_.Fail(token.line, token.column,
                QStringLiteral("%1 expected but %2 found").arg(QLatin1String(what), lexer_.Describe(token)));
  return Take();
}

TFormAssignment TFormParser::ParseAssignment(int depth) {
  TFormAssignment assignment;
  try {
    // "end" and "object" give a block its structure, so no property has such a name.
    const TFormToken& next = lexer_.Peek();
    if (next.IsKeyword(QLatin1String("end")) || next.IsKeyword(QLatin1String("object")))
      lexer_.Fail(next.line, next.column,
                  QStringLiteral("Property name expected but %1 found").arg(next.text));
    const TFormToken first = ExpectIdent("Property name");
    assignment.line = first.line;
    assignment.column = first.column;
    assignment.path.append(first.text);
    while (lexer_.Peek().IsSymbol(u'.')) {
      Take();
      assignment.path.append(ExpectIdent("Property name").text);
    }
    Expect(u'=');
    assignment.value = ParseValue(depth);
  } catch (TFormSyntaxError& error) {
    // Prefix the path read so far, so that the message names the property.
    const QString path = assignment.path.join(u'.');
    if (error.property.isEmpty())
      error.property = path;
    else if (!path.isEmpty())
      error.property = path + u'.' + error.property;
    throw;
  }
  return assignment;
}

QString TFormParser::ParseStringConcatenation() {
  QString text = Take().text;
  while (lexer_.Peek().IsSymbol(u'+')) {
    Take();
    const TFormToken& next = lexer_.Peek();
    if (next.kind != TFormTokenKind::String)
      lexer_.Fail(next.line, next.column,
                  QStringLiteral("String expected after '+' but %1 found").arg(lexer_.Describe(next)));
    text += Take().text;
  }
  return text;
}

TFormValue TFormParser::ParseValue(int depth) {
  TFormValue value;
  const TFormToken& first = lexer_.Peek();
  value.line = first.line;
  value.column = first.column;
  const qsizetype start = first.start;
  if (depth > kMaxDepth) lexer_.Fail(first.line, first.column, QStringLiteral("Nesting too deep"));
  switch (first.kind) {
    case TFormTokenKind::Integer:
    case TFormTokenKind::Float:
      value.type =
          first.kind == TFormTokenKind::Integer ? TFormValue::Type::Integer : TFormValue::Type::Float;
      value.text = Take().text;
      break;
    case TFormTokenKind::String:
      value.type = TFormValue::Type::String;
      value.text = ParseStringConcatenation();
      break;
    case TFormTokenKind::Ident:
      value.type = TFormValue::Type::Ident;
      value.text = Take().text;
      break;
    case TFormTokenKind::Binary:
      value.type = TFormValue::Type::Binary;
      value.bytes = Take().bytes;
      break;
    case TFormTokenKind::Symbol:
      if (first.symbol == u'[') {
        value.type = TFormValue::Type::Set;
        Take();
        if (!lexer_.Peek().IsSymbol(u']')) {
          for (;;) {
            value.items.append(ExpectIdent("Set element").text);
            if (!lexer_.Peek().IsSymbol(u',')) break;
            Take();
          }
        }
        Expect(u']');
        break;
      }
      if (first.symbol == u'(') {
        Take();
        value.type = TFormValue::Type::List;
        if (lexer_.Peek().kind == TFormTokenKind::Ident) {
          // A nested block of assignments.
          value.type = TFormValue::Type::Block;
          while (lexer_.Peek().kind == TFormTokenKind::Ident)
            value.block.push_back(ParseAssignment(depth + 1));
        } else {
          while (lexer_.Peek().kind == TFormTokenKind::String) value.items.append(ParseStringConcatenation());
        }
        Expect(u')');
        break;
      }
      [[fallthrough]];
    case TFormTokenKind::End:
      lexer_.Fail(first.line, first.column,
                  QStringLiteral("Property value expected but %1 found").arg(lexer_.Describe(first)));
  }
  value.raw = lexer_.Excerpt(start, lastEnd_);
  return value;
}
