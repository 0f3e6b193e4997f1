#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

using Names = std::vector<std::string>;

// --- Linking and unlinking ------------------------------------------------------------------

TEST_F(DOMTest, AppendLinksInOrderBothWays) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  for (const char16_t* name : {u"a", u"b", u"c"}) EXPECT_NE(root->appendChild(Element(name)), nullptr);
  EXPECT_EQ(NamesForward(root->getFirstChild()), (Names{"a", "b", "c"}));
  EXPECT_EQ(NamesBackward(root->getLastChild()), (Names{"c", "b", "a"}));
  for (CDOMNode* child = root->getFirstChild(); child != nullptr; child = child->getNextSibling()) {
    EXPECT_EQ(child->getParentNode(), root);
    EXPECT_EQ(child->getOwnerDocument(), doc);
  }
  EXPECT_EQ(root->appendChild(nullptr), nullptr);
  EXPECT_EQ(doc->getOwnerDocument(), nullptr);
  EXPECT_EQ(root->getParentNode(), doc);
}

TEST_F(DOMTest, InsertBeforeKeepsBothDirectionsConsistent) {
  CDOMElement* root = Element(u"root");
  CDOMElement* first = Element(u"first");
  CDOMElement* second = Element(u"second");
  CDOMElement* third = Element(u"third");
  for (CDOMElement* e : {first, second, third}) root->appendChild(e);
  doc->appendChild(root);

  CDOMElement* x = Element(u"x");
  EXPECT_EQ(root->insertBefore(x, second), x);
  EXPECT_EQ(NamesForward(root->getFirstChild()), (Names{"first", "x", "second", "third"}));
  EXPECT_EQ(NamesBackward(third), (Names{"third", "second", "x", "first"}));
  EXPECT_EQ(x->getParentNode(), root);

  // Before the first child: becomes the first child.
  CDOMElement* y = Element(u"y");
  EXPECT_EQ(root->insertBefore(y, first), y);
  EXPECT_EQ(root->getFirstChild(), y);
  EXPECT_EQ(first->getPreviousSibling(), y);
  EXPECT_EQ(y->getPreviousSibling(), nullptr);

  // A null reference appends.
  CDOMElement* z = Element(u"z");
  EXPECT_EQ(root->insertBefore(z, nullptr), z);
  EXPECT_EQ(root->getLastChild(), z);
  EXPECT_EQ(NamesBackward(z), (Names{"z", "third", "second", "x", "first", "y"}));
}

TEST_F(DOMTest, InsertBeforeRefusesNullAndStrangers) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* child = Element(u"child");
  root->appendChild(child);
  CDOMElement* grandchild = Element(u"grandchild");
  child->appendChild(grandchild);

  CDOMElement* loose = Element(u"loose");
  EXPECT_EQ(root->insertBefore(nullptr, child), nullptr);
  EXPECT_EQ(root->insertBefore(loose, grandchild), nullptr);  // a descendant, not a child
  EXPECT_EQ(root->insertBefore(loose, root), nullptr);
  EXPECT_EQ(NamesForward(root->getFirstChild()), (Names{"child"}));
  EXPECT_EQ(loose->getParentNode(), nullptr);
  loose->release();
}

TEST_F(DOMTest, LinkedNodesAndSelfAreRefused) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* a = Element(u"a");
  CDOMElement* b = Element(u"b");
  root->appendChild(a);
  root->appendChild(b);
  CDOMAttribute* attribute = root->setAttribute(u"x", u"1");

  // Still a child of root, or an attribute of it: linking again would corrupt both lists.
  EXPECT_EQ(b->appendChild(a), nullptr);
  EXPECT_EQ(root->insertBefore(b, a), nullptr);
  EXPECT_EQ(a->appendChild(attribute), nullptr);
  EXPECT_EQ(a->appendChild(a), nullptr);
  EXPECT_EQ(doc->appendChild(doc), nullptr);
  EXPECT_EQ(NamesForward(root->getFirstChild()), (Names{"a", "b"}));
  EXPECT_EQ(NamesBackward(root->getLastChild()), (Names{"b", "a"}));
  EXPECT_FALSE(a->hasChildNodes());
  EXPECT_FALSE(b->hasChildNodes());

  // Once removed it may move.
  EXPECT_EQ(b->appendChild(root->removeChild(a)), a);
  EXPECT_EQ(a->getParentNode(), b);
}

TEST_F(DOMTest, RemoveChildUnlinksAndHandsBack) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* only = Element(u"only");
  root->appendChild(only);
  only->appendChild(doc->createTextNode(u"kept"));

  EXPECT_EQ(root->removeChild(only), only);
  EXPECT_EQ(root->getFirstChild(), nullptr);
  EXPECT_EQ(root->getLastChild(), nullptr);
  EXPECT_FALSE(root->hasChildNodes());
  EXPECT_EQ(only->getNextSibling(), nullptr);
  EXPECT_EQ(only->getPreviousSibling(), nullptr);
  EXPECT_TRUE(only->hasChildNodes());  // its subtree goes with it

  // Removing again, or removing a stranger, is refused.
  EXPECT_EQ(root->removeChild(only), nullptr);
  EXPECT_EQ(root->removeChild(nullptr), nullptr);

  // It can be linked elsewhere; the tree's release then frees it.
  CDOMElement* other = Element(u"other");
  root->appendChild(other);
  EXPECT_EQ(other->appendChild(only), only);
  EXPECT_EQ(only->getParentNode(), other);
}

TEST_F(DOMTest, RemoveFirstMiddleAndLastRelinkNeighbours) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* nodes[5];
  const char16_t* names[5] = {u"a", u"b", u"c", u"d", u"e"};
  for (int i = 0; i < 5; ++i) root->appendChild(nodes[i] = Element(names[i]));

  root->removeChild(nodes[2])->release();
  EXPECT_EQ(NamesForward(root->getFirstChild()), (Names{"a", "b", "d", "e"}));
  root->removeChild(nodes[0])->release();
  EXPECT_EQ(root->getFirstChild(), nodes[1]);
  EXPECT_EQ(nodes[1]->getPreviousSibling(), nullptr);
  root->removeChild(nodes[4])->release();
  EXPECT_EQ(root->getLastChild(), nodes[3]);
  EXPECT_EQ(nodes[3]->getNextSibling(), nullptr);
  EXPECT_EQ(NamesBackward(root->getLastChild()), (Names{"d", "b"}));
}

TEST_F(DOMTest, ReleasingALinkedNodeUnlinksItFirst) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* a = Element(u"a");
  CDOMElement* b = Element(u"b");
  root->appendChild(a);
  root->appendChild(b);
  a->release();
  EXPECT_EQ(NamesForward(root->getFirstChild()), (Names{"b"}));
  EXPECT_EQ(b->getPreviousSibling(), nullptr);

  CDOMAttribute* attribute = root->setAttribute(u"x", u"1");
  attribute->release();
  EXPECT_FALSE(root->hasAttributes());

  root->release();
  EXPECT_EQ(doc->getDocumentElement(), nullptr);
  EXPECT_FALSE(doc->hasChildNodes());
}

TEST_F(DOMTest, ChildListsAreSnapshots) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* a = Element(u"a");
  root->appendChild(a);
  root->appendChild(Element(u"b"));

  CDOMNodeList* list = root->getChildNodes();
  root->removeChild(a);
  root->appendChild(Element(u"c"));
  ASSERT_EQ(list->getLength(), 2u);
  EXPECT_EQ(list->item(0), a);  // still there after its removal
  EXPECT_EQ(list->item(2), nullptr);
  EXPECT_EQ(list->nextNode(), a);
  EXPECT_NE(list->nextNode(), nullptr);
  EXPECT_EQ(list->nextNode(), nullptr);
  EXPECT_EQ(list->nextNode(), nullptr);
  list->reset();
  EXPECT_EQ(list->nextNode(), a);
  list->release();
  a->release();
}

// --- The document element rule -------------------------------------------------------------

TEST_F(DOMTest, DocumentTakesOneElementAndAnyOtherNodes) {
  CDOMProcessingInstruction* pi = doc->createProcessingInstruction(u"xml", u"version=\"1.0\"");
  EXPECT_EQ(doc->appendChild(pi), pi);
  CDOMComment* before = doc->createComment(u"before");
  EXPECT_EQ(doc->appendChild(before), before);
  CDOMElement* root = Element(u"root");
  EXPECT_EQ(doc->appendChild(root), root);
  EXPECT_EQ(doc->getDocumentElement(), root);

  CDOMElement* second = Element(u"second");
  EXPECT_EQ(doc->appendChild(second), nullptr);
  EXPECT_EQ(second->getParentNode(), nullptr);
  EXPECT_EQ(doc->getDocumentElement(), root);
  CDOMComment* after = doc->createComment(u"after");
  EXPECT_EQ(doc->appendChild(after), after);
  EXPECT_EQ(NamesForward(doc->getFirstChild()), (Names{"xml", "#comment", "root", "#comment"}));

  // insertBefore does not apply the rule: the element is linked but is not the
  // document element.
  EXPECT_EQ(doc->insertBefore(second, root), second);
  EXPECT_EQ(doc->getDocumentElement(), root);
}

TEST_F(DOMTest, RemovingTheDocumentElementClearsIt) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  EXPECT_EQ(doc->removeChild(root), root);
  EXPECT_EQ(doc->getDocumentElement(), nullptr);
  root->release();

  CDOMElement* next = Element(u"next");
  EXPECT_EQ(doc->appendChild(next), next);
  EXPECT_EQ(doc->getDocumentElement(), next);
  CDOMNodeList* found = doc->getElementsByTagName(u"next");
  EXPECT_EQ(found->getLength(), 1u);
  found->release();
}

TEST_F(DOMTest, NewDocumentIsEmpty) {
  EXPECT_EQ(doc->getDocumentElement(), nullptr);
  EXPECT_FALSE(doc->hasChildNodes());
  CDOMDocumentType* doctype = doc->getDoctype();
  ASSERT_NE(doctype, nullptr);
  EXPECT_EQ(Text(doctype->getName()), "");
  EXPECT_EQ(doctype->getNodeType(), DOMNodeTypeDocumentType);
  EXPECT_EQ(doctype->getParentNode(), nullptr);
  doctype->setName(u"HelpCollection");
  EXPECT_EQ(Text(doctype->getNodeName()), "HelpCollection");
  EXPECT_EQ(doctype->getEntities(), nullptr);
  EXPECT_EQ(doctype->getNotations(), nullptr);
  EXPECT_FALSE(doc->hasChildNodes());
  doctype->release();  // part of the document: nothing happens
  EXPECT_EQ(Text(doc->getDoctype()->getName()), "HelpCollection");
  EXPECT_EQ(doc->getNameCount(), 0u);
}

}  // namespace
}  // namespace quillet::xml::testing
