#include "xml/output/XMLSave.h"

#include "platform/Platform.h"
#include "quillet/xml/DOMDocument.h"
#include "xml/output/XMLWriter.h"

namespace quillet::xml {

SaveResult PrepareDocumentFile(const CDOMDocument* document, const std::u16string& path, const XMLDeclInfo& declInfo,
                               const WriteOptions& options, platform::FileReplacement& replacement) {
  SaveResult result;
  if (!replacement.open(platform::WideToMultiByte(path))) {
    result.outcome = SaveOutcome::kCannotCreate;
    result.error = replacement.error();
    return result;
  }
  CFileByteSink sink;
  sink.attach(replacement.descriptor());
  CXMLWriter writer(options);
  writer.setByteSink(&sink);
  writer.selectEncoding(declInfo.encoding);  // an unknown name falls back to UTF-8
  const bool written = writer.writeDocument(document, &declInfo);
  sink.close();

  if (!written) {
    result.outcome = SaveOutcome::kNothingToWrite;
  } else if (writer.encodingFailure(result.character)) {
    result.outcome = SaveOutcome::kUnrepresentable;
  } else if (sink.failed()) {
    result.outcome = SaveOutcome::kWriteFailed;
    result.error = "cannot write " + platform::WideToMultiByte(path) + ": " + platform::SystemErrorText(sink.error());
  } else if (!replacement.prepare()) {
    result.outcome = SaveOutcome::kWriteFailed;
    result.error = replacement.error();
  }
  if (!result.ok()) replacement.abandon();
  return result;
}

SaveResult WriteDocumentFile(const CDOMDocument* document, const std::u16string& path, const XMLDeclInfo& declInfo,
                             const WriteOptions& options) {
  platform::FileReplacement replacement;
  SaveResult result = PrepareDocumentFile(document, path, declInfo, options, replacement);
  if (result.ok() && !replacement.commit()) {
    result.outcome = SaveOutcome::kWriteFailed;
    result.error = replacement.error();
  }
  return result;
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
