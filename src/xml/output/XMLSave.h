// The writer's entry points: a document to a file, a document or node to a caller's
// sink, a node to a 16-bit string.
#ifndef QUILLET_XML_OUTPUT_XMLSAVE_H
#define QUILLET_XML_OUTPUT_XMLSAVE_H

#include <string>

#include "quillet/xml/ByteSink.h"
#include "platform/Platform.h"
#include "quillet/xml/XMLDeclInfo.h"
#include "xml/output/XMLWriter.h"

namespace quillet::xml {

class CDOMDocument;
class CDOMNode;

// How a save to a file ended.
enum class SaveOutcome {
  kWritten,          // the file now holds the document
  kNothingToWrite,   // no children, or a leading "xml" instruction that is not a
                     // complete declaration: the writer wrote nothing
  kCannotCreate,     // the target is not a regular file, or no file could be created
                     // beside it
  kWriteFailed,      // a write, the flush or replacing the old file failed
  kUnrepresentable,  // the code page of the "<XML>" form cannot hold a character
  kWouldNotLoad,     // WriteOptions::onlyWhatReadsBack and a tree the reader would refuse
};

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::kWritten;
  // kCannotCreate, kWriteFailed: the file and the system's reason; kWouldNotLoad: why
  // the reader would refuse it. For a user.
  std::string error;
  // kUnrepresentable: the first character the code page could not hold (0 when the
  // code page itself is not supported here).
  char32_t character = 0;
  unsigned codePage = 0;  // kUnrepresentable: the code page that could not hold it

  bool ok() const { return outcome == SaveOutcome::kWritten; }
};

// Writes `document` in the encoding and form `declInfo` describes (see
// CXMLWriter::writeDocument) into `replacement`, a FileReplacement of `path` (opened
// here), and prepares it: on kWritten the new file waits, flushed, for
// replacement.commit(). In every other outcome the temporary is gone and `path` is as
// it was. Symbolic links are followed; a target that is not a regular file is refused.
SaveResult PrepareDocumentFile(const CDOMDocument* document, const std::u16string& path, const XMLDeclInfo& declInfo,
                               const WriteOptions& options, platform::FileReplacement& replacement);

// Why the reader would refuse to read `document` back once written: "" when it would
// take it; otherwise what is past which limit.
std::string WhyItWouldNotLoad(const CDOMDocument* document);

// PrepareDocumentFile, then the commit: `path` holds the new document only on
// kWritten, and its old content (or stays absent) otherwise.
SaveResult WriteDocumentFile(const CDOMDocument* document, const std::u16string& path, const XMLDeclInfo& declInfo,
                             const WriteOptions& options = WriteOptions());

// WriteDocumentFile with the default options, reporting success whatever the outcome:
// callers of the library's save operations have never been told of a failed save.
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
