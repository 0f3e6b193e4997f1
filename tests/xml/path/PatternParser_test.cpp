// Match patterns: the chain parsePattern builds and what matchesPattern accepts.
#include <gtest/gtest.h>

#include <string>

#include "xml/path/PathTestSupport.h"
#include "xml/path/PatternParser.h"

namespace quillet::xml::testing {
namespace {

// The chain as text: each step's name, "" shown as -, with R for fromRoot and D for
// not direct; "FAIL" for -1.
std::string Chain(const char16_t* pattern) {
  CPatternStep* first = nullptr;
  CPatternStep* last = nullptr;
  if (parsePattern(pattern, first, last) != 0) return first == nullptr && last == nullptr ? "FAIL" : "FAIL+chain";
  std::string out;
  const CPatternStep* previous = nullptr;
  for (const CPatternStep* step = first; step != nullptr; previous = step, step = step->next) {
    if (step->previous != previous) out += " (broken link)";
    out += (out.empty() ? "" : ", ") + (step->name.empty() ? std::string("-") : U16ToUtf8(step->name));
    if (step->fromRoot) out += "R";
    if (!step->direct) out += "D";
  }
  if (previous != last) out += " (wrong last)";
  ReleasePattern(first);
  return out;
}

TEST(PatternParser, BuildsAChainOfNames) {
  const struct {
    const char16_t* pattern;
    std::string chain;
  } cases[] = {
      {u"a/b", "a, b"}, {u"/a/b", "aR, b"}, {u"//a/b", "aRD, b"}, {u"/", "-R"}, {u"//", "-RD"}, {u"", "-"},
      {u"a//b", "a, b"}, {u"a/", "a"}, {u"a//", "a, -"}, {u"p:x/#text", "p:x, #text"}, {u"a b/c", "a b, c"},
      {nullptr, "FAIL"},
  };
  for (const auto& c : cases) EXPECT_EQ(Chain(c.pattern), c.chain) << (c.pattern ? U16ToUtf8(c.pattern) : "null");

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(Chain(u"///a"), "FAIL");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Invalid start of path\n");
}

TEST(PatternParser, LongPatternsAreFreedWithoutRecursion) {
  std::u16string pattern;
  for (int i = 0; i < 200000; ++i) pattern += u"a/";
  CPatternStep* first = nullptr;
  CPatternStep* last = nullptr;
  ASSERT_EQ(parsePattern(pattern.c_str(), first, last), 0);
  EXPECT_EQ(last->previous->name, u"a");
  ReleasePattern(first);
}

class MatchesPattern : public PathTest {};

TEST_F(MatchesPattern, NamesMatchFromTheNodeUpwards) {
  load("<a id='top'><b id='b1'><a id='a2'><b id='b2' x='1'/></a></b></a>");
  const struct {
    const char* from;
    const char16_t* pattern;
    bool matches;
  } cases[] = {
      {"b1", u"a/b", true}, {"b1", u"/a/b", true}, {"b1", u"//a/b", true},  // "//" anchors like "/"
      {"b2", u"a/b", true}, {"b2", u"/a/b", false},                           // a/b under another element
      {"b2", u"b/a/b", true}, {"b2", u"/a/b/a/b", true}, {"b2", u"B", false},
      {"b2", u"c/a/b/a/b", false},  // runs out of ancestors
      {"b2", u"#document/a/b/a/b", true}, {"top", u"/a", true}, {"top", u"/", true}, {"", u"#document", true},
      {"", u"/#document", false}, {"b2", u"///b", false}, {"b2", nullptr, false},
  };
  ::testing::internal::CaptureStdout();
  for (const auto& c : cases) {
    EXPECT_EQ(node(c.from)->matchesPattern(c.pattern), c.matches)
        << c.from << " " << (c.pattern ? U16ToUtf8(c.pattern) : "null");
  }
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Invalid start of path\n");
  // An attribute's parent is its element.
  CDOMNode* x = static_cast<CDOMElement*>(node("b2"))->getAttributeNode(u"x");
  EXPECT_TRUE(x->matchesPattern(u"a/b/x"));
  EXPECT_FALSE(x->matchesPattern(u"/b/x"));
}

}  // namespace
}  // namespace quillet::xml::testing
