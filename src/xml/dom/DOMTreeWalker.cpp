#include "quillet/xml/DOMTreeWalker.h"

#include "quillet/xml/DOMNode.h"

namespace quillet::xml {

CDOMNode* CDOMTreeWalker::nextNode() {
  CDOMNode* node = next_;
  if (node == nullptr || node == boundary_) {
    next_ = nullptr;
    return nullptr;
  }
  if (node->firstChild_ != nullptr) {
    next_ = node->firstChild_;
  } else if (node->nextSibling_ != nullptr) {
    next_ = node->nextSibling_;
  } else {
    // Climb to the first ancestor below the boundary that has a next sibling.
    next_ = nullptr;
    for (CDOMNode* up = node->parent_;; up = up->parent_) {
      if (up == nullptr) return nullptr;  // the start was not below the boundary
      if (up == boundary_) break;
      if (up->nextSibling_ != nullptr) {
        next_ = up->nextSibling_;
        break;
      }
    }
  }
  return node;
}

}  // namespace quillet::xml
