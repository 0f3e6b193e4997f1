#include <gtest/gtest.h>

#include <string>

#include "xml/common/U16String.h"
#include "xml/output/XMLDeclParser.h"

namespace quillet::xml {
namespace {

// The writer's use: "<?xml ", then an instruction's data, then "?>": the result of the
// last feed that ran, the message and the encoding.
TEST(DeclParser, ResultMessageAndEncoding) {
  const std::u16string kEnd = u"XML decl must end with '?>'";
  const struct {
    std::u16string data;
    int result;
    std::u16string message;
    std::u16string encoding;
  } rows[] = {
      {u"version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"", 3, u"", u"ISO-8859-1"},
      {u"version='1.0'", 3, u"", u""},
      {u"version = '1.0'\t\r\nencoding =\n'x_y.z-1' ", 3, u"", u"x_y.z-1"},
      {u"version='1.0'encoding='a'standalone='no'", 3, u"", u"a"},
      {u"version='1.0' standalone='yes'", 3, u"", u""},
      {u"version='1' standalone='noyes'", 3, u"", u""},  // the letters are not checked
      {u"version='1.0' standalone='yes' encoding='x'", -2, kEnd, u""},
      {u"encoding='UTF-8'", -2, u"XML decl must start with a version attribute", u""},
      {u"version '1.0'", -2, u"Expecting equals after version start", u""},
      {u"version=1.0", -2, u"Expecting starting quote after verison number", u""},
      {u"version='1 0'", -2, u"Invalid character in version string", u""},
      {u"version='1.0\"", -2, u"Invalid character in version string", u""},
      {u"version='1.0' x='y'", -2, u"Expecting encoding/standalone attribute or end of decl", u""},
      {u"version='1.0' encodng='a'", -2, u"encoding attribute name string is ill formed", u""},
      {u"version='1.0' standalon='yes'", -2, u"encoding attribute name string is ill formed", u""},
      {u"version='1.0' encoding 'a'", -2, u"Expecting equals after encoding start", u""},
      {u"version='1.0' encoding=a", -2, u"Expecting starting quote encoding EQ", u""},
      {u"version='1.0' encoding='a:b'", -2, u"Invalid character in encoding string", u"a"},
      {u"version='1.0' encoding='a' v", -2, u"Invalid character 'v' - expecting SDDecl or end of PI", u"a"},
      {u"version='1.0' standalone:'yes'", -2, u"Expecting equals after standalone start", u""},
      {u"version='1.0' standalone=yes", -2, u"Expecting starting quote standalone EQ", u""},
      {u"version='1.0' standalone='maybe'", -2, u"Invalid character in standalone string", u""},
      {u"version='1.0'?", -2, kEnd, u""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(U16ToUtf8(row.data));
    CXMLDeclParser parser;
    EXPECT_EQ(parser.feed(u"<?xml "), CXMLDeclParser::kOpened);
    int result = parser.feed(row.data);
    if (result >= 0) result = parser.feed(u"?>");
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(parser.getErrorMessage(), row.message);
    EXPECT_EQ(parser.getEncoding(), row.encoding);
  }
}

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
