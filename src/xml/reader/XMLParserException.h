// The reader's internal error signal.
#ifndef QUILLET_XML_READER_XMLPARSEREXCEPTION_H
#define QUILLET_XML_READER_XMLPARSEREXCEPTION_H

namespace quillet::xml {

// Raised by the grammar with a numeric code (after storing a message where the error
// has one); `parse` turns it into CSAXParseException, so it never leaves the reader.
class AXMLParserException {
 public:
  explicit AXMLParserException(int code) : code_(code) {}
  int getCode() const { return code_; }

 private:
  int code_;
};

}  // namespace quillet::xml

#endif
