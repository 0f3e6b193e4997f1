// The toolkit's event parser: reads one XML document from a byte source, checks its
// syntax and reports what it finds to the attached handlers.
#ifndef QUILLET_XML_SAXREADER_H
#define QUILLET_XML_SAXREADER_H

#include <cstddef>
#include <memory>
#include <string>

#include "quillet/export.h"
#include "quillet/xml/ByteSource.h"
#include "quillet/xml/SAXContentHandler.h"
#include "quillet/xml/SAXDTDHandler.h"
#include "quillet/xml/SAXErrorHandler.h"
#include "quillet/xml/SAXException.h"
#include "quillet/xml/SAXLocator.h"
#include "quillet/xml/XMLDeclInfo.h"

namespace quillet::xml {

class CXMLParser;

// Feature names. Both namespace features name one switch (default on): namespace
// processing and the prefix-mapping events.
inline constexpr char16_t kFeatureNamespaces[] = u"http://xml.org/sax/features/namespaces";
inline constexpr char16_t kFeatureNamespacePrefixes[] = u"http://xml.org/sax/features/namespace-prefixes";
// Default on: an encoding named in the XML declaration takes effect. Can be set but
// not read back ("unknown feature").
inline constexpr char16_t kFeatureAllowInlineEncodingDetection[] =
    u"http://quillet.invalid/sax/features/AllowInlineEncodingDetection";
// Property names; their values are "Yes" or "No". ExpandCDATAIntoText (default Yes):
// CDATA sections become character data instead of `cdataSection` events.
// PreserveSpace (default No): white space and line ends in element content reach the
// handler unchanged instead of being skipped and folded.
inline constexpr char16_t kPropertyExpandCDATAIntoText[] = u"ExpandCDATAIntoText";
inline constexpr char16_t kPropertyPreserveSpace[] = u"PreserveSpace";

// Entity expansion caps, in characters (UTF-16 code units); their values are decimal
// numbers from 0 to 2147483647. Entities expand where they are declared, so without
// caps ten entities of ten references each (the "billion laughs") would build a
// value of 10^9 characters. MaxEntityValueLength: the longest replacement text one
// entity may have. MaxEntityExpansion: how much text references to the document's
// own entities (not the five predefined ones) may produce in one parse, in entity
// values, content and attribute values together. Past either cap the parse fails
// with code 170 and a message naming the cap.
inline constexpr char16_t kPropertyMaxEntityValueLength[] = u"MaxEntityValueLength";
inline constexpr char16_t kPropertyMaxEntityExpansion[] = u"MaxEntityExpansion";
inline constexpr std::size_t kDefaultMaxEntityValueLength = 1000000;
inline constexpr std::size_t kDefaultMaxEntityExpansion = 4000000;

// Limits. Past each one the parse fails with code 110 and a message naming it. The
// nesting limit is the same with and without namespace processing, and far above any
// real collection; a save in safe mode refuses a tree it could not read back.
inline constexpr int kMaxElementDepth = 100000;  // elements open at once
inline constexpr int kMaxNameLength = 511;       // a name, or each part of a qualified name

// One reader parses any number of documents, one after another, keeping its
// handlers, features, properties and last error message between parses. It never
// owns its handlers or byte sources. Feature and property names, and the value
// "Yes", compare without regard to the case of ASCII letters.
class QUILLET_API CSAXReader {
 public:
  CSAXReader();
  virtual ~CSAXReader();
  CSAXReader(const CSAXReader&) = delete;
  CSAXReader& operator=(const CSAXReader&) = delete;

  // Parses one document. Input without a byte-order mark is read as UTF-8, or with
  // `unicodeDefault` as 16-bit little-endian text. A grammar error goes to the error
  // handler's `fatalError` and is then thrown as CSAXParseException (message, code,
  // line, column); `endDocument` is not called then. Exceptions of the handlers, and
  // std::bad_alloc, pass through unchanged.
  virtual void parse(CByteSource& byteSource, bool unicodeDefault);

  // Attach a handler, or detach it with null.
  virtual void setContentHandler(CSAXContentHandler* handler);
  virtual void setDTDHandler(CSAXDTDHandler* handler);
  virtual void setErrorHandler(CSAXErrorHandler* handler);
  // Accepted and ignored.
  virtual void setReservedHandler(void* handler);

  // Unknown names throw CSAXParseException "unknown property" / "unknown feature"
  // with code -1 (not reported to the error handler); the reader is unchanged. So
  // does a cap's value that is not a decimal number in range ("invalid property
  // value").
  virtual void setProperty(const std::u16string& name, const std::u16string& value);
  // For the switches, a reference to a shared "Yes" or "No" that lives as long as
  // the program; for a cap, its decimal value, valid until the next call of
  // getProperty or setProperty.
  virtual const std::u16string& getProperty(const std::u16string& name) const;
  virtual void setFeature(const std::u16string& name, bool on);
  virtual bool getFeature(const std::u16string& name) const;

  virtual CSAXContentHandler* getContentHandler() const;
  virtual CSAXDTDHandler* getDTDHandler() const;
  virtual CSAXErrorHandler* getErrorHandler() const;
  // Always null.
  virtual void* getReservedHandler() const;

  // Destroys the reader (it must have been created with new).
  virtual void release();

  // The reader's position, as handed to `setDocumentLocator`.
  CSAXLocator& getLocator();
  // What the last parse learnt of the input encoding and the XML declaration.
  const XMLDeclInfo& getDeclInfo() const;

 private:
  std::unique_ptr<CXMLParser> parser_;
};

}  // namespace quillet::xml

#endif
