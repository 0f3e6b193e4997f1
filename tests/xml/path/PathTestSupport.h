// Shared helpers of the path language's tests: a document parsed from text, and the
// results of queries written as short strings that a table can hold.
#ifndef QUILLET_TESTS_XML_PATH_PATHTESTSUPPORT_H
#define QUILLET_TESTS_XML_PATH_PATHTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>

#include "quillet/xml/DOM.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/LoadDocument.h"

namespace quillet::xml::testing {

// A node as the tables show it: an element as name#id (name alone without an id
// attribute), an attribute as @name=value, any other node by its node name.
inline std::string Label(const CDOMNode* node) {
  const std::string name = U16ToUtf8(node->getNodeName());
  if (node->getNodeType() == DOMNodeTypeAttribute) return "@" + name + "=" + U16ToUtf8(node->getNodeValue());
  if (node->getNodeType() != DOMNodeTypeElement) return name;
  const char16_t* id = static_cast<const CDOMElement*>(node)->getAttribute(u"id");
  return *id ? name + "#" + U16ToUtf8(id) : name;
}

// The labels of a list's nodes separated by spaces, "FAIL" for null; the list is
// released.
inline std::string Labels(CDOMNodeList* list) {
  if (list == nullptr) return "FAIL";
  std::string out;
  while (const CDOMNode* node = list->nextNode()) out += (out.empty() ? "" : " ") + Label(node);
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

  // The element whose id attribute is id; the document for "".
  CDOMNode* node(const std::string& id) {
    if (id.empty()) return doc.get();
    CDOMTreeWalker walker(doc.get(), doc->getFirstChild());
    while (CDOMNode* n = walker.nextNode()) {
      if (n->getNodeType() == DOMNodeTypeElement &&
          U16ToUtf8(static_cast<CDOMElement*>(n)->getAttribute(u"id")) == id) {
        return n;
      }
    }
    ADD_FAILURE() << "no element with id " << id;
    return doc.get();
  }

  // What path selects from the element with id `from` (the document for "").
  std::string select(const std::string& path, const std::string& from = "") {
    return Labels(node(from)->selectNodes(Utf8ToU16(path).c_str()));
  }

  // "true", "false", or "FAIL" when the status is negative.
  std::string test(const std::string& expression, const std::string& from = "") {
    bool result = false;
    const int status = node(from)->testExpression(Utf8ToU16(expression).c_str(), result);
    return status < 0 ? "FAIL" : result ? "true" : "false";
  }

  DocumentPtr doc;
};

// A test on one sample document: a with children b, c, b; a second a with a number,
// a nested b and nodes of other kinds; a prefixed element.
class PathSampleTest : public PathTest {
 protected:
  void SetUp() override {
    load("<r id='r'>"
         "<a id='a1'><b id='b1'>x</b><c id='c1'/><b id='b2'>y</b></a>"
         "<a id='a2'><b id='b3'>5</b><d id='d1'><b id='b4'>deep</b></d>tail<!--k--><?p i?></a>"
         "<n:e xmlns:n='urn:n' id='e1' n:v='1'/>"
         "</r>");
  }

  // A table row: an expression, the id of the context element ("" for the document)
  // and what select (or test) gives.
  struct Case {
    const char* expression;
    const char* from;
    const char* expected;
  };

  void checkSelect(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      EXPECT_EQ(select(c.expression, c.from), c.expected) << c.expression << " from '" << c.from << "'";
    }
  }

  void checkTest(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      EXPECT_EQ(test(c.expression, c.from), c.expected) << c.expression << " from '" << c.from << "'";
    }
  }
};

}  // namespace quillet::xml::testing

#endif
