#include "quillet/xml/DOMEntityReference.h"

#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMEntityReference::CDOMEntityReference(const char16_t* name) : name_(NodeTextCopy(name)) {}

CDOMEntityReference::~CDOMEntityReference() { NodeTextFree(name_); }

}  // namespace quillet::xml
