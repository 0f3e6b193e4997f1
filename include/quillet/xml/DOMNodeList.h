// A snapshot list of nodes with a cursor.
#ifndef QUILLET_XML_DOMNODELIST_H
#define QUILLET_XML_DOMNODELIST_H

#include <cstddef>
#include <vector>

#include "quillet/export.h"

namespace quillet::xml {

class CDOMNode;

// The nodes an operation found, in order. The list does not own its nodes and does not
// follow later changes of the tree; a node destroyed while a list holds it leaves a
// dangling entry that must not be used. The caller owns a returned list and ends it with
// release() (or delete).
class QUILLET_API CDOMNodeList {
 public:
  CDOMNodeList() = default;
  virtual ~CDOMNodeList() = default;

  // The entry at index, or null when index >= getLength().
  CDOMNode* item(size_t index) const { return index < nodes_.size() ? nodes_[index] : nullptr; }
  size_t getLength() const { return nodes_.size(); }
  // Destroys the list, not its nodes.
  void release() { delete this; }
  // Moves the cursor to the first entry.
  void reset() { cursor_ = 0; }
  // The entry at the cursor, moving the cursor on; null once past the last entry.
  CDOMNode* nextNode() { return cursor_ < nodes_.size() ? nodes_[cursor_++] : nullptr; }

  // Adds node at the end (for the operations that fill a list).
  void append(CDOMNode* node) { nodes_.push_back(node); }

 private:
  std::vector<CDOMNode*> nodes_;
  size_t cursor_ = 0;
};

}  // namespace quillet::xml

#endif
