#include "xml/output/XMLWriter.h"

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMNameRecord.h"
#include "quillet/xml/DOMProcessingInstruction.h"
#include "xml/common/AsciiBlocks.h"
#include "xml/common/U16String.h"
#include "xml/output/XMLDeclParser.h"

namespace quillet::xml {

namespace {
// ISO-8859-1 as a Windows code page: the low 8 bits of every character up to U+00FF.
constexpr unsigned kLatin1CodePage = 28591;
}  // namespace

CXMLWriterBase::~CXMLWriterBase() = default;

CXMLWriter::CXMLWriter(const WriteOptions& options) : options_(options), out_(new char16_t[kOutUnits]) {}

CXMLWriter::~CXMLWriter() = default;

void CXMLWriter::setByteSink(CByteSink* sink) { sink_ = sink; }

bool CXMLWriter::selectEncoding(const std::u16string& name) {
  std::unique_ptr<COutputEncoder> encoder = CreateOutputEncoder(name, sink_);
  if (!encoder) return false;
  encoder_ = std::move(encoder);
  return true;
}

void CXMLWriter::release() { delete this; }

bool CXMLWriter::writeDocument(const CDOMDocument* document, const XMLDeclInfo* declInfo) {
  if (document == nullptr || sink_ == nullptr) return false;
  const CDOMNode* first = document->getFirstChild();
  if (first == nullptr) return false;

  if (first->getNodeType() == DOMNodeTypeProcessingInstruction &&
      std::u16string(static_cast<const CDOMProcessingInstruction*>(first)->getTarget()) == u"xml") {
    declFromDocument_ = true;
    // The instruction is written as it stands, so it must be a declaration a reader
    // would accept again; the encoding it names decides the bytes.
    CXMLDeclParser parser;
    parser.feed(u"<?xml ");
    if (parser.feed(static_cast<const CDOMProcessingInstruction*>(first)->getData()) < 0) return false;
    if (parser.feed(u"?>") != CXMLDeclParser::kComplete) return false;
    if (!parser.getEncoding().empty()) {
      // An unknown name leaves no encoder, so the UTF-8 fallback below applies.
      encoder_.reset();
      selectEncoding(parser.getEncoding());
    }
  }
  if (declInfo != nullptr && declInfo->encoding == kCompatibilityEncoding) {
    ie4Wrapper_ = true;
    if (options_.codePage != 0) encoder_ = std::make_unique<CCodePageEncoder>(sink_, options_.codePage);
    else encoder_ = std::make_unique<CSingleByteEncoder>(sink_);
  }
  if (options_.strictSingleByte && dynamic_cast<CSingleByteEncoder*>(encoder_.get()) != nullptr)
    encoder_ = std::make_unique<CCodePageEncoder>(sink_, kLatin1CodePage);
  declInfo_ = declInfo;
  if (!encoder_) encoder_ = std::make_unique<CUTF8Encoder>(sink_);

  encoder_->begin();
  writeContent(document);
  encoder_->end();
  return true;
}

bool CXMLWriter::encodingFailure(char32_t& character, unsigned* codePage) const {
  const auto* encoder = dynamic_cast<const CCodePageEncoder*>(encoder_.get());
  character = encoder != nullptr && encoder->failed() ? encoder->failedCharacter() : 0;
  if (codePage != nullptr && encoder != nullptr) *codePage = encoder->codePage();
  return encoder != nullptr && encoder->failed();
}

void CXMLWriter::writeContent(const CDOMNode* document) {
  if (!encoder_ || document == nullptr) return;
  depth_ = 0;
  if (ie4Wrapper_) {
    put(u"<XML>");
    lineEnd();
  } else if (!declFromDocument_ && declInfo_ != nullptr && declInfo_->declared) {
    // Always version 1.0 and standalone, whatever the loaded declaration said; the
    // encoding name goes out exactly as it was read.
    if (declInfo_->encodingGiven) {
      put(u"<?xml version=\"1.0\" encoding=\"");
      put(declInfo_->encoding);
      put(u"\" standalone=\"yes\" ?>");
    } else {
      put(u"<?xml version=\"1.0\" standalone=\"yes\" ?>");
    }
    lineEnd();
  }
  writeNode(document, true, true);
  if (ie4Wrapper_) {
    put(u"</XML>");
    lineEnd();
  }
  flushOut();
}

void CXMLWriter::writeNode(const CDOMNode* node, bool withSiblings, bool indent) {
  if (!encoder_) return;
  // Elements and documents whose children are being written wait on open_ instead of
  // on the call stack, so a tree of any depth is written in constant stack.
  const size_t base = open_.size();
  const CDOMNode* current = node;
  for (;;) {
    while (current != nullptr) {
      const CDOMNode* child = writeOne(current, indent);
      if (child != nullptr) {
        open_.push_back({current, withSiblings, indent});
        current = child;
        withSiblings = true;
        indent = true;
        continue;
      }
      current = withSiblings ? current->getNextSibling() : nullptr;
    }
    if (open_.size() == base) return flushOut();
    const OpenNode done = open_.back();
    open_.pop_back();
    if (done.node->getNodeType() == DOMNodeTypeElement) writeEndTag(done.node);
    withSiblings = done.withSiblings;
    indent = done.indent;
    current = withSiblings ? done.node->getNextSibling() : nullptr;
  }
}

const CDOMNode* CXMLWriter::writeOne(const CDOMNode* node, bool indent) {
  switch (node->getNodeType()) {
    case DOMNodeTypeElement: {
      indentation();  // whatever `indent` says
      writeStartTag(static_cast<const CDOMElement*>(node));
      const CDOMNode* first = node->getFirstChild();
      if (first == nullptr) {
        lineEnd();
        return nullptr;
      }
      if (first->getNodeType() == DOMNodeTypeText && first->getNextSibling() == nullptr) {
        // A lone text child stays on the start tag's line.
        writeText(first, false);
        put(u"</", 2);
        writeName(node);
        put(u'>');
        lineEnd();
        return nullptr;
      }
      lineEnd();
      ++depth_;
      return first;
    }
    case DOMNodeTypeText:
      writeText(node, indent);
      return nullptr;
    case DOMNodeTypeCDATASection:
      writeMarkupLine(u"<![CDATA[", node->getNodeValue(), u"]]>");
      return nullptr;
    case DOMNodeTypeEntityReference:
      put(u"&");
      put(node->getNodeName());
      put(u";");
      return nullptr;
    case DOMNodeTypeProcessingInstruction:
      indentation();
      put(u"<?");
      put(node->getNodeName());
      put(u" ");  // even when the data is empty
      put(node->getNodeValue());
      put(u"?>");
      lineEnd();
      return nullptr;
    case DOMNodeTypeComment:
      writeMarkupLine(u"<!--", node->getNodeValue(), u"-->");
      return nullptr;
    case DOMNodeTypeDocument:
      return node->getFirstChild();
    default:
      // Attributes and the document type are not content: nothing is written.
      return nullptr;
  }
}

void CXMLWriter::writeMarkupLine(const char16_t* open, const char16_t* text, const char16_t* close) {
  indentation();
  put(open);
  put(text);
  put(close);
  lineEnd();
}

void CXMLWriter::writeText(const CDOMNode* text, bool indent) {
  if (indent) indentation();
  writeEscaped(text->getNodeValue());
  if (indent) lineEnd();
}

void CXMLWriter::writeEndTag(const CDOMNode* element) {
  --depth_;
  indentation();
  put(u"</", 2);
  writeName(element);
  put(u'>');
  lineEnd();
}

void CXMLWriter::writeName(const CDOMNode* node) {
  put(static_cast<const CDOMNamedNode*>(node)->getNameRecord()->getQualifiedName());
}

void CXMLWriter::writeStartTag(const CDOMElement* element) {
  put(u'<');
  writeName(element);
  if (element->hasAttributes()) {
    put(u' ');
    for (const CDOMNode* attribute = element->getFirstAttribute(); attribute != nullptr;
         attribute = attribute->getNextSibling()) {
      const char16_t* value = attribute->getNodeValue();
      writeName(attribute);
      put(u'=');
      // The compatibility form writes numbers bare, as its readers expect them. A
      // value is all digits escaped exactly when it is before: escapes are not digits.
      bool quoted = true;
      if (ie4Wrapper_ && *value != 0) {
        quoted = false;
        for (const char16_t* p = value; *p != 0; ++p) {
          if (!charClasses_.isDigit(*p)) {
            quoted = true;
            break;
          }
        }
      }
      if (quoted) put(u'"');
      writeEscaped(value);
      if (quoted) put(u'"');
      if (attribute->getNextSibling() != nullptr) put(u' ');
    }
  }
  if (element->hasChildNodes()) {
    put(u'>');
  } else if (ie4Wrapper_ && !element->hasAttributes() && options_.emptyContainersWithEndTag) {
    // HTML Help's own reader takes a bare <Name/> for a container that never ends.
    put(u"></", 3);
    writeName(element);
    put(u'>');
  } else {
    put(u"/>", 2);
  }
}

void CXMLWriter::writeEscaped(const char16_t* text) {
  if (text == nullptr) return;
  const char16_t* p = text;
  for (;;) {
    // Characters that need no escape go into the output buffer as one run.
    const size_t room = kOutUnits - used_;
    const size_t run = CopyOutputRun(p, out_.get() + used_, room);
    used_ += run;
    p += run;
    if (run == room) {
      flushOut();
      continue;
    }
    switch (*p++) {
      case u'\t': put(u"&#9;", 4); break;
      case u'\n': put(u"&#10;", 5); break;
      case u'\r': put(u"&#13;", 5); break;
      case u'"': put(u"&quot;", 6); break;
      case u'&': put(u"&amp;", 5); break;
      case u'<': put(u"&lt;", 4); break;
      case u'>': put(u"&gt;", 4); break;
      default: return;  // the terminating 0
    }
  }
}

void CXMLWriter::flushOut() {
  if (used_ == 0) return;
  encoder_->write(out_.get(), used_);
  used_ = 0;
}

void CXMLWriter::put(const char16_t* text) {
  if (text != nullptr) put(text, U16Length(text));
}

void CXMLWriter::indentation() {
  if (depth_ <= 0) return;
  const size_t depth = static_cast<size_t>(depth_);
  if (tabs_.size() < depth) tabs_.assign(depth * 2, u'\t');
  put(tabs_.data(), depth);
}

}  // namespace quillet::xml
