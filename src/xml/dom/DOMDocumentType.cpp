#include "quillet/xml/DOMDocumentType.h"

#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMDocumentType::CDOMDocumentType(CDOMDocument* ownerDocument) : ownerDocument_(ownerDocument), name_(kNodeEmptyText) {}

CDOMDocument* CDOMDocumentType::getOwnerDocument() const { return ownerDocument_; }

CDOMDocumentType::~CDOMDocumentType() {
  // Not part of its document's release walk (it is no child), so its children go here.
  destroyChildren();
  NodeTextFree(name_);
}

void CDOMDocumentType::setName(const char16_t* name) { NodeTextAssign(name_, name); }

}  // namespace quillet::xml
