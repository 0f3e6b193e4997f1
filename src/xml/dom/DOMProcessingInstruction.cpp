#include "quillet/xml/DOMProcessingInstruction.h"

#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMProcessingInstruction::CDOMProcessingInstruction(const char16_t* data, const char16_t* target)
    : CDOMCharacterData(data), target_(NodeTextCopy(target)) {}

CDOMProcessingInstruction::~CDOMProcessingInstruction() { NodeTextFree(target_); }

}  // namespace quillet::xml
