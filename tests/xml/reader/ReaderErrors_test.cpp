// Every grammar error of the prolog and of element content: code and message.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"

namespace quillet::xml::test {
namespace {

TEST(ReaderErrors, XmlDeclaration) {
  ExpectErrors({
      {"ends after <?xml", "<?xml", 10, ""},
      {"no space after <?xml", "<?xmlversion='1.0'?><a/>", 30, ""},
      {"version misspelled", "<?xml verzion='1.0'?><a/>", 40, ""},
      {"version cut short", "<?xml vers", 10, ""},
      {"no equals", "<?xml version '1.0'?><a/>", 50, ""},
      {"no opening quote", "<?xml version=1.0?><a/>", 60, ""},
      {"bad character in version", "<?xml version='1 0'?><a/>", 60, ""},
      {"quotes differ", "<?xml version='1.0\"?><a/>", 70, ""},
      {"no > after ?", "<?xml version='1.0'?x<a/>", 80, ""},
      {"encoding misspelled", "<?xml version='1.0' encodin='x'?><a/>", 90, ""},
      {"standalone misspelled", "<?xml version='1.0' stand='x'?><a/>", 90, ""},
      {"encoding twice", "<?xml version='1.0' encoding='a' encoding='b'?><a/>", 100, ""},
      {"standalone twice", "<?xml version='1.0' standalone='yes' standalone='no'?><a/>", 100, ""},
      {"encoding quotes differ", "<?xml version='1.0' encoding='a\"?><a/>", 70, ""},
      {"encoding unquoted", "<?xml version='1.0' encoding=a?><a/>", 60, ""},
      {"declaration not closed", "<?xml version='1.0' ", 10, ""},
  });
}

TEST(ReaderErrors, CommentsAndProcessingInstructions) {
  ExpectErrors({
      {"tab after target", "<?pi\tdata?><a/>", 120, ""},
      {"? without >", "<?pi?x<a/>", 120, ""},
      {"target starts with digit", "<?1pi?><a/>", 110, ""},
      {"PI not closed", "<?pi data", 10, ""},
      {"control char in PI", "<?pi a\x01?><a/>", 260, "PI contains invalid character '\\u0001'"},
      {"double dash in content comment", "<a><!-- a -- b --></a>", 110, ""},
      {"single dash opening in content", "<a><!- x --></a>", 110, ""},
      {"control char in comment", "<a><!-- \x01 --></a>", 260, "Comment contains invalid character '\\u0001'"},
      {"comment not closed", "<a><!-- x", 10, ""},
      // In the prolog a malformed comment is not taken for a comment at all, so the
      // element reader meets "<!".
      {"double dash in prolog comment", "<!-- a -- b --><a/>", 270, "Expecting name char for element"},
  });
}

TEST(ReaderErrors, Tags) {
  ExpectErrors({
      {"text before root", "x", 180, "Unexpected character 'x' - expecting element start."},
      {"lone <", "<", 10, "Expecting name char for element"},
      {"space after <", "< a/>", 270, "Expecting name char for element"},
      {"name starts with digit", "<1a/>", 240, "The character 1 is not valid for the start of a name"},
      {"start tag not closed", "<a", 110, ""},
      {"ends after attribute", "<a b='1'", 110, ""},
      {"/ without >", "<a/x", 110, ""},
      {"attribute without =", "<a b/>", 50, ""},
      {"ends before =", "<a b", 110, ""},
      {"unquoted value", "<a b=1/>", 110, ""},
      {"< in value", "<a b='<'/>", 230, "The character '<' is not allowed in an attribute value"},
      {"value not closed", "<a b='1/>", 10, ""},
      {"attribute name bad start", "<a -b='1'/>", 240, "The character - is not valid for the start of a name"},
      {"attribute name not a name", "<a b='1' ='2'/>", 110, ""},
      {"second root", "<a/><b/>", 280, "Unexpected data trailing end of root element"},
      {"text after root", "<a></a>x", 280, "Unexpected data trailing end of root element"},
  });
}

TEST(ReaderErrors, Content) {
  ExpectErrors({
      {"ends in content", "<a>", 10, "Expecting element content"},
      {"ends in text", "<a>x", 10, "Expecting element content"},
      {"ends after <", "<a><", 10, "Expecting element content"},
      {"ends after <!", "<a><!", 10, "Expecting start of comment or CDATA"},
      {"not CDATA", "<a><!x></a>", 130, ""},
      {"CDATA not closed", "<a><![CDATA[x]]</a>", 140, ""},
      {"end tag differs", "<a></b>", 150, "End tag does not match start tag"},
      {"end tag differs in prefix", "<p:a xmlns:p='u'></q:a>", 150, "End tag does not match start tag"},
      {"end tag not closed", "<a></a", 10, "Expecting chGREATER_THAN for element end tag"},
      {"attribute in end tag", "<a></a x>", 10, "Expecting chGREATER_THAN for element end tag"},
      {"]]> in text", "<a>x]]></a>", 250, "Character sequence ']]>' not allowed in element content"},
      {"]]]> in text", "<a>]]]></a>", 250, "Character sequence ']]>' not allowed in element content"},
  });
}

TEST(ReaderErrors, References) {
  ExpectErrors({
      {"undefined entity", "<a>&foo;</a>", 170, "Undefined entity 'foo'"},
      {"undefined entity in value", "<a b='&foo;'/>", 170, "Undefined entity 'foo'"},
      // Names next to the predefined ones: a prefix, an extension, another case.
      {"prefix of amp", "<a>&am;</a>", 170, "Undefined entity 'am'"},
      {"amp extended", "<a b='&ampx;'/>", 170, "Undefined entity 'ampx'"},
      {"quot cut short", "<a>&quo;</a>", 170, "Undefined entity 'quo'"},
      {"capital LT", "<a>&LT;</a>", 170, "Undefined entity 'LT'"},
      {"no semicolon", "<a>&amp</a>", 10, "Expecting end of reference chSEMI_COLON"},
      {"no name", "<a>& </a>", 110, ""},
      {"name starts with digit", "<a>&1;</a>", 240, "The character 1 is not valid for the start of a name"},
      {"upper-case X", "<a>&#X41;</a>", 220, "The character X is not valid for a character reference"},
      {"letter in decimal", "<a>&#6a;</a>", 220, "The character a is not valid for a character reference"},
      {"bad hex digit", "<a>&#xg;</a>", 10, ""},
      {"reference not closed", "<a>&#65", 10, ""},
      {"ends after &", "<a>&", 10, ""},
  });
}

TEST(ReaderErrors, LimitsFailCleanly) {
  const std::string longName(512, 'n');
  const std::string okName(511, 'n');
  const std::string longPrefixed = std::string(300, 'p') + ":" + std::string(300, 'l');
  EXPECT_TRUE(Parse("<" + okName + "/>").ok);
  EXPECT_TRUE(Parse("<" + longPrefixed + "/>").ok);  // each part fits
  for (const std::string& input : {"<" + longName + "/>", "<a " + longName + "='1'/>", "<?" + longName + "?><a/>"}) {
    const Outcome out = Parse(input);
    EXPECT_EQ(out.code, 110) << input.substr(0, 3);
    EXPECT_EQ(out.message, "Name is longer than the limit of 511 characters") << input.substr(0, 3);
  }
}

std::string Nested(int depth) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "<e>";
  for (int i = 0; i < depth; ++i) s += "</e>";
  return s;
}

TEST(ReaderErrors, NestingLimits) {
  // One limit, with namespace processing and without.
  Options off;
  off.namespaces = false;
  for (const Options& options : {Options(), off}) {
    EXPECT_TRUE(Parse(Nested(kMaxElementDepth), options).ok);
    const Outcome deep = Parse(Nested(kMaxElementDepth + 1), options);
    EXPECT_EQ(deep.code, 110);
    EXPECT_EQ(deep.message, "Elements nest deeper than the limit of 100000 levels");
  }
  // Far past the limit: a clean error, not a stack overflow.
  std::string opens;
  for (int i = 0; i < 200000; ++i) opens += "<e>";
  EXPECT_EQ(Parse(opens, off).code, 110);
}

TEST(ReaderErrors, ErrorWithoutMessageKeepsThePreviousMessage) {
  CSAXReader reader;
  EXPECT_FALSE(ParseWith(reader, "<a>&foo;</a>").ok);
  const Outcome second = ParseWith(reader, "<a>&#xg;</a>");
  EXPECT_EQ(second.code, 10);
  EXPECT_EQ(second.message, "Undefined entity 'foo'");
}

}  // namespace
}  // namespace quillet::xml::test
