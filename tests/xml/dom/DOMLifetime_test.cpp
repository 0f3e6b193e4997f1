// Releasing trees: depth must not matter, and a released document leaves nothing
// behind (LeakSanitizer, in the sanitizer build, checks every test at exit as well).
#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#define QUILLET_TEST_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLET_TEST_LEAK_CHECK 1
#endif
#endif
#ifdef QUILLET_TEST_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

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

TEST(DOMLifetime, ReleasedDocumentLeavesNothingBehind) {
#ifndef QUILLET_TEST_LEAK_CHECK
  GTEST_SKIP() << "needs the sanitizer build (-DQUILLET_SANITIZE=ON)";
#else
  // Everything a document can own, in the states that are easy to leak.
  auto* doc = new CDOMDocument;
  doc->getDoctype()->appendChild(doc->createComment(u"owned by the document type"));
  CDOMElement* root = doc->createElementNS(u"urn:r", u"r:root");
  doc->appendChild(root);
  root->getAttributes();
  root->setAttribute(u"gone", u"x");
  root->removeAttribute(u"gone");  // unlinked and unreachable
  root->setAttributeNS(u"urn:n", u"n:b", u"2");
  root->removeAttributeNS(u"urn:n", u"b");
  root->setAttribute(u"c", u"3")->appendChild(doc->createTextNode(u"attribute child"));
  CDOMElement* child = doc->createElement(u"child");
  root->appendChild(child);
  child->setPrefix(u"renamed");
  child->appendChild(doc->createEntityReference(u"amp"));
  child->setText(u"text");
  static_cast<CDOMText*>(child->getLastChild())->appendData(u" more");
  CDOMElement* moved = doc->createElement(u"moved");
  root->appendChild(moved);
  child->appendChild(root->removeChild(moved));
  doc->release();
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

}  // namespace
}  // namespace quillet::xml::testing
