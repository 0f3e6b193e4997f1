// quillet xml events FILE: what the reader reports about a file, one JSON object per
// event, in the order the reader reports them.
#include <cerrno>
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandSupport.h"
#include "JsonText.h"
#include "XmlDocumentLoad.h"
#include "XmlGroup.h"
#include "platform/Platform.h"
#include "quillet/xml/FileByteSource.h"
#include "quillet/xml/SAXReader.h"
#include "xml/common/U16String.h"

namespace {

using quillet::tool::JsonString;
using quillet::tool::ToAnsi;
using namespace quillet::xml;

class EventPrinter : public CSAXContentHandler, public CSAXDTDHandler, public CSAXErrorHandler {
 public:
  // With a code page, the texts of HTML Help's "<XML>" form (`compatibility`) are shown
  // in it, as the collection commands read them.
  EventPrinter(std::ostream& out, unsigned codePage, bool compatibility)
      : out_(out), codePage_(compatibility ? codePage : 0) {}

  void startDocument() override { out_ << "{\"event\":\"startDocument\"}\n"; }
  void endDocument() override { out_ << "{\"event\":\"endDocument\"}\n"; }
  void startPrefixMapping(const char16_t* prefix, const char16_t* uri) override {
    out_ << "{\"event\":\"startPrefixMapping\",\"prefix\":" << Show(prefix) << ",\"uri\":" << Show(uri)
         << "}\n";
  }
  void endPrefixMapping(const char16_t* prefix) override {
    out_ << "{\"event\":\"endPrefixMapping\",\"prefix\":" << Show(prefix) << "}\n";
  }
  void startElement(const std::u16string& uri, const std::u16string& localName, const std::u16string& qName,
                    const CSAXAttributes& attributes) override {
    out_ << "{\"event\":\"startElement\",\"uri\":" << Show(uri) << ",\"localName\":" << Show(localName)
         << ",\"qName\":" << Show(qName) << ",\"attributes\":[";
    for (int i = 0; i < attributes.getLength(); ++i) {
      const unsigned u = static_cast<unsigned>(i);
      if (i > 0) out_ << ",";
      out_ << "{\"uri\":" << Show(attributes.getURI(u)) << ",\"localName\":"
           << Show(attributes.getLocalName(u)) << ",\"qName\":" << Show(attributes.getQName(u))
           << ",\"value\":" << Show(attributes.getValue(u)) << "}";
    }
    out_ << "]}\n";
  }
  void endElement(const std::u16string& uri, const std::u16string& localName, const std::u16string& qName) override {
    out_ << "{\"event\":\"endElement\",\"uri\":" << Show(uri) << ",\"localName\":" << Show(localName)
         << ",\"qName\":" << Show(qName) << "}\n";
  }
  void processingInstruction(const std::u16string& target, const std::u16string& data) override {
    out_ << "{\"event\":\"processingInstruction\",\"target\":" << Show(target)
         << ",\"data\":" << Show(data) << "}\n";
  }
  void characters(const char16_t* chars, int start, int length) override {
    out_ << "{\"event\":\"characters\",\"text\":" << Show(chars + start, static_cast<std::size_t>(length))
         << "}\n";
  }
  void comment(const std::u16string& text) override {
    out_ << "{\"event\":\"comment\",\"text\":" << Show(text) << "}\n";
  }
  void cdataSection(const std::u16string& text) override {
    out_ << "{\"event\":\"cdataSection\",\"text\":" << Show(text) << "}\n";
  }
  void doctypeDecl(const std::u16string& name) override {
    out_ << "{\"event\":\"doctypeDecl\",\"name\":" << Show(name) << "}\n";
  }
  void notationDecl(const std::u16string& name, const std::u16string& publicId,
                    const std::u16string& systemId) override {
    out_ << "{\"event\":\"notationDecl\",\"name\":" << Show(name) << ",\"publicId\":" << Show(publicId)
         << ",\"systemId\":" << Show(systemId) << "}\n";
  }
  void unparsedEntityDecl(const std::u16string& name, const std::u16string& publicId, const std::u16string& systemId,
                          const std::u16string& notationName) override {
    out_ << "{\"event\":\"unparsedEntityDecl\",\"name\":" << Show(name)
         << ",\"publicId\":" << Show(publicId) << ",\"systemId\":" << Show(systemId)
         << ",\"notationName\":" << Show(notationName) << "}\n";
  }
  void fatalError(const CSAXParseException& e) override { out_ << "{\"event\":\"fatalError\"," << fields(e) << "}\n"; }

  // A text as JSON, decoded in the code page first when there is one.
  std::string Show(const char16_t* text, std::size_t length) const {
    if (codePage_ == 0 || text == nullptr) return JsonString(text, length);
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
      if (text[i] > 0xFF) return JsonString(text, length);  // not bytes read as characters
      bytes.push_back(static_cast<char>(text[i]));
    }
    std::u16string decoded;
    if (!quillet::platform::DecodeCodePage(codePage_, bytes, decoded)) return JsonString(text, length);
    return JsonString(decoded);
  }
  std::string Show(const std::u16string& text) const { return Show(text.data(), text.size()); }
  std::string Show(const char16_t* text) const { return Show(text, text != nullptr ? U16Length(text) : 0); }

  static std::string fields(const CSAXParseException& e) {
    return "\"code\":" + std::to_string(e.getCode()) + ",\"line\":" + std::to_string(e.getLineNumber()) +
           ",\"column\":" + std::to_string(e.getColumnNumber()) + ",\"message\":" + JsonString(e.getMessage());
  }

 private:
  std::ostream& out_;
  unsigned codePage_;
};

struct EventsOptions {
  std::string file;
  bool noNamespaces = false;
  bool preserveSpace = false;
  bool noExpandCDATA = false;
  bool noInlineEncoding = false;
  bool unicodeDefault = false;
  unsigned codePage = 0;
};

bool StartsWithCompatibilityForm(const std::string& file) {
  const int descriptor = quillet::platform::OpenForReading(ToAnsi(file));
  if (descriptor < 0) return false;
  char start[5] = {};
  const long n = quillet::platform::ReadFile(descriptor, start, sizeof start);
  quillet::platform::CloseFile(descriptor);
  return n == 5 && std::string(start, 5) == "<XML>";
}

int RunEvents(const EventsOptions& o) {
  // Read as the document commands read: a folder or a pipe is refused, not read as empty.
  const std::string file = ToAnsi(o.file);
  if (const std::string kind = quillet::platform::NotARegularFile(file); !kind.empty()) {
    std::cerr << "quillet: cannot read " << o.file << ": it is " << kind << ", not a file\n";
    return quillet::tool::kExitUsage;
  }
  const int descriptor = quillet::platform::OpenForReading(file);
  CFileByteSource source;
  if (descriptor < 0 || source.attach(descriptor) != 0) {
    std::cerr << "quillet: cannot read " << o.file << ": " << quillet::platform::SystemErrorText(errno) << "\n";
    return quillet::tool::kExitUsage;
  }

  CSAXReader reader;
  reader.setFeature(kFeatureNamespaces, !o.noNamespaces);
  reader.setFeature(kFeatureAllowInlineEncodingDetection, !o.noInlineEncoding);
  reader.setProperty(kPropertyPreserveSpace, o.preserveSpace ? u"Yes" : u"No");
  reader.setProperty(kPropertyExpandCDATAIntoText, o.noExpandCDATA ? u"No" : u"Yes");
  // The "<XML>" form is the one HTML Help writes in its code page; a file in it starts so.
  const bool compatibility = o.codePage != 0 && StartsWithCompatibilityForm(o.file);
  EventPrinter printer(std::cout, o.codePage, compatibility);
  reader.setContentHandler(&printer);
  reader.setDTDHandler(&printer);
  reader.setErrorHandler(&printer);
  try {
    reader.parse(source, o.unicodeDefault);
  } catch (const CSAXParseException& e) {
    std::cout << "{\"event\":\"result\",\"ok\":false," << EventPrinter::fields(e) << "}\n";
    return 1;
  }
  const XMLDeclInfo& info = reader.getDeclInfo();
  std::cout << "{\"event\":\"result\",\"ok\":true,\"encoding\":" << JsonString(info.encoding)
            << ",\"encodingGiven\":" << (info.encodingGiven ? "true" : "false") << "}\n";
  return 0;
}

}  // namespace

void quillet::tool::AddXmlEventsCommand(CLI::App& app) {
  auto options = std::make_shared<EventsOptions>();
  CLI::App* cmd = quillet::tool::XmlGroup(app).add_subcommand(
      "events", "Print the reader's events for FILE, one JSON object per line");
  cmd->add_option("FILE", options->file, "The XML file to read")->required();
  cmd->add_flag("--no-namespaces", options->noNamespaces, "Turn namespace processing off");
  cmd->add_flag("--preserve-space", options->preserveSpace, "Keep white space and line ends in element content");
  cmd->add_flag("--no-expand-cdata", options->noExpandCDATA, "Report CDATA sections instead of merging them into text");
  cmd->add_flag("--no-inline-encoding", options->noInlineEncoding,
                "Ignore the encoding named in the XML declaration");
  cmd->add_flag("--unicode-default", options->unicodeDefault,
                "Read input without a byte-order mark as UTF-16 little-endian instead of UTF-8");
  quillet::tool::AddCodePageOption(
      cmd, options->codePage,
      "Show the texts of HTML Help's <XML> form in this Windows code page, as the collection commands read them");
  cmd->callback([options] { quillet::tool::ExitCode() = RunEvents(*options); });
}
