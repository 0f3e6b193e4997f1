// The exceptions the reader lets out of its operations.
#ifndef QUILLET_XML_SAXEXCEPTION_H
#define QUILLET_XML_SAXEXCEPTION_H

#include <string>
#include <utility>

#include "quillet/export.h"

namespace quillet::xml {

// An error with a message and a numeric code. The code is -1 when the error did not
// come from the grammar (an unknown feature or property name, for instance).
class QUILLET_API CSAXException {
 public:
  CSAXException(std::u16string message, int code) : message_(std::move(message)), code_(code) {}
  virtual ~CSAXException() = default;

  const std::u16string& getMessage() const { return message_; }
  int getCode() const { return code_; }

 private:
  std::u16string message_;
  int code_;
};

// An error at a place in a document: what `CSAXReader::parse` throws for every
// grammar error, after handing the same object to the error handler's `fatalError`.
// The message may be empty: several grammar errors carry only their code.
class QUILLET_API CSAXParseException : public CSAXException {
 public:
  CSAXParseException(std::u16string message, int code, std::u16string publicId, std::u16string systemId,
                     int line, int column)
      : CSAXException(std::move(message), code),
        publicId_(std::move(publicId)),
        systemId_(std::move(systemId)),
        line_(line),
        column_(column) {}

  const std::u16string& getPublicId() const { return publicId_; }
  const std::u16string& getSystemId() const { return systemId_; }
  int getLineNumber() const { return line_; }
  int getColumnNumber() const { return column_; }

 private:
  std::u16string publicId_;
  std::u16string systemId_;
  int line_;
  int column_;
};

}  // namespace quillet::xml

#endif
