// Reading an XML file into a new document tree.
#ifndef QUILLET_XML_DOM_LOADER_LOADDOCUMENT_H
#define QUILLET_XML_DOM_LOADER_LOADDOCUMENT_H

#include <string>

#include "quillet/xml/XMLDeclInfo.h"

namespace quillet::xml {

class CDOMDocument;

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

}  // namespace quillet::xml

#endif
