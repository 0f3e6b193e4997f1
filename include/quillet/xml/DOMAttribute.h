// An attribute of an element.
#ifndef QUILLET_XML_DOMATTRIBUTE_H
#define QUILLET_XML_DOMATTRIBUTE_H

#include "quillet/xml/DOMNamedNode.h"

namespace quillet::xml {

class CDOMElement;

// An attribute stands in its element's attribute list, not among its children: its
// parent is the element it belongs to (its owner element) and its siblings are the
// element's other attributes. Its name is interned in the owner document.
class QUILLET_API CDOMAttribute : public CDOMNamedNode {
 public:
  int getNodeType() const override { return DOMNodeTypeAttribute; }
  // The value ("" until set).
  const char16_t* getNodeValue() const override;
  void setNodeValue(const char16_t* value) override;

  // Always true: every attribute here was given in the document or by a caller (no
  // defaults are supplied from a DTD), so the flag is not stored.
  bool getSpecified() const { return true; }
  // The element the attribute belongs to, or null while it is free.
  CDOMElement* getOwnerElement() const;
  // Whether the namespace URI is namespaceURI ("" matching none) and the local name is
  // localName; false when either is null.
  bool matchesNS(const char16_t* namespaceURI, const char16_t* localName) const;

 private:
  friend class CDOMDocument;
  // `value` is already stored for the attribute, which owns it from now on.
  CDOMAttribute(const char16_t* value, const CDOMNameRecord* name);
  ~CDOMAttribute() override;

  const char16_t* value_;
};

}  // namespace quillet::xml

#endif
