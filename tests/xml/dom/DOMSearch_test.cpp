#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

using Names = std::vector<std::string>;

// The ids (attribute "id") of a list's entries, in order; the list is released.
Names IdsOf(CDOMNodeList* list) {
  Names ids;
  for (size_t i = 0; i < list->getLength(); ++i) {
    ids.push_back(Text(static_cast<CDOMElement*>(list->item(i))->getAttribute(u"id")));
  }
  list->release();
  return ids;
}

// a#1 ( x#2 ( a#3, t ), a#4 ( a#5 ) ), with a sibling a#6 of a#1 under a wrapper root.
class SearchTest : public DOMTest {
 protected:
  void SetUp() override {
    root = Add(doc, u"root", "0");
    top = Add(root, u"a", "1");
    CDOMElement* x = Add(top, u"x", "2");
    Add(x, u"a", "3");
    x->appendChild(doc->createTextNode(u"t"));
    CDOMElement* four = Add(top, u"a", "4");
    Add(four, u"a", "5");
    Add(root, u"a", "6");
  }

  CDOMElement* Add(CDOMNode* parent, const char16_t* name, const char* id) {
    CDOMElement* element = Element(name);
    element->setAttribute(u"id", U16FromAscii(id).c_str());
    parent->appendChild(element);
    return element;
  }

  CDOMElement* root = nullptr;
  CDOMElement* top = nullptr;
};

TEST_F(SearchTest, ElementSearchVisitsDescendantsInDocumentOrderOnly) {
  EXPECT_EQ(IdsOf(top->getElementsByTagName(u"a")), (Names{"3", "4", "5"}));  // not #1, not #6
  EXPECT_EQ(IdsOf(root->getElementsByTagName(u"a")), (Names{"1", "3", "4", "5", "6"}));
  EXPECT_EQ(IdsOf(root->getElementsByTagName(u"A")), Names{});
  EXPECT_EQ(IdsOf(root->getElementsByTagName(u"*")), Names{});  // no wildcard
  CDOMElement* leaf = static_cast<CDOMElement*>(top->getLastChild()->getFirstChild());
  EXPECT_EQ(IdsOf(leaf->getElementsByTagName(u"a")), Names{});
}

TEST_F(SearchTest, DocumentSearchIncludesTheDocumentElement) {
  EXPECT_EQ(IdsOf(doc->getElementsByTagName(u"root")), (Names{"0"}));
  EXPECT_EQ(IdsOf(doc->getElementsByTagName(u"a")), (Names{"1", "3", "4", "5", "6"}));
  EXPECT_EQ(IdsOf(doc->getElementsByTagNameNS(nullptr, u"x")), (Names{"2"}));
}

TEST_F(SearchTest, DocumentSearchStartsAtTheDocumentElement) {
  // Elements linked beside the document element by insertBefore: one before it is
  // never visited, one after it is (as a later sibling).
  CDOMElement* before = Element(u"a");
  before->setAttribute(u"id", u"before");
  doc->insertBefore(before, root);
  CDOMComment* trailing = doc->createComment(u"end");
  doc->appendChild(trailing);
  CDOMElement* after = Element(u"a");
  after->setAttribute(u"id", u"after");
  doc->insertBefore(after, trailing);
  EXPECT_EQ(IdsOf(doc->getElementsByTagName(u"a")), (Names{"1", "3", "4", "5", "6", "after"}));

  CDOMDocument* empty = new CDOMDocument;
  empty->appendChild(empty->createComment(u"no element"));
  CDOMNodeList* none = empty->getElementsByTagName(u"a");
  EXPECT_EQ(none->getLength(), 0u);
  EXPECT_EQ(none->nextNode(), nullptr);
  none->release();
  empty->release();
}

TEST_F(SearchTest, ResultListsAreSnapshotsWithACursor) {
  CDOMNodeList* list = root->getElementsByTagName(u"a");
  ASSERT_EQ(list->getLength(), 5u);
  CDOMNode* six = root->getLastChild();
  root->removeChild(six);
  EXPECT_EQ(list->item(4), six);
  EXPECT_EQ(list->item(5), nullptr);
  for (int i = 0; i < 5; ++i) EXPECT_NE(list->nextNode(), nullptr);
  EXPECT_EQ(list->nextNode(), nullptr);
  list->reset();
  EXPECT_EQ(list->nextNode(), list->item(0));
  list->release();
  six->release();
  EXPECT_EQ(IdsOf(root->getElementsByTagName(u"a")), (Names{"1", "3", "4", "5"}));
}

TEST_F(DOMTest, NamespaceSearchTellsNoURIFromEmptyURI) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* none = Element(u"p:item");               // made by createElement: no URI
  CDOMElement* empty = doc->createElementNS(u"", u"item");  // as the loader makes it: ""
  CDOMElement* urn = doc->createElementNS(u"urn:x", u"x:item");
  none->setAttribute(u"id", u"none");
  empty->setAttribute(u"id", u"empty");
  urn->setAttribute(u"id", u"urn");
  for (CDOMElement* e : {none, empty, urn}) root->appendChild(e);

  struct Row {
    const char16_t* uri;
    const char16_t* local;
    Names ids;
  };
  const Row rows[] = {
      {nullptr, u"item", {"none"}},
      {u"", u"item", {"none", "empty"}},
      {u"urn:x", u"item", {"urn"}},
      {u"urn:y", u"item", {}},
      {u"", u"p:item", {}},  // by local name, not qualified name
      {u"", nullptr, {}},
      {nullptr, nullptr, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Text(row.uri) + " " + Text(row.local));
    EXPECT_EQ(IdsOf(root->getElementsByTagNameNS(row.uri, row.local)), row.ids);
    EXPECT_EQ(IdsOf(doc->getElementsByTagNameNS(row.uri, row.local)), row.ids);
  }
  EXPECT_EQ(Text(none->getNamespaceURI()), "");
  EXPECT_EQ(Text(empty->getNamespaceURI()), "");
  empty->setNamespaceURI(nullptr);  // stores ""
  EXPECT_EQ(IdsOf(root->getElementsByTagNameNS(nullptr, u"item")), (Names{"none"}));
}

TEST_F(SearchTest, WalkerStaysInsideItsBoundary) {
  // From a node below the boundary: the rest of the boundary's subtree.
  CDOMNode* x = top->getFirstChild();
  CDOMTreeWalker fromX(top, x);
  Names visited;
  while (CDOMNode* node = fromX.nextNode()) visited.push_back(Text(node->getNodeName()));
  EXPECT_EQ(visited, (Names{"x", "a", "#text", "a", "a"}));
  EXPECT_EQ(fromX.nextNode(), nullptr);

  // Starting at the boundary, or with nothing, visits nothing.
  CDOMTreeWalker atBoundary(top, top);
  EXPECT_EQ(atBoundary.nextNode(), nullptr);
  CDOMTreeWalker empty(top, nullptr);
  EXPECT_EQ(empty.nextNode(), nullptr);

  // A start outside the boundary ends at the first climb out of its subtree, without
  // returning the node it climbed from.
  CDOMNode* six = root->getLastChild();
  CDOMTreeWalker outside(top, six);
  EXPECT_EQ(outside.nextNode(), nullptr);
}

}  // namespace
}  // namespace quillet::xml::testing
