#include "quillet/xml/DOMElement.h"

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMAttributeMap.h"
#include "quillet/xml/DOMCharacterData.h"
#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMNameRecord.h"
#include "xml/dom/ElementSearch.h"
#include "xml/dom/NodeText.h"

namespace quillet::xml {

namespace {

bool IsTextChild(const CDOMNode* node) {
  int type = node->getNodeType();
  return type == DOMNodeTypeText || type == DOMNodeTypeCDATASection;
}

CDOMAttribute* NextAttribute(const CDOMAttribute* attribute) {
  return static_cast<CDOMAttribute*>(attribute->getNextSibling());
}

}  // namespace

CDOMElement::CDOMElement(const CDOMNameRecord* name) : CDOMNamedNode(name) {}

CDOMElement::~CDOMElement() {
  // The attributes themselves went with the children in the release walk; a map made
  // for this element goes now (or went with the document, if that went first).
  if (CDOMDocument* document = getOwnerDocument()) document->dropAttributeMap(this);
}

CDOMAttributeMap* CDOMElement::getAttributes() {
  CDOMDocument* document = getOwnerDocument();
  return document != nullptr ? document->attributeMapOf(this) : nullptr;
}

const char16_t* CDOMElement::getText(std::u16string& out) const {
  out.clear();
  for (const CDOMNode* child = firstChild_; child != nullptr; child = child->nextSibling_) {
    if (IsTextChild(child)) out += child->getNodeValue();
  }
  return out.c_str();
}

void CDOMElement::setText(const char16_t* value) {
  for (CDOMNode* child = firstChild_; child != nullptr; child = child->nextSibling_) {
    if (IsTextChild(child)) {
      child->setNodeValue(value);
      return;
    }
  }
  appendChild(getOwnerDocument()->createTextNode(value));
}

// --- The attribute list ---------------------------------------------------------------

CDOMAttribute* CDOMElement::getFirstAttribute() const { return static_cast<CDOMAttribute*>(firstAttribute_); }

CDOMAttribute* CDOMElement::findAttribute(const char16_t* name) const {
  std::u16string_view wanted = name != nullptr ? std::u16string_view(name) : std::u16string_view();
  for (CDOMAttribute* attribute = getFirstAttribute(); attribute != nullptr; attribute = NextAttribute(attribute)) {
    if (attribute->getNameRecord()->getQualifiedName() == wanted) return attribute;
  }
  return nullptr;
}

CDOMAttribute* CDOMElement::findAttributeNS(const char16_t* namespaceURI, const char16_t* localName) const {
  for (CDOMAttribute* attribute = getFirstAttribute(); attribute != nullptr; attribute = NextAttribute(attribute)) {
    if (attribute->matchesNS(namespaceURI, localName)) return attribute;
  }
  return nullptr;
}

bool CDOMElement::canLinkAttribute(const CDOMAttribute* attribute) const {
  // As for children: a linked attribute or one of another document is refused.
  return attribute != nullptr && attribute->parent_ == nullptr && attribute->getOwnerDocument() == getOwnerDocument();
}

void CDOMElement::linkAttribute(CDOMAttribute* attribute) {
  linkAtEnd(firstAttribute_, this, attribute);
}

void CDOMElement::unlinkAttribute(CDOMAttribute* attribute) { unlinkFrom(firstAttribute_, attribute); }

void CDOMElement::moveAttributesToChildren() {
  if (firstAttribute_ == nullptr) return;
  CDOMNode* const lastAttribute = LastOf(firstAttribute_);
  lastAttribute->nextSibling_ = firstChild_;
  if (firstChild_ != nullptr) {
    firstAttribute_->previousSibling_ = LastOf(firstChild_);
    firstChild_->previousSibling_ = lastAttribute;
  }
  firstChild_ = firstAttribute_;
  firstAttribute_ = nullptr;
}

// --- By qualified name ------------------------------------------------------------------

CDOMAttribute* CDOMElement::appendNewAttribute(const char16_t* name, const char16_t* value) {
  CDOMAttribute* attribute = getOwnerDocument()->createAttributeWithValue(name, value);
  linkAttribute(attribute);
  return attribute;
}

CDOMAttribute* CDOMElement::setAttribute(const char16_t* name, const char16_t* value) {
  CDOMAttribute* attribute = findAttribute(name);
  if (attribute == nullptr) return appendNewAttribute(name, value);
  attribute->setNodeValue(value);
  return attribute;
}

const char16_t* CDOMElement::getAttribute(const char16_t* name) const {
  CDOMAttribute* attribute = findAttribute(name);
  return attribute != nullptr ? attribute->getNodeValue() : kNodeEmptyText;
}

void CDOMElement::removeAttribute(const char16_t* name) {
  // Nobody can reach the attribute after this call, so it is destroyed here rather than
  // left to leak; removeAttributeNode is the way to take one out and keep it.
  CDOMAttribute* attribute = findAttribute(name);
  if (attribute == nullptr) return;
  unlinkAttribute(attribute);
  attribute->release();
}

CDOMAttribute* CDOMElement::getAttributeNode(const char16_t* name) const { return findAttribute(name); }

CDOMAttribute* CDOMElement::setAttributeNode(CDOMAttribute* newAttr) {
  if (!canLinkAttribute(newAttr)) return nullptr;
  CDOMAttribute* replaced = findAttribute(newAttr->getNodeName());
  if (replaced != nullptr) unlinkAttribute(replaced);
  linkAttribute(newAttr);
  return replaced;
}

CDOMAttribute* CDOMElement::removeAttributeNode(CDOMAttribute* oldAttr) {
  if (oldAttr == nullptr) return nullptr;
  // oldAttr itself when it is ours; otherwise, by name, the attribute it stands for. An
  // oldAttr linked to another element stays there untouched.
  CDOMAttribute* found = oldAttr->parent_ == this ? oldAttr : findAttribute(oldAttr->getNodeName());
  if (found != nullptr) unlinkAttribute(found);
  return found;
}

bool CDOMElement::hasAttribute(const char16_t* name) const { return findAttribute(name) != nullptr; }

// --- By namespace URI and local name ----------------------------------------------------

const char16_t* CDOMElement::getAttributeNS(const char16_t* namespaceURI, const char16_t* localName) const {
  CDOMAttribute* attribute = findAttributeNS(namespaceURI, localName);
  return attribute != nullptr ? attribute->getNodeValue() : nullptr;
}

void CDOMElement::setAttributeNS(const char16_t* namespaceURI, const char16_t* qualifiedName,
                                 const char16_t* value) {
  CDOMNameRecord parts = CDOMNameRecord::FromQualifiedName(qualifiedName != nullptr ? qualifiedName : u"");
  CDOMAttribute* attribute = findAttributeNS(namespaceURI, parts.getLocalName().c_str());
  if (attribute != nullptr) {
    attribute->setNodeValue(value);
    return;
  }
  // A new attribute is named from its parts, as renaming would name it: "a:" and ":a"
  // both give the attribute a.
  attribute = getOwnerDocument()->createAttribute(nullptr);
  attribute->setLocalName(parts.getLocalName().c_str());
  attribute->setNamespaceURI(namespaceURI);
  attribute->setPrefix(parts.getPrefix().c_str());
  attribute->setNodeValue(value);
  linkAttribute(attribute);
}

void CDOMElement::removeAttributeNS(const char16_t* namespaceURI, const char16_t* localName) {
  CDOMAttribute* attribute = findAttributeNS(namespaceURI, localName);
  if (attribute == nullptr) return;
  unlinkAttribute(attribute);
  attribute->release();
}

CDOMAttribute* CDOMElement::getAttributeNodeNS(const char16_t* namespaceURI, const char16_t* localName) const {
  return findAttributeNS(namespaceURI, localName);
}

CDOMAttribute* CDOMElement::setAttributeNodeNS(CDOMAttribute* newAttr) {
  if (!canLinkAttribute(newAttr)) return nullptr;
  CDOMAttribute* replaced = findAttributeNS(newAttr->getNamespaceURI(), newAttr->getLocalName());
  if (replaced != nullptr) unlinkAttribute(replaced);
  linkAttribute(newAttr);
  return replaced;
}

CDOMAttribute* CDOMElement::removeAttributeNodeNS(CDOMAttribute* oldAttr) {
  if (oldAttr == nullptr) return nullptr;
  CDOMAttribute* found =
      oldAttr->parent_ == this ? oldAttr : findAttributeNS(oldAttr->getNamespaceURI(), oldAttr->getLocalName());
  if (found != nullptr) unlinkAttribute(found);
  return found;
}

bool CDOMElement::hasAttributeNS(const char16_t* namespaceURI, const char16_t* localName) const {
  return findAttributeNS(namespaceURI, localName) != nullptr;
}

void CDOMElement::copyAttributes(const CDOMElement* source) {
  if (source == nullptr) return;
  // Stop at the source's last attribute as it is now: copying an element onto itself
  // may add attributes to the list being read.
  const CDOMNode* last = LastOf(source->firstAttribute_);
  for (const CDOMAttribute* attribute = source->getFirstAttribute(); attribute != nullptr;
       attribute = NextAttribute(attribute)) {
    setAttributeNS(attribute->getNamespaceURI(), attribute->getNodeName(), attribute->getNodeValue());
    if (attribute == last) break;
  }
}

// --- Searches ---------------------------------------------------------------------------

CDOMNodeList* CDOMElement::getElementsByTagName(const char16_t* name) const {
  return CollectElementsByTagName(this, firstChild_, name);
}

CDOMNodeList* CDOMElement::getElementsByTagNameNS(const char16_t* namespaceURI, const char16_t* localName) const {
  return CollectElementsByTagNameNS(this, firstChild_, namespaceURI, localName);
}

bool CDOMElement::matchesNS(const char16_t* namespaceURI, const char16_t* localName) const {
  return localName != nullptr && namespaceURIMatches(namespaceURI) && getNameRecord()->getLocalName() == localName;
}

}  // namespace quillet::xml
