// Releasing trees: depth must not matter, and a released document leaves nothing
// behind (LeakSanitizer, in the sanitizer build, checks every test at exit).
#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

// A chain of a million nested elements "n" under parent; returns the innermost.
CDOMElement* BuildChain(CDOMDocument* doc, CDOMNode* parent) {
  for (int i = 0; i < 1000000; ++i) parent = parent->appendChild(doc->createElement(u"n"));
  return static_cast<CDOMElement*>(parent);
}

TEST_F(DOMTest, MillionDeepChainIsSearchedAndReleasedWithoutRecursion) {
  CDOMElement* innermost = BuildChain(doc, root);
  innermost->setAttribute(u"last", u"yes");
  innermost->appendChild(doc->createTextNode(u"deep text"));
  CDOMNodeList* all = doc->getElementsByTagName(u"n");
  ASSERT_EQ(all->getLength(), 1000000u);
  EXPECT_EQ(all->item(999999), innermost);
  all->release();

  // A deep subtree taken out and released on its own, and one released with its
  // document (by the fixture).
  root->removeChild(root->getFirstChild())->release();
  EXPECT_FALSE(root->hasChildNodes());
  BuildChain(doc, root)->setAttribute(u"x", u"y");
}

// Everything a document can own, in the states that are easy to leak; the fixture
// releases the document, and LeakSanitizer reports whatever stays behind.
TEST_F(DOMTest, ReleasedDocumentLeavesNothingBehind) {
  doc->getDoctype()->appendChild(doc->createComment(u"owned by the document type"));
  // An element there with an attribute map: the maps must still be there when the
  // document type's children go.
  CDOMElement* underDoctype = Element(u"under-doctype");
  doc->getDoctype()->appendChild(underDoctype);
  EXPECT_NE(underDoctype->getAttributes(), nullptr);
  CDOMElement* top = doc->createElementNS(u"urn:r", u"r:top");
  root->appendChild(top);
  top->getAttributes();
  top->setAttribute(u"gone", u"x");
  top->removeAttribute(u"gone");  // unlinked and unreachable
  top->setAttributeNS(u"urn:n", u"n:b", u"2");
  top->removeAttributeNS(u"urn:n", u"b");
  top->setAttribute(u"c", u"3")->appendChild(doc->createTextNode(u"attribute child"));
  CDOMElement* child = Element(u"child");
  top->appendChild(child);
  child->setPrefix(u"renamed");
  child->appendChild(doc->createEntityReference(u"amp"));
  child->setText(u"text");
  static_cast<CDOMText*>(child->getLastChild())->appendData(u" more");
  CDOMElement* moved = Element(u"moved");
  top->appendChild(moved);
  child->appendChild(top->removeChild(moved));
  EXPECT_EQ(Siblings(child->getFirstChild()), (Names{"amp", "#text", "moved"}));
}

// A node taken out of the tree may outlive its document; it can still be released,
// and what it asked of its document answers null instead of reaching freed memory.
TEST(DOMLifetime, ANodeOutlivesItsDocument) {
  auto* document = new CDOMDocument;
  CDOMElement* kept = document->createElement(u"kept");
  CDOMText* text = document->createTextNode(u"kept text");
  EXPECT_NE(kept->getAttributes(), nullptr);
  document->release();
  EXPECT_EQ(kept->getOwnerDocument(), nullptr);
  EXPECT_EQ(kept->getAttributes(), nullptr);
  EXPECT_EQ(Text(text->getNodeValue()), "kept text");
  kept->release();
  text->release();
}

}  // namespace
}  // namespace quillet::xml::testing
