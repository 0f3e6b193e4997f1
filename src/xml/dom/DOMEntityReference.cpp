#include "quillet/xml/DOMEntityReference.h"

#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMEntityReference::CDOMEntityReference(CDOMDocument* ownerDocument, const char16_t* name)
    : CDOMNode(ownerDocument), name_(NodeTextCopy(name)) {}

CDOMEntityReference::~CDOMEntityReference() { NodeTextFree(name_); }

}  // namespace quillet::xml
