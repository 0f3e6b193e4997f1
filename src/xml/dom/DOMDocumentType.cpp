#include "quillet/xml/DOMDocumentType.h"

#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMDocumentType::CDOMDocumentType(CDOMDocument* ownerDocument) : CDOMNode(ownerDocument), name_(kNodeEmptyText) {}

CDOMDocumentType::~CDOMDocumentType() {
  // Not part of its document's release walk (it is no child), so its children go here.
  destroyChildren();
  NodeTextFree(name_);
}

void CDOMDocumentType::setName(const char16_t* name) { NodeTextAssign(name_, name); }

}  // namespace quillet::xml
