#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/output/XMLDeclParser.h"

namespace quillet::xml {
namespace {

// The writer's use: "<?xml ", then an instruction's data, then "?>".
struct DeclCase {
  const char* label;
  std::u16string data;
  int result;  // of the last feed that ran
  std::u16string message;
  std::u16string encoding;
};

int FeedAsWriter(CXMLDeclParser& parser, const std::u16string& data) {
  EXPECT_EQ(parser.feed(u"<?xml "), CXMLDeclParser::kOpened);
  const int afterData = parser.feed(data);
  if (afterData < 0) return afterData;
  return parser.feed(u"?>");
}

class DeclParser : public ::testing::TestWithParam<DeclCase> {};

TEST_P(DeclParser, ResultMessageAndEncoding) {
  const DeclCase& c = GetParam();
  CXMLDeclParser parser;
  EXPECT_EQ(FeedAsWriter(parser, c.data), c.result);
  EXPECT_EQ(parser.getErrorMessage(), c.message);
  EXPECT_EQ(parser.getEncoding(), c.encoding);
}

const std::u16string kEnd = u"XML decl must end with '?>'";

INSTANTIATE_TEST_SUITE_P(
    Declarations, DeclParser,
    ::testing::Values(
        DeclCase{"all_three_double_quotes", u"version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"", 3, u"",
                 u"ISO-8859-1"},
        DeclCase{"version_only", u"version='1.0'", 3, u"", u""},
        DeclCase{"space_around_equals_and_before_end", u"version = '1.0'\t\r\nencoding =\n'x_y.z-1' ", 3, u"",
                 u"x_y.z-1"},
        DeclCase{"no_space_between_attributes", u"version='1.0'encoding='a'standalone='no'", 3, u"", u"a"},
        DeclCase{"standalone_after_version", u"version='1.0' standalone='yes'", 3, u"", u""},
        DeclCase{"standalone_value_unchecked_letters", u"version='1' standalone='noyes'", 3, u"", u""},
        DeclCase{"encoding_after_standalone", u"version='1.0' standalone='yes' encoding='x'", -2, kEnd, u""},
        DeclCase{"missing_version", u"encoding='UTF-8'", -2, u"XML decl must start with a version attribute",
                 u""},
        DeclCase{"no_equals_after_version", u"version '1.0'", -2, u"Expecting equals after version start", u""},
        DeclCase{"unquoted_version", u"version=1.0", -2, u"Expecting starting quote after verison number", u""},
        DeclCase{"bad_version_char", u"version='1 0'", -2, u"Invalid character in version string", u""},
        DeclCase{"mismatched_version_quote", u"version='1.0\"", -2, u"Invalid character in version string", u""},
        DeclCase{"junk_after_version", u"version='1.0' x='y'", -2,
                 u"Expecting encoding/standalone attribute or end of decl", u""},
        DeclCase{"misspelt_encoding", u"version='1.0' encodng='a'", -2,
                 u"encoding attribute name string is ill formed", u""},
        DeclCase{"misspelt_standalone", u"version='1.0' standalon='yes'", -2,
                 u"encoding attribute name string is ill formed", u""},
        DeclCase{"no_equals_after_encoding", u"version='1.0' encoding 'a'", -2,
                 u"Expecting equals after encoding start", u""},
        DeclCase{"unquoted_encoding", u"version='1.0' encoding=a", -2, u"Expecting starting quote encoding EQ",
                 u""},
        DeclCase{"colon_in_encoding", u"version='1.0' encoding='a:b'", -2, u"Invalid character in encoding string",
                 u"a"},
        DeclCase{"junk_after_encoding", u"version='1.0' encoding='a' v", -2,
                 u"Invalid character 'v' - expecting SDDecl or end of PI", u"a"},
        DeclCase{"no_equals_after_standalone", u"version='1.0' standalone:'yes'", -2,
                 u"Expecting equals after standalone start", u""},
        DeclCase{"unquoted_standalone", u"version='1.0' standalone=yes", -2,
                 u"Expecting starting quote standalone EQ", u""},
        DeclCase{"bad_standalone_char", u"version='1.0' standalone='maybe'", -2,
                 u"Invalid character in standalone string", u""},
        DeclCase{"data_ends_in_question_mark", u"version='1.0'?", -2, kEnd, u""}),
    [](const ::testing::TestParamInfo<DeclCase>& info) { return std::string(info.param.label); });

TEST(DeclParserFeeding, OpeningResultsAndNonDeclarations) {
  CXMLDeclParser parser;
  EXPECT_EQ(parser.feed(u""), CXMLDeclParser::kContinue);
  EXPECT_EQ(parser.feed(u"<?xm"), CXMLDeclParser::kContinue);
  EXPECT_EQ(parser.feed(u"l "), CXMLDeclParser::kOpened);

  CXMLDeclParser notDecl;
  EXPECT_EQ(notDecl.feed(u"<?XML version='1.0'?>"), CXMLDeclParser::kNotDecl);
  EXPECT_EQ(notDecl.getErrorMessage(), u"");
  CXMLDeclParser noSpace;
  EXPECT_EQ(noSpace.feed(u"<?xmlversion='1.0'?>"), CXMLDeclParser::kNotDecl);
}

TEST(DeclParserFeeding, ResultsDoNotDependOnHowTheTextIsCut) {
  const std::u16string whole = u"<?xml version='1.0' encoding='UTF-16' standalone='yes'?>";
  for (size_t cut = 1; cut < whole.size(); ++cut) {
    CXMLDeclParser parser;
    const int first = parser.feed(whole.substr(0, cut));
    ASSERT_GT(first, 0) << cut;
    EXPECT_EQ(parser.feed(whole.substr(cut)), CXMLDeclParser::kComplete) << cut;
    EXPECT_EQ(parser.getVersion(), u"1.0");
    EXPECT_EQ(parser.getEncoding(), u"UTF-16");
    EXPECT_EQ(parser.getStandalone(), u"yes");
  }
}

TEST(DeclParserFeeding, FeedStopsAtCompletionAndRefusesMore) {
  CXMLDeclParser parser;
  EXPECT_EQ(parser.feed(u"<?xml version='1.0'?>trailing"), CXMLDeclParser::kComplete);
  EXPECT_EQ(parser.feed(u"x"), CXMLDeclParser::kError);
  EXPECT_EQ(parser.getErrorMessage(), u"Unexpected state in xmldecl parse unit");
}

}  // namespace
}  // namespace quillet::xml
