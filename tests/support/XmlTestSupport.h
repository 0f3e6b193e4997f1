// Small helpers the XML toolkit's tests share.
#ifndef QUILLET_TESTS_SUPPORT_XMLTESTSUPPORT_H
#define QUILLET_TESTS_SUPPORT_XMLTESTSUPPORT_H

#include <memory>
#include <string>

#include "quillet/xml/DOMDocument.h"

namespace quillet::test {

// A document owned by a test, released at the end of its scope.
struct DocumentReleaser {
  void operator()(xml::CDOMDocument* d) const { d->release(); }
};
using DocumentPtr = std::unique_ptr<xml::CDOMDocument, DocumentReleaser>;

// The bytes of `text` in UTF-16 little-endian, after the byte-order mark FF FE when
// `withMark` is set.
inline std::string Utf16LeBytes(const std::u16string& text, bool withMark = false) {
  std::string out = withMark ? "\xFF\xFE" : "";
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

}  // namespace quillet::test

#endif
