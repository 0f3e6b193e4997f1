// The XML writer: serializes a document tree, or one node of it, as text through an
// output encoder into a byte sink.
//
// Output is always pretty-printed: one node per line, indented with tabs, lines ended
// by CR LF. Element content is re-laid out accordingly, except that an element whose
// only child is a text node keeps that text on its own line. Text and attribute values
// are escaped; names, comments, CDATA sections and processing instructions are written
// as they stand.
#ifndef QUILLET_XML_OUTPUT_XMLWRITER_H
#define QUILLET_XML_OUTPUT_XMLWRITER_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quillet/xml/ByteSink.h"
#include "quillet/xml/XMLDeclInfo.h"
#include "xml/common/XMLCharClasses.h"
#include "xml/output/OutputEncoder.h"

namespace quillet::xml {

class CDOMDocument;
class CDOMElement;
class CDOMNode;

// What the caller of a save chooses beyond what the document and its declaration info
// say. Read once where a save starts and handed in with it.
struct WriteOptions {
  // In the "<XML>" form, an element with neither attributes nor children is written
  // `<Name></Name>` instead of `<Name/>`, which HTML Help's own reader takes for a
  // container that never ends.
  bool emptyContainersWithEndTag = false;
  // The bytes of the "<XML>" form: 0 keeps the low 8 bits of each character; any
  // other number encodes the text in that Windows code page, and a character the code
  // page cannot hold makes writeDocument write nothing (see encodingFailure).
  unsigned codePage = 0;
  // Single-byte output that would lose a character: the "<XML>" form without a code
  // page, "ASCII" and "ISO-8859-1", which keep the low 8 bits, instead refuse a
  // character above U+00FF as a code page refuses one it cannot hold.
  bool strictSingleByte = false;
  // A tree the reader would refuse to read back (nesting deeper than kMaxElementDepth,
  // a name longer than kMaxNameLength) is not written at all.
  bool onlyWhatReadsBack = false;
};

class CXMLWriterBase {
 public:
  virtual ~CXMLWriterBase();
  // The sink that encoders created from now on write to (borrowed).
  virtual void setByteSink(CByteSink* sink) = 0;
  // Makes the encoder for `name` current (see CreateOutputEncoder). False, and the
  // current encoder kept, for a name that is not known.
  virtual bool selectEncoding(const std::u16string& name) = 0;
  // Writes a whole document; false when nothing could be written.
  virtual bool writeDocument(const CDOMDocument* document, const XMLDeclInfo* declInfo) = 0;
  // Deletes a writer made with new.
  virtual void release() = 0;
};

class CXMLWriter final : public CXMLWriterBase {
 public:
  explicit CXMLWriter(const WriteOptions& options = WriteOptions());
  ~CXMLWriter() override;

  void setByteSink(CByteSink* sink) override;
  bool selectEncoding(const std::u16string& name) override;

  // Writes `document` framed by the encoder's begin() and end():
  // - A leading "xml" processing instruction in the tree stands for the declaration
  //   (the writer then writes none of its own); the encoding it names, if any, picks
  //   the encoder. When it does not parse as a complete declaration, nothing is
  //   written and the result is false.
  // - declInfo->encoding "MSXML_IE4" wraps the document in "<XML>" ... "</XML>",
  //   single byte, and leaves all-digit attribute values unquoted.
  // - Otherwise a declaration is written when declInfo says the loaded document had
  //   one (naming the encoding when it named one).
  // Without an encoder by then, UTF-8 is used. False, writing nothing, for a
  // document without children. `declInfo` may be null and is borrowed.
  bool writeDocument(const CDOMDocument* document, const XMLDeclInfo* declInfo) override;
  void release() override;

  // The declaration or wrapper that writeDocument settled on, then every node of the
  // document. Does not call the encoder's begin() or end().
  void writeContent(const CDOMNode* document);

  // Writes `node` at the current depth, then, with `withSiblings`, each of its
  // following siblings. Without `indent` a text node is written without indentation
  // and line end (as the only child of an element is). Elements are always indented.
  // Works without recursion, so any depth of tree can be written.
  void writeNode(const CDOMNode* node, bool withSiblings, bool indent);

  // After writeDocument in the "<XML>" form with a code page: the first character the
  // code page could not hold (then nothing was written), else 0 and false.
  // `codePage`, when given, receives the code page that refused it.
  bool encodingFailure(char32_t& character, unsigned* codePage = nullptr) const;

 private:
  // An element, or the document, whose children are being written; once they are
  // done the element gets its end tag and the walk goes on at its next sibling if
  // `withSiblings` says so.
  struct OpenNode {
    const CDOMNode* node;
    bool withSiblings;
    bool indent;
  };

  // Writes `node` itself; returns its first child when its children come next, on
  // lines of their own one level deeper (the caller then owes the end tag), else null.
  const CDOMNode* writeOne(const CDOMNode* node, bool indent);
  void writeText(const CDOMNode* text, bool indent);
  // A comment or CDATA section: on its own indented line, the text unescaped.
  void writeMarkupLine(const char16_t* open, const char16_t* text, const char16_t* close);
  void writeEndTag(const CDOMNode* element);
  void writeStartTag(const CDOMElement* element);
  // `text` with the characters that need it written as references.
  void writeEscaped(const char16_t* text);
  // The qualified name of an element or attribute.
  void writeName(const CDOMNode* node);

  // Output goes through out_, a buffer of 16-bit units that the encoder gets whole
  // when it is full and at the end of each top-level write: one encoder call per
  // buffer, not per piece.
  void put(const char16_t* text, size_t length) {
    if (length > kOutUnits - used_) {
      flushOut();
      if (length >= kOutUnits) return encoder_->write(text, length);
    }
    std::copy(text, text + length, out_.get() + used_);
    used_ += length;
  }
  void put(char16_t c) {
    if (used_ == kOutUnits) flushOut();
    out_[used_++] = c;
  }
  void put(const std::u16string& text) { put(text.data(), text.size()); }
  void put(const char16_t* text);
  void flushOut();
  void lineEnd() { put(u"\r\n", 2); }
  void indentation();

  static constexpr size_t kOutUnits = 8192;

  const WriteOptions options_;
  CXMLCharClasses charClasses_;
  bool ie4Wrapper_ = false;
  std::unique_ptr<COutputEncoder> encoder_;
  CByteSink* sink_ = nullptr;
  int32_t depth_ = 0;
  const XMLDeclInfo* declInfo_ = nullptr;
  bool declFromDocument_ = false;

  std::unique_ptr<char16_t[]> out_;
  size_t used_ = 0;
  // Reused between nodes, so writing allocates nothing per node.
  std::u16string tabs_;
  std::vector<OpenNode> open_;
};

}  // namespace quillet::xml

#endif
