// The values that path expressions compute.
#ifndef QUILLET_XML_PATH_PATHVALUE_H
#define QUILLET_XML_PATH_PATHVALUE_H

#include <string_view>
#include <vector>

namespace quillet::xml {

class CDOMNode;

// One value on the evaluator's stack: a string, a node-set or a number. Booleans are
// numbers, 1 for true and 0 for false. A node-set is an ordered list that may hold the
// same node more than once.
struct CPathValue {
  enum Kind : int { kString = 0, kNodeSet = 1, kNumber = 2 };

  Kind kind = kNodeSet;
  float number = 0;
  // The nodes of a node-set.
  std::vector<CDOMNode*> nodes;
  // The text of a string: a literal's, a view into the expression being evaluated.
  std::u16string_view text;

  static CPathValue Number(float value) {
    CPathValue v;
    v.kind = kNumber;
    v.number = value;
    return v;
  }
  static CPathValue String(std::u16string_view value) {
    CPathValue v;
    v.kind = kString;
    v.text = value;
    return v;
  }

  // A node-set is true when it is not empty, a number unless it is 0 or NaN; a string
  // is false whatever its text.
  bool truth() const;
  // A string's longest prefix that reads as a decimal number; a node-set's first node:
  // for an element the value of its first child, for other nodes their own value, read
  // as a string is. kPathNoNumber (-1) wherever that fails.
  float toNumber() const;
};

}  // namespace quillet::xml

#endif
