// The tag-name searches and the document-order walk behind them.
#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

// Under root: a#1 ( x#2 ( a#3, text ), a#4 ( a#5 ) ), a#6.
class SearchTest : public DOMTest {
 protected:
  void SetUp() override {
    DOMTest::SetUp();
    top = Add(root, u"a", "1");
    CDOMElement* x = Add(top, u"x", "2");
    Add(x, u"a", "3");
    x->appendChild(doc->createTextNode(u"t"));
    Add(Add(top, u"a", "4"), u"a", "5");
    Add(root, u"a", "6");
  }

  CDOMElement* Add(CDOMNode* parent, const char16_t* name, const char* id) {
    CDOMElement* element = Element(name);
    element->setAttribute(u"id", U16FromAscii(id).c_str());
    parent->appendChild(element);
    return element;
  }

  // The ids of a list's entries, in order; the list is released.
  static Names Ids(CDOMNodeList* list) {
    Names ids;
    while (CDOMNode* node = list->nextNode()) ids.push_back(Text(static_cast<CDOMElement*>(node)->getAttribute(u"id")));
    list->release();
    return ids;
  }

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
  CDOMElement* before = Element(u"a");
  before->setAttribute(u"id", u"before");
  doc->insertBefore(before, root);
  CDOMElement* after = Element(u"a");
  after->setAttribute(u"id", u"after");
  doc->insertBefore(after, trailing);
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
