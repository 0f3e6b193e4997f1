#include "quillet/xml/SAXReader.h"

#include "xml/common/U16String.h"
#include "xml/reader/XMLParser.h"

namespace quillet::xml {

namespace {

const std::u16string& yesText() {
  static const std::u16string text = u"Yes";
  return text;
}
const std::u16string& noText() {
  static const std::u16string text = u"No";
  return text;
}

bool sameName(const std::u16string& name, const char16_t* known) {
  return EqualsIgnoreAsciiCase(name, std::u16string(known));
}

}  // namespace

CSAXReader::CSAXReader() : parser_(std::make_unique<CXMLParser>()) {}

CSAXReader::~CSAXReader() = default;

void CSAXReader::parse(CByteSource& byteSource, bool unicodeDefault) { parser_->parse(byteSource, unicodeDefault); }

void CSAXReader::setContentHandler(CSAXContentHandler* handler) { parser_->contentHandler = handler; }
void CSAXReader::setDTDHandler(CSAXDTDHandler* handler) { parser_->dtdHandler = handler; }
void CSAXReader::setErrorHandler(CSAXErrorHandler* handler) { parser_->errorHandler = handler; }
void CSAXReader::setReservedHandler(void*) {}

CSAXContentHandler* CSAXReader::getContentHandler() const { return parser_->contentHandler; }
CSAXDTDHandler* CSAXReader::getDTDHandler() const { return parser_->dtdHandler; }
CSAXErrorHandler* CSAXReader::getErrorHandler() const { return parser_->errorHandler; }
void* CSAXReader::getReservedHandler() const { return nullptr; }

void CSAXReader::release() { delete this; }

CSAXLocator& CSAXReader::getLocator() { return *parser_; }

const XMLDeclInfo& CSAXReader::getDeclInfo() const { return parser_->declInfo; }

namespace {
[[noreturn]] void throwUnknown(const CXMLParser& parser, const char16_t* message) {
  throw CSAXParseException(message, -1, parser.getPublicId(), parser.getSystemId(), parser.getLineNumber(),
                           parser.getColumnNumber());
}
}  // namespace

void CSAXReader::setProperty(const std::u16string& name, const std::u16string& value) {
  const bool yes = EqualsIgnoreAsciiCase(value, yesText());
  if (sameName(name, kPropertyExpandCDATAIntoText)) {
    parser_->expandCDATA = yes;
  } else if (sameName(name, kPropertyPreserveSpace)) {
    parser_->preserveSpace = yes;
  } else {
    throwUnknown(*parser_, u"unknown property");
  }
}

const std::u16string& CSAXReader::getProperty(const std::u16string& name) const {
  if (sameName(name, kPropertyExpandCDATAIntoText)) return parser_->expandCDATA ? yesText() : noText();
  if (sameName(name, kPropertyPreserveSpace)) return parser_->preserveSpace ? yesText() : noText();
  throwUnknown(*parser_, u"unknown property");
}

void CSAXReader::setFeature(const std::u16string& name, bool on) {
  if (sameName(name, kFeatureNamespaces) || sameName(name, kFeatureNamespacePrefixes)) {
    parser_->namespaces = on;
  } else if (sameName(name, kFeatureAllowInlineEncodingDetection)) {
    parser_->inlineEncoding = on;
  } else {
    throwUnknown(*parser_, u"unknown feature");
  }
}

bool CSAXReader::getFeature(const std::u16string& name) const {
  if (sameName(name, kFeatureNamespaces) || sameName(name, kFeatureNamespacePrefixes)) return parser_->namespaces;
  // The inline-encoding switch can be set but deliberately not read back.
  throwUnknown(*parser_, u"unknown feature");
}

}  // namespace quillet::xml
