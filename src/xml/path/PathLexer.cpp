#include "xml/path/PathLexer.h"

#include "xml/common/XMLCharClasses.h"
#include "xml/path/PathNumbers.h"

namespace quillet::xml {

namespace {

const CXMLCharClasses& CharClasses() {
  static const CXMLCharClasses classes;
  return classes;
}

bool StartsName(char16_t c) {
  return CharClasses().isNameChar(c) && !CharClasses().isDigit(c) && c != u'.' && c != u'-' && c != u':';
}

bool ContinuesName(char16_t c) { return CharClasses().isNameChar(c) && c != u':'; }

// The value of an XML digit. Every block of digits in the table is one script's ten
// digits, ending at its nine (Tamil's lacks the zero), so the value is counted back
// from the end of the block.
int DigitValue(char16_t c) {
  char16_t nine = c;
  while (CharClasses().isDigit(static_cast<char16_t>(nine + 1))) ++nine;
  return 9 - (nine - c);
}

}  // namespace

bool CPathToken::isWord(const char* word) const {
  if (kind != PathTokenKind::kName && kind != PathTokenKind::kFunctionName && kind != PathTokenKind::kAxisName) {
    return false;
  }
  size_t i = 0;
  for (; word[i] != '\0'; ++i) {
    if (i == text.size()) return false;
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != static_cast<unsigned char>(word[i])) return false;
  }
  return i == text.size();
}

void CPathLexer::next() {
  if (hasLookahead_) {
    token_ = lookahead_;
    hasLookahead_ = false;
  } else {
    token_ = scan();
  }
  if (token_.kind != PathTokenKind::kName) return;
  lookahead_ = scan();
  hasLookahead_ = true;
  if (lookahead_.kind == PathTokenKind::kOpenParen) token_.kind = PathTokenKind::kFunctionName;
  if (lookahead_.kind == PathTokenKind::kDoubleColon) token_.kind = PathTokenKind::kAxisName;
}

CPathToken CPathLexer::scan() {
  const size_t size = text_.size();
  // Spaces, and colons that do not make "::", only separate.
  while (position_ < size) {
    const char16_t c = text_[position_];
    if (c == u':' && position_ + 1 < size && text_[position_ + 1] == u':') break;
    if (c != u' ' && c != u':') break;
    ++position_;
  }
  if (position_ >= size) return {PathTokenKind::kEnd, {}, 0};

  const size_t start = position_;
  const char16_t c = text_[position_];
  const char16_t following = position_ + 1 < size ? text_[position_ + 1] : u'\0';
  auto take = [&](PathTokenKind kind, size_t length) {
    position_ += length;
    return CPathToken{kind, text_.substr(start, length), 0};
  };
  // A token of one character, or of two when the second is `second`.
  auto pair = [&](PathTokenKind single, char16_t second, PathTokenKind twin) {
    return following == second ? take(twin, 2) : take(single, 1);
  };
  switch (c) {
    case u'\'':
    case u'"': {
      const size_t close = text_.find(c, start + 1);
      if (close == std::u16string_view::npos) {
        position_ = size;
        return {PathTokenKind::kError, text_.substr(start), 0};
      }
      position_ = close + 1;
      return {PathTokenKind::kLiteral, text_.substr(start + 1, close - start - 1), 0};
    }
    case u'/': return pair(PathTokenKind::kSlash, u'/', PathTokenKind::kDoubleSlash);
    case u'.': return pair(PathTokenKind::kDot, u'.', PathTokenKind::kDoubleDot);
    case u':': return take(PathTokenKind::kDoubleColon, 2);
    case u'<': return pair(PathTokenKind::kLess, u'=', PathTokenKind::kLessEqual);
    case u'>': return pair(PathTokenKind::kGreater, u'=', PathTokenKind::kGreaterEqual);
    case u'!': return pair(PathTokenKind::kError, u'=', PathTokenKind::kNotEqual);
    case u'@': return take(PathTokenKind::kAt, 1);
    case u'*': return take(PathTokenKind::kStar, 1);
    case u'+': return take(PathTokenKind::kPlus, 1);
    case u'-': return take(PathTokenKind::kMinus, 1);
    case u'=': return take(PathTokenKind::kEqual, 1);
    case u'[': return take(PathTokenKind::kOpenBracket, 1);
    case u']': return take(PathTokenKind::kCloseBracket, 1);
    case u'(': return take(PathTokenKind::kOpenParen, 1);
    case u')': return take(PathTokenKind::kCloseParen, 1);
    default: break;
  }
  if (CharClasses().isDigit(c)) return scanNumber();
  if (StartsName(c)) {
    size_t end = start + 1;
    while (end < size && ContinuesName(text_[end])) ++end;
    return take(PathTokenKind::kName, end - start);
  }
  // Tab, line feed and carriage return included: only the space separates.
  return take(PathTokenKind::kError, 1);
}

CPathToken CPathLexer::scanNumber() {
  const size_t start = position_;
  double value = 0;  // runs too long for a double end as infinity
  while (position_ < text_.size() && CharClasses().isDigit(text_[position_])) {
    value = value * 10 + DigitValue(text_[position_]);
    ++position_;
  }
  return {PathTokenKind::kNumber, text_.substr(start, position_ - start), PathFloat(value)};
}

}  // namespace quillet::xml
