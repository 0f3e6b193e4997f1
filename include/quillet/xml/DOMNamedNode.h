// What elements and attributes share: an interned name and a namespace URI.
#ifndef QUILLET_XML_DOMNAMEDNODE_H
#define QUILLET_XML_DOMNAMEDNODE_H

#include "quillet/xml/DOMNode.h"

namespace quillet::xml {

class CDOMNameRecord;

// The name is a CDOMNameRecord interned in the owner document and shared with every
// node of that document bearing the same qualified name; renaming points the node at
// another record. The namespace URI belongs to the node: none until set (read as ""),
// and a set URI is kept even when it is "".
class QUILLET_API CDOMNamedNode : public CDOMNode {
 public:
  // The qualified name.
  const char16_t* getNodeName() const override;
  // The namespace URI; "" when the node has none.
  const char16_t* getNamespaceURI() const override;
  const char16_t* getPrefix() const override;
  const char16_t* getLocalName() const override;
  void setPrefix(const char16_t* prefix) override;
  void setLocalName(const char16_t* localName) override;

  // Gives the node the namespace URI uri (null gives "").
  void setNamespaceURI(const char16_t* uri);
  // The interned name record.
  const CDOMNameRecord* getNameRecord() const { return name_; }

 protected:
  explicit CDOMNamedNode(const CDOMNameRecord* name) : name_(name) {}
  ~CDOMNamedNode() override;

  // Whether a namespace search's namespaceURI matches this node's URI: a set URI (even
  // "") needs an equal non-null argument, no URI needs null or "".
  bool namespaceURIMatches(const char16_t* namespaceURI) const;

 private:
  const CDOMNameRecord* name_;
};

}  // namespace quillet::xml

#endif
