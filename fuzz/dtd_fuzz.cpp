// Fuzz target: internal subsets of a document type declaration through the reader.
//
// The first byte picks the reader's switches and how tight the expansion caps are.
// The rest, up to its first NUL byte, is the internal subset; what follows the NUL is
// the root element's content, where the subset's entities are referenced. The
// document is `<!DOCTYPE r [` subset `]><r a="&e;">` content `</r>`. Any input must
// end in a tree or a CSAXParseException, never a crash, a hang or a leak, and no
// expansion may outgrow the caps.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quillet/xml/DOM.h"
#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXException.h"
#include "quillet/xml/SAXReader.h"
#include "xml/dom/loader/DOMDocumentFactory.h"
#include "xml/dom/loader/DOMTreeBuilder.h"

using namespace quillet::xml;

namespace {

// Counts the character data the reader hands over, on top of building the tree.
class CountingBuilder final : public CSAXContentHandler, public CSAXDTDHandler {
 public:
  explicit CountingBuilder(CDOMTreeBuilder& builder) : builder_(builder) {}

  void startDocument() override { builder_.startDocument(); }
  void startElement(const std::u16string& uri, const std::u16string& localName, const std::u16string& qName,
                    const CSAXAttributes& attributes) override {
    for (int i = 0; i < attributes.getLength(); ++i) {
      std::u16string value(attributes.getValue(static_cast<unsigned>(i)));
      characters_ += value.size();
    }
    builder_.startElement(uri, localName, qName, attributes);
  }
  void endElement(const std::u16string& uri, const std::u16string& localName, const std::u16string& qName) override {
    builder_.endElement(uri, localName, qName);
  }
  void processingInstruction(const std::u16string& target, const std::u16string& data) override {
    builder_.processingInstruction(target, data);
  }
  void characters(const char16_t* chars, int start, int length) override {
    characters_ += static_cast<std::size_t>(length);
    builder_.characters(chars, start, length);
  }
  void comment(const std::u16string& text) override { builder_.comment(text); }
  void cdataSection(const std::u16string& text) override { builder_.cdataSection(text); }
  void doctypeDecl(const std::u16string& name) override { builder_.doctypeDecl(name); }

  std::size_t characters() const { return characters_; }

 private:
  CDOMTreeBuilder& builder_;
  std::size_t characters_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t nul = rest.find('\0');
  const std::string subset = rest.substr(0, nul);
  const std::string content = nul == std::string::npos ? std::string() : rest.substr(nul + 1);
  const std::string document = "<!DOCTYPE r [" + subset + "]><r a=\"&e;\">" + content + "</r>";

  CSAXReader reader;
  reader.setFeature(kFeatureNamespaces, (flags & 1) == 0);
  reader.setProperty(kPropertyPreserveSpace, (flags & 2) ? u"Yes" : u"No");
  reader.setProperty(kPropertyExpandCDATAIntoText, (flags & 4) ? u"No" : u"Yes");
  // Tight caps reach the limits within the fuzzer's input sizes; loose ones (the
  // defaults) let long expansions through.
  const bool tight = (flags & 8) != 0;
  const std::size_t expansionCap = tight ? 4096 : kDefaultMaxEntityExpansion;
  if (tight) {
    reader.setProperty(kPropertyMaxEntityValueLength, u"512");
    reader.setProperty(kPropertyMaxEntityExpansion, u"4096");
  }
  CDOMDocumentFactory factory;
  CDOMTreeBuilder builder(&factory);
  CountingBuilder counter(builder);
  reader.setContentHandler(&counter);
  reader.setDTDHandler(&counter);
  reader.setErrorHandler(&builder);
  CMemoryByteSource source(document.data(), document.size());
  try {
    reader.parse(source, false);
  } catch (const CSAXParseException&) {
  }
  // Every character reported came from the input or from counted expansions.
  if (counter.characters() > document.size() + expansionCap) std::abort();
  if (CDOMDocument* tree = builder.takeDocument()) tree->release();
  return 0;
}
