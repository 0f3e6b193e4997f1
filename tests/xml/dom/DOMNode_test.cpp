// Linking and unlinking children, and the document element rule.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

// Children and attributes are each one list linked forwards and, through a ring,
// backwards: a random run of inserts (appendChild, insertBefore with and without a
// reference) and removals at the front, the middle and the end must leave both
// directions, the last node, every node's parent and document as a plain vector of the
// same operations says.
TEST_F(DOMTest, RandomEditsKeepChildAndAttributeListsConsistent) {
  std::mt19937 random(20261206);
  std::vector<CDOMNode*> children;
  std::vector<std::u16string> attributes;
  for (int step = 0; step < 600; ++step) {
    const std::u16string name = u"n" + U16FromAscii(std::to_string(step).c_str());
    const unsigned pick = static_cast<unsigned>(random() % 6);
    if (pick <= 1 || children.empty()) {
      CDOMElement* e = Element(name.c_str());
      const std::size_t at = children.empty() ? 0 : random() % (children.size() + 1);
      CDOMNode* linked = at < children.size() ? root->insertBefore(e, children[at])
                         : step % 2 ? root->appendChild(e) : root->insertBefore(e, nullptr);
      ASSERT_EQ(linked, e);
      children.insert(children.begin() + static_cast<long>(at), e);
    } else if (pick == 2) {
      const std::size_t at = random() % children.size();
      ASSERT_EQ(root->removeChild(children[at]), children[at]);
      EXPECT_EQ(children[at]->getPreviousSibling(), nullptr);
      children[at]->release();
      children.erase(children.begin() + static_cast<long>(at));
    } else if (pick == 3 || attributes.empty()) {
      root->setAttribute(name.c_str(), u"v");
      attributes.push_back(name);
    } else {
      const std::size_t at = random() % attributes.size();
      root->removeAttribute(attributes[at].c_str());
      attributes.erase(attributes.begin() + static_cast<long>(at));
    }
    Names forward, attributeNames;
    for (CDOMNode* c : children) forward.push_back(Text(c->getNodeName()));
    for (const std::u16string& a : attributes) attributeNames.push_back(U16ToUtf8(a));
    ASSERT_EQ(Siblings(root->getFirstChild()), forward);
    ASSERT_EQ(Siblings(root->getLastChild(), false), Names(forward.rbegin(), forward.rend()));
    ASSERT_EQ(Siblings(root->getFirstAttribute()), attributeNames);
    const CDOMNode* lastAttribute = root->getFirstAttribute();
    while (lastAttribute != nullptr && lastAttribute->getNextSibling() != nullptr) lastAttribute = lastAttribute->getNextSibling();
    ASSERT_EQ(Siblings(lastAttribute, false), Names(attributeNames.rbegin(), attributeNames.rend()));
  }
  for (CDOMNode* c : children) {
    EXPECT_EQ(c->getOwnerDocument(), doc);
    EXPECT_EQ(c->getParentNode(), root);
  }
  EXPECT_EQ(doc->getOwnerDocument(), nullptr);
  EXPECT_EQ(doc->getDoctype()->getOwnerDocument(), doc);
}

TEST_F(DOMTest, LinkingRefusesStrangersLinkedNodesAndSelf) {
  CDOMElement* a = Element(u"a");
  CDOMElement* b = Element(u"b");
  root->appendChild(a);
  root->appendChild(b);
  CDOMElement* grandchild = Element(u"grandchild");
  a->appendChild(grandchild);
  CDOMAttribute* attribute = root->setAttribute(u"x", u"1");
  CDOMElement* loose = Element(u"loose");

  EXPECT_EQ(root->insertBefore(nullptr, a), nullptr);
  EXPECT_EQ(root->insertBefore(loose, grandchild), nullptr);  // a descendant, not a child
  EXPECT_EQ(root->appendChild(nullptr), nullptr);
  // Still linked (a child of root, an attribute of root), or the node itself.
  EXPECT_EQ(b->appendChild(a), nullptr);
  EXPECT_EQ(root->insertBefore(b, a), nullptr);
  EXPECT_EQ(a->appendChild(attribute), nullptr);
  EXPECT_EQ(a->appendChild(a), nullptr);
  // Nodes of another document (their names die with it), and documents themselves.
  CDOMDocument* other = new CDOMDocument;
  CDOMElement* foreign = other->createElement(u"foreign");
  CDOMAttribute* foreignAttribute = other->createAttribute(u"y");
  EXPECT_EQ(b->appendChild(foreign), nullptr);
  EXPECT_EQ(root->insertBefore(foreign, a), nullptr);
  EXPECT_EQ(b->setAttributeNode(foreignAttribute), nullptr);
  EXPECT_EQ(b->appendChild(other), nullptr);
  EXPECT_EQ(doc->appendChild(foreign), nullptr);
  EXPECT_EQ(other->appendChild(foreign), foreign);
  foreignAttribute->release();
  other->release();
  EXPECT_EQ(Siblings(root->getFirstChild()), (Names{"a", "b"}));
  EXPECT_EQ(Siblings(root->getLastChild(), false), (Names{"b", "a"}));
  EXPECT_EQ(Siblings(a->getFirstChild()), (Names{"grandchild"}));
  EXPECT_FALSE(b->hasChildNodes());
  loose->release();
}

// Relinking of the neighbours is left to the random run above.
TEST_F(DOMTest, RemoveChildHandsTheNodeBackWithItsSubtree) {
  CDOMElement* a = Element(u"a");
  CDOMElement* b = Element(u"b");
  CDOMElement* c = Element(u"c");
  for (CDOMElement* e : {a, b, c}) root->appendChild(e);
  b->appendChild(doc->createTextNode(u"kept"));
  EXPECT_EQ(root->removeChild(b), b);
  EXPECT_EQ(b->getNextSibling(), nullptr);
  EXPECT_EQ(b->getParentNode(), nullptr);
  EXPECT_TRUE(b->hasChildNodes());
  EXPECT_EQ(root->removeChild(b), nullptr);  // no longer a child
  EXPECT_EQ(root->removeChild(nullptr), nullptr);
  // A removed node may be linked elsewhere; releasing a linked node unlinks it first.
  EXPECT_EQ(c->appendChild(b), b);
  a->release();
  EXPECT_EQ(root->getFirstChild(), c);
  root->removeChild(c)->release();
  EXPECT_FALSE(root->hasChildNodes());
  EXPECT_EQ(root->getLastChild(), nullptr);
}

TEST_F(DOMTest, DocumentTakesOneElementByAppendAndAnyOtherNodes) {
  CDOMProcessingInstruction* pi = doc->createProcessingInstruction(u"xml", u"version=\"1.0\"");
  EXPECT_EQ(doc->insertBefore(pi, root), pi);
  CDOMComment* after = doc->createComment(u"after");
  EXPECT_EQ(doc->appendChild(after), after);
  CDOMElement* second = Element(u"second");
  EXPECT_EQ(doc->appendChild(second), nullptr);
  EXPECT_EQ(second->getParentNode(), nullptr);
  EXPECT_EQ(Siblings(doc->getFirstChild()), (Names{"xml", "root", "#comment"}));
  EXPECT_EQ(doc->getDocumentElement(), root);

  // insertBefore links an element without the rule: it never becomes the document element.
  EXPECT_EQ(doc->insertBefore(second, after), second);
  EXPECT_EQ(doc->getDocumentElement(), root);

  // Removing the document element clears it, so that a released one is not reachable
  // and another may be appended.
  EXPECT_EQ(doc->removeChild(root), root);
  EXPECT_EQ(doc->getDocumentElement(), nullptr);
  root->release();
  root = Element(u"next");
  EXPECT_EQ(doc->appendChild(root), root);
  EXPECT_EQ(doc->getDocumentElement(), root);
}

TEST_F(DOMTest, ListsAreSnapshotsWithACursor) {
  CDOMElement* a = Element(u"a");
  root->appendChild(a);
  root->appendChild(Element(u"b"));
  CDOMNodeList* list = root->getChildNodes();
  root->removeChild(a);
  root->appendChild(Element(u"c"));
  ASSERT_EQ(list->getLength(), 2u);
  EXPECT_EQ(list->item(0), a);  // still held after its removal
  EXPECT_EQ(list->item(2), nullptr);
  EXPECT_EQ(list->nextNode(), a);
  EXPECT_EQ(list->nextNode(), list->item(1));
  EXPECT_EQ(list->nextNode(), nullptr);
  EXPECT_EQ(list->nextNode(), nullptr);
  list->reset();
  EXPECT_EQ(list->nextNode(), a);
  list->release();
  a->release();
}

}  // namespace
}  // namespace quillet::xml::testing
