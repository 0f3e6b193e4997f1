// The tag-name searches and the document-order walk behind them.
#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"
#include "xml/dom/loader/LoadDocument.h"

namespace quillet::xml::testing {
namespace {

// A document loaded from text, whose elements carry ids.
class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string xml = "<root><a id='1'><x id='2'><a id='3'/>t</x><a id='4'><a id='5'/></a></a><a id='6'/></root>";
    XMLDeclInfo info;
    doc = LoadDocumentFromMemory(xml.data(), xml.size(), info).document;
    ASSERT_NE(doc, nullptr);
    root = doc->getDocumentElement();
    top = static_cast<CDOMElement*>(root->getFirstChild());
  }

  // The ids of a list's entries, in order; the list is released.
  static Names Ids(CDOMNodeList* list) {
    Names ids;
    while (CDOMNode* node = list->nextNode()) ids.push_back(Text(static_cast<CDOMElement*>(node)->getAttribute(u"id")));
    list->release();
    return ids;
  }
  CDOMElement* Element(const char16_t* name, const char16_t* id) {
    CDOMElement* element = doc->createElement(name);
    element->setAttribute(u"id", id);
    return element;
  }

  DocumentPtr doc;
  CDOMElement* root = nullptr;
  CDOMElement* top = nullptr;
};

TEST_F(SearchTest, ElementSearchFindsDescendantsInDocumentOrderNeverItself) {
  EXPECT_EQ(Ids(top->getElementsByTagName(u"a")), (Names{"3", "4", "5"}));
  EXPECT_EQ(Ids(root->getElementsByTagName(u"a")), (Names{"1", "3", "4", "5", "6"}));
  EXPECT_EQ(Ids(root->getElementsByTagName(u"A")), Names{});
  EXPECT_EQ(Ids(root->getElementsByTagName(u"*")), Names{});  // no wildcard
  EXPECT_EQ(Ids(root->getElementsByTagName(nullptr)), Names{});
}

TEST_F(SearchTest, DocumentSearchStartsAtTheDocumentElement) {
  root->setAttribute(u"id", u"0");
  EXPECT_EQ(Ids(doc->getElementsByTagName(u"root")), (Names{"0"}));
  // Elements linked beside the document element by insertBefore: one before it is never
  // visited, one after it is, as a later sibling.
  CDOMComment* trailing = doc->createComment(u"end");
  doc->appendChild(trailing);
  doc->insertBefore(Element(u"a", u"before"), root);
  doc->insertBefore(Element(u"a", u"after"), trailing);
  EXPECT_EQ(Ids(doc->getElementsByTagName(u"a")), (Names{"1", "3", "4", "5", "6", "after"}));

  CDOMDocument* empty = new CDOMDocument;
  empty->appendChild(empty->createComment(u"no element"));
  EXPECT_EQ(Ids(empty->getElementsByTagName(u"a")), Names{});
  empty->release();
}

TEST_F(DOMTest, NamespaceSearchTellsNoURIFromTheEmptyURI) {
  CDOMElement* none = Element(u"p:item");                   // createElement: no URI
  CDOMElement* empty = doc->createElementNS(u"", u"item");  // as the loader makes it: ""
  CDOMElement* urn = doc->createElementNS(u"urn:x", u"x:item");
  for (CDOMElement* e : {none, empty, urn}) root->appendChild(e);
  struct Row {
    const char16_t* uri;
    const char16_t* local;
    std::vector<CDOMNode*> found;
  };
  const Row rows[] = {{nullptr, u"item", {none}},   {u"", u"item", {none, empty}}, {u"urn:x", u"item", {urn}},
                      {u"urn:y", u"item", {}},      {u"", u"p:item", {}},          {u"", nullptr, {}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(Text(row.uri) + " " + Text(row.local));
    for (CDOMNodeList* list : {root->getElementsByTagNameNS(row.uri, row.local),
                               doc->getElementsByTagNameNS(row.uri, row.local)}) {
      std::vector<CDOMNode*> found;
      while (CDOMNode* node = list->nextNode()) found.push_back(node);
      EXPECT_EQ(found, row.found);
      list->release();
    }
  }
}

TEST_F(SearchTest, WalkerStaysInsideItsBoundary) {
  CDOMTreeWalker fromInside(top, top->getFirstChild());
  Names visited;
  while (CDOMNode* node = fromInside.nextNode()) visited.push_back(Text(node->getNodeName()));
  EXPECT_EQ(visited, (Names{"x", "a", "#text", "a", "a"}));
  EXPECT_EQ(fromInside.nextNode(), nullptr);
  CDOMTreeWalker atBoundary(top, top);
  EXPECT_EQ(atBoundary.nextNode(), nullptr);
  // A start outside the boundary ends at the first climb out of its own subtree,
  // without returning the node it climbed from.
  CDOMTreeWalker outside(top, root->getLastChild());
  EXPECT_EQ(outside.nextNode(), nullptr);
}

}  // namespace
}  // namespace quillet::xml::testing
