// Shared helpers of the path language's tests: a document parsed from text, and query
// results written as short strings that a table can hold.
#ifndef QUILLET_TESTS_XML_PATH_PATHTESTSUPPORT_H
#define QUILLET_TESTS_XML_PATH_PATHTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>

#include "quillet/xml/DOM.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/LoadDocument.h"

namespace quillet::xml::testing {

// The nodes of a list separated by spaces, "FAIL" for null (the list is released): an
// element as name#id (name alone without an id), an attribute as @name=value, any other
// node by its name.
inline std::string Labels(CDOMNodeList* list) {
  if (list == nullptr) return "FAIL";
  std::string out;
  while (const CDOMNode* node = list->nextNode()) {
    std::string label = U16ToUtf8(node->getNodeName());
    if (node->getNodeType() == DOMNodeTypeAttribute) label = "@" + label + "=" + U16ToUtf8(node->getNodeValue());
    const char16_t* id =
        node->getNodeType() == DOMNodeTypeElement ? static_cast<const CDOMElement*>(node)->getAttribute(u"id") : u"";
    if (*id) label += "#" + U16ToUtf8(id);
    out += (out.empty() ? "" : " ") + label;
  }
  list->release();
  return out;
}

class PathTest : public ::testing::Test {
 protected:
  void load(const std::string& xml) {
    XMLDeclInfo info;
    doc = LoadDocumentFromMemory(xml.data(), xml.size(), info).document;
    ASSERT_NE(doc, nullptr) << xml;
  }

  // The element whose id is id; the document for "".
  CDOMNode* node(const std::string& id) {
    CDOMNode* found = id.empty() ? doc.get() : doc->selectSingleNode(Utf8ToU16("//*[@id = '" + id + "']").c_str());
    EXPECT_NE(found, nullptr) << id;
    return found != nullptr ? found : doc.get();
  }

  DocumentPtr doc;
};

// Tables of queries on one sample document: a with children b, c, b; a second a with a
// number, a nested b and nodes of other kinds; a prefixed element.
class PathSampleTest : public PathTest {
 protected:
  void SetUp() override {
    load("<r id='r'>"
         "<a id='a1'><b id='b1'>x</b><c id='c1'/><b id='b2'>y</b></a>"
         "<a id='a2'><b id='b3'>5</b><d id='d1'><b id='b4'>deep</b></d>tail<!--k--><?p i?></a>"
         "<n:e xmlns:n='urn:n' id='e1' n:v='1'/>"
         "</r>");
  }

  // A row: an expression, the id of the context element ("" for the document) and what
  // selectNodes gives (as Labels shows it) or testExpression ("true", "false", "FAIL").
  struct Case {
    const char* expression;
    const char* from;
    const char* expected;
  };

  void checkSelect(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      EXPECT_EQ(Labels(node(c.from)->selectNodes(Utf8ToU16(c.expression).c_str())), c.expected)
          << c.expression << " from '" << c.from << "'";
    }
  }

  void checkTest(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      bool result = false;
      const int status = node(c.from)->testExpression(Utf8ToU16(c.expression).c_str(), result);
      EXPECT_EQ(status < 0 ? "FAIL" : result ? "true" : "false", std::string(c.expected))
          << c.expression << " from '" << c.from << "'";
    }
  }
};

}  // namespace quillet::xml::testing

#endif
