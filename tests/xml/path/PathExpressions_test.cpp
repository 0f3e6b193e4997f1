// Expressions: precedence and grouping, operators and functions with their conversions,
// the context of each operand, the end rule, failures and the limits.
#include <gtest/gtest.h>

#include <string>

#include "xml/path/PathEvaluator.h"
#include "xml/path/PathTestSupport.h"

namespace quillet::xml::testing {
namespace {

class PathExpressions : public PathSampleTest {
 protected:
  void check(std::initializer_list<Case> cases) { checkTest(cases); }

  // The status of testing expression from the document, and what it wrote to standard
  // output.
  std::pair<int, std::string> run(const std::u16string& expression, uint64_t maxVisits = CPathEvaluator::kMaxVisits) {
    bool result = false;
    ::testing::internal::CaptureStdout();
    const int status = CPathEvaluator(maxVisits).evaluateTest(expression.c_str(), doc.get(), doc.get(), result, 1, 1);
    return {status, ::testing::internal::GetCapturedStdout()};
  }
};

TEST_F(PathExpressions, PrecedenceRightGroupingAndLetterCase) {
  check({
      {"8 - 4 - 2 = 6", "", "true"}, {"8 DIV 4 Div 2 = 4", "", "true"}, {"2 + 3 * 4 = 14", "", "true"},
      {"1 < 2 < 3", "", "false"},  // 1 < (2 < 3)
      {"3 > 2 > 1", "", "true"},   // 3 > (2 > 1)
      {"1 Or 0 AND 0", "", "true"}, {"(1 or 0) and 0", "", "false"}, {"-2 - -3 = 1", "", "true"},
      {"1 + 1 = 2 and 2 < 3", "", "true"},
      {"1 = 1 = 2", "", "true"},  // one "=" per level: the second ends the expression
      {"Position() = 1 and LAST() = 1 and NOT(0)", "", "true"},
      {"R", "", "false"},  // node names keep their case
  });
}

TEST_F(PathExpressions, ArithmeticAndConversionsToNumbers) {
  check({
      {"-3 + 5 = 2", "", "true"}, {"7 mod -3 = 1", "", "true"}, {"-7 MOD 3 = -1", "", "true"},
      {"number('7.9') mod number('-2.5') = 1", "", "true"},  // truncated first
      {"1 mod 0", "", "false"},                              // NaN
      {"0 div 0", "", "false"}, {"-1 div 0 < -100000", "", "true"}, {"number('x') = -1", "", "true"},
      {"Number('  12.5e1 ') = 125", "", "true"},
      {"number(r/a/b) = -1", "", "true"},    // the first b's text, x
      {"number(r/a[2]/b) = 5", "", "true"},  // 5
      {"number(r/a) = -1", "", "true"},      // an element's first child is an element
      {"number(r/nothing) = -1", "", "true"}, {"'10' > '9'", "", "true"},
      {"number() = 5", "b3", "true"},  // no argument: the context
  });
}

TEST_F(PathExpressions, TruthAndComparisonOfTexts) {
  check({
      {"'abc'", "", "false"}, {"not('abc')", "", "true"}, {"2", "", "true"}, {"r/nothing", "", "false"},
      {"r/a/b = 'y'", "", "true"}, {"r/a/b = 'q'", "", "false"},
      {"r/a[1]/b != 'x'", "", "true"},  // y differs
      {"r/a/b = 5", "", "true"},        // a number compares as its text
      {"@id = 'a1'", "a1", "true"},
      {"b = 'x'", "a1", "true"},  // the direct text of a b child
      {"d = 'deep'", "a2", "false"}, {"1 != 1", "", "false"}, {"1 = '1'", "", "true"}, {"'1.0' = 1", "", "false"},
      // A node-set on the right stands for all its texts.
      {"'q' != r/a/b", "", "true"}, {"r/a/b = r/a[2]/b", "", "true"}, {"r/a[1]/b = r/a[2]/b", "", "false"},
  });
}

TEST_F(PathExpressions, EachOperandFindsItsContext) {
  check({
      // Position and size come from the siblings, whatever their kind.
      {"position() = 3 and last() = 3", "b2", "true"}, {"position() = 2 and last() = 5", "d1", "true"},
      // The right operand of "and" and "or" starts from the context node outside
      // predicates, as a right operand of "=" does.
      {"@id = 'a1' and b", "a1", "true"}, {"0 or c", "a2", "false"}, {"c = b", "a1", "false"},
      // "//" starts at the document only before any step.
      {"//d", "a1", "true"},
      {"1 and //d", "a1", "true"},
      {"c and //d", "a1", "false"},
      {"r/a[2] and .", "", "true"},
  });
  bool result = false;
  CDOMNode* a1 = node("a1");
  EXPECT_EQ(a1->testExpressionAt(u"position() = 4 and last() = 9", result, 9, 4), 0);
  EXPECT_TRUE(result);
  // A predicate leaves its last position behind.
  EXPECT_EQ(a1->testExpressionAt(u"b[2] and position() = 2", result, 9, 4), 0);
  EXPECT_TRUE(result);
}

TEST_F(PathExpressions, FunctionsAndTheEndRule) {
  check({
      {"foo(1 2)", "", "true"},  // no value: the context stays on top
      {"position(1) = 1", "", "true"}, {"0 2", "", "false"}, {"0 ) or 1", "", "false"}, {"0 foo", "", "false"},
      {"1 $ 0", "", "true"},
  });
}

TEST_F(PathExpressions, FailuresAndTheirMessages) {
  const struct {
    std::u16string expression;
    int status;
    const char* output;
  } cases[] = {
      {u"((1) = 1", -1, "Missing closing bracket\n"}, {u"(", -1, "Missing closing bracket\n"}, {u"not(1 2)", -1, ""},
      {u"foo(1, 2)", -1, ""},  // "," is an error token before the ")"
      {u"foo::a", -1, ""}, {u"1 and r[1 2]", -1, ""}, {u"r", 0, ""}, {u"r/", 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(c.expression), std::make_pair(c.status, std::string(c.output))) << U16ToUtf8(c.expression);
  }
  bool result = true;
  EXPECT_EQ(doc->testExpression(u"(1", result), -1);
  EXPECT_TRUE(result);  // not written
  EXPECT_EQ(doc->testExpression(nullptr, result), -1);
}

TEST_F(PathExpressions, DeepNestingFailsAndLongChainsDoNot) {
  const auto repeat = [](const std::u16string& text, size_t times) {
    std::u16string out;
    for (size_t i = 0; i < times; ++i) out += text;
    return out;
  };
  EXPECT_EQ(run(repeat(u"(", 100000)), std::make_pair(-1, std::string()));
  EXPECT_EQ(run(u"r" + repeat(u"[not(", 100000)).first, -1);
  EXPECT_EQ(run(repeat(u"(", 127) + u"1" + repeat(u")", 127)).first, 0);
  EXPECT_EQ(run(repeat(u"(", 128) + u"1" + repeat(u")", 128)).first, -1);
  EXPECT_EQ(Labels(doc->selectNodes((u"r[" + repeat(u".[", 127) + repeat(u"]", 128)).c_str())), "r#r");
  EXPECT_EQ(doc->selectNodes((u"r[" + repeat(u".[", 128) + repeat(u"]", 129)).c_str()), nullptr);
  // Chains of one precedence level are read in a loop, at any length.
  EXPECT_EQ(run(repeat(u"1 or ", 100000) + u"0").first, 0);
  bool result = false;
  EXPECT_EQ(doc->testExpression((repeat(u"1 - ", 100000) + u"1 = 1").c_str(), result), 0);
  EXPECT_TRUE(result);  // 1 - (1 - (1 - ...))
}

TEST_F(PathExpressions, AQueryStopsAfterItsLimitOfVisits) {
  // "//*" visits each of the 17 nodes below the document once.
  EXPECT_EQ(run(u"//*", 17).first, 0);
  EXPECT_EQ(run(u"//*", 16).first, -1);
  // Nested predicates multiply: 10^10 tests stop at the limit, quickly.
  EXPECT_EQ(run(u"//*[//*[//*[//*[//*[//*[//*[//*[//*[//*]]]]]]]]]", 1000000).first, -1);
}

}  // namespace
}  // namespace quillet::xml::testing
