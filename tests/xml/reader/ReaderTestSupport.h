// Runs the reader over test input and records what it reports, as one compact line
// per event, so that tests compare whole event sequences.
#ifndef QUILLET_TESTS_XML_READER_READERTESTSUPPORT_H
#define QUILLET_TESTS_XML_READER_READERTESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXReader.h"

namespace quillet::xml::test {

// ASCII as it is; every other code unit as \uXXXX; a null text as "(null)".
inline std::string Show(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c >= 0x20 && c < 0x7F && c != u'\\') {
      out.push_back(static_cast<char>(c));
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}
inline std::string Show(const char16_t* text) { return text == nullptr ? "(null)" : Show(std::u16string_view(text)); }
inline std::string Show(const std::u16string& text) { return Show(std::u16string_view(text)); }

struct Recorder : CSAXContentHandler, CSAXDTDHandler, CSAXErrorHandler {
  std::vector<std::string> events;
  CSAXLocator* locator = nullptr;
  int fatalErrors = 0;
  int fatalCode = 0;
  int fatalLine = 0;
  int fatalColumn = 0;
  std::u16string fatalMessage;

  void setDocumentLocator(CSAXLocator* l) override {
    locator = l;
    events.push_back("locator");
  }
  void startDocument() override { events.push_back("startDocument"); }
  void endDocument() override { events.push_back("endDocument"); }
  void startPrefixMapping(const char16_t* prefix, const char16_t* uri) override {
    events.push_back("startPrefix(" + Show(prefix) + "=" + Show(uri) + ")");
  }
  void endPrefixMapping(const char16_t* prefix) override { events.push_back("endPrefix(" + Show(prefix) + ")"); }
  void startElement(const std::u16string& uri, const std::u16string& localName, const std::u16string& qName,
                    const CSAXAttributes& attributes) override {
    std::string e = "start(" + Show(uri) + "|" + Show(localName) + "|" + Show(qName);
    for (int i = 0; i < attributes.getLength(); ++i) {
      const unsigned u = static_cast<unsigned>(i);
      e += " " + Show(attributes.getURI(u)) + "|" + Show(attributes.getLocalName(u)) + "|" +
           Show(attributes.getQName(u)) + "=" + Show(attributes.getValue(u));
    }
    events.push_back(e + ")");
  }
  void endElement(const std::u16string& uri, const std::u16string& localName, const std::u16string& qName) override {
    events.push_back("end(" + Show(uri) + "|" + Show(localName) + "|" + Show(qName) + ")");
  }
  void processingInstruction(const std::u16string& target, const std::u16string& data) override {
    events.push_back("pi(" + Show(target) + "|" + Show(data) + ")");
  }
  void characters(const char16_t* chars, int start, int length) override {
    events.push_back("text(" + Show(std::u16string_view(chars + start, static_cast<std::size_t>(length))) + ")");
    if (start != 0 || length <= 0) events.push_back("BAD characters arguments");
  }
  void comment(const std::u16string& text) override { events.push_back("comment(" + Show(text) + ")"); }
  void cdataSection(const std::u16string& text) override { events.push_back("cdata(" + Show(text) + ")"); }
  void doctypeDecl(const std::u16string& name) override { events.push_back("doctype(" + Show(name) + ")"); }
  void notationDecl(const std::u16string& name, const std::u16string& publicId,
                    const std::u16string& systemId) override {
    events.push_back("notation(" + Show(name) + "|" + Show(publicId) + "|" + Show(systemId) + ")");
  }
  void unparsedEntityDecl(const std::u16string& name, const std::u16string& publicId, const std::u16string& systemId,
                          const std::u16string& notationName) override {
    events.push_back("unparsed(" + Show(name) + "|" + Show(publicId) + "|" + Show(systemId) + "|" +
                     Show(notationName) + ")");
  }
  void fatalError(const CSAXParseException& e) override {
    ++fatalErrors;
    fatalCode = e.getCode();
    fatalLine = e.getLineNumber();
    fatalColumn = e.getColumnNumber();
    fatalMessage = e.getMessage();
  }
};

struct Options {
  bool namespaces = true;
  bool preserveSpace = false;
  bool expandCDATA = true;
  bool inlineEncoding = true;
  bool unicodeDefault = false;
  // Reader properties beyond the switches, set by name ("" leaves them as they are).
  std::u16string maxEntityValueLength;
  std::u16string maxEntityExpansion;
};

struct Outcome {
  bool ok = false;
  int code = 0;
  std::string message;
  int line = 0;
  int column = 0;
  std::string encoding;
  bool encodingGiven = false;
  // The events between startDocument and endDocument (both left out), joined by " ".
  std::string events;
  Recorder recorder;
};

// Parses `source` with `reader`, the options set first.
inline Outcome ParseWith(CSAXReader& reader, CByteSource& source, const Options& options = {}) {
  Outcome out;
  reader.setFeature(kFeatureNamespaces, options.namespaces);
  reader.setFeature(kFeatureAllowInlineEncodingDetection, options.inlineEncoding);
  reader.setProperty(kPropertyPreserveSpace, options.preserveSpace ? u"Yes" : u"No");
  reader.setProperty(kPropertyExpandCDATAIntoText, options.expandCDATA ? u"Yes" : u"No");
  if (!options.maxEntityValueLength.empty()) {
    reader.setProperty(kPropertyMaxEntityValueLength, options.maxEntityValueLength);
  }
  if (!options.maxEntityExpansion.empty()) reader.setProperty(kPropertyMaxEntityExpansion, options.maxEntityExpansion);
  reader.setContentHandler(&out.recorder);
  reader.setDTDHandler(&out.recorder);
  reader.setErrorHandler(&out.recorder);
  try {
    reader.parse(source, options.unicodeDefault);
    out.ok = true;
  } catch (const CSAXParseException& e) {
    out.code = e.getCode();
    out.message = Show(e.getMessage());
    out.line = e.getLineNumber();
    out.column = e.getColumnNumber();
  }
  reader.setContentHandler(nullptr);
  reader.setDTDHandler(nullptr);
  reader.setErrorHandler(nullptr);
  out.encoding = Show(reader.getDeclInfo().encoding);
  out.encodingGiven = reader.getDeclInfo().encodingGiven;
  for (const std::string& e : out.recorder.events) {
    if (e == "locator" || e == "startDocument" || e == "endDocument") continue;
    out.events += (out.events.empty() ? "" : " ") + e;
  }
  return out;
}

inline Outcome ParseWith(CSAXReader& reader, const std::string& input, const Options& options = {}) {
  CMemoryByteSource source(input.data(), input.size());
  return ParseWith(reader, source, options);
}

// Parses with a fresh reader.
inline Outcome Parse(CByteSource& source, const Options& options = {}) {
  CSAXReader reader;
  return ParseWith(reader, source, options);
}

inline Outcome Parse(const std::string& input, const Options& options = {}) {
  CSAXReader reader;
  return ParseWith(reader, input, options);
}

// Table rows: input that parses with exactly these events, and input that fails
// with this code and message ("" for the errors that carry only a code).
struct EventRow {
  std::string input;
  std::string events;
};

struct ErrorRow {
  const char* label;
  std::string input;
  int code;
  const char* message;
};

inline void ExpectEvents(const std::vector<EventRow>& rows, const Options& options = {}) {
  for (const EventRow& row : rows) {
    const Outcome out = Parse(row.input, options);
    EXPECT_TRUE(out.ok) << row.input << " failed with " << out.code << " " << out.message;
    EXPECT_EQ(out.events, row.events) << row.input;
  }
}

inline void ExpectErrors(const std::vector<ErrorRow>& rows, const Options& options = {}) {
  for (const ErrorRow& row : rows) {
    const Outcome out = Parse(row.input, options);
    EXPECT_FALSE(out.ok) << row.label;
    EXPECT_EQ(out.code, row.code) << row.label << ": " << row.input;
    EXPECT_EQ(out.message, row.message) << row.label << ": " << row.input;
  }
}

}  // namespace quillet::xml::test

#endif
