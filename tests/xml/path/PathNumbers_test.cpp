// Numbers read from text and written as text.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "xml/common/U16String.h"
#include "xml/path/PathNumbers.h"

namespace quillet::xml {
namespace {

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
