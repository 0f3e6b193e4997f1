#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

using Names = std::vector<std::string>;

// The qualified names of an element's attributes, in list order, checking the backward
// links on the way.
Names AttributeNames(const CDOMElement* element) {
  Names names;
  const CDOMNode* previous = nullptr;
  for (const CDOMNode* a = element->getFirstAttribute(); a != nullptr; a = a->getNextSibling()) {
    EXPECT_EQ(a->getPreviousSibling(), previous);
    EXPECT_EQ(a->getParentNode(), element);
    names.push_back(Text(a->getNodeName()));
    previous = a;
  }
  return names;
}

class AttributeTest : public DOMTest {
 protected:
  void SetUp() override {
    root = Element(u"root");
    doc->appendChild(root);
  }
  CDOMElement* root = nullptr;
};

// --- By qualified name ------------------------------------------------------------------------

TEST_F(AttributeTest, SetAttributeKeepsPlaceOrAppends) {
  root->setAttribute(u"a", u"1");
  CDOMAttribute* b = root->setAttribute(u"b", u"2");
  root->setAttribute(u"c", u"3");
  EXPECT_EQ(root->setAttribute(u"b", u"two"), b);
  EXPECT_EQ(AttributeNames(root), (Names{"a", "b", "c"}));
  EXPECT_EQ(Text(root->getAttribute(u"b")), "two");
  EXPECT_EQ(b->getOwnerElement(), root);
  EXPECT_TRUE(b->getSpecified());
  EXPECT_EQ(b->getOwnerDocument(), doc);
  EXPECT_FALSE(root->hasChildNodes());  // attributes are not children
  EXPECT_TRUE(root->hasAttributes());
  EXPECT_TRUE(root->hasAttribute(u"c"));
  EXPECT_FALSE(root->hasAttribute(u"C"));
}

TEST_F(AttributeTest, MissingValuesReadEmptyByNameAndNullByNamespace) {
  EXPECT_EQ(Text(root->getAttribute(u"missing")), "");
  EXPECT_EQ(root->getAttributeNS(u"", u"missing"), nullptr);
  EXPECT_EQ(root->getAttributeNode(u"missing"), nullptr);
  root->setAttribute(u"present", nullptr);
  EXPECT_EQ(Text(root->getAttribute(u"present")), "");
  EXPECT_EQ(Text(root->getAttributeNS(u"", u"present")), "");
}

TEST_F(AttributeTest, RemoveAttributeUnlinksAnyPosition) {
  for (const char16_t* name : {u"a", u"b", u"c", u"d"}) root->setAttribute(name, u"v");
  root->removeAttribute(u"b");
  EXPECT_EQ(AttributeNames(root), (Names{"a", "c", "d"}));
  root->removeAttribute(u"a");
  root->removeAttribute(u"d");
  EXPECT_EQ(AttributeNames(root), (Names{"c"}));
  root->removeAttribute(u"missing");
  root->removeAttribute(u"c");
  EXPECT_FALSE(root->hasAttributes());
  EXPECT_EQ(root->getFirstAttribute(), nullptr);
  root->setAttribute(u"e", u"v");  // the emptied list takes new ones
  EXPECT_EQ(AttributeNames(root), (Names{"e"}));
}

TEST_F(AttributeTest, SetAttributeNodeRefusesLinkedAndReplacesSameName) {
  CDOMAttribute* old = root->setAttribute(u"a", u"old");
  root->setAttribute(u"b", u"2");

  CDOMElement* other = Element(u"other");
  root->appendChild(other);
  CDOMAttribute* belongs = other->setAttribute(u"a", u"other's");
  EXPECT_EQ(root->setAttributeNode(belongs), nullptr);
  EXPECT_EQ(belongs->getOwnerElement(), other);
  EXPECT_EQ(AttributeNames(root), (Names{"a", "b"}));
  EXPECT_EQ(root->setAttributeNode(nullptr), nullptr);

  CDOMAttribute* fresh = doc->createAttribute(u"a");
  fresh->setNodeValue(u"new");
  EXPECT_EQ(root->setAttributeNode(fresh), old);
  EXPECT_EQ(old->getOwnerElement(), nullptr);
  EXPECT_EQ(old->getNextSibling(), nullptr);
  EXPECT_EQ(AttributeNames(root), (Names{"b", "a"}));
  EXPECT_EQ(root->getAttributeNode(u"a"), fresh);
  EXPECT_EQ(Text(root->getAttribute(u"a")), "new");
  EXPECT_EQ(Text(old->getNodeValue()), "old");  // still usable, owned by us

  // The handed-back attribute can go to another element.
  EXPECT_EQ(other->setAttributeNode(old), belongs);
  belongs->release();
  old = nullptr;
  EXPECT_EQ(Text(other->getAttribute(u"a")), "old");
}

TEST_F(AttributeTest, RemoveAttributeNodeFindsByNameOrIdentity) {
  CDOMAttribute* a = root->setAttribute(u"a", u"1");
  root->setAttribute(u"b", u"2");
  EXPECT_EQ(root->removeAttributeNode(a), a);
  EXPECT_EQ(a->getOwnerElement(), nullptr);
  EXPECT_EQ(AttributeNames(root), (Names{"b"}));
  EXPECT_EQ(root->removeAttributeNode(a), nullptr);  // no longer there
  EXPECT_EQ(root->removeAttributeNode(nullptr), nullptr);
  a->release();

  // A free attribute stands for the linked one of its name.
  CDOMAttribute* standIn = doc->createAttribute(u"b");
  CDOMAttribute* b = root->getAttributeNode(u"b");
  EXPECT_EQ(root->removeAttributeNode(standIn), b);
  EXPECT_FALSE(root->hasAttributes());
  EXPECT_EQ(standIn->getOwnerElement(), nullptr);
  standIn->release();
  b->release();

  // An attribute of another element stays where it is.
  CDOMElement* other = Element(u"other");
  root->appendChild(other);
  CDOMAttribute* theirs = other->setAttribute(u"c", u"3");
  EXPECT_EQ(root->removeAttributeNode(theirs), nullptr);
  EXPECT_EQ(theirs->getOwnerElement(), other);
  EXPECT_EQ(AttributeNames(other), (Names{"c"}));
}

// --- The map ------------------------------------------------------------------------------

TEST_F(AttributeTest, MapIsLiveAndOwnedByTheElement) {
  CDOMAttributeMap* map = root->getAttributes();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(root->getAttributes(), map);
  EXPECT_EQ(map->getLength(), 0u);
  EXPECT_EQ(map->item(0), nullptr);

  root->setAttribute(u"a", u"1");
  root->setAttribute(u"b", u"2");
  EXPECT_EQ(map->getLength(), 2u);
  EXPECT_EQ(Text(map->item(1)->getNodeName()), "b");
  EXPECT_EQ(map->item(2), nullptr);
  EXPECT_EQ(map->getNamedItem(u"a"), root->getAttributeNode(u"a"));

  CDOMAttribute* removed = map->removeNamedItem(u"a");
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(removed->getOwnerElement(), nullptr);
  EXPECT_EQ(map->getLength(), 1u);
  EXPECT_EQ(map->removeNamedItem(u"a"), nullptr);
  EXPECT_EQ(map->setNamedItem(removed), nullptr);
  EXPECT_EQ(Text(map->item(1)->getNodeName()), "a");

  CDOMAttribute* ns = doc->createAttributeNS(u"urn:n", u"n:x");
  EXPECT_EQ(map->setNamedItemNS(ns), nullptr);
  EXPECT_EQ(map->getNamedItemNS(u"urn:n", u"x"), ns);
  EXPECT_EQ(map->removeNamedItemNS(u"urn:n", u"x"), ns);
  EXPECT_EQ(map->removeNamedItemNS(u"urn:n", u"x"), nullptr);
  EXPECT_EQ(map->getLength(), 2u);
  ns->release();
  // The map goes with the element: the fixture's release must leave nothing behind.
}

// --- By namespace URI and local name ----------------------------------------------------------

TEST_F(AttributeTest, NamespaceLookupsTreatNullAndEmptyApart) {
  CDOMAttribute* plain = root->setAttribute(u"plain", u"1");  // no namespace URI at all
  root->setAttributeNS(u"", u"empty", u"2");                  // the URI ""
  root->setAttributeNS(u"urn:a", u"p:local", u"3");

  EXPECT_EQ(Text(plain->getNamespaceURI()), "");
  EXPECT_EQ(Text(root->getAttributeNS(u"", u"plain")), "1");  // none compares as ""
  EXPECT_EQ(root->getAttributeNS(nullptr, u"plain"), nullptr);
  EXPECT_EQ(Text(root->getAttributeNS(u"", u"empty")), "2");
  EXPECT_EQ(root->getAttributeNS(nullptr, u"empty"), nullptr);
  EXPECT_EQ(Text(root->getAttributeNS(u"urn:a", u"local")), "3");
  EXPECT_EQ(root->getAttributeNS(u"urn:a", u"p:local"), nullptr);  // by local name
  EXPECT_EQ(root->getAttributeNS(u"urn:b", u"local"), nullptr);
  EXPECT_EQ(root->getAttributeNS(u"urn:a", nullptr), nullptr);
  EXPECT_TRUE(root->hasAttributeNS(u"urn:a", u"local"));
  EXPECT_FALSE(root->hasAttributeNS(nullptr, nullptr));
}

TEST_F(AttributeTest, SetAttributeNSNamesNewOnesAndKeepsOldNames) {
  root->setAttributeNS(u"urn:p", u"p:a", u"1");
  CDOMAttribute* made = root->getAttributeNodeNS(u"urn:p", u"a");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(Text(made->getNodeName()), "p:a");
  EXPECT_EQ(Text(made->getPrefix()), "p");
  EXPECT_EQ(Text(made->getLocalName()), "a");
  EXPECT_EQ(Text(made->getNamespaceURI()), "urn:p");
  EXPECT_EQ(made->getOwnerElement(), root);

  // A match by URI and local name keeps its own prefix and place.
  root->setAttribute(u"z", u"");
  root->setAttributeNS(u"urn:p", u"q:a", u"2");
  EXPECT_EQ(AttributeNames(root), (Names{"p:a", "z"}));
  EXPECT_EQ(Text(made->getNodeValue()), "2");

  // Names without a prefix part.
  root->setAttributeNS(nullptr, u"b:", u"3");
  root->setAttributeNS(u"", u":c", u"4");
  EXPECT_EQ(AttributeNames(root), (Names{"p:a", "z", "b", "c"}));
  EXPECT_EQ(Text(root->getAttributeNS(u"", u"b")), "3");  // a null URI is stored as ""
}

TEST_F(AttributeTest, NamespaceRemovals) {
  root->setAttributeNS(u"urn:a", u"p:x", u"1");
  root->setAttributeNS(u"urn:b", u"q:x", u"2");
  root->removeAttributeNS(u"urn:a", u"x");
  EXPECT_FALSE(root->hasAttributeNS(u"urn:a", u"x"));
  EXPECT_TRUE(root->hasAttributeNS(u"urn:b", u"x"));
  root->removeAttributeNS(u"urn:a", u"x");  // nothing left to remove

  CDOMAttribute* b = root->getAttributeNodeNS(u"urn:b", u"x");
  EXPECT_EQ(root->removeAttributeNodeNS(b), b);
  EXPECT_EQ(b->getOwnerElement(), nullptr);
  EXPECT_EQ(Text(b->getNodeValue()), "2");  // still usable
  EXPECT_FALSE(root->hasAttributes());
  EXPECT_EQ(root->removeAttributeNodeNS(b), nullptr);

  // setAttributeNodeNS replaces by URI and local name, whatever the prefix.
  root->setAttributeNS(u"urn:b", u"other:x", u"3");
  CDOMAttribute* replaced = root->setAttributeNodeNS(b);
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(Text(replaced->getNodeName()), "other:x");
  EXPECT_EQ(AttributeNames(root), (Names{"q:x"}));
  EXPECT_EQ(root->setAttributeNodeNS(b), nullptr);  // already linked: refused
  replaced->release();
}

TEST_F(AttributeTest, CopyAttributesCopiesNamesValuesAndURIs) {
  CDOMElement* source = Element(u"source");
  root->appendChild(source);
  source->setAttribute(u"a", u"1");
  source->setAttributeNS(u"urn:p", u"p:b", u"2");
  root->setAttributeNS(u"", u"a", u"old");
  root->copyAttributes(source);
  EXPECT_EQ(AttributeNames(root), (Names{"a", "p:b"}));
  EXPECT_EQ(Text(root->getAttribute(u"a")), "1");
  EXPECT_EQ(Text(root->getAttributeNS(u"urn:p", u"b")), "2");
  EXPECT_EQ(AttributeNames(source), (Names{"a", "p:b"}));

  // Onto itself: nothing is added and the values survive.
  source->copyAttributes(source);
  EXPECT_EQ(AttributeNames(source), (Names{"a", "p:b"}));
  EXPECT_EQ(Text(source->getAttribute(u"p:b")), "2");
  root->copyAttributes(nullptr);
  EXPECT_EQ(AttributeNames(root), (Names{"a", "p:b"}));
}

}  // namespace
}  // namespace quillet::xml::testing
