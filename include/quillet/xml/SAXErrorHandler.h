// Where the reader reports the error that ends a parse.
#ifndef QUILLET_XML_SAXERRORHANDLER_H
#define QUILLET_XML_SAXERRORHANDLER_H

#include "quillet/export.h"
#include "quillet/xml/SAXException.h"

namespace quillet::xml {

// The reader calls only `fatalError`, once, with the exception it then throws out of
// `parse` whatever the handler does. Every operation does nothing by default.
class QUILLET_API CSAXErrorHandler {
 public:
  virtual ~CSAXErrorHandler() = default;
  virtual void warning(const CSAXParseException& /*exception*/) {}
  virtual void error(const CSAXParseException& /*exception*/) {}
  virtual void fatalError(const CSAXParseException& /*exception*/) {}
};

}  // namespace quillet::xml

#endif
