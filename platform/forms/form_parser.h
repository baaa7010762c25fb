#pragma once
// Syntax of property values in a form description. A value is parsed into a
// TFormValue without looking at the property it is meant for; the reader then
// converts it by the property's kind. Keeping the two apart lets the writer
// parse declared defaults with the same code.
//
//   integer     12  -7  $FF            float    1.5  -2e-3
//   string      'it''s'#13#10'next'    joined across lines with +
//   identifier  True  alClient  clBtnFace  Button1Click  Edit1  nil
//   set         [fsBold, fsItalic]     string list  ( 'a' 'b' )
//   binary      { 0A54 4A50 ... }      nested block ( Name = 'Arial' Height = -11 )

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/forms/form_lexer.h"

struct TFormAssignment;

struct TFormValue {
  enum class Type { Integer, Float, String, Ident, Set, List, Binary, Block };
  Type type = Type::Ident;
  int line = 1;
  int column = 1;
  QString raw;                         // the value as written, shortened, for messages
  QString text;                        // Integer/Float: as written; String: decoded; Ident: the name
  QStringList items;                   // Set: element names; List: the strings
  QByteArray bytes;                    // Binary
  std::vector<TFormAssignment> block;  // Block: the nested assignments
  // "()" is both an empty string list and an empty nested block.
  bool IsEmptyParentheses() const { return type == Type::List && items.isEmpty(); }
};

struct TFormAssignment {
  QStringList path;  // "Font.Name" -> {"Font", "Name"}
  int line = 1;
  int column = 1;
  TFormValue value;
};

class TFormParser {
 public:
  // Deeper nesting of blocks and objects is refused, so hostile input cannot
  // exhaust the stack.
  static constexpr int kMaxDepth = 64;

  explicit TFormParser(QStringView source) : lexer_(source) {}

  TFormLexer& Lexer() { return lexer_; }
  // name { '.' name } '=' value, starting at the name.
  TFormAssignment ParseAssignment(int depth = 0);
  TFormValue ParseValue(int depth = 0);
  // The next token must be `symbol`.
  void Expect(char16_t symbol);
  // The next token must be an identifier; returns it.
  TFormToken ExpectIdent(const char* what);

 private:
  TFormToken Take();
  QString ParseStringConcatenation();

  TFormLexer lexer_;
  qsizetype lastEnd_ = 0;
};
