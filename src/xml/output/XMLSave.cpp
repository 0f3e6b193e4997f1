#include "xml/output/XMLSave.h"

#include "platform/Platform.h"
#include "quillet/xml/DOM.h"
#include "quillet/xml/SAXReader.h"
#include "xml/common/U16String.h"
#include "xml/output/XMLWriter.h"

namespace quillet::xml {

std::string WhyItWouldNotLoad(const CDOMDocument* document) {
  if (document == nullptr) return "";
  // A walk in document order that counts the elements open around each node.
  int depth = 0;
  const CDOMNode* node = document->getFirstChild();
  while (node != nullptr) {
    const int type = node->getNodeType();
    if (type == DOMNodeTypeElement || type == DOMNodeTypeProcessingInstruction) {
      if (U16Length(node->getNodeName()) > static_cast<size_t>(kMaxNameLength))
        return "a name is longer than " + std::to_string(kMaxNameLength) + " characters";
    }
    if (type == DOMNodeTypeElement) {
      for (const CDOMNode* a = static_cast<const CDOMElement*>(node)->getFirstAttribute(); a != nullptr;
           a = a->getNextSibling())
        if (U16Length(a->getNodeName()) > static_cast<size_t>(kMaxNameLength))
          return "an attribute name is longer than " + std::to_string(kMaxNameLength) + " characters";
    }
    if (node->getFirstChild() != nullptr) {
      if (type == DOMNodeTypeElement && ++depth >= kMaxElementDepth)
        return "elements nest deeper than " + std::to_string(kMaxElementDepth) + " levels";
      node = node->getFirstChild();
      continue;
    }
    while (node != nullptr && node->getNextSibling() == nullptr) {
      node = node->getParentNode();
      if (node == document) node = nullptr;
      else if (node != nullptr && node->getNodeType() == DOMNodeTypeElement) --depth;
    }
    if (node != nullptr) node = node->getNextSibling();
  }
  return "";
}

SaveResult PrepareDocumentFile(const CDOMDocument* document, const std::u16string& path, const XMLDeclInfo& declInfo,
                               const WriteOptions& options, platform::FileReplacement& replacement) {
  SaveResult result;
  if (options.onlyWhatReadsBack) {
    result.error = WhyItWouldNotLoad(document);
    if (!result.error.empty()) {
      result.outcome = SaveOutcome::kWouldNotLoad;
      return result;
    }
  }
  if (!replacement.open(platform::WideToAnsi(path))) {
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
  } else if (writer.encodingFailure(result.character, &result.codePage)) {
    result.outcome = SaveOutcome::kUnrepresentable;
  } else if (sink.failed()) {
    result.outcome = SaveOutcome::kWriteFailed;
    result.error = "cannot write " + platform::WideToAnsi(path) + ": " + platform::SystemErrorText(sink.error());
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
