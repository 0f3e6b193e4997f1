#include "quillet/xml/DOMAttribute.h"

#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMNameRecord.h"
#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMAttribute::CDOMAttribute(CDOMDocument* ownerDocument, const CDOMNameRecord* name)
    : CDOMNode(ownerDocument), name_(name) {}

CDOMAttribute::~CDOMAttribute() {
  NodeTextFree(value_);
  NodeTextFree(namespaceURI_);
}

const char16_t* CDOMAttribute::getNodeName() const { return name_->getQualifiedName().c_str(); }

const char16_t* CDOMAttribute::getNodeValue() const { return NodeTextOrEmpty(value_); }

void CDOMAttribute::setNodeValue(const char16_t* value) { NodeTextAssign(value_, value); }

const char16_t* CDOMAttribute::getNamespaceURI() const { return NodeTextOrEmpty(namespaceURI_); }

const char16_t* CDOMAttribute::getPrefix() const { return name_->getPrefix().c_str(); }

const char16_t* CDOMAttribute::getLocalName() const { return name_->getLocalName().c_str(); }

void CDOMAttribute::setPrefix(const char16_t* prefix) { name_ = ownerDocument_->internWithPrefix(name_, prefix); }

void CDOMAttribute::setLocalName(const char16_t* localName) {
  name_ = ownerDocument_->internWithLocalName(name_, localName);
}

CDOMElement* CDOMAttribute::getOwnerElement() const {
  if (parent_ == nullptr || parent_->getNodeType() != DOMNodeTypeElement) return nullptr;
  return static_cast<CDOMElement*>(parent_);
}

void CDOMAttribute::setNamespaceURI(const char16_t* uri) { NodeTextAssign(namespaceURI_, uri); }

bool CDOMAttribute::matchesNS(const char16_t* namespaceURI, const char16_t* localName) const {
  if (namespaceURI == nullptr || localName == nullptr) return false;
  return NodeTextEquals(namespaceURI_, namespaceURI) && name_->getLocalName() == localName;
}

}  // namespace quillet::xml
