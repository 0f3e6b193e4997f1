// What the reader reports about a document's content.
#ifndef QUILLET_XML_SAXCONTENTHANDLER_H
#define QUILLET_XML_SAXCONTENTHANDLER_H

#include <string>

#include "quillet/export.h"
#include "quillet/xml/SAXAttributes.h"
#include "quillet/xml/SAXLocator.h"

namespace quillet::xml {

// Receives the content events of a parse in document order. Every operation does
// nothing by default, so a handler overrides only what it needs. Texts passed by
// reference and character pointers are valid only during the call.
class QUILLET_API CSAXContentHandler {
 public:
  virtual ~CSAXContentHandler() = default;

  // After `setDocumentLocator`, at the start of every parse.
  virtual void startDocument() {}
  // After a parse that ended without error.
  virtual void endDocument() {}
  // For each namespace declaration of a start tag, before its `startElement`; the
  // prefix is empty for the default namespace.
  virtual void startPrefixMapping(const char16_t* /*prefix*/, const char16_t* /*uri*/) {}
  // For each such declaration, after the element's `endElement`.
  virtual void endPrefixMapping(const char16_t* /*prefix*/) {}
  // For each start tag and empty-element tag. With namespace processing off the
  // namespace name and local name are empty.
  virtual void startElement(const std::u16string& /*uri*/, const std::u16string& /*localName*/,
                            const std::u16string& /*qName*/, const CSAXAttributes& /*attributes*/) {}
  // For each end tag, and right after `startElement` for an empty-element tag.
  virtual void endElement(const std::u16string& /*uri*/, const std::u16string& /*localName*/,
                          const std::u16string& /*qName*/) {}
  // For each processing instruction, and for the XML declaration (target "xml").
  virtual void processingInstruction(const std::u16string& /*target*/, const std::u16string& /*data*/) {}
  // One run of character data: `length` (never 0) characters from chars[start];
  // `start` is always 0.
  virtual void characters(const char16_t* /*chars*/, int /*start*/, int /*length*/) {}
  // First call of every parse.
  virtual void setDocumentLocator(CSAXLocator* /*locator*/) {}
  // Never called by the reader.
  virtual void ignorableWhitespace(const char16_t* /*chars*/, int /*start*/, int /*length*/) {}
  // Never called by the reader.
  virtual void reserved() {}
  // The text between "<!--" and "-->".
  virtual void comment(const std::u16string& /*text*/) {}
  // A CDATA section's text, while CDATA expansion is off.
  virtual void cdataSection(const std::u16string& /*text*/) {}
};

}  // namespace quillet::xml

#endif
