#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"

namespace {

using quillet::platform::AnsiToWide;
using quillet::platform::WideToAnsi;

TEST(TextConversion, AnsiIsUtf8) {
  const std::string ansi = "h\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E";  // "hé € 𝄞"
  const std::u16string wide = u"h\u00E9 \u20AC \xD834\xDD1E";
  EXPECT_EQ(AnsiToWide(ansi), wide);
  EXPECT_EQ(WideToAnsi(wide), ansi);
  EXPECT_EQ(AnsiToWide(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));  // NULs pass through
}

TEST(TextConversion, MalformedUtf8BecomesReplacementCharacters) {
  struct Case {
    const char* bytes;
    std::u16string wide;
  } cases[] = {
      {"a\xC3", u"a\xFFFD"},                             // cut short at the end
      {"\xC3(", u"\xFFFD("},                             // continuation missing
      {"\xC0\x80", u"\xFFFD\xFFFD"},                     // overlong NUL
      {"\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},           // overlong "/"
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},           // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"}, // past U+10FFFF
      {"\xFF\xFEx", u"\xFFFD\xFFFDx"},
      {"\x80", u"\xFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(AnsiToWide(c.bytes), c.wide) << c.bytes;
}

TEST(TextConversion, LoneSurrogatesBecomeTheReplacementCharacter) {
  const std::string replacement = "\xEF\xBF\xBD";
  struct Case {
    std::u16string wide;
    std::string ansi;
  } cases[] = {
      {u"a\xD800", "a" + replacement},                         // high surrogate at the end
      {u"\xDC00z", replacement + "z"},                         // low surrogate alone
      {u"\xDC00\xD800", replacement + replacement},            // a pair the wrong way round
      {u"\xD800\xD800\xDC00", replacement + "\xF0\x90\x80\x80"},  // the second high one pairs
  };
  for (const Case& c : cases) EXPECT_EQ(WideToAnsi(c.wide), c.ansi);
}

}  // namespace
