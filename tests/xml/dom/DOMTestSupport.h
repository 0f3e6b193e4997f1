// Shared helpers of the document tree tests.
#ifndef QUILLET_TESTS_XML_DOM_DOMTESTSUPPORT_H
#define QUILLET_TESTS_XML_DOM_DOMTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillet/xml/DOM.h"
#include "xml/common/U16String.h"

namespace quillet::xml::testing {

using Names = std::vector<std::string>;

// A node text as UTF-8 for readable expectations; null shows as "<null>".
inline std::string Text(const char16_t* text) {
  return text == nullptr ? std::string("<null>") : U16ToUtf8(std::u16string(text));
}

// The node names along a sibling chain, forward from first or backward from last.
inline Names Siblings(const CDOMNode* node, bool forward = true) {
  Names names;
  for (; node != nullptr; node = forward ? node->getNextSibling() : node->getPreviousSibling()) {
    names.push_back(Text(node->getNodeName()));
  }
  return names;
}

// A test with a fresh document holding a document element "root", released afterwards
// (so that LeakSanitizer sees whatever a release leaves behind).
class DOMTest : public ::testing::Test {
 protected:
  void SetUp() override { doc->appendChild(root); }
  void TearDown() override { doc->release(); }

  CDOMElement* Element(const char16_t* name) { return doc->createElement(name); }

  CDOMDocument* doc = new CDOMDocument;
  CDOMElement* root = doc->createElement(u"root");
};

}  // namespace quillet::xml::testing

#endif
