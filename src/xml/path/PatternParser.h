// Match patterns: the "/a/b" names that CDOMNode::matchesPattern checks a node against.
#ifndef QUILLET_XML_PATH_PATTERNPARSER_H
#define QUILLET_XML_PATH_PATTERNPARSER_H

#include <string>

namespace quillet::xml {

class CDOMNode;

// One name of a pattern, in a chain from the first name to the last.
struct CPatternStep {
  std::u16string name;  // may be empty
  CPatternStep* next = nullptr;
  CPatternStep* previous = nullptr;
  bool direct = true;     // false on the first step of a pattern that began with "//"
  bool fromRoot = false;  // true on the first step of a pattern that began with "/" or "//"
};

// Reads pattern: up to two leading "/", then names separated by "/". Returns 0 with the
// first and the last step of the chain (the same step when there is one), which the
// caller frees with ReleasePattern(first); or -1, with first and last null, for a null
// pattern and for one with three or more leading "/", which also writes the line
// "Invalid start of path" to standard output. Empty names add no step ("a//b" reads as
// "a/b", and a trailing "/" adds nothing but an empty last step); an empty pattern gives
// one step with an empty name.
int parsePattern(const char16_t* pattern, CPatternStep*& first, CPatternStep*& last);

// Frees a chain from parsePattern, however long.
void ReleasePattern(CPatternStep* first);

// Whether node matches pattern: from the node up through its ancestors, each non-empty
// name from the last to the first must equal the node name (exactly); after the first
// name of a pattern that began with "/" or "//" (alike) the node reached must be a
// document. A pattern without names matches every node; one that does not parse,
// none.
bool MatchesPattern(const CDOMNode* node, const char16_t* pattern);

}  // namespace quillet::xml

#endif
