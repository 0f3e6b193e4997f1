// Reads an XML declaration's text one character at a time, without the reader: the
// writer uses it to find the encoding named by a document's own "xml" processing
// instruction.
#ifndef QUILLET_XML_OUTPUT_XMLDECLPARSER_H
#define QUILLET_XML_OUTPUT_XMLDECLPARSER_H

#include <string>

namespace quillet::xml {

// A state machine over "<?xml version=... encoding=... standalone=... ?>", with the
// attributes in that fixed order (encoding and standalone optional) and optional
// white space between them. One parser reads one declaration.
class CXMLDeclParser {
 public:
  // Results of a step (and of `feed`).
  enum Result {
    kContinue = 1,      // go on
    kOpened = 2,        // "<?xml " has been read
    kComplete = 3,      // the closing "?>" has been read
    kNotDecl = -1,      // the text does not start with "<?xml "
    kError = -2,        // malformed; getErrorMessage() says why
  };

  // Passes the characters of `text` to the state machine one by one, stopping early
  // when a step returns neither kContinue nor kOpened. Returns the last step's result
  // (kContinue for an empty text).
  int feed(const std::u16string& text);

  const std::u16string& getVersion() const { return version_; }
  const std::u16string& getEncoding() const { return encoding_; }
  const std::u16string& getStandalone() const { return standalone_; }
  const std::u16string& getErrorMessage() const { return errorMessage_; }

 private:
  int step(char16_t c);
  void enter(int state);
  void skipWhiteSpaceThen(int state);
  int fail(const std::u16string& message);

  int state_ = 0;
  int afterWhiteSpace_ = 0;
  size_t literalIndex_ = 0;
  char16_t quote_ = 0;
  std::u16string version_;
  std::u16string encoding_;
  std::u16string standalone_;
  std::u16string errorMessage_;
};

}  // namespace quillet::xml

#endif
