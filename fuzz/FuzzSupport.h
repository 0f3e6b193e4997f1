// What the fuzz targets share: parsing bytes into a tree under a set of switches, a
// byte sink in memory, and a canonical text of a tree for comparing two of them.
#ifndef QUILLET_FUZZ_FUZZSUPPORT_H
#define QUILLET_FUZZ_FUZZSUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "quillet/xml/ByteSink.h"
#include "quillet/xml/DOM.h"
#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXException.h"
#include "quillet/xml/SAXReader.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/DOMDocumentFactory.h"
#include "xml/dom/loader/DOMTreeBuilder.h"

namespace quillet::fuzz {

// The reader's switches, one bit each.
enum : uint8_t {
  kNoNamespaces = 1,
  kNoInlineEncoding = 2,
  kKeepCDATA = 4,
  kPreserveSpace = 8,
  kUnicodeDefault = 16,
};

// Parses `size` bytes into a new tree (null for input that is not well-formed).
inline xml::CDOMDocument* Parse(const void* data, size_t size, uint8_t flags, xml::XMLDeclInfo& info) {
  using namespace xml;
  CSAXReader reader;
  reader.setFeature(kFeatureNamespaces, (flags & kNoNamespaces) == 0);
  reader.setFeature(kFeatureAllowInlineEncodingDetection, (flags & kNoInlineEncoding) == 0);
  reader.setProperty(kPropertyExpandCDATAIntoText, (flags & kKeepCDATA) ? u"No" : u"Yes");
  reader.setProperty(kPropertyPreserveSpace, (flags & kPreserveSpace) ? u"Yes" : u"No");
  CDOMDocumentFactory factory;
  CDOMTreeBuilder builder(&factory);
  reader.setContentHandler(&builder);
  reader.setDTDHandler(&builder);
  reader.setErrorHandler(&builder);
  CMemoryByteSource source(data, size);
  try {
    reader.parse(source, (flags & kUnicodeDefault) != 0);
  } catch (const CSAXParseException&) {
    return nullptr;
  }
  info = reader.getDeclInfo();
  return builder.takeDocument();
}

class MemorySink final : public xml::CByteSink {
 public:
  void putByte(unsigned char b) override { bytes.push_back(static_cast<char>(b)); }
  void writeBytes(const unsigned char* p, size_t n) override { bytes.append(reinterpret_cast<const char*>(p), n); }
  std::string bytes;
};

// A tree as text that two trees share when they hold the same elements, attributes,
// comments, processing instructions (the XML declaration aside) and CDATA sections in
// the same order, and the same characters of text apart from white space. White space
// in text does not count: the writer lays content out on lines of its own, and the
// reader folds a line end into one space that it puts before the next ordinary
// character, after any references in between, so where the spaces fall moves.
inline std::string Canonical(const xml::CDOMDocument* document) {
  using namespace xml;
  std::u16string out;
  std::u16string text;  // the text since the last other node
  const auto flushText = [&] {
    std::u16string characters;
    for (char16_t c : text)
      if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') characters.push_back(c);
    if (!characters.empty()) out += u"T(" + characters + u")";
    text.clear();
  };
  const CDOMNode* node = document->getFirstChild();
  while (node != nullptr) {
    const int type = node->getNodeType();
    if (type == DOMNodeTypeText) {
      text += node->getNodeValue();
    } else {
      flushText();
      if (type == DOMNodeTypeElement) {
        out += u"E(" + std::u16string(node->getNodeName());
        for (const CDOMNode* a = static_cast<const CDOMElement*>(node)->getFirstAttribute(); a != nullptr;
             a = a->getNextSibling())
          out += u" " + std::u16string(a->getNodeName()) + u"=" + a->getNodeValue() + u";";
        out += u")";
      } else if (type == DOMNodeTypeProcessingInstruction && node->getParentNode() == document &&
                 std::u16string(node->getNodeName()) == u"xml") {
        // The declaration: the writer writes one of its own where the tree had none.
      } else if (type != DOMNodeTypeDocumentType) {
        out += u"N" + std::u16string(1, static_cast<char16_t>(u'0' + type)) + u"(" + node->getNodeName() + u"|" +
               node->getNodeValue() + u")";
      }
    }
    if (node->getFirstChild() != nullptr) {
      node = node->getFirstChild();
      continue;
    }
    // A leaf: it ends here, and so does every ancestor whose last child it is.
    for (;;) {
      if (node->getNodeType() == DOMNodeTypeElement) {
        flushText();
        out += u"/";
      }
      if (node->getNextSibling() != nullptr) {
        node = node->getNextSibling();
        break;
      }
      node = node->getParentNode();
      if (node == nullptr || node == document) {
        node = nullptr;
        break;
      }
    }
  }
  flushText();
  return U16ToUtf8(out);
}

// Stops the run with `what` when a property that must hold does not.
inline void Require(bool holds, const char* what, const std::string& detail = "") {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.c_str());
  std::abort();
}

}  // namespace quillet::fuzz

#endif
