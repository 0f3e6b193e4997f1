// Reading an XML file into a new document tree.
#ifndef QUILLET_XML_DOM_LOADER_LOADDOCUMENT_H
#define QUILLET_XML_DOM_LOADER_LOADDOCUMENT_H

#include <cstddef>
#include <memory>
#include <string>

#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/SAXException.h"
#include "quillet/xml/XMLDeclInfo.h"

namespace quillet::xml {

struct DocumentReleaser {
  void operator()(CDOMDocument* document) const { document->release(); }
};
using DocumentPtr = std::unique_ptr<CDOMDocument, DocumentReleaser>;

// What a load gave: the document, or why there is none.
struct LoadResult {
  DocumentPtr document;
  // The file is not well-formed: the reader's exception (line, column, message).
  std::unique_ptr<CSAXParseException> parseError;
  // The file could not be opened: the system's error number (errno).
  int openError = 0;

  explicit operator bool() const { return document != nullptr; }
};

// Parses the file `fileName` into a new document, as LoadDocument below does, but
// hands the outcome back instead of touching the pending parse error.
LoadResult LoadDocumentFile(const std::u16string& fileName, XMLDeclInfo& info);

// The same from the size bytes at data, which the caller keeps (openError stays 0).
LoadResult LoadDocumentFromMemory(const void* data, size_t size, XMLDeclInfo& info);

// Parses the file `fileName` (read as UTF-8 unless it starts with a byte-order mark
// or its declaration names another encoding) into a new document owned by the caller
// (end it with release()).
//
// `info.expandCDATA` and `info.preserveSpace` choose how the reader treats CDATA
// sections and white space. After a successful load `info` holds what the reader
// learnt: the encoding the input was read in ("MSXML_IE4" for a document that began
// with "<XML>"), whether the declaration named it, and the reader's fixed values of
// the other four fields. On failure `info` is unchanged and the result is null:
// - the file cannot be opened: nothing else changes, and a parse error left pending by
//   an earlier load stays;
// - the file is not well-formed: a copy of the reader's exception replaces the pending
//   parse error (PendingParseError.h), and no part of the tree survives.
CDOMDocument* LoadDocument(const std::u16string& fileName, XMLDeclInfo& info);

// The pending-slot side of LoadDocument for a caller that loaded with
// LoadDocumentFile: a parse error replaces the pending one; a file that could not be
// opened leaves the slot as it is. Returns the document, now the caller's.
CDOMDocument* TakeLoadedDocument(LoadResult& result);

}  // namespace quillet::xml

#endif
