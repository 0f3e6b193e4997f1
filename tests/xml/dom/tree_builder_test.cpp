#include <gtest/gtest.h>

#include <string>

#include "quillet/xml/DOM.h"
#include "support/XmlTestSupport.h"
#include "quillet/xml/SAXAttributes.h"
#include "xml/dom/loader/DOMDocumentFactory.h"
#include "xml/dom/loader/DOMTreeBuilder.h"
#include "xml/dom/loader/PendingParseError.h"

namespace quillet::xml {
namespace {

using quillet::test::DocumentPtr;

// Drives a builder with events as the reader would send them.
class TreeBuilder : public ::testing::Test {
 protected:
  void start(const char16_t* qName, const char16_t* uri = u"") { builder.startElement(uri, u"", qName, none); }
  void end() { builder.endElement(u"", u"", u""); }
  void text(const std::u16string& chars) { builder.characters(chars.data(), 0, static_cast<int>(chars.size())); }

  CDOMDocumentFactory factory;
  CDOMTreeBuilder builder{&factory};
  CSAXAttributes none;
};

TEST_F(TreeBuilder, LinksNodesWhereTheReaderFoundThem) {
  builder.startDocument();
  builder.processingInstruction(u"xml", u"version='1.0'");
  text(u"dropped: no element yet");
  builder.comment(u" before ");
  builder.doctypeDecl(u"r");
  start(u"r");
  text(u"one");
  text(u"two");  // runs are not merged
  builder.cdataSection(u"<c>");
  start(u"e");
  end();
  end();
  text(u"after");  // after the root: under the document
  builder.comment(u" after ");
  builder.endDocument();
  DocumentPtr doc(builder.takeDocument());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(builder.takeDocument(), nullptr);  // handed over once

  std::u16string xml;
  EXPECT_EQ(std::u16string(doc->getXML(xml)),
            u"<?xml version='1.0'?>\r\n<!-- before -->\r\n<r>\r\n\tone\r\n\ttwo\r\n\t<![CDATA[<c>]]>\r\n\t<e/>\r\n</r>\r\n"
            u"after\r\n<!-- after -->\r\n");
  EXPECT_EQ(std::u16string(doc->getDoctype()->getName()), u"r");
  ASSERT_NE(doc->getDocumentElement(), nullptr);
  EXPECT_EQ(std::u16string(doc->getDocumentElement()->getNodeName()), u"r");
}

TEST_F(TreeBuilder, ASecondRootIsDroppedWithItsContent) {
  builder.startDocument();
  start(u"r");
  end();
  start(u"second");
  start(u"inner");
  text(u"lost");
  end();
  end();
  builder.comment(u"kept");
  DocumentPtr doc(builder.takeDocument());
  std::u16string xml;
  EXPECT_EQ(std::u16string(doc->getXML(xml)), u"<r/>\r\n<!--kept-->\r\n");
}

TEST_F(TreeBuilder, AnUntakenDocumentDiesWithTheBuilder) {
  // Run under the sanitizers, a leak here fails the test run.
  auto partial = std::make_unique<CDOMTreeBuilder>(&factory);
  partial->startDocument();
  partial->startElement(u"", u"", u"r", none);
  partial->characters(u"x", 0, 1);
  partial.reset();

  // A second parse with one builder starts from a new document.
  builder.startDocument();
  start(u"first");
  builder.startDocument();
  start(u"second");
  end();
  DocumentPtr doc(builder.takeDocument());
  std::u16string xml;
  EXPECT_EQ(std::u16string(doc->getXML(xml)), u"<second/>\r\n");
}

TEST(ParseErrorText, ThreeLinesInTheFixedLayout) {
  const CSAXParseException error(u"Comment contains invalid character '\u0001'", 260, u"", u"", 12, -3);
  EXPECT_EQ(FormatParseErrorText(error),
            u"Error Message : Comment contains invalid character '\u0001'\n"
            u"Error Code    : 260\n"
            u"Error occurred near line 12, column -3\n");
  const CSAXParseException empty(u"", 10, u"", u"", 1, 1);
  EXPECT_EQ(FormatParseErrorText(empty),
            u"Error Message : \nError Code    : 10\nError occurred near line 1, column 1\n");
  // Each line is cut to its room.
  const std::u16string text = FormatParseErrorText(CSAXParseException(std::u16string(2000, u'm'), 110, u"", u"", 1, 2));
  EXPECT_EQ(text.substr(0, 1023), u"Error Message : " + std::u16string(1006, u'm') + u"\n");
  EXPECT_EQ(text.substr(1023), u"Error Code    : 110\nError occurred near line 1, column 2\n");
  // A message with a NUL in it (input such as "<" and a NUL byte) ends there, as C text.
  const std::u16string withNul = std::u16string(u"Unexpected character '") + u'\0' + u"' - expecting element name.";
  EXPECT_EQ(FormatParseErrorText(CSAXParseException(withNul, 110, u"", u"", 1, 3)),
            u"Error Message : Unexpected character '\nError Code    : 110\nError occurred near line 1, column 3\n");
}

}  // namespace
}  // namespace quillet::xml
