// The node operations that hand their work to the path language.
#include <climits>

#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMNode.h"
#include "quillet/xml/DOMNodeList.h"
#include "xml/path/PathEvaluator.h"
#include "xml/path/PatternParser.h"

namespace quillet::xml {

namespace {

// Absolute paths start from the owner document; a document starts from itself.
CDOMNode* QueryRoot(CDOMNode* node) {
  CDOMNode* document = node->getOwnerDocument();
  return document != nullptr ? document : node;
}

}  // namespace

CDOMNodeList* CDOMNode::selectNodes(const char16_t* path) {
  CDOMNodeList* list = nullptr;
  if (CPathEvaluator().evaluateSelect(path, QueryRoot(this), this, list) < 0) return nullptr;
  return list != nullptr ? list : new CDOMNodeList;
}

CDOMNode* CDOMNode::selectSingleNode(const char16_t* path) {
  CDOMNodeList* list = selectNodes(path);
  if (list == nullptr) return nullptr;
  CDOMNode* first = list->item(0);
  list->release();
  return first;
}

int CDOMNode::testExpression(const char16_t* expression, bool& result) {
  int before = 0;
  int after = 0;
  for (const CDOMNode* n = getPreviousSibling(); n != nullptr && before < INT_MAX - 1; n = n->getPreviousSibling()) {
    ++before;
  }
  for (const CDOMNode* n = nextSibling_; n != nullptr && after < INT_MAX - 1 - before; n = n->nextSibling_) ++after;
  return testExpressionAt(expression, result, 1 + before + after, 1 + before);
}

int CDOMNode::testExpressionAt(const char16_t* expression, bool& result, int size, int position) {
  return CPathEvaluator().evaluateTest(expression, QueryRoot(this), this, result, size, position);
}

bool CDOMNode::matchesPattern(const char16_t* pattern) const { return MatchesPattern(this, pattern); }

}  // namespace quillet::xml
