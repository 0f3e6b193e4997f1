// The grammar behind CSAXReader: decoding and position counting, the prolog, element
// content and the document type declaration. The public reader forwards to one of
// these. The members are defined by subject: XMLParser.cpp (characters, the shared
// pieces, the parse), XMLParserProlog.cpp, XMLParserContent.cpp and
// XMLParserDoctype.cpp; the last two build on the shared pieces below (names, quoted
// values, references, the entity table).
#ifndef QUILLET_XML_READER_XMLPARSER_H
#define QUILLET_XML_READER_XMLPARSER_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "quillet/xml/ByteSource.h"
#include "quillet/xml/SAXAttributes.h"
#include "quillet/xml/SAXContentHandler.h"
#include "quillet/xml/SAXDTDHandler.h"
#include "quillet/xml/SAXErrorHandler.h"
#include "quillet/xml/SAXLocator.h"
#include "quillet/xml/SAXReader.h"
#include "quillet/xml/XMLDeclInfo.h"
#include "xml/common/XMLCharClasses.h"
#include "xml/reader/CharSource.h"
#include "xml/reader/NamespaceScopes.h"
#include "xml/reader/XMLParserError.h"

namespace quillet::xml {

// The five predefined entities, entered first in every parse.
struct PredefinedEntity {
  std::u16string_view name;
  char16_t character;
};
inline constexpr PredefinedEntity kPredefinedEntities[] = {
    {u"lt", u'<'}, {u"gt", u'>'}, {u"amp", u'&'}, {u"apos", u'\''}, {u"quot", u'"'}};

class CXMLParser : public CSAXLocator {
 public:
  CXMLParser();
  ~CXMLParser() override;
  CXMLParser(const CXMLParser&) = delete;
  CXMLParser& operator=(const CXMLParser&) = delete;

  // Attached handlers (borrowed) and the switches; the public reader sets them.
  CSAXContentHandler* contentHandler = nullptr;
  CSAXDTDHandler* dtdHandler = nullptr;
  CSAXErrorHandler* errorHandler = nullptr;
  bool namespaces = true;
  bool inlineEncoding = true;
  bool expandCDATA = true;
  bool preserveSpace = false;
  // Expansion caps (characters). An entity's replacement text may hold at most
  // `maxEntityValueLength`; references to declared entities, in entity values,
  // content and attribute values together, may produce at most
  // `maxEntityExpansion` in one document.
  std::size_t maxEntityValueLength = kDefaultMaxEntityValueLength;
  std::size_t maxEntityExpansion = kDefaultMaxEntityExpansion;
  // Where the public reader keeps the text of the cap it last reported.
  std::u16string propertyText;
  // Filled by every parse: the encoding settled on and whether the document named it.
  XMLDeclInfo declInfo;

  void parse(CByteSource& bytes, bool unicodeDefault);

  const std::u16string& getPublicId() const override { return publicId_; }
  const std::u16string& getSystemId() const override { return systemId_; }
  int getLineNumber() const override { return line_; }
  int getColumnNumber() const override { return column_; }
  const std::u16string& errorMessage() const { return message_; }
  bool compatibilityMode() const { return compatibility_; }

  // --- Character operations. Each returns 0 or the source's nonzero code. Only
  // nextChar counts lines and columns, and it delivers every line end (CR LF, CR or
  // LF) as one line feed.
  int nextChar(char16_t& c) {
    if (utf8_ == nullptr || !utf8_->readBufferedAscii(c)) {
      if (const int r = readDecoded(c)) return r;
    }
    ++column_;
    return c <= u'\r' ? countLineEnd(c) : 0;
  }
  int peekNext(char16_t& c) {
    unsigned char b = 0;
    if (utf8_ != nullptr && bytes_->peekBuffered(b) && b < 0x80) {
      c = b;
      return 0;
    }
    return peekDecoded(c);
  }
  int ungetChar() {
    if (utf8_ != nullptr && utf8_->ungetBuffered()) return 0;
    return ungetDecoded();
  }
  int skipNext() {
    char16_t c = 0;
    if (utf8_ != nullptr && utf8_->readBufferedAscii(c)) return 0;
    return skipDecoded();
  }
  // Takes the run of buffered ASCII characters of `asciiClass` that follows, in one
  // piece whatever the encoding: appends it to `out` and counts its columns (the
  // classes hold no line ends). Stops early where the buffer does.
  void readRun(unsigned char asciiClass, std::u16string& out) { readBufferedRun(asciiClass, false, out); }
  // The same, taking every character from 0x80 up into the run as well: text and
  // attribute values, where only ASCII characters have a meaning of their own.
  void readTextRun(unsigned char asciiClass, std::u16string& out) { readBufferedRun(asciiClass, true, out); }
  // The encoding named by an XML declaration: "ASCII" and "ISO-8859-1" switch to one
  // byte per character from the next character on; every other name changes nothing.
  void setEncoding(const std::u16string& name);

  // --- Pieces of the grammar shared by its parts.
  // Raises `error`: stores its message when it has one, with `argument` (a name, a
  // word) or the character `c` in place of "{}", and throws its code.
  [[noreturn]] void fail(XMLError error, std::u16string_view argument = {});
  [[noreturn]] void fail(XMLError error, char16_t c) { fail(error, std::u16string_view(&c, 1)); }
  // A limit's error, its message naming the limit.
  [[noreturn]] void failLimit(XMLError error, long limit);
  // The next character; end of input fails with `eof`.
  char16_t need(XMLError eof = XMLError::EndOfInput) {
    char16_t c = 0;
    if (nextChar(c) != 0) fail(eof);
    return c;
  }
  // Skips white space without consuming what follows; returns 0, or the source's
  // code when the input ended.
  int skipWhite() { return nextIsPlainAscii() ? 0 : skipWhiteSlow(); }
  // Reads characters until one is not white space and returns it.
  char16_t readNonWhite(XMLError eof) { return nextIsPlainAscii() ? need(eof) : readNonWhiteSlow(eof); }
  // Byte positions for looking ahead and going back. Going back does not undo the
  // line and column counting of the characters read meanwhile.
  long position();
  void restore(long position);
  // Reads the literal's characters while they match; false at the first mismatch
  // or at the end of input.
  bool matchLiteral(const char* literal);
  // Every character must match: `mismatch` otherwise, `eof` at end of input.
  void expectLiteral(const char* literal, XMLError mismatch, XMLError eof);

  void scanName(std::u16string& name);
  void scanQName(std::u16string& prefix, std::u16string& localName, std::u16string& qName);
  void readAttributeValue(std::u16string& value);
  // After "&" with "#" next: consumes the reference up to its ";".
  char16_t readCharRef();
  // After "&" with a name next: appends the entity's replacement text.
  void readEntityRef(std::u16string& out);
  // After "&": a character or entity reference, appended to `out`.
  void readReference(std::u16string& out);
  // After "&": a character reference or a predefined entity wholly in the buffer,
  // without a call per character, counting columns as the general path does. False,
  // with nothing consumed, sends the caller to the general path.
  bool readBufferedReference(std::u16string& out);
  // After "<!": "[CDATA[" ... "]]>".
  void readCDATA(std::u16string& text);
  void readComment(bool expectDashes);
  void readPI();

  // General entities: the first value given to a name stays, so the five predefined
  // ones, entered first, cannot be redefined.
  struct Entity {
    std::u16string text;
    bool declared;  // by the document, not predefined: its expansions are counted
  };
  void addEntity(const std::u16string& name, std::u16string text, bool declared);
  const Entity* findEntity(const std::u16string& name) const;
  // Appends an entity's replacement text, counting a declared entity's against the
  // document's expansion cap.
  void appendEntity(const Entity& entity, std::u16string& out);

  const CXMLCharClasses& classes() const { return classes_; }

 private:
  struct ElementFrame {
    std::u16string prefix;
    std::u16string localName;
    std::u16string qName;
    std::u16string uri;
    std::size_t declBegin = 0;  // this element's namespace declarations in declPrefixes_
    std::size_t declEnd = 0;
    bool pendingSpace = false;
  };

  // Whether the next character is in the buffer, ASCII and above the space: most
  // often true where white space may come, and then there is none.
  bool nextIsPlainAscii() const {
    unsigned char b = 0;
    return byteUnits_ && bytes_->peekBuffered(b) && b > ' ' && b < 0x80;
  }
  // Whether plain text of element content is next in the buffer, in a character of
  // one byte.
  bool nextIsPlainText() const {
    unsigned char b = 0;
    return byteUnits_ && bytes_->peekBuffered(b) && IsByteOf(b, kAsciiPlainText);
  }
  int skipWhiteSlow();
  char16_t readNonWhiteSlow(XMLError eof);
  int readDecoded(char16_t& c);
  int peekDecoded(char16_t& c);
  int ungetDecoded();
  int skipDecoded();
  void readBufferedRun(unsigned char asciiClass, bool wide, std::u16string& out) {
    std::size_t n;
    if (utf8_ != nullptr) n = utf8_->readBufferedRun(asciiClass, wide, out);
    else if (utf16_ != nullptr) n = utf16_->readBufferedRun(asciiClass, wide, out);
    else if (current_ == nullptr) n = ReadBufferedByteRun(bytes_, asciiClass, wide, out);
    else return;
    column_ += static_cast<int>(n);
  }
  // Consumes the white space the buffer holds next, counting lines and columns as
  // nextChar does; a carriage return the buffer ends at, or one before a byte from
  // 0x80 up (which may be a line feed in an overlong form), is left for nextChar.
  void skipBufferedWhite();
  int countLineEnd(char16_t& c);
  // Every change of decoder goes through here, to keep the fast path's view in step.
  void setCurrent(CCharSource* source);
  void reset(CByteSource& bytes, bool unicodeDefault);
  void detectEncoding();
  void readDocument();
  void readXMLDecl();
  void readDeclValue(std::u16string& data, const char16_t* label, bool isEncoding);
  void readEquals();
  // What one step of readMisc met.
  enum class MiscKind { EndOfInput, WhiteSpace, Comment, ProcessingInstruction, Other };
  bool readMisc(MiscKind& kind);
  // The document type declaration: false, with nothing consumed, when none follows.
  // Each declaration reader starts right after its keyword and its one space.
  bool readDoctype();
  void readInternalSubset();
  void readMarkupDecl();
  void readEntityDecl();
  void readEntityValue(char16_t quote, std::u16string& value);
  void readElementDecl();
  void readChildrenGroup();
  void skipOccurrence();
  void readAttlistDecl();
  void readAttType();
  void readAttDefault();
  void readNotationDecl();
  void readExternalID(std::u16string& publicId, std::u16string& systemId);
  void readQuotedLiteral(std::u16string& text);
  // `name (S? "|" S? name)*` with white space around; returns the first character
  // that is not white space after it. With `tokens`, name tokens (any name
  // characters) instead of names.
  char16_t readNameAlternatives(bool tokens);
  void readNameToken();

  // Element content, read with an explicit stack of open elements instead of
  // recursion, so that deep nesting cannot exhaust the call stack.
  void readRootElement();
  // Reads a start or empty-element tag and reports it. True when the element has
  // content to read (its frame is then on the stack); false for an empty element,
  // which is complete, or for end of input where the root element would begin.
  bool readStartTag();
  void readAttributes(bool& empty);
  void processNamespaces(ElementFrame& frame);
  void readEndTag();
  void endElement(ElementFrame& frame);
  // The space that stands for a line end before more text, then `c`.
  void appendPendingSpace(ElementFrame& frame);
  void appendOrdinary(ElementFrame& frame, char16_t c);
  void flushText();
  void checkName(std::size_t partLength);
  std::size_t scanNameParts(std::u16string& name, bool qualified);
  // The common name without a call per character: ASCII, wholly in the buffer, within
  // the length limit and followed by an ASCII character other than a line end. False,
  // with nothing consumed, sends the caller to the general path.
  bool scanBufferedName(std::u16string& name, std::size_t& colon);

  CXMLCharClasses classes_;
  CByteSource* bytes_ = nullptr;
  CCharSource* current_ = nullptr;  // null: one byte per character
  CUTF8CharSource* utf8_ = nullptr;    // current_ when it is the UTF-8 decoder
  CUTF16CharSource* utf16_ = nullptr;  // current_ when it is the UTF-16 decoder
  bool byteUnits_ = true;  // one byte a code unit: UTF-8 or one byte per character
  std::unique_ptr<CCharSource> initial_;
  std::unique_ptr<CCharSource> detected_;
  bool compatibility_ = false;

  int line_ = 1;
  int column_ = 1;
  std::u16string publicId_;
  std::u16string systemId_;
  std::u16string message_;

  std::unordered_map<std::u16string, Entity> entities_;
  std::size_t expanded_ = 0;  // characters produced by references to declared entities
  CNamespaceScopes scopes_;

  std::vector<ElementFrame> frames_;  // frames_[0, depth_) are open; the rest is reused storage
  int depth_ = 0;
  std::vector<std::u16string> declPrefixes_;
  std::size_t declCount_ = 0;
  CSAXAttributes attributes_;
  std::u16string text_;      // character data of the current run
  std::u16string scratch_;   // comments, PI data, CDATA, entity names
  std::u16string scratch2_;  // PI targets
  std::u16string name_;      // entity and end-tag names
  int bracketRun_ = 0;       // "]" seen in a row in character data, up to 2
};

}  // namespace quillet::xml

#endif
