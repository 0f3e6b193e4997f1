// What the reader reports about a document type declaration.
#ifndef QUILLET_XML_SAXDTDHANDLER_H
#define QUILLET_XML_SAXDTDHANDLER_H

#include <string>

#include "quillet/export.h"

namespace quillet::xml {

// Every operation does nothing by default.
class QUILLET_API CSAXDTDHandler {
 public:
  virtual ~CSAXDTDHandler() = default;
  virtual void notationDecl(const std::u16string& /*name*/, const std::u16string& /*publicId*/,
                            const std::u16string& /*systemId*/) {}
  virtual void unparsedEntityDecl(const std::u16string& /*name*/, const std::u16string& /*publicId*/,
                                  const std::u16string& /*systemId*/, const std::u16string& /*notationName*/) {}
  // Once per document type declaration, as soon as its name has been read.
  virtual void doctypeDecl(const std::u16string& /*name*/) {}
};

}  // namespace quillet::xml

#endif
