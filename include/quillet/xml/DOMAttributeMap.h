// A live view of one element's attributes.
#ifndef QUILLET_XML_DOMATTRIBUTEMAP_H
#define QUILLET_XML_DOMATTRIBUTEMAP_H

#include <cstddef>

#include "quillet/export.h"

namespace quillet::xml {

class CDOMAttribute;
class CDOMElement;

// Made by an element on first use (CDOMElement::getAttributes) and destroyed with it.
// It holds nothing but the element and reads the element's attribute list on every
// call, so it always shows the current attributes. Attributes it removes belong to the
// caller.
class QUILLET_API CDOMAttributeMap {
 public:
  CDOMAttributeMap(const CDOMAttributeMap&) = delete;
  CDOMAttributeMap& operator=(const CDOMAttributeMap&) = delete;

  // The first attribute named name, or null.
  CDOMAttribute* getNamedItem(const char16_t* name) const;
  // The element's setAttributeNode.
  CDOMAttribute* setNamedItem(CDOMAttribute* attribute);
  // Unlinks the attribute named name and returns it; null when there is none.
  CDOMAttribute* removeNamedItem(const char16_t* name);
  // The attribute at index in list order (a walk from the first), or null past the end.
  CDOMAttribute* item(size_t index) const;
  size_t getLength() const;
  CDOMAttribute* getNamedItemNS(const char16_t* namespaceURI, const char16_t* localName) const;
  // The element's setAttributeNodeNS.
  CDOMAttribute* setNamedItemNS(CDOMAttribute* attribute);
  // Unlinks the matching attribute and returns it; null when there is none.
  CDOMAttribute* removeNamedItemNS(const char16_t* namespaceURI, const char16_t* localName);

 private:
  friend class CDOMDocument;
  explicit CDOMAttributeMap(CDOMElement* element) : element_(element) {}
  ~CDOMAttributeMap() = default;

  CDOMElement* element_;
};

}  // namespace quillet::xml

#endif
