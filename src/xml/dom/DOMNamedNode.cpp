#include "quillet/xml/DOMNamedNode.h"

#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMNameRecord.h"
#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMNamedNode::~CDOMNamedNode() = default;

const char16_t* CDOMNamedNode::getNodeName() const { return name_->getQualifiedName().c_str(); }

const char16_t* CDOMNamedNode::getNamespaceURI() const { return NodeTextOrEmpty(name_->getNamespaceURI()); }

const char16_t* CDOMNamedNode::getPrefix() const { return name_->getPrefix().c_str(); }

const char16_t* CDOMNamedNode::getLocalName() const { return name_->getLocalName().c_str(); }

void CDOMNamedNode::setPrefix(const char16_t* prefix) { name_ = getOwnerDocument()->internWithPrefix(name_, prefix); }

void CDOMNamedNode::setLocalName(const char16_t* localName) {
  name_ = getOwnerDocument()->internWithLocalName(name_, localName);
}

void CDOMNamedNode::setNamespaceURI(const char16_t* uri) { name_ = getOwnerDocument()->internGivenURI(name_, uri); }

bool CDOMNamedNode::namespaceURIMatches(const char16_t* namespaceURI) const {
  const char16_t* const own = name_->getNamespaceURI();
  if (own != nullptr) return namespaceURI != nullptr && NodeTextEquals(own, namespaceURI);
  return namespaceURI == nullptr || *namespaceURI == 0;
}

}  // namespace quillet::xml
