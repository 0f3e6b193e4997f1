// Location paths: axes, node tests, predicates, "." and "..", and where a path ends.
#include <gtest/gtest.h>

#include <string>

#include "xml/path/PathEvaluator.h"
#include "xml/path/PathTestSupport.h"

namespace quillet::xml::testing {
namespace {

class PathSelect : public PathSampleTest {
 protected:
  void check(std::initializer_list<Case> cases) { checkSelect(cases); }
};

TEST_F(PathSelect, AxesAndNodeTests) {
  check({
      {"b", "a1", "b#b1 b#b2"}, {"*", "a1", "b#b1 c#c1 b#b2"}, {"r/a/b", "", "b#b1 b#b2 b#b3"},
      {"child::r/CHILD::a/Child::c", "", "c#c1"}, {"descendant::b", "a2", "b#b3 b#b4"},
      {"r/descendant::*", "", "a#a1 b#b1 c#c1 b#b2 a#a2 b#b3 d#d1 b#b4 n:e#e1"},
      {"//b", "b4", "b#b1 b#b2 b#b3 b#b4"},  // from any node, the whole document in order
      {"a//b", "r", "b#b1 b#b2 b#b3 b#b4"},
      {"@id", "a1", "@id=a1"}, {"@*", "e1", "@xmlns:n=urn:n @id=e1 @n:v=1"}, {"r/a/@id", "", "@id=a1 @id=a2"},
      {"//@id", "", ""},  // "//" does not reach attributes
      // Names compare exactly; a prefixed name reads as two names.
      {"B", "a1", ""},
      {"r/n:e", "", ""},  // r/n, and the name e ends the path
      {"a:zzz", "r", "a#a1 a#a2"},
      // Text, comments and processing instructions are never selected; text() and
      // other function steps leave the context as it is.
      {"r/a/text()", "", "a#a1 a#a2"}, {"node()/b", "a1", "b#b1 b#b2"}, {"/", "b1", "#document"},
  });
}

TEST_F(PathSelect, PredicatesCountPositionsOverTheWholeList) {
  check({
      {"b[2]", "a1", "b#b2"},
      {"b[last()]", "a1", "b#b1 b#b2"},  // non-zero for every node
      {"b[position() = last()]", "a1", "b#b2"},
      {"r/a/b[1]", "", "b#b1"},  // one b of all the a elements together
      {"r/a/b[2 + 0]", "", "b#b2"},
      {"r/a/b[-1]", "", "b#b1 b#b2 b#b3"},  // starts with "-", so a truth value
      {"r/a/b[(2)]", "", "b#b1 b#b2 b#b3"}, {"r/a/b[position() > 1][1]", "", "b#b2"}, {"r/a[b = 'y']", "", "a#a1"},
      {"r/a[not(c)]", "", "a#a2"},
      {"r/a[b[2]]", "", "a#a1"},  // nested: the b list of each a
      {"r/a[d/b = 'deep' or c]", "", "a#a1 a#a2"},
      {"r/a[b > 4]", "", "a#a2"},  // the first b's text as a number
      {"r/a[]", "", "a#a1 a#a2"},
  });
}

TEST_F(PathSelect, DotIsTheTestedNodeInsidePredicatesAndParentsKeepDuplicates) {
  check({
      {".", "a1", "a#a1"}, {"./b/.", "a1", "b#b1 b#b2"}, {"r/a/b[. = 'y']", "", "b#b2"},
      {"r/*[nothing/.]", "", "a#a1 a#a2 n:e#e1"},  // "." is the node being tested
      {"..", "b1", "a#a1"}, {"@id/..", "a1", "a#a1"}, {"a/../a", "r", "a#a1 a#a2 a#a1 a#a2"},
      {"//b/..", "", "a#a1 a#a1 a#a2 d#d1"},
  });
}

TEST_F(PathSelect, DoubleSlashReachesIntoPredicatesAndStartsAtTheRootOnlyFirst) {
  check({
      // The flag of "//" stays for the first step of the predicate.
      {"//r[b]", "", "r#r"},
      {"//r[./b]", "", ""},
      {"/r[b]", "", ""},
      {"r/a[//d]", "", "a#a1 a#a2"},  // first in the predicate: from the document
      {"r/a[c and //d]", "", ""},     // after a step: below the tested node
      {"r/a[c or //d]", "", "a#a1 a#a2"},
  });
  // Every node of a predicate is read from the same state, whatever the one before
  // left behind.
  load("<r><a id='1'><m><g/></m></a><a id='2'><m><g/></m></a></r>");
  EXPECT_EQ(Labels(doc->selectNodes(u"//a[g/..]")), "a#1 a#2");
}

TEST_F(PathSelect, TheEndRuleKeepsWhatWasSelectedSoFar) {
  check({
      {"", "a1", "a#a1"}, {"a b", "r", "a#a1 a#a2"}, {"a/$", "r", "a#a1 a#a2"}, {"a[1]) /c", "r", "a#a1"},
      {"a/@", "r", "a#a1 a#a2"}, {"a\t/b", "r", "a#a1 a#a2"}, {"(a)", "r", "r#r"}, {"r/a[b = 'x'] = 'q'", "", "a#a1"},
  });
}

TEST_F(PathSelect, StatusesTellAnEndedPathFromAFailure) {
  const struct {
    const char16_t* path;
    int status;
  } cases[] = {
      {u"a", 0}, {u"a/", 1}, {u"", 1}, {u"foo::a", -1}, {u"a[1", -1}, {u"a[1.5]", -1}, {u"text(1 $)", -1},
      {u"x[(]", -1},  // a predicate is read once even for an empty list
  };
  for (const auto& c : cases) {
    CDOMNodeList* list = nullptr;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(CPathEvaluator().evaluateSelect(c.path, doc.get(), node("r"), list), c.status) << U16ToUtf8(c.path);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.path[0] == u'x' ? "Missing closing bracket\n" : "");
    EXPECT_EQ(list == nullptr, c.status < 0);
    if (list != nullptr) list->release();
  }
  EXPECT_EQ(doc->selectNodes(nullptr), nullptr);
  EXPECT_EQ(doc->selectSingleNode(u"r[1"), nullptr);
  EXPECT_EQ(doc->selectSingleNode(u"r/x"), nullptr);
  EXPECT_EQ(doc->selectSingleNode(u"r/a"), node("a1"));
}

}  // namespace
}  // namespace quillet::xml::testing
