// Shared helpers of the document tree tests.
#ifndef QUILLET_TESTS_XML_DOM_DOMTESTSUPPORT_H
#define QUILLET_TESTS_XML_DOM_DOMTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillet/xml/DOM.h"
#include "xml/common/U16String.h"

namespace quillet::xml::testing {

// A node text as UTF-8 for readable expectations; null shows as "<null>".
inline std::string Text(const char16_t* text) {
  return text == nullptr ? std::string("<null>") : U16ToUtf8(std::u16string(text));
}

// The node names of a sibling chain, from first along next siblings.
inline std::vector<std::string> NamesForward(const CDOMNode* first) {
  std::vector<std::string> names;
  for (; first != nullptr; first = first->getNextSibling()) names.push_back(Text(first->getNodeName()));
  return names;
}

// The node names of a sibling chain, from last along previous siblings.
inline std::vector<std::string> NamesBackward(const CDOMNode* last) {
  std::vector<std::string> names;
  for (; last != nullptr; last = last->getPreviousSibling()) names.push_back(Text(last->getNodeName()));
  return names;
}

// The node names of a list's entries, in order; the list is released.
inline std::vector<std::string> NamesOf(CDOMNodeList* list) {
  std::vector<std::string> names;
  for (size_t i = 0; i < list->getLength(); ++i) names.push_back(Text(list->item(i)->getNodeName()));
  list->release();
  return names;
}

// A test with a fresh document, released afterwards (so LeakSanitizer sees whatever a
// release leaves behind).
class DOMTest : public ::testing::Test {
 protected:
  void TearDown() override { doc->release(); }

  CDOMElement* Element(const char16_t* name) { return doc->createElement(name); }

  CDOMDocument* doc = new CDOMDocument;
};

}  // namespace quillet::xml::testing

#endif
