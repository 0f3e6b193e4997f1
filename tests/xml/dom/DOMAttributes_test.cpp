// The element's attribute list, its map, and the namespace lookups.
#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

// The attribute names of an element in list order, checking the back links and owner.
Names AttributeNames(const CDOMElement* element) {
  Names names;
  const CDOMNode* previous = nullptr;
  for (const CDOMNode* a = element->getFirstAttribute(); a != nullptr; previous = a, a = a->getNextSibling()) {
    EXPECT_EQ(a->getPreviousSibling(), previous);
    EXPECT_EQ(a->getParentNode(), element);
    names.push_back(Text(a->getNodeName()));
  }
  return names;
}

// Linking and unlinking in the list itself is left to the random run of DOMNode_test.
TEST_F(DOMTest, SetAttributeByNameKeepsItsPlace) {
  for (const char16_t* name : {u"a", u"b", u"c"}) root->setAttribute(name, u"1");
  CDOMAttribute* b = root->getAttributeNode(u"b");
  EXPECT_EQ(root->setAttribute(u"b", u"two"), b);
  EXPECT_EQ(AttributeNames(root), (Names{"a", "b", "c"}));
  EXPECT_EQ(Text(root->getAttribute(u"b")), "two");
  EXPECT_EQ(b->getOwnerElement(), root);
  EXPECT_TRUE(b->getSpecified());
  EXPECT_FALSE(root->hasChildNodes());  // attributes are not children
  EXPECT_FALSE(root->hasAttribute(u"B"));
  root->removeAttribute(u"missing");
  root->setAttribute(u"e", nullptr);
  EXPECT_EQ(AttributeNames(root), (Names{"a", "b", "c", "e"}));
  // Missing values: "" by name, null by namespace.
  EXPECT_EQ(Text(root->getAttribute(u"missing")), "");
  EXPECT_EQ(root->getAttributeNS(u"", u"missing"), nullptr);
  EXPECT_EQ(Text(root->getAttributeNS(u"", u"e")), "");
}

TEST_F(DOMTest, SetAndRemoveAttributeNodes) {
  CDOMAttribute* old = root->setAttribute(u"a", u"old");
  root->setAttribute(u"b", u"2");
  CDOMElement* other = Element(u"other");
  root->appendChild(other);
  CDOMAttribute* theirs = other->setAttribute(u"a", u"theirs");

  // An attribute that belongs to an element is refused, and stays where it is; as a
  // name to remove by, it takes root's attribute of its name out.
  EXPECT_EQ(root->setAttributeNode(theirs), nullptr);
  EXPECT_EQ(root->removeAttributeNode(theirs), old);
  EXPECT_EQ(old->getOwnerElement(), nullptr);
  EXPECT_EQ(old->getNextSibling(), nullptr);
  EXPECT_EQ(Text(old->getNodeValue()), "old");  // still usable
  EXPECT_EQ(theirs->getOwnerElement(), other);
  EXPECT_EQ(AttributeNames(other), (Names{"a"}));

  // A free attribute replaces the one of its name, which is handed back unlinked.
  CDOMAttribute* fresh = doc->createAttribute(u"a");
  EXPECT_EQ(root->setAttributeNode(fresh), nullptr);
  CDOMAttribute* fresher = doc->createAttribute(u"a");
  EXPECT_EQ(root->setAttributeNode(fresher), fresh);
  EXPECT_EQ(fresh->getOwnerElement(), nullptr);
  EXPECT_EQ(AttributeNames(root), (Names{"b", "a"}));
  fresh->release();
  fresh = fresher;

  // removeAttributeNode finds by name: a free attribute stands for the linked one.
  EXPECT_EQ(root->removeAttributeNode(old), fresh);
  EXPECT_EQ(fresh->getOwnerElement(), nullptr);
  EXPECT_EQ(root->removeAttributeNode(fresh), nullptr);
  EXPECT_EQ(AttributeNames(root), (Names{"b"}));
  fresh->release();
  EXPECT_EQ(other->setAttributeNode(old), theirs);  // a handed-back attribute moves on
  theirs->release();
  EXPECT_EQ(Text(other->getAttribute(u"a")), "old");
}

TEST_F(DOMTest, MapIsALiveViewOwnedByTheElement) {
  CDOMAttributeMap* map = root->getAttributes();
  EXPECT_EQ(root->getAttributes(), map);
  EXPECT_EQ(map->getLength(), 0u);
  root->setAttribute(u"a", u"1");
  root->setAttribute(u"b", u"2");
  EXPECT_EQ(map->getLength(), 2u);
  EXPECT_EQ(Text(map->item(1)->getNodeName()), "b");
  EXPECT_EQ(map->item(2), nullptr);
  EXPECT_EQ(map->getNamedItem(u"a"), root->getAttributeNode(u"a"));

  CDOMAttribute* removed = map->removeNamedItem(u"a");
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(removed->getOwnerElement(), nullptr);
  EXPECT_EQ(map->removeNamedItem(u"a"), nullptr);
  EXPECT_EQ(map->setNamedItem(removed), nullptr);
  EXPECT_EQ(AttributeNames(root), (Names{"b", "a"}));

  CDOMAttribute* ns = doc->createAttributeNS(u"urn:n", u"n:x");
  EXPECT_EQ(map->setNamedItemNS(ns), nullptr);
  EXPECT_EQ(map->getNamedItemNS(u"urn:n", u"x"), ns);
  EXPECT_EQ(map->removeNamedItemNS(u"urn:n", u"x"), ns);
  EXPECT_EQ(map->getLength(), 2u);
  ns->release();
}

TEST_F(DOMTest, NamespaceLookupsTellNullFromEmpty) {
  root->setAttribute(u"plain", u"1");          // no namespace URI at all: compares as ""
  root->setAttributeNS(u"", u"empty", u"2");   // the URI ""
  root->setAttributeNS(nullptr, u"b:", u"3");  // null is stored as "", "b:" names b
  root->setAttributeNS(u"urn:a", u"p:local", u"4");
  struct Row {
    const char16_t* uri;
    const char16_t* local;
    const char* value;  // null: not found
  };
  const Row rows[] = {{u"", u"plain", "1"},          {nullptr, u"plain", nullptr}, {u"", u"empty", "2"},
                      {nullptr, u"empty", nullptr},  {u"", u"b", "3"},             {u"urn:a", u"local", "4"},
                      {u"urn:a", u"p:local", nullptr}, {u"urn:b", u"local", nullptr}, {u"urn:a", nullptr, nullptr}};
  for (const Row& row : rows) {
    SCOPED_TRACE(Text(row.uri) + " " + Text(row.local));
    const char16_t* value = root->getAttributeNS(row.uri, row.local);
    EXPECT_EQ(Text(value), row.value ? row.value : "<null>");
    EXPECT_EQ(root->hasAttributeNS(row.uri, row.local), row.value != nullptr);
  }
  CDOMAttribute* made = root->getAttributeNodeNS(u"urn:a", u"local");
  EXPECT_EQ(Text(made->getNodeName()), "p:local");
  EXPECT_EQ(Text(made->getPrefix()), "p");
  EXPECT_EQ(Text(made->getNamespaceURI()), "urn:a");
  root->setAttributeNS(u"urn:a", u"q:local", u"5");  // a match keeps its name and place
  EXPECT_EQ(AttributeNames(root), (Names{"plain", "empty", "b", "p:local"}));
  EXPECT_EQ(Text(made->getNodeValue()), "5");
}

TEST_F(DOMTest, NamespaceRemovalsAndReplacement) {
  root->setAttributeNS(u"urn:a", u"p:x", u"1");
  root->setAttributeNS(u"urn:b", u"q:x", u"2");
  root->removeAttributeNS(u"urn:a", u"x");
  EXPECT_FALSE(root->hasAttributeNS(u"urn:a", u"x"));
  CDOMAttribute* b = root->getAttributeNodeNS(u"urn:b", u"x");
  EXPECT_EQ(root->removeAttributeNodeNS(b), b);
  EXPECT_EQ(b->getOwnerElement(), nullptr);
  EXPECT_EQ(Text(b->getNodeValue()), "2");  // still usable
  EXPECT_FALSE(root->hasAttributes());

  root->setAttributeNS(u"urn:b", u"other:x", u"3");
  CDOMAttribute* replaced = root->setAttributeNodeNS(b);  // by URI and local name
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(Text(replaced->getNodeName()), "other:x");
  EXPECT_EQ(AttributeNames(root), (Names{"q:x"}));
  EXPECT_EQ(root->setAttributeNodeNS(b), nullptr);  // already linked
  replaced->release();
}

TEST_F(DOMTest, CopyAttributesCopiesNamesValuesAndURIs) {
  CDOMElement* source = Element(u"source");
  root->appendChild(source);
  source->setAttribute(u"a", u"1");
  source->setAttributeNS(u"urn:p", u"p:b", u"2");
  root->setAttributeNS(u"", u"a", u"old");
  root->copyAttributes(source);
  EXPECT_EQ(AttributeNames(root), (Names{"a", "p:b"}));
  EXPECT_EQ(Text(root->getAttribute(u"a")), "1");
  EXPECT_EQ(Text(root->getAttributeNS(u"urn:p", u"b")), "2");
  source->copyAttributes(source);  // onto itself: nothing added, values survive
  EXPECT_EQ(AttributeNames(source), (Names{"a", "p:b"}));
  EXPECT_EQ(Text(source->getAttribute(u"p:b")), "2");
}

}  // namespace
}  // namespace quillet::xml::testing
