// The tokens of path expressions and their letter-case rules; numbers read from text
// and written as text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "xml/common/U16String.h"
#include "xml/path/PathLexer.h"
#include "xml/path/PathNumbers.h"

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


constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(PathNumbers, TextReadsByItsLongestDecimalPrefix) {
  const struct {
    std::u16string text;
    float value;
  } cases[] = {
      {u"  12.5e1 ", 125}, {u"\t\n 7x", 7}, {u"-3.5", -3.5f}, {u"+2", 2}, {u".5", 0.5f}, {u"5.", 5},
      {u"1e+", 1},  // an exponent without digits is not part of the number
      {u"2E-1", 0.2f}, {u"0x10", 0}, {u"1e39", kInf}, {u"-1e39", -kInf}, {u"1e-50", 0},
      {u"1e99999999999999999999", kInf}, {std::u16string(5000, u'9'), kInf},
      {u"0." + std::u16string(60, u'0') + u"1e63", 100},  // far-off digits that meet again
      {u"x", -1}, {u"", -1}, {u"-", -1}, {u".", -1}, {u"e5", -1}, {u"inf", -1}, {u"\u0661", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(PathTextToNumber(c.text), c.value) << U16ToUtf8(c.text);
}

TEST(PathNumbers, NumbersWriteWithoutExponent) {
  const struct {
    float value;
    std::u16string text;
  } cases[] = {
      {5, u"5"}, {-12, u"-12"}, {0.1f, u"0.1"}, {-0.0f, u"0"}, {1e-7f, u"0.0000001"},
      {1e20f, u"100000002004087734272"},  // the float's exact value
      {std::numeric_limits<float>::quiet_NaN(), u"NaN"}, {kInf, u"Infinity"}, {-kInf, u"-Infinity"},
  };
  for (const auto& c : cases) EXPECT_EQ(PathNumberText(c.value), c.text) << c.value;
  EXPECT_EQ(PathFloat(-1e300), -kInf);
}

}  // namespace
}  // namespace quillet::xml
