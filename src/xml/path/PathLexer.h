// The tokens of path expressions.
#ifndef QUILLET_XML_PATH_PATHLEXER_H
#define QUILLET_XML_PATH_PATHLEXER_H

#include <cstddef>
#include <string_view>

namespace quillet::xml {

enum class PathTokenKind : unsigned char {
  kEnd,           // the end of the text
  kError,         // a character no token starts with, an unterminated literal, "!" alone
  kLiteral,       // '...' or "..." (text: between the delimiters)
  kNumber,        // a run of digits (number: its value)
  kName,          // a name not followed by "(" or "::"
  kFunctionName,  // a name followed by "("
  kAxisName,      // a name followed by "::"
  kSlash,
  kDoubleSlash,
  kDot,
  kDoubleDot,
  kAt,
  kDoubleColon,
  kStar,
  kPlus,
  kMinus,
  kEqual,
  kNotEqual,
  kLess,
  kLessEqual,
  kGreater,
  kGreaterEqual,
  kOpenBracket,
  kCloseBracket,
  kOpenParen,
  kCloseParen,
};

struct CPathToken {
  PathTokenKind kind = PathTokenKind::kEnd;
  // A view into the expression: a name, a literal's text, or the characters read.
  std::u16string_view text;
  // The value of a number token, as a 32-bit float.
  float number = 0;

  // Whether the token is a name of any kind (so also a function or axis name) that
  // equals word, an ASCII lower-case word, without regard to the case of A to Z.
  bool isWord(const char* word) const;
};

// Reads the tokens of an expression one at a time, with one token of look-ahead after
// a name (to tell function and axis names from plain ones). Only the space separates
// tokens; a single ":" is skipped like a space, so p:x reads as the names p and x. Two-
// character tokens ("//", "..", "::", "!=", "<=", ">=") are taken greedily. Names are
// XML name characters (but not starting with a digit, ".", "-" or ":"), ended by a
// colon; numbers are runs of XML digits of any script, with no point or exponent.
//
// The lexer holds nothing but a view of the text and its position, so a copy of it is
// a saved reading position: assigning the copy back reads the same tokens again.
class CPathLexer {
 public:
  CPathLexer() = default;
  // The first token is read by the first next().
  explicit CPathLexer(std::u16string_view text) : text_(text) {}

  const CPathToken& token() const { return token_; }
  // Moves to the next token; at the end, stays at kEnd.
  void next();

 private:
  CPathToken scan();
  CPathToken scanNumber();

  std::u16string_view text_;
  size_t position_ = 0;
  CPathToken token_;
  CPathToken lookahead_;
  bool hasLookahead_ = false;
};

}  // namespace quillet::xml

#endif
