#include "quillet/xml/DOMAttributeMap.h"

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMElement.h"

namespace quillet::xml {

CDOMAttribute* CDOMAttributeMap::getNamedItem(const char16_t* name) const { return element_->findAttribute(name); }

CDOMAttribute* CDOMAttributeMap::setNamedItem(CDOMAttribute* attribute) {
  return element_->setAttributeNode(attribute);
}

CDOMAttribute* CDOMAttributeMap::removeNamedItem(const char16_t* name) {
  CDOMAttribute* found = element_->findAttribute(name);
  if (found == nullptr) return nullptr;
  return element_->removeAttributeNode(found);
}

CDOMAttribute* CDOMAttributeMap::item(size_t index) const {
  CDOMNode* attribute = element_->getFirstAttribute();
  for (; attribute != nullptr && index != 0; --index) attribute = attribute->getNextSibling();
  return static_cast<CDOMAttribute*>(attribute);
}

size_t CDOMAttributeMap::getLength() const {
  size_t length = 0;
  for (CDOMNode* attribute = element_->getFirstAttribute(); attribute != nullptr;
       attribute = attribute->getNextSibling()) {
    ++length;
  }
  return length;
}

CDOMAttribute* CDOMAttributeMap::getNamedItemNS(const char16_t* namespaceURI, const char16_t* localName) const {
  return element_->findAttributeNS(namespaceURI, localName);
}

CDOMAttribute* CDOMAttributeMap::setNamedItemNS(CDOMAttribute* attribute) {
  return element_->setAttributeNodeNS(attribute);
}

CDOMAttribute* CDOMAttributeMap::removeNamedItemNS(const char16_t* namespaceURI, const char16_t* localName) {
  CDOMAttribute* found = element_->findAttributeNS(namespaceURI, localName);
  if (found == nullptr) return nullptr;
  return element_->removeAttributeNode(found);
}

}  // namespace quillet::xml
