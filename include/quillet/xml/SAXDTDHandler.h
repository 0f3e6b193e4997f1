// What the reader reports about a document type declaration.
#ifndef QUILLET_XML_SAXDTDHANDLER_H
#define QUILLET_XML_SAXDTDHANDLER_H

#include <string>

#include "quillet/export.h"

namespace quillet::xml {

// Every operation does nothing by default. The calls come in document order, among
// the content handler's (comments and processing instructions of the internal
// subset). Identifiers the declaration does not give are "".
class QUILLET_API CSAXDTDHandler {
 public:
  virtual ~CSAXDTDHandler() = default;
  // For each notation declaration of the internal subset, as it is read.
  virtual void notationDecl(const std::u16string& /*name*/, const std::u16string& /*publicId*/,
                            const std::u16string& /*systemId*/) {}
  // For each general entity declared with NDATA, as it is read (every declaration,
  // even of a name declared before).
  virtual void unparsedEntityDecl(const std::u16string& /*name*/, const std::u16string& /*publicId*/,
                                  const std::u16string& /*systemId*/, const std::u16string& /*notationName*/) {}
  // Once per document type declaration, as soon as its name has been read.
  virtual void doctypeDecl(const std::u16string& /*name*/) {}
};

}  // namespace quillet::xml

#endif
