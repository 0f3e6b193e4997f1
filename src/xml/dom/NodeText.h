// The owned texts that nodes hold.
//
// A node keeps each text as a NUL-terminated array it owns, or as the one shared empty
// text (so that an empty value costs no allocation), or as null where "none" differs
// from "" (namespace URIs). The text a node is made with may instead sit in the node's
// own block of its document's arena, right after the node.
#ifndef QUILLET_XML_DOM_NODETEXT_H
#define QUILLET_XML_DOM_NODETEXT_H

#include <cstddef>

namespace quillet::xml {

// The shared empty text; never freed.
extern const char16_t kNodeEmptyText[1];

// A copy of length units at text (the shared empty text for length 0).
const char16_t* NodeTextCopy(const char16_t* text, size_t length);
// A copy of a NUL-terminated text; null gives the shared empty text.
const char16_t* NodeTextCopy(const char16_t* text);
// Frees a text from NodeTextCopy; null and the shared empty text are ignored.
void NodeTextFree(const char16_t* text);
// Replaces *slot by a copy of text. The copy is made first, so text may be *slot itself.
void NodeTextAssign(const char16_t*& slot, const char16_t* text);
// The same two for a text that `node` may hold in its own block (NodeArena.h), which
// is not freed: it goes with the node.
void NodeTextFreeOf(const void* node, const char16_t* text);
void NodeTextAssignOf(const void* node, const char16_t*& slot, const char16_t* text);
// text, or the shared empty text for null.
inline const char16_t* NodeTextOrEmpty(const char16_t* text) { return text ? text : kNodeEmptyText; }
// Whether two texts are equal, null counting as "".
bool NodeTextEquals(const char16_t* a, const char16_t* b);

}  // namespace quillet::xml

#endif
