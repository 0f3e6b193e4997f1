// A document-order cursor over a subtree.
#ifndef QUILLET_XML_DOMTREEWALKER_H
#define QUILLET_XML_DOMTREEWALKER_H

#include "quillet/export.h"

namespace quillet::xml {

class CDOMNode;

// Visits nodes in document order (pre-order) from a start node, never leaving the
// subtree of a boundary node and never returning the boundary itself. Walks without
// recursion, so any depth is fine. Attributes are not visited.
class QUILLET_API CDOMTreeWalker {
 public:
  // Usually start is boundary's first child (its descendants) or, for a document, its
  // document element. A start that does not lie below boundary ends the walk at the
  // first climb out of start's own subtree.
  CDOMTreeWalker(const CDOMNode* boundary, CDOMNode* start) : boundary_(boundary), next_(start) {}

  // The next node, or null when the walk is over.
  CDOMNode* nextNode();

 private:
  const CDOMNode* boundary_;
  CDOMNode* next_;
};

}  // namespace quillet::xml

#endif
