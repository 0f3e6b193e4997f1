// A reference to an entity that was kept unexpanded.
#ifndef QUILLET_XML_DOMENTITYREFERENCE_H
#define QUILLET_XML_DOMENTITYREFERENCE_H

#include "quillet/xml/DOMNode.h"

namespace quillet::xml {

// Its node name is the entity name; it has no value.
class QUILLET_API CDOMEntityReference : public CDOMNode {
 public:
  int getNodeType() const override { return DOMNodeTypeEntityReference; }
  const char16_t* getNodeName() const override { return name_; }

 private:
  friend class CDOMDocument;
  explicit CDOMEntityReference(const char16_t* name);
  ~CDOMEntityReference() override;

  const char16_t* name_;
};

}  // namespace quillet::xml

#endif
