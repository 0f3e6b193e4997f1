// A processing instruction (the XML declaration is kept as one with the target "xml").
#ifndef QUILLET_XML_DOMPROCESSINGINSTRUCTION_H
#define QUILLET_XML_DOMPROCESSINGINSTRUCTION_H

#include "quillet/xml/DOMCharacterData.h"

namespace quillet::xml {

// Its node name is the target and its node value the data; the character-data edits
// work on the data.
class QUILLET_API CDOMProcessingInstruction : public CDOMCharacterData {
 public:
  int getNodeType() const override { return DOMNodeTypeProcessingInstruction; }
  const char16_t* getNodeName() const override { return target_; }

  const char16_t* getTarget() const { return target_; }
  const char16_t* getData() const { return getNodeValue(); }
  void setData(const char16_t* data) { setNodeValue(data); }

 private:
  friend class CDOMDocument;
  // `data` is already stored for the node (see CDOMCharacterData); `target` is copied.
  CDOMProcessingInstruction(const char16_t* data, const char16_t* target);
  ~CDOMProcessingInstruction() override;

  const char16_t* target_;
};

}  // namespace quillet::xml

#endif
