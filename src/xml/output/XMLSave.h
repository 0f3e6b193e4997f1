// The writer's entry points: a document to a file, a document or node to a caller's
// sink, a node to a 16-bit string.
#ifndef QUILLET_XML_OUTPUT_XMLSAVE_H
#define QUILLET_XML_OUTPUT_XMLSAVE_H

#include <string>

#include "quillet/xml/ByteSink.h"
#include "quillet/xml/XMLDeclInfo.h"

namespace quillet::xml {

class CDOMDocument;
class CDOMNode;

// How a save to a file ended.
enum class SaveOutcome {
  kWritten,         // the file now holds the document
  kNothingToWrite,  // no children, or a leading "xml" instruction that is not a
                    // complete declaration: the writer wrote nothing
  kCannotCreate,    // no file could be created beside the target
  kWriteFailed,     // a write, or replacing the old file, failed
};

// Writes `document` to the file `path` in the encoding and form `declInfo` describes
// (see CXMLWriter::writeDocument). The bytes go to a temporary file beside `path`,
// which replaces `path` (keeping its permissions) only when the whole document was
// written. In every other outcome `path` keeps its old content, or stays absent, and
// no temporary file is left.
SaveOutcome WriteDocumentFile(const CDOMDocument* document, const std::u16string& path,
                              const XMLDeclInfo& declInfo);

// WriteDocumentFile, reporting success whatever the outcome: callers of the library's
// save operations have never been told of a failed save.
bool saveDocumentToFile(const CDOMDocument* document, const std::u16string& path, const XMLDeclInfo& declInfo);

// Writes `document`'s nodes to `sink` as UTF-8, with no declaration, no wrapper and no
// byte-order mark. Returns 0.
int saveDocumentToSink(const CDOMDocument* document, CByteSink* sink);
// Writes `node` and its subtree to `sink` as UTF-8. Returns 0.
int saveNodeToSink(const CDOMNode* node, CByteSink* sink);

// The XML text of `node` and its subtree, laid out as in a file at depth 0 and ending
// with a line end; for a document, every top-level node without a declaration.
std::u16string NodeToXML(const CDOMNode* node);

}  // namespace quillet::xml

#endif
