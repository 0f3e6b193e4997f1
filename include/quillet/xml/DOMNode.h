// The base of every node of the document tree.
//
// A tree is made of nodes linked to their parent, their first and last child and their
// previous and next sibling; every node also knows the document that created it. Nodes
// are handled through plain pointers and told apart by getNodeType. There is no
// reference counting and the tree checks nothing when it is linked: ownership follows
// the links. A node created by a document's factory operations, or unlinked by
// removeChild, belongs to the caller until it is linked again, and ends with release(),
// which destroys its whole subtree.
//
// Texts are NUL-terminated UTF-16. A getter's pointer stays valid until that value of the
// node changes or the node is destroyed. Where a node holds no text the getters return a
// shared empty text, never null, except where an operation says it returns null. Setters
// copy their argument; a null argument stores the empty text.
#ifndef QUILLET_XML_DOMNODE_H
#define QUILLET_XML_DOMNODE_H

#include <string>

#include "quillet/export.h"

namespace quillet::xml {

class CDOMAttributeMap;
class CDOMDocument;
class CDOMNodeList;

// The node type codes returned by getNodeType (those of the W3C DOM; 6, 11 and 12 have
// no kind here).
enum DOMNodeType : int {
  DOMNodeTypeElement = 1,
  DOMNodeTypeAttribute = 2,
  DOMNodeTypeText = 3,
  DOMNodeTypeCDATASection = 4,
  DOMNodeTypeEntityReference = 5,
  DOMNodeTypeProcessingInstruction = 7,
  DOMNodeTypeComment = 8,
  DOMNodeTypeDocument = 9,
  DOMNodeTypeDocumentType = 10
};

class QUILLET_API CDOMNode {
 public:
  CDOMNode(const CDOMNode&) = delete;
  CDOMNode& operator=(const CDOMNode&) = delete;

  // --- Children -----------------------------------------------------------------------

  // Links newChild as the last child and returns it. Refused (null, nothing changes):
  // a null newChild, this node itself, a node that is still linked (a child elsewhere,
  // or an attribute of an element; unlink it with removeChild first), and a node made by
  // another document. Kinds are not checked, and newChild must not be an ancestor of
  // this node. A document
  // refuses a second element child and makes its first element child the document
  // element.
  virtual CDOMNode* appendChild(CDOMNode* newChild);

  // Links newChild just before refChild and returns it. A null refChild appends (with
  // the document's rule); null when newChild is refused as by appendChild or refChild is
  // not a child of this node. An element inserted into a document this way never becomes its document
  // element.
  CDOMNode* insertBefore(CDOMNode* newChild, CDOMNode* refChild);

  // Unlinks oldChild and hands it back to the caller, who now owns it; null when it is
  // not a child of this node. The removed node keeps its subtree and loses its siblings
  // and parent. Removing a document's document element leaves the document without one.
  virtual CDOMNode* removeChild(CDOMNode* oldChild);

  bool hasChildNodes() const { return firstChild_ != nullptr; }
  CDOMNode* getFirstChild() const { return firstChild_; }
  CDOMNode* getLastChild() const { return lastChild_; }
  CDOMNode* getPreviousSibling() const { return previousSibling_; }
  CDOMNode* getNextSibling() const { return nextSibling_; }
  // The parent; for an attribute, the element it belongs to (null when free).
  CDOMNode* getParentNode() const { return parent_; }
  // The document that created this node; null for a document.
  CDOMDocument* getOwnerDocument() const { return ownerDocument_; }

  // A new snapshot list of the children, cursor at the first; the caller releases it.
  CDOMNodeList* getChildNodes() const;

  // --- Kind, name and value -----------------------------------------------------------

  virtual int getNodeType() const = 0;
  // The qualified name of an element or attribute, the target of a processing
  // instruction, the name of an entity reference or document type, otherwise one of
  // "#text", "#cdata-section", "#comment", "#document".
  virtual const char16_t* getNodeName() const = 0;
  // The value of an attribute, the data of text, CDATA section, comment and processing
  // instruction; "" for the other kinds.
  virtual const char16_t* getNodeValue() const;
  // Sets what getNodeValue returns; does nothing for the kinds without a value.
  virtual void setNodeValue(const char16_t* value);

  // The attribute map of an element (made on first call, owned by the element); null
  // for every other kind.
  virtual CDOMAttributeMap* getAttributes();

  // Clears out and fills it with the node's text: for an element, the values of its
  // direct text and CDATA section children in order (nothing deeper); for the other
  // kinds, getNodeValue. Returns out's text.
  virtual const char16_t* getText(std::u16string& out) const;
  // For an element, the first direct text or CDATA section child takes the value (the
  // others keep theirs), or a new text node is appended when there is none; for the
  // other kinds, setNodeValue.
  virtual void setText(const char16_t* value);

  // Clears out and fills it with the node and its subtree as XML text, laid out as the
  // writer lays out a file (one node per line, tabs, CR LF) from depth 0, without a
  // declaration; a document gives all its top-level nodes. Returns out's text.
  const char16_t* getXML(std::u16string& out) const;

  // --- Namespaces (element and attribute; null for the other kinds) ------------------

  // The namespace URI; "" for an element or attribute that has none.
  virtual const char16_t* getNamespaceURI() const;
  virtual const char16_t* getPrefix() const;
  virtual const char16_t* getLocalName() const;
  // Renames an element or attribute by replacing the prefix (or the local name). The
  // qualified name becomes prefix ":" local name, or the local name alone when the
  // prefix is empty; after setPrefix a node whose local name is empty gets the empty
  // qualified name. Other nodes of the same name keep theirs; the namespace URI stays.
  virtual void setPrefix(const char16_t* prefix);
  virtual void setLocalName(const char16_t* localName);

  // --- Lifetime -------------------------------------------------------------------------

  // Destroys this node and everything it owns (children, and an element's attributes),
  // however deep the subtree. A node that is still linked is unlinked first.
  virtual void release();

 protected:
  explicit CDOMNode(CDOMDocument* ownerDocument) : ownerDocument_(ownerDocument) {}
  // Frees what the node itself holds; its children are destroyed by release().
  virtual ~CDOMNode();

  // Whether newChild may be linked under this node: not null, not this node, not linked,
  // made by this node's document.
  bool canLink(const CDOMNode* newChild) const;
  // Links newChild as the last child without any kind's rule (refused as canLink says).
  CDOMNode* linkLastChild(CDOMNode* newChild);
  // Whether node is one of this node's children.
  bool isChild(const CDOMNode* node) const;
  // Destroys every child (for nodes that own more than their subtree).
  void destroyChildren();

  // The two doubly linked lists of the tree, children and an element's attributes, share
  // these: link node at the end of the list first..last, with parent as its parent; and
  // unlink node from that list, leaving it without parent and siblings.
  static void linkAtEnd(CDOMNode*& first, CDOMNode*& last, CDOMNode* parent, CDOMNode* node);
  static void unlinkFrom(CDOMNode*& first, CDOMNode*& last, CDOMNode* node);

 private:
  friend class CDOMElement;
  friend class CDOMTreeWalker;

  // Destroys root and every node it owns, without recursion.
  static void destroySubtree(CDOMNode* root);

  // Each node takes six pointers beside its virtual table: nodes are many, keep them so.
  CDOMNode* parent_ = nullptr;
  CDOMNode* lastChild_ = nullptr;
  CDOMNode* previousSibling_ = nullptr;
  CDOMNode* nextSibling_ = nullptr;
  CDOMDocument* ownerDocument_;
  CDOMNode* firstChild_ = nullptr;
};

}  // namespace quillet::xml

#endif
