#include "xml/path/PathValue.h"

#include <cmath>

#include "quillet/xml/DOMNode.h"
#include "xml/path/PathNumbers.h"

namespace quillet::xml {

bool CPathValue::truth() const {
  switch (kind) {
    case kNodeSet: return !nodes.empty();
    case kNumber: return number != 0 && !std::isnan(number);
    case kString: break;
  }
  return false;
}

float CPathValue::toNumber() const {
  switch (kind) {
    case kNumber: return number;
    case kString: return PathTextToNumber(text);
    case kNodeSet: break;
  }
  if (nodes.empty()) return kPathNoNumber;
  const CDOMNode* node = nodes.front();
  if (node->getNodeType() == DOMNodeTypeElement) {
    node = node->getFirstChild();
    if (node == nullptr) return kPathNoNumber;
  }
  return PathTextToNumber(node->getNodeValue());
}

}  // namespace quillet::xml
