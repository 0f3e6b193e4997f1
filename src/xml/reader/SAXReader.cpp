#include "quillet/xml/SAXReader.h"

#include <cstdint>

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

// A cap's value: decimal digits only, at most 2147483647.
bool parseCap(const std::u16string& text, std::size_t& value) {
  constexpr std::uint64_t kMax = 2147483647;
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t number = 0;  // ten digits fit in 64 bits (unsigned long is 32 on Windows)
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    number = number * 10 + static_cast<std::uint64_t>(c - u'0');
  }
  if (number > kMax) return false;
  value = static_cast<std::size_t>(number);
  return true;
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
[[noreturn]] void refuse(const CXMLParser& parser, const char16_t* message) {
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
  } else if (sameName(name, kPropertyMaxEntityValueLength)) {
    if (!parseCap(value, parser_->maxEntityValueLength)) refuse(*parser_, u"invalid property value");
  } else if (sameName(name, kPropertyMaxEntityExpansion)) {
    if (!parseCap(value, parser_->maxEntityExpansion)) refuse(*parser_, u"invalid property value");
  } else {
    refuse(*parser_, u"unknown property");
  }
}

const std::u16string& CSAXReader::getProperty(const std::u16string& name) const {
  if (sameName(name, kPropertyExpandCDATAIntoText)) return parser_->expandCDATA ? yesText() : noText();
  if (sameName(name, kPropertyPreserveSpace)) return parser_->preserveSpace ? yesText() : noText();
  std::size_t cap = 0;
  if (sameName(name, kPropertyMaxEntityValueLength)) {
    cap = parser_->maxEntityValueLength;
  } else if (sameName(name, kPropertyMaxEntityExpansion)) {
    cap = parser_->maxEntityExpansion;
  } else {
    refuse(*parser_, u"unknown property");
  }
  parser_->propertyText = U16FromAscii(std::to_string(cap).c_str());
  return parser_->propertyText;
}

void CSAXReader::setFeature(const std::u16string& name, bool on) {
  if (sameName(name, kFeatureNamespaces) || sameName(name, kFeatureNamespacePrefixes)) {
    parser_->namespaces = on;
  } else if (sameName(name, kFeatureAllowInlineEncodingDetection)) {
    parser_->inlineEncoding = on;
  } else {
    refuse(*parser_, u"unknown feature");
  }
}

bool CSAXReader::getFeature(const std::u16string& name) const {
  if (sameName(name, kFeatureNamespaces) || sameName(name, kFeatureNamespacePrefixes)) return parser_->namespaces;
  // The inline-encoding switch can be set but deliberately not read back.
  refuse(*parser_, u"unknown feature");
}

}  // namespace quillet::xml
