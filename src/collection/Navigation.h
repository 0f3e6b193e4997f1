// Walking HTML Help's files by element name.
//
// Every datum in the registry and in a collection file sits in the `value` attribute
// of a leaf element, so the collection functions need little more than "the first
// child element of this name", "append one", and reading or writing `value`. Names
// are 8-bit texts from the caller, compared after the tree's text is narrowed through
// the ANSI code page.
#ifndef QUILLET_COLLECTION_NAVIGATION_H
#define QUILLET_COLLECTION_NAVIGATION_H

#include <string>

#include "quillet/xml/DOM.h"

namespace quillet {

// The element behind `node` when it is one, else null.
xml::CDOMElement* AsElement(xml::CDOMNode* node);

// The first direct child of `parent` that is an element whose tag name equals `name`
// exactly (letter case counts); null when there is none or `parent` is null.
xml::CDOMElement* FindChildElement(xml::CDOMNode* parent, const char* name);

// A new element `name`, made by the parent's document and linked as its last child;
// null (and nothing made) when the parent is null or refuses the link.
xml::CDOMElement* AppendChildElement(xml::CDOMNode* parent, const char* name);

// FindChildElement, or AppendChildElement when that finds nothing.
xml::CDOMElement* FindOrAppendChildElement(xml::CDOMNode* parent, const char* name);

// Whether `node` is an element whose tag name equals `name` ignoring the letter case
// of A to Z. False for null and for every other kind of node.
bool HasTagName(xml::CDOMNode* node, const char* name);

// The first element named `tagName` at any depth of `document`, in document order,
// with a child element `childName` whose value equals `value` exactly; null when none.
xml::CDOMElement* FindElementByChildValue(xml::CDOMDocument* document, const char16_t* tagName,
                                          const char* childName, const std::string& value);

// The `value` attribute of `element` as 8-bit text; "" when it has none.
std::string ReadValue(xml::CDOMElement* element);

// Sets the `value` attribute of `element` to the widened `value`, replacing an
// existing one in place or appending a new attribute.
void WriteValue(xml::CDOMElement* element, const std::string& value);

// The 8-bit text a caller passed, with null read as the empty text.
inline std::string CallerText(const char* text) { return text ? std::string(text) : std::string(); }

// Copies `text` and its NUL into a caller's buffer that has no size: making room is
// the caller's duty. Nothing is written to a null buffer.
void CopyToCallerBuffer(const std::string& text, char* buffer);

}  // namespace quillet

#endif
