#include "quillet/xml/DOMAttribute.h"

#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMNameRecord.h"
#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMAttribute::CDOMAttribute(const char16_t* value, const CDOMNameRecord* name) : CDOMNamedNode(name), value_(value) {}

CDOMAttribute::~CDOMAttribute() { NodeTextFreeOf(this, value_); }

const char16_t* CDOMAttribute::getNodeValue() const { return NodeTextOrEmpty(value_); }

void CDOMAttribute::setNodeValue(const char16_t* value) { NodeTextAssignOf(this, value_, value); }

CDOMElement* CDOMAttribute::getOwnerElement() const {
  CDOMNode* parent = getParentNode();
  if (parent == nullptr || parent->getNodeType() != DOMNodeTypeElement) return nullptr;
  return static_cast<CDOMElement*>(parent);
}

bool CDOMAttribute::matchesNS(const char16_t* namespaceURI, const char16_t* localName) const {
  if (namespaceURI == nullptr || localName == nullptr) return false;
  return namespaceURIMatches(namespaceURI) && getNameRecord()->getLocalName() == localName;
}

}  // namespace quillet::xml
