// Releasing trees: depth must not matter, and a released document leaves nothing
// behind (run under the sanitizer build, where LeakSanitizer checks every test).
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

constexpr int kDepth = 1000000;

// A chain of kDepth nested elements named "n" under parent; returns the innermost.
CDOMElement* BuildChain(CDOMDocument* doc, CDOMNode* parent) {
  CDOMNode* current = parent;
  for (int i = 0; i < kDepth; ++i) {
    CDOMElement* element = doc->createElement(u"n");
    current->appendChild(element);
    current = element;
  }
  return static_cast<CDOMElement*>(current);
}

TEST_F(DOMTest, MillionDeepChainIsSearchedAndReleasedWithoutRecursion) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* innermost = BuildChain(doc, root);
  innermost->setAttribute(u"last", u"yes");
  innermost->appendChild(doc->createTextNode(u"deep text"));

  CDOMNodeList* all = doc->getElementsByTagName(u"n");
  ASSERT_EQ(all->getLength(), static_cast<size_t>(kDepth));
  EXPECT_EQ(all->item(kDepth - 1), innermost);
  all->release();
  CDOMNodeList* text = root->getElementsByTagName(u"missing");
  EXPECT_EQ(text->getLength(), 0u);
  text->release();
  EXPECT_EQ(doc->getNameCount(), 3u);  // root, n, last

  // A deep subtree taken out and released on its own.
  CDOMNode* chain = root->removeChild(root->getFirstChild());
  ASSERT_NE(chain, nullptr);
  chain->release();
  EXPECT_FALSE(root->hasChildNodes());

  // And one released with its document (the fixture's TearDown).
  BuildChain(doc, root);
}

TEST_F(DOMTest, WideTreeReleases) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  for (int i = 0; i < 100000; ++i) {
    CDOMElement* child = Element(u"c");
    child->setAttribute(u"a", u"1");
    root->appendChild(child);
  }
  CDOMNodeList* children = root->getChildNodes();
  EXPECT_EQ(children->getLength(), 100000u);
  children->release();
}

TEST(DOMLifetime, ReleasedDocumentLeavesNothingBehind) {
#ifndef QUILLET_TEST_LEAK_CHECK
  GTEST_SKIP() << "needs the sanitizer build (-DQUILLET_SANITIZE=ON)";
#else
  // Everything a document can own, in the states that are easy to leak.
  auto* doc = new CDOMDocument;
  doc->getDoctype()->setName(u"collection");
  doc->getDoctype()->appendChild(doc->createComment(u"owned by the document type"));
  doc->appendChild(doc->createProcessingInstruction(u"xml", u"version=\"1.0\""));
  CDOMElement* root = doc->createElementNS(u"urn:r", u"r:root");
  doc->appendChild(root);
  root->getAttributes();  // the map
  root->setAttribute(u"a", u"1");
  root->setAttribute(u"gone", u"x");
  root->removeAttribute(u"gone");  // unlinked and unreachable
  EXPECT_FALSE(root->hasAttribute(u"gone"));
  root->setAttributeNS(u"urn:n", u"n:b", u"2");
  root->removeAttributeNS(u"urn:n", u"b");
  CDOMAttribute* withChild = root->setAttribute(u"c", u"3");
  withChild->appendChild(doc->createTextNode(u"attribute child"));
  CDOMElement* child = doc->createElement(u"child");
  root->appendChild(child);
  child->setPrefix(u"renamed");
  child->setLocalName(u"again");
  child->appendChild(doc->createCDATASection(u"cdata"));
  child->appendChild(doc->createEntityReference(u"amp"));
  child->appendChild(doc->createTextNode(u"text"));
  child->setText(u"replaced");
  static_cast<CDOMText*>(child->getLastChild())->appendData(u" more");
  CDOMElement* moved = doc->createElement(u"moved");
  root->appendChild(moved);
  child->appendChild(root->removeChild(moved));
  doc->appendChild(doc->createComment(u"trailing"));
  EXPECT_EQ(Text(child->getNodeName()), "renamed:again");
  doc->release();
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

}  // namespace
}  // namespace quillet::xml::testing
