// A document: the root of a tree, the factory of its nodes and the owner of its names.
#ifndef QUILLET_XML_DOMDOCUMENT_H
#define QUILLET_XML_DOMDOCUMENT_H

#include <memory>
#include <string_view>
#include <unordered_map>

#include "quillet/xml/DOMDocumentType.h"
#include "quillet/xml/DOMNameRecord.h"
#include "quillet/xml/DOMNode.h"

namespace quillet::xml {

class CDOMAttribute;
class CDOMAttributeMap;
class CDOMCDATASection;
class CDOMComment;
class CDOMElement;
class CDOMEntityReference;
class CNodeArena;
class CDOMProcessingInstruction;
class CDOMText;

// A new document is empty: no children, no document element, a document type node
// without a name and no names. Create one with new and end it with release(), which
// destroys every node linked into it and every interned name, but not the nodes made
// from it that are not linked (those belong to whoever holds them).
//
// Every create operation returns a new, unlinked node owned by the caller whose owner
// document is this one; a null text argument stores "". Element and attribute names are
// interned: all elements and attributes of one document that bear the same qualified
// name share one CDOMNameRecord.
//
// The document element is set only by appendChild, by the first element appended; a
// second element is refused. removeChild of the document element clears it.
class QUILLET_API CDOMDocument : public CDOMNode {
 public:
  CDOMDocument();
  // A document itself comes from the ordinary heap (its nodes do not).
  static void* operator new(size_t size) { return ::operator new(size); }
  static void operator delete(void* document) noexcept { ::operator delete(document); }

  int getNodeType() const override { return DOMNodeTypeDocument; }
  // A document belongs to none: null.
  CDOMDocument* getOwnerDocument() const override;
  const char16_t* getNodeName() const override { return u"#document"; }
  CDOMNode* appendChild(CDOMNode* newChild) override;
  CDOMNode* removeChild(CDOMNode* oldChild) override;

  // The document type node (never null, never a child).
  CDOMDocumentType* getDoctype() { return &doctype_; }
  CDOMElement* getDocumentElement() const { return documentElement_; }

  // An element without a namespace URI (getNamespaceURI gives "").
  CDOMElement* createElement(const char16_t* tagName);
  CDOMComment* createComment(const char16_t* data);
  // An attribute without a value (reads "") and without an owner element.
  CDOMAttribute* createAttribute(const char16_t* name);
  CDOMText* createTextNode(const char16_t* data);
  CDOMProcessingInstruction* createProcessingInstruction(const char16_t* target, const char16_t* data);
  CDOMCDATASection* createCDATASection(const char16_t* data);
  CDOMEntityReference* createEntityReference(const char16_t* name);
  // createElement, then setNamespaceURI (so a null namespaceURI gives "").
  CDOMElement* createElementNS(const char16_t* namespaceURI, const char16_t* qualifiedName);
  // createAttribute, then setNamespaceURI.
  CDOMAttribute* createAttributeNS(const char16_t* namespaceURI, const char16_t* qualifiedName);

  // A new list of the document element and its descendants, then the later children of
  // the document, whose tag name is tagName, in document order; empty without a
  // document element. The caller releases it.
  CDOMNodeList* getElementsByTagName(const char16_t* tagName) const;
  // The same walk, keeping the elements that pass CDOMElement::matchesNS.
  CDOMNodeList* getElementsByTagNameNS(const char16_t* namespaceURI, const char16_t* localName) const;

  // The record of a qualified name, made and added on first use.
  const CDOMNameRecord* internName(const char16_t* qualifiedName);
  // The record a node named by current gets from setPrefix (prefix) or setLocalName
  // (localName): looked up by the rebuilt qualified name, added when new.
  const CDOMNameRecord* internWithPrefix(const CDOMNameRecord* current, const char16_t* prefix);
  const CDOMNameRecord* internWithLocalName(const CDOMNameRecord* current, const char16_t* localName);
  // The record of current's name with the namespace URI `uri` (null: none).
  const CDOMNameRecord* internWithURI(const CDOMNameRecord* current, const char16_t* uri);
  // The same for a URI a node is given (setNamespaceURI, the NS factories): null gives
  // "", since only a node never given a URI has none.
  const CDOMNameRecord* internGivenURI(const CDOMNameRecord* current, const char16_t* uri) {
    return internWithURI(current, uri != nullptr ? uri : u"");
  }
  // Number of distinct names interned so far.
  size_t getNameCount() const { return nameTable_.size(); }

 protected:
  ~CDOMDocument() override;

 private:
  friend class CDOMElement;

  // The attribute map of an element, made on first use and kept here rather than in
  // every element (few elements are ever asked for one); and its end, when the
  // element goes.
  CDOMAttributeMap* attributeMapOf(CDOMElement* element);
  void dropAttributeMap(const CDOMElement* element) {
    if (!attributeMaps_.empty()) eraseAttributeMap(element);
  }
  void eraseAttributeMap(const CDOMElement* element);

  // The record in the table under record's qualified name, or record itself, added.
  const CDOMNameRecord* intern(CDOMNameRecord record);
  // A new attribute with its value, as createAttribute and then setNodeValue.
  CDOMAttribute* createAttributeWithValue(const char16_t* name, const char16_t* value);
  // A new node of type Node in the document's arena: Node(this, args...).
  template <typename Node, typename... Args>
  Node* makeNode(Args... args);
  // The same for a node holding a text: Node(this, stored text, args...), the text
  // stored in the node's own block when it is short enough.
  template <typename Node, typename... Args>
  Node* makeNodeWithText(const char16_t* text, Args... args);

  // The memory the document's nodes are placed in: made with the document, and gone
  // with it, or with the last of its nodes that outlives it.
  std::unique_ptr<CNodeArena> arena_;

  CDOMElement* documentElement_ = nullptr;
  // Before doctype_, so that the maps are still there while its children go.
  struct AttributeMapDeleter {
    void operator()(CDOMAttributeMap* map) const;
  };
  std::unordered_map<const CDOMElement*, std::unique_ptr<CDOMAttributeMap, AttributeMapDeleter>> attributeMaps_;
  CDOMDocumentType doctype_;
  // Keyed by each record's own qualified name, so lookups need no temporary string.
  std::unordered_map<std::u16string_view, std::unique_ptr<CDOMNameRecord>> nameTable_;
  // Records of the table looked up lately (internName); records live as long as the
  // document, so the slots never dangle.
  static constexpr size_t kNameCacheSlots = 64;
  const CDOMNameRecord* nameCache_[kNameCacheSlots] = {};
};

}  // namespace quillet::xml

#endif
