// Fuzz target: load, save, load again. Whatever the reader makes a tree of, the writer
// writes in a form the reader takes back as the same tree (see Canonical), in every
// output encoding that can hold the tree's text and in HTML Help's "<XML>" form.
//
// The first byte picks the reader's switches (white space is never preserved here: the
// writer's layout adds white space by design); the rest is the document.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "quillet/xml/DOMProcessingInstruction.h"
#include "xml/output/XMLWriter.h"

using namespace quillet::xml;
using quillet::fuzz::Canonical;
using quillet::fuzz::Parse;
using quillet::fuzz::Require;

namespace {

// Whether every character of the tree's names and texts fits one byte.
bool FitsOneByte(const std::string& canonical) {
  const std::u16string text = Utf8ToU16(canonical);
  for (char16_t c : text)
    if (c > 0xFF) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = static_cast<uint8_t>(data[0] & ~quillet::fuzz::kPreserveSpace);
  XMLDeclInfo info;
  CDOMDocument* first = Parse(data + 1, size - 1, flags, info);
  if (first == nullptr) return 0;
  const std::string expected = Canonical(first);
  const bool oneByte = FitsOneByte(expected);
  // A document's own declaration decides the encoding it is written in.
  const CDOMNode* lead = first->getFirstChild();
  const bool ownDeclaration = lead != nullptr && lead->getNodeType() == DOMNodeTypeProcessingInstruction &&
                              std::u16string(lead->getNodeName()) == u"xml";

  for (const char16_t* encoding : {u"UTF-8", u"UTF-16", u"UNICODE", u"ISO-8859-1", u"MSXML_IE4"}) {
    const std::u16string name = encoding;
    const bool singleByte = name == u"ISO-8859-1" || name == u"MSXML_IE4";
    if (singleByte && !oneByte) continue;  // those forms keep the low 8 bits, by design
    // A tree's own declaration is written as it stands: it decides the encoding, and
    // inside the "<XML>" wrapper it is a processing instruction no reader takes.
    if (ownDeclaration && (name == u"MSXML_IE4" || name != info.encoding)) continue;
    // The "<XML>" form needs a root element: without one, the reader takes "</XML>"
    // for content.
    if (name == u"MSXML_IE4" && first->getDocumentElement() == nullptr) continue;
    XMLDeclInfo out = info;
    out.declared = true;
    out.encoding = name;
    out.encodingGiven = true;
    quillet::fuzz::MemorySink sink;
    CXMLWriter writer;
    writer.setByteSink(&sink);
    writer.selectEncoding(name);
    if (!writer.writeDocument(first, &out)) continue;  // an empty tree, or a declaration it will not repeat
    XMLDeclInfo again;
    // Read back as written: the declaration's encoding counts, and UNICODE has no mark.
    uint8_t readFlags = static_cast<uint8_t>(flags & ~quillet::fuzz::kNoInlineEncoding);
    readFlags = static_cast<uint8_t>(name == u"UNICODE" ? readFlags | quillet::fuzz::kUnicodeDefault
                                                         : readFlags & ~quillet::fuzz::kUnicodeDefault);
    CDOMDocument* second = Parse(sink.bytes.data(), sink.bytes.size(), readFlags, again);
    Require(second != nullptr, "the written document does not load again", U16ToUtf8(name) + "\n" + sink.bytes);
    const std::string actual = Canonical(second);
    second->release();
    Require(actual == expected, "the written document loads as another tree",
            U16ToUtf8(name) + "\nexpected " + expected + "\nactual   " + actual);
  }
  first->release();
  return 0;
}
