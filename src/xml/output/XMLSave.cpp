#include "xml/output/XMLSave.h"

#include "platform/Platform.h"
#include "quillet/xml/DOMDocument.h"
#include "xml/output/XMLWriter.h"

namespace quillet::xml {

SaveOutcome WriteDocumentFile(const CDOMDocument* document, const std::u16string& path,
                              const XMLDeclInfo& declInfo) {
  const std::string target = platform::WideToMultiByte(path);
  const std::string temporary = platform::TemporaryPathBeside(target);
  CFileByteSink sink;
  if (!sink.open(temporary)) return SaveOutcome::kCannotCreate;

  CXMLWriter writer;
  writer.setByteSink(&sink);
  writer.selectEncoding(declInfo.encoding);  // an unknown name falls back to UTF-8
  const bool written = writer.writeDocument(document, &declInfo);
  sink.close();

  if (!written) {
    platform::DiscardTemporary(temporary);
    return SaveOutcome::kNothingToWrite;
  }
  if (sink.failed() || !platform::CommitReplacing(temporary, target)) {
    platform::DiscardTemporary(temporary);
    return SaveOutcome::kWriteFailed;
  }
  return SaveOutcome::kWritten;
}

bool saveDocumentToFile(const CDOMDocument* document, const std::u16string& path, const XMLDeclInfo& declInfo) {
  WriteDocumentFile(document, path, declInfo);
  return true;
}

int saveDocumentToSink(const CDOMDocument* document, CByteSink* sink) {
  if (sink == nullptr) return 0;
  CXMLWriter writer;
  writer.setByteSink(sink);
  writer.selectEncoding(u"UTF-8");
  writer.writeContent(document);
  return 0;
}

int saveNodeToSink(const CDOMNode* node, CByteSink* sink) {
  if (sink == nullptr) return 0;
  CXMLWriter writer;
  writer.setByteSink(sink);
  writer.selectEncoding(u"UTF-8");
  writer.writeNode(node, false, true);
  return 0;
}

std::u16string NodeToXML(const CDOMNode* node) {
  CStringByteSink sink;
  CXMLWriter writer;
  writer.setByteSink(&sink);
  writer.selectEncoding(u"UNICODE");
  writer.writeNode(node, false, true);
  return sink.text();
}

}  // namespace quillet::xml
