// The tokens of path expressions and their letter-case rules.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "xml/common/U16String.h"
#include "xml/path/PathLexer.h"

namespace quillet::xml {
namespace {

// The tokens of text, one word each: N:name F:function A:axis L:literal #number ERR,
// and the other tokens as they are written.
std::string Tokens(const std::u16string& text) {
  CPathLexer lexer(text);
  std::string out;
  for (lexer.next(); lexer.token().kind != PathTokenKind::kEnd; lexer.next()) {
    const CPathToken& token = lexer.token();
    const std::string body = U16ToUtf8(std::u16string(token.text));
    std::string word;
    switch (token.kind) {
      case PathTokenKind::kName: word = "N:" + body; break;
      case PathTokenKind::kFunctionName: word = "F:" + body; break;
      case PathTokenKind::kAxisName: word = "A:" + body; break;
      case PathTokenKind::kLiteral: word = "L:" + body; break;
      case PathTokenKind::kNumber: word = "#" + std::to_string(static_cast<long long>(token.number)); break;
      case PathTokenKind::kError: word = "ERR"; break;
      default: word = body; break;
    }
    out += (out.empty() ? "" : " ") + word;
  }
  return out;
}

TEST(PathLexer, ReadsEveryKindOfToken) {
  const struct {
    std::u16string text;
    std::string tokens;
  } cases[] = {
      {u"/a//b", "/ N:a // N:b"},
      {u"@id . .. ...", "@ N:id . .. .. ."}, {u"child::a", "A:child :: N:a"}, {u"text()", "F:text ( )"},
      {u"not (x)", "F:not ( N:x )"},  // the look-ahead skips spaces too
      {u"* + - = != < <= > >= [ ] ( )", "* + - = != < <= > >= [ ] ( )"}, {u"'it\"s' \"a'b\" ''", "L:it\"s L:a'b L:"},
      {u"a.b-c_d -a a -1", "N:a.b-c_d - N:a N:a - #1"}, {u"_x \u00e9t\u00e9", "N:_x N:\xc3\xa9t\xc3\xa9"},
      // A number is a run of digits: no point, no exponent, leading zeros read away.
      {u"1.5 007 2e3", "#1 . #5 #7 #2 N:e3"},
      // Digits of other scripts have their own values (Tamil's block lacks a zero).
      {u"\u0661\u0662 \u0be7\u0bef \u0e55", "#12 #19 #5"},
      // A colon ends a name and is skipped like a space; "::" is a token.
      {u"p:x", "N:p N:x"}, {u"a:::b", "A:a :: N:b"}, {u":a:", "N:a"},
      // Only the space separates: tab and line ends are errors, as are "!", "$" and an
      // unterminated literal.
      {u"a\tb\nc\rd", "N:a ERR N:b ERR N:c ERR N:d"}, {u"! $ |", "ERR ERR ERR"}, {u"a 'open", "N:a ERR"}, {u"", ""},
      {u"   ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << U16ToUtf8(c.text);
}

TEST(PathLexer, NumbersAreFloatsAndTokensHaveNoLengthLimit) {
  CPathLexer lexer(u"16777217");
  lexer.next();
  EXPECT_EQ(lexer.token().number, 16777216.0f);  // rounded to a 32-bit float
  const std::u16string huge(400, u'9');
  lexer = CPathLexer(huge);
  lexer.next();
  EXPECT_TRUE(std::isinf(lexer.token().number));

  const std::u16string name(1000, u'n');
  const std::u16string text = name + u" '" + std::u16string(1000, u'x') + u"'";
  lexer = CPathLexer(text);  // which it views: the text must stay
  lexer.next();
  EXPECT_EQ(lexer.token().text.size(), 1000u);
  lexer.next();
  EXPECT_EQ(lexer.token().kind, PathTokenKind::kLiteral);
  EXPECT_EQ(lexer.token().text.size(), 1000u);
}

}  // namespace
}  // namespace quillet::xml
