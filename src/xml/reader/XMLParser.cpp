#include "xml/reader/XMLParser.h"

#include <string>

#include "quillet/xml/SAXException.h"
#include "xml/common/U16String.h"
#include "xml/reader/XMLParserException.h"

namespace quillet::xml {

CXMLParser::CXMLParser() { text_.reserve(1024); }

CXMLParser::~CXMLParser() = default;

// --- Character operations --------------------------------------------------------

int CXMLParser::readDecoded(char16_t& c) {
  if (current_ != nullptr) return current_->readChar(c);
  unsigned char b = 0;
  if (const int r = bytes_->readByte(b)) return r;
  c = b;
  return 0;
}

int CXMLParser::peekDecoded(char16_t& c) {
  if (current_ != nullptr) return current_->peekChar(c);
  unsigned char b = 0;
  const int r = bytes_->peekByte(b);
  if (r == 0) c = b;
  return r;
}

// A carriage return, alone or before a line feed, is delivered as one line feed.
int CXMLParser::countLineEnd(char16_t& c) {
  if (c == u'\r') {
    char16_t following = 0;
    if (peekNext(following) == 0 && following == u'\n') skipNext();
    c = u'\n';
  }
  if (c == u'\n') {
    ++line_;
    column_ = 1;
  }
  return 0;
}

void CXMLParser::setCurrent(CCharSource* source) {
  current_ = source;
  utf8_ = dynamic_cast<CUTF8CharSource*>(source);
  utf16_ = dynamic_cast<CUTF16CharSource*>(source);
  byteUnits_ = source == nullptr || utf8_ != nullptr;
}

int CXMLParser::ungetDecoded() { return current_ != nullptr ? current_->ungetChar() : bytes_->unreadByte(); }

int CXMLParser::skipDecoded() { return current_ != nullptr ? current_->skipChar() : bytes_->skipByte(); }

void CXMLParser::skipBufferedWhite() {
  if (!byteUnits_) return;
  const unsigned char* const begin = bytes_->bufferedBegin();
  const unsigned char* const end = bytes_->bufferedEnd();
  const unsigned char* p = begin;
  while (p != end) {
    const unsigned char b = *p;
    if (b == ' ' || b == '\t') {
      ++column_;
      ++p;
    } else if (b == '\n' || (b == '\r' && end - p >= 2 && p[1] < 0x80)) {
      p += b == '\r' && p[1] == '\n' ? 2 : 1;
      ++line_;
      column_ = 1;
    } else {
      break;
    }
  }
  if (p == begin) return;
  bytes_->skipBuffered(static_cast<std::size_t>(p - begin));
  if (utf8_ != nullptr) utf8_->noteBuffered(1);
}

void CXMLParser::setEncoding(const std::u16string& name) {
  if (name == u"ASCII" || name == u"ISO-8859-1") setCurrent(nullptr);
}

// --- Shared grammar pieces -------------------------------------------------------

void CXMLParser::fail(XMLError error, std::u16string_view argument) {
  if (XMLErrorHasText(error)) message_ = XMLErrorMessage(error, argument);
  throw AXMLParserException(XMLErrorCode(error));
}

void CXMLParser::failLimit(XMLError error, long limit) {
  fail(error, U16FromAscii(std::to_string(limit).c_str()));
}

int CXMLParser::skipWhiteSlow() {
  for (;;) {
    skipBufferedWhite();
    char16_t c = 0;
    if (const int r = peekNext(c)) return r;
    if (!CXMLCharClasses::isWhiteSpace(c)) return 0;
    nextChar(c);
  }
}

char16_t CXMLParser::readNonWhiteSlow(XMLError eof) {
  skipBufferedWhite();
  char16_t c = need(eof);
  while (CXMLCharClasses::isWhiteSpace(c)) c = need(eof);
  return c;
}

long CXMLParser::position() {
  long p = 0;
  if (bytes_->tell(p) != 0) fail(XMLError::EndOfInput);
  return p;
}

void CXMLParser::restore(long p) {
  if (utf8_ != nullptr) utf8_->forgetBuffered();
  if (bytes_->seek(p) != 0) fail(XMLError::EndOfInput);
}

bool CXMLParser::matchLiteral(const char* literal) {
  for (const char* p = literal; *p; ++p) {
    char16_t c = 0;
    if (nextChar(c) != 0 || c != static_cast<unsigned char>(*p)) return false;
  }
  return true;
}

void CXMLParser::expectLiteral(const char* literal, XMLError mismatch, XMLError eof) {
  for (const char* p = literal; *p; ++p) {
    if (need(eof) != static_cast<unsigned char>(*p)) fail(mismatch);
  }
}

void CXMLParser::addEntity(const std::u16string& name, std::u16string text, bool declared) {
  entities_.try_emplace(name, Entity{std::move(text), declared});  // keeps an existing value
}

const CXMLParser::Entity* CXMLParser::findEntity(const std::u16string& name) const {
  const auto it = entities_.find(name);
  return it == entities_.end() ? nullptr : &it->second;
}

// The predefined entities are not counted: each stands for one character of a
// reference at least four long, so they can never make the text outgrow the input.
void CXMLParser::appendEntity(const Entity& entity, std::u16string& out) {
  if (entity.declared) {
    // Compared as a difference, so that the sum cannot overflow (the first test
    // guards against a cap lowered by a handler in the middle of the parse).
    if (expanded_ > maxEntityExpansion || entity.text.size() > maxEntityExpansion - expanded_) {
      failLimit(XMLError::EntityExpansionTooLarge, static_cast<long>(maxEntityExpansion));
    }
    expanded_ += entity.text.size();
  }
  out += entity.text;
}

// --- The parse -------------------------------------------------------------------

void CXMLParser::reset(CByteSource& bytes, bool unicodeDefault) {
  setCurrent(nullptr);
  detected_.reset();
  if (unicodeDefault) {
    auto utf16 = std::make_unique<CUTF16CharSource>();
    utf16->attachInState(&bytes, CUTF16CharSource::kLittleEndian);
    initial_ = std::move(utf16);
  } else {
    initial_ = std::make_unique<CUTF8CharSource>();
    initial_->attach(&bytes);
  }
  declInfo.encoding = unicodeDefault ? u"UNICODE" : u"UTF-8";
  declInfo.encodingGiven = false;

  bytes_ = &bytes;
  compatibility_ = false;
  scopes_.clear();
  depth_ = 0;
  declCount_ = 0;
  text_.clear();
  bracketRun_ = 0;

  entities_.clear();
  for (const PredefinedEntity& entity : kPredefinedEntities) {
    addEntity(std::u16string(entity.name), std::u16string(1, entity.character), false);
  }
  expanded_ = 0;

  line_ = 1;
  column_ = 1;
}

void CXMLParser::detectEncoding() {
  const long start = position();
  auto probe = std::make_unique<CUTF16CharSource>();
  probe->attach(bytes_);
  int answer = CCharSource::kNotThisEncoding;
  unsigned char b = 0;
  // A byte-order mark is at most two bytes long; an input too short for one is not
  // UTF-16.
  for (int offered = 0; offered < 2; ++offered) {
    if (bytes_->readByte(b) != 0) {
      answer = CCharSource::kNotThisEncoding;
      break;
    }
    answer = probe->acceptByte(b);
    if (answer != CCharSource::kNeedMore) break;
  }
  if (answer == CCharSource::kRecognised) {
    detected_ = std::move(probe);
    setCurrent(detected_.get());
    declInfo.encoding = u"UTF-16";
    declInfo.encodingGiven = false;
    return;
  }
  restore(start);
  setCurrent(initial_.get());
}

void CXMLParser::readDocument() {
  detectEncoding();
  readXMLDecl();
  MiscKind kind = MiscKind::EndOfInput;
  while (readMisc(kind)) {
  }
  if (readDoctype()) {
    while (readMisc(kind)) {
    }
  }
  readRootElement();
  while (readMisc(kind)) {
  }
  if (kind == MiscKind::Other && !compatibility_) fail(XMLError::TrailingData);
}

void CXMLParser::parse(CByteSource& bytes, bool unicodeDefault) {
  reset(bytes, unicodeDefault);
  if (contentHandler != nullptr) {
    contentHandler->setDocumentLocator(this);
    contentHandler->startDocument();
  }
  try {
    readDocument();
  } catch (const AXMLParserException& e) {
    const CSAXParseException error(message_, e.getCode(), publicId_, systemId_, line_, column_);
    if (errorHandler != nullptr) errorHandler->fatalError(error);
    throw error;
  }
  if (contentHandler != nullptr) contentHandler->endDocument();
}

}  // namespace quillet::xml
