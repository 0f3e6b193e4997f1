// Where the reader is in the document, for handlers that want to know.
#ifndef QUILLET_XML_SAXLOCATOR_H
#define QUILLET_XML_SAXLOCATOR_H

#include <string>

#include "quillet/export.h"

namespace quillet::xml {

// Handed to the content handler's `setDocumentLocator` at the start of each parse;
// valid until the reader is destroyed. The line and column are those of the next
// character the reader will read (both start at 1). The identifiers are always empty.
class QUILLET_API CSAXLocator {
 public:
  virtual ~CSAXLocator() = default;
  virtual const std::u16string& getPublicId() const = 0;
  virtual const std::u16string& getSystemId() const = 0;
  virtual int getLineNumber() const = 0;
  virtual int getColumnNumber() const = 0;
};

}  // namespace quillet::xml

#endif
