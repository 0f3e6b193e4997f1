// Fuzz target: bytes -> reader -> tree builder -> writer -> reader again.
//
// The first byte picks the reader's switches; the rest is the document. Any input must
// end in a tree or a CSAXParseException, never a crash, a hang or a leak; the text the
// writer makes of a tree goes through the reader once more on the same terms.
#include <cstddef>
#include <cstdint>
#include <string>

#include "quillet/xml/ByteSink.h"
#include "quillet/xml/DOM.h"
#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXException.h"
#include "quillet/xml/SAXReader.h"
#include "xml/dom/loader/DOMDocumentFactory.h"
#include "xml/dom/loader/DOMTreeBuilder.h"
#include "xml/output/XMLWriter.h"

using namespace quillet::xml;

namespace {

CDOMDocument* Parse(const void* data, size_t size, uint8_t flags, XMLDeclInfo& info) {
  CSAXReader reader;
  reader.setFeature(kFeatureNamespaces, (flags & 1) == 0);
  reader.setFeature(kFeatureAllowInlineEncodingDetection, (flags & 2) == 0);
  reader.setProperty(kPropertyExpandCDATAIntoText, (flags & 4) ? u"No" : u"Yes");
  reader.setProperty(kPropertyPreserveSpace, (flags & 8) ? u"Yes" : u"No");
  CDOMDocumentFactory factory;
  CDOMTreeBuilder builder(&factory);
  reader.setContentHandler(&builder);
  reader.setDTDHandler(&builder);
  reader.setErrorHandler(&builder);
  CMemoryByteSource source(data, size);
  try {
    reader.parse(source, (flags & 16) != 0);
  } catch (const CSAXParseException&) {
    return nullptr;
  }
  info = reader.getDeclInfo();
  return builder.takeDocument();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  XMLDeclInfo info;
  CDOMDocument* document = Parse(data + 1, size - 1, flags, info);
  if (document == nullptr) return 0;

  // Serialize as 16-bit text without a declaration, as getXML does.
  CStringByteSink sink;
  CXMLWriter* writer = new CXMLWriter();
  writer->setByteSink(&sink);
  writer->selectEncoding(u"UNICODE");
  writer->writeDocument(document, &info);
  writer->release();
  const std::u16string written = sink.text();
  document->release();

  XMLDeclInfo again;
  CDOMDocument* reparsed = Parse(written.data(), written.size() * sizeof(char16_t), flags | 16, again);
  if (reparsed != nullptr) reparsed->release();
  return 0;
}
