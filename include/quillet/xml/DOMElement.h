// An element: a named node with attributes and children.
#ifndef QUILLET_XML_DOMELEMENT_H
#define QUILLET_XML_DOMELEMENT_H

#include "quillet/xml/DOMNamedNode.h"

namespace quillet::xml {

class CDOMAttribute;

// Attributes are kept in a list in order of addition (getFirstAttribute, then each
// attribute's getNextSibling). They are found by qualified name (exact, case-sensitive)
// or by namespace URI and local name, where "" matches an attribute without a namespace
// URI and a null argument matches nothing. An attribute removed by an operation that
// returns it belongs to the caller; removeAttribute and removeAttributeNS destroy it.
class QUILLET_API CDOMElement : public CDOMNamedNode {
 public:
  int getNodeType() const override { return DOMNodeTypeElement; }
  // The element's attribute map, kept by its document: null once the document is gone
  // (a map taken earlier goes with the document too).
  CDOMAttributeMap* getAttributes() override;
  const char16_t* getText(std::u16string& out) const override;
  void setText(const char16_t* value) override;

  const char16_t* getTagName() const { return getNodeName(); }

  // --- Attributes by qualified name -----------------------------------------------------

  // Gives the attribute named name the value, creating it at the end of the list when
  // there is none (an existing one keeps its place). Returns the attribute.
  CDOMAttribute* setAttribute(const char16_t* name, const char16_t* value);
  // The value of the attribute named name; "" when there is none.
  const char16_t* getAttribute(const char16_t* name) const;
  // Removes and destroys the first attribute named name, if any.
  void removeAttribute(const char16_t* name);
  CDOMAttribute* getAttributeNode(const char16_t* name) const;
  // Links a free attribute at the end of the list. An attribute of the same qualified
  // name is unlinked first and returned (the caller owns it); otherwise null. An
  // attribute that already belongs to an element, or that another document made, is
  // refused: null, nothing changes.
  CDOMAttribute* setAttributeNode(CDOMAttribute* newAttr);
  // Unlinks the attribute named like oldAttr (oldAttr itself when it belongs to this
  // element) and returns it, owned by the caller; null when there is none. A free oldAttr
  // may thus take a linked attribute of its name out.
  CDOMAttribute* removeAttributeNode(CDOMAttribute* oldAttr);
  bool hasAttribute(const char16_t* name) const;

  // --- Attributes by namespace URI and local name ------------------------------------------

  // The value of the matching attribute, or null when there is none.
  const char16_t* getAttributeNS(const char16_t* namespaceURI, const char16_t* localName) const;
  // Sets the value of the attribute matching namespaceURI and the local part of
  // qualifiedName (its name stays as it was); when there is none, a new attribute named
  // prefix ":" local name (or the local name alone) is added at the end.
  void setAttributeNS(const char16_t* namespaceURI, const char16_t* qualifiedName, const char16_t* value);
  // Removes and destroys the matching attribute, if any.
  void removeAttributeNS(const char16_t* namespaceURI, const char16_t* localName);
  CDOMAttribute* getAttributeNodeNS(const char16_t* namespaceURI, const char16_t* localName) const;
  // As setAttributeNode, replacing the attribute with newAttr's namespace URI and local
  // name.
  CDOMAttribute* setAttributeNodeNS(CDOMAttribute* newAttr);
  // As removeAttributeNode, finding the attribute by oldAttr's namespace URI and local
  // name.
  CDOMAttribute* removeAttributeNodeNS(CDOMAttribute* oldAttr);
  bool hasAttributeNS(const char16_t* namespaceURI, const char16_t* localName) const;

  // --- The list -------------------------------------------------------------------------

  CDOMAttribute* getFirstAttribute() const;
  bool hasAttributes() const { return firstAttribute_ != nullptr; }
  // setAttributeNS of each of source's attributes (namespace URI, qualified name,
  // value), in order.
  void copyAttributes(const CDOMElement* source);

  // --- Searches -------------------------------------------------------------------------

  // A new list of the descendants (not this element) whose tag name is name, in document
  // order; the caller releases it.
  CDOMNodeList* getElementsByTagName(const char16_t* name) const;
  // A new list of the descendant elements that match namespaceURI and localName (see
  // MatchesNS); the caller releases it.
  CDOMNodeList* getElementsByTagNameNS(const char16_t* namespaceURI, const char16_t* localName) const;
  // Whether this element matches a namespace search: an element with a namespace URI
  // (even "") needs an equal, non-null namespaceURI; one without needs null or "". The
  // local name must equal localName, which must not be null.
  bool matchesNS(const char16_t* namespaceURI, const char16_t* localName) const;

 private:
  friend class CDOMAttributeMap;
  friend class CDOMDocument;
  friend class CDOMNode;
  friend class CDOMTreeBuilder;
  explicit CDOMElement(const CDOMNameRecord* name);
  ~CDOMElement() override;

  CDOMAttribute* findAttribute(const char16_t* name) const;
  // A new attribute linked at the end without looking for one of the same name: for a
  // caller that knows there is none.
  CDOMAttribute* appendNewAttribute(const char16_t* name, const char16_t* value);
  CDOMAttribute* findAttributeNS(const char16_t* namespaceURI, const char16_t* localName) const;
  bool canLinkAttribute(const CDOMAttribute* attribute) const;
  void linkAttribute(CDOMAttribute* attribute);
  void unlinkAttribute(CDOMAttribute* attribute);
  // Puts the attribute list in front of the children, for the release walk.
  void moveAttributesToChildren();

  // The attribute list (held as nodes, as the child list is).
  CDOMNode* firstAttribute_ = nullptr;
};

}  // namespace quillet::xml

#endif
