// The document type node that every document holds.
#ifndef QUILLET_XML_DOMDOCUMENTTYPE_H
#define QUILLET_XML_DOMDOCUMENTTYPE_H

#include "quillet/xml/DOMNode.h"

namespace quillet::xml {

// Part of its document (getDoctype), never one of its children: it lives exactly as
// long as the document, so release() on it does nothing. Its name is the one the DOCTYPE
// declaration gave, "" until set.
class QUILLET_API CDOMDocumentType : public CDOMNode {
 public:
  int getNodeType() const override { return DOMNodeTypeDocumentType; }
  const char16_t* getNodeName() const override { return name_; }
  // Kept in its document's own object, not among its nodes, so it holds its document.
  CDOMDocument* getOwnerDocument() const override;
  void release() override {}

  const char16_t* getName() const { return name_; }
  // Entities and notations are not kept: both null.
  CDOMNode* getEntities() const { return nullptr; }
  CDOMNode* getNotations() const { return nullptr; }
  void setName(const char16_t* name);

 private:
  friend class CDOMDocument;
  explicit CDOMDocumentType(CDOMDocument* ownerDocument);
  ~CDOMDocumentType() override;

  CDOMDocument* ownerDocument_;
  const char16_t* name_;
};

}  // namespace quillet::xml

#endif
