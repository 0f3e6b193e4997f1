// Fuzz target: bytes -> reader -> tree builder -> writer -> reader again.
//
// The first byte picks the reader's switches; the rest is the document. Any input must
// end in a tree or a CSAXParseException, never a crash, a hang or a leak; the text the
// writer makes of a tree goes through the reader once more on the same terms.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "xml/output/XMLWriter.h"

using namespace quillet::xml;
using quillet::fuzz::Parse;

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
  CDOMDocument* reparsed = Parse(written.data(), written.size() * sizeof(char16_t), flags | quillet::fuzz::kUnicodeDefault, again);
  if (reparsed != nullptr) reparsed->release();
  return 0;
}
