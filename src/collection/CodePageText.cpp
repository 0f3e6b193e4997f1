#include "collection/CodePageText.h"

#include <string>

#include "platform/Platform.h"
#include "quillet/xml/DOM.h"

namespace quillet {
namespace {

// `text` decoded in the code page, or false when it needs no change (plain ASCII).
bool Decoded(unsigned codePage, const char16_t* text, std::u16string& out) {
  bool wide = false;
  for (const char16_t* p = text; *p != 0; ++p) wide = wide || *p >= 0x80;
  if (!wide) return false;
  out.clear();
  std::string bytes;
  std::u16string piece;
  auto flush = [&] {
    if (bytes.empty()) return;
    platform::DecodeCodePage(codePage, bytes, piece);
    out += piece;
    bytes.clear();
  };
  for (const char16_t* p = text; *p != 0; ++p) {
    if (*p <= 0xFF) {
      bytes.push_back(static_cast<char>(*p));
    } else {
      flush();
      out.push_back(*p);
    }
  }
  flush();
  return true;
}

}  // namespace

bool DecodeSingleByteTexts(xml::CDOMDocument* document, unsigned codePage) {
  if (document == nullptr || !platform::CodePageSupported(codePage)) return false;
  std::u16string decoded;
  xml::CDOMTreeWalker walker(document, document->getFirstChild());
  while (xml::CDOMNode* node = walker.nextNode()) {
    if (node->getNodeType() == xml::DOMNodeTypeElement) {
      for (xml::CDOMNode* a = static_cast<xml::CDOMElement*>(node)->getFirstAttribute(); a != nullptr;
           a = a->getNextSibling())
        if (Decoded(codePage, a->getNodeValue(), decoded)) a->setNodeValue(decoded.c_str());
    } else if (Decoded(codePage, node->getNodeValue(), decoded)) {
      node->setNodeValue(decoded.c_str());
    }
  }
  return true;
}

}  // namespace quillet
