// CXMLParser, element content: tags, attributes, character data, references, CDATA sections,
// and namespace processing.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "quillet/xml/SAXReader.h"
#include "xml/reader/XMLParser.h"

namespace quillet::xml {

namespace {

// Whether `text` is "xmlns" in any mix of letter case.
bool isXmlnsWord(const std::u16string& text) {
  static constexpr char16_t kWord[] = u"xmlns";
  if (text.size() != 5) return false;
  for (std::size_t i = 0; i < 5; ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != kWord[i]) return false;
  }
  return true;
}

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The character of a predefined entity's name, in code units or in the bytes of the
// input; 0 for any other name.
template <typename Unit>
char16_t predefinedEntity(const Unit* name, std::size_t length) {
  for (const PredefinedEntity& entity : kPredefinedEntities) {
    if (entity.name.size() == length && std::equal(name, name + length, entity.name.begin())) return entity.character;
  }
  return 0;
}

int hexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

// --- Names ----------------------------------------------------------------------

void CXMLParser::checkName(std::size_t partLength) {
  if (partLength > static_cast<std::size_t>(kMaxNameLength)) {
    failLimit(XMLError::NameTooLong, kMaxNameLength);
  }
}

void CXMLParser::scanName(std::u16string& name) { scanNameParts(name, false); }

bool CXMLParser::scanBufferedName(std::u16string& name, std::size_t& colon) {
  if (!byteUnits_) return false;
  const unsigned char* const begin = bytes_->bufferedBegin();
  const unsigned char* const end = bytes_->bufferedEnd();
  if (begin == end) return false;
  const unsigned char first = *begin;
  const bool letter = (first | 0x20) >= 'a' && (first | 0x20) <= 'z';
  if (!letter && first != '_' && first != ':') return false;
  const unsigned char* p = begin;
  while (p != end && IsByteOf(*p, kAsciiNameChar)) ++p;
  // A line end after the name counts lines as the general path does; a character from
  // 0x80 up may continue the name.
  if (p == end || *p >= 0x80 || *p <= '\r') return false;
  const std::size_t n = static_cast<std::size_t>(p - begin);
  if (n > static_cast<std::size_t>(kMaxNameLength)) return false;
  name.resize(n);
  for (std::size_t i = 0; i < n; ++i) name[i] = begin[i];
  const void* const found = std::memchr(begin, ':', n);
  colon = found == nullptr ? std::u16string::npos : static_cast<std::size_t>(static_cast<const unsigned char*>(found) - begin);
  bytes_->skipBuffered(n);
  // The general path reads the character after the name and pushes it back.
  column_ += static_cast<int>(n) + 1;
  if (utf8_ != nullptr) utf8_->notePushedBack();
  return true;
}

// With `qualified`, the length limit applies to the parts before and after the first
// colon separately. Returns the position of the first colon, or npos.
std::size_t CXMLParser::scanNameParts(std::u16string& name, bool qualified) {
  std::size_t colon = std::u16string::npos;
  if (scanBufferedName(name, colon)) return colon;
  name.clear();
  char16_t c = need();
  if (!classes_.isNameChar(c)) fail(XMLError::Syntax);
  if (!classes_.isNameStartChar(c)) fail(XMLError::NameStartInvalid, c);
  std::size_t partStart = 0;
  do {
    if (c == u':' && colon == std::u16string::npos) {
      colon = name.size();
      if (qualified) partStart = name.size() + 1;
    }
    name.push_back(c);
    readRun(kAsciiNamePart, name);
    checkName(name.size() - partStart);
    if (nextChar(c) != 0) return colon;  // the end of input is met by whoever reads next
  } while (classes_.isNameChar(c));
  ungetChar();
  return colon;
}

void CXMLParser::scanQName(std::u16string& prefix, std::u16string& localName, std::u16string& qName) {
  const std::size_t colon = scanNameParts(qName, true);
  if (colon == std::u16string::npos) {
    prefix.clear();
    localName = qName;
    return;
  }
  prefix.assign(qName, 0, colon);
  localName.assign(qName, colon + 1, std::u16string::npos);
}

// --- References and CDATA sections ----------------------------------------------

char16_t CXMLParser::readCharRef() {
  skipNext();  // the "#"
  char16_t c = need();
  // Only the low 16 bits of the value are kept, and unsigned arithmetic keeps them
  // exact however long the digit string is.
  unsigned long value = 0;
  if (c == u'x') {
    for (c = need(); c != u';'; c = need()) {
      const int digit = hexValue(c);
      if (digit < 0) fail(XMLError::HexRefDigitInvalid);
      value = (value << 4) | static_cast<unsigned long>(digit);
    }
  } else {
    for (; c != u';'; c = need()) {
      if (!isAsciiDigit(c)) fail(XMLError::CharRefDigitInvalid, c);
      value = value * 10 + static_cast<unsigned long>(c - u'0');
    }
  }
  return static_cast<char16_t>(value & 0xFFFF);
}

void CXMLParser::readEntityRef(std::u16string& out) {
  scanName(name_);
  char16_t c = 0;
  if (nextChar(c) != 0 || c != u';') fail(XMLError::ReferenceNotClosed);
  // The predefined entities cannot be redefined, so these need no table lookup.
  if (const char16_t predefined = predefinedEntity(name_.data(), name_.size())) {
    out.push_back(predefined);
    return;
  }
  const Entity* entity = findEntity(name_);
  if (entity == nullptr) fail(XMLError::UndefinedEntity, name_);
  appendEntity(*entity, out);
}

bool CXMLParser::readBufferedReference(std::u16string& out) {
  if (!byteUnits_) return false;
  const unsigned char* const begin = bytes_->bufferedBegin();
  const unsigned char* const end = bytes_->bufferedEnd();
  const unsigned char* p = begin;
  if (p == end) return false;
  char16_t c = 0;
  int columns = 0;
  if (*p == '#') {
    // As readCharRef: the "#" is skipped uncounted, every character after it counts,
    // and the value keeps its low 16 bits.
    unsigned long value = 0;
    if (++p != end && *p == 'x') {
      for (++p; p != end && hexValue(*p) >= 0; ++p) value = (value << 4) | static_cast<unsigned long>(hexValue(*p));
    } else {
      for (; p != end && isAsciiDigit(*p); ++p) value = value * 10 + static_cast<unsigned long>(*p - '0');
    }
    if (p == end || *p != ';') return false;
    ++p;
    c = static_cast<char16_t>(value & 0xFFFF);
    columns = static_cast<int>(p - begin) - 1;
  } else {
    // A predefined entity: as readEntityRef, the name counts its length, the ";"
    // twice (read after the name and pushed back, then read again).
    const unsigned char* semicolon = p;
    while (semicolon != end && semicolon - p < 5 && IsByteOf(*semicolon, kAsciiNamePart)) ++semicolon;
    if (semicolon == end || *semicolon != ';') return false;
    const std::size_t length = static_cast<std::size_t>(semicolon - p);
    c = predefinedEntity(p, length);
    if (c == 0) return false;
    p = semicolon + 1;
    columns = static_cast<int>(length) + 2;
  }
  out.push_back(c);
  bytes_->skipBuffered(static_cast<std::size_t>(p - begin));
  column_ += columns;
  if (utf8_ != nullptr) utf8_->noteBuffered(1);
  return true;
}

void CXMLParser::readReference(std::u16string& out) {
  if (readBufferedReference(out)) return;
  char16_t following = 0;
  if (peekNext(following) != 0) fail(XMLError::EndOfInput);
  if (following == u'#') {
    out.push_back(readCharRef());
  } else {
    readEntityRef(out);
  }
}

void CXMLParser::readCDATA(std::u16string& text) {
  expectLiteral("[CDATA[", XMLError::CDATAExpected, XMLError::EndOfInput);
  text.clear();
  int brackets = 0;
  for (;;) {
    const char16_t c = need(XMLError::CDATANotClosed);
    if (c == u'>' && brackets >= 2) {
      text.resize(text.size() - 2);
      return;
    }
    brackets = c == u']' ? brackets + 1 : 0;
    text.push_back(c);
  }
}

// --- Attributes -------------------------------------------------------------------

void CXMLParser::readAttributeValue(std::u16string& value) {
  value.clear();
  char16_t c = need();
  const bool quoted = c == u'"' || c == u'\'';
  bool digitsOnly = false;
  char16_t delimiter = c;
  if (!quoted) {
    if (!compatibility_) fail(XMLError::Syntax);
    // The compatibility form allows unquoted values: a run of digits, or a value
    // closed by a repeat of whatever character opened it.
    if (classes_.isDigit(c)) {
      digitsOnly = true;
      value.push_back(c);
    }
  }
  bool pendingSpace = false;
  for (;;) {
    c = need();
    if (digitsOnly) {
      if (!classes_.isDigit(c)) {
        ungetChar();
        return;
      }
    } else if (c == delimiter) {
      return;
    }
    if (c == u'\n') {
      skipWhite();
      pendingSpace = true;
      continue;
    }
    if (c == u'<' && quoted) fail(XMLError::LessThanInAttribute);
    if (pendingSpace) {
      value.push_back(u' ');
      pendingSpace = false;
    }
    if (c == u'&') {
      readReference(value);
      continue;
    }
    value.push_back(c);
    if (quoted) readTextRun(kAsciiPlainAttribute, value);
  }
}

void CXMLParser::readAttributes(bool& empty) {
  attributes_.clear();
  empty = false;
  for (;;) {
    const char16_t c = readNonWhite(XMLError::Syntax);
    if (c == u'/') {
      char16_t close = 0;
      if (nextChar(close) != 0 || close != u'>') fail(XMLError::Syntax);
      empty = true;
      return;
    }
    if (c == u'>') return;
    ungetChar();
    CSAXAttributes::Entry& entry = attributes_.append();
    // Until namespaces are resolved, the namespace-name field holds the prefix.
    scanQName(entry.uri, entry.localName, entry.qName);
    if (!namespaces) {
      entry.uri.clear();
      entry.localName.clear();
    }
    if (skipWhite() != 0) fail(XMLError::Syntax);
    readEquals();
    readAttributeValue(entry.value);
  }
}

void CXMLParser::processNamespaces(ElementFrame& frame) {
  frame.declBegin = declCount_;
  const unsigned count = static_cast<unsigned>(attributes_.getLength());
  for (unsigned i = 0; i < count; ++i) {
    CSAXAttributes::Entry& entry = attributes_.entry(i);
    const bool isDefault = isXmlnsWord(entry.qName);
    if (!isDefault && !isXmlnsWord(entry.uri)) continue;
    if (declCount_ == declPrefixes_.size()) declPrefixes_.emplace_back();
    std::u16string& prefix = declPrefixes_[declCount_++];
    if (isDefault) {
      prefix.clear();
    } else {
      prefix = entry.localName;
    }
    if (contentHandler != nullptr) contentHandler->startPrefixMapping(prefix.c_str(), entry.value.c_str());
    scopes_.bind(prefix, entry.value);
  }
  frame.declEnd = declCount_;
  for (unsigned i = 0; i < count; ++i) {
    CSAXAttributes::Entry& entry = attributes_.entry(i);
    if (const std::u16string* uri = scopes_.resolve(entry.uri)) entry.uri = *uri;
  }
  if (const std::u16string* uri = scopes_.resolve(frame.prefix)) {
    frame.uri = *uri;
  } else {
    frame.uri = frame.prefix;
  }
}

// --- Elements ---------------------------------------------------------------------

bool CXMLParser::readStartTag() {
  if (depth_ >= kMaxElementDepth) failLimit(XMLError::ElementsTooDeep, kMaxElementDepth);
  if (namespaces) scopes_.push();
  char16_t c = 0;
  if (nextChar(c) != 0) {
    // Only at the root: a child's "<" has been seen already.
    if (namespaces) scopes_.pop();
    return false;
  }
  if (c != u'<') fail(XMLError::ElementStartExpected, c);
  if (nextChar(c) != 0) fail(XMLError::ElementNameEnded);
  if (!classes_.isNameChar(c)) fail(XMLError::ElementNameExpected);
  ungetChar();

  if (static_cast<std::size_t>(depth_) == frames_.size()) frames_.emplace_back();
  ElementFrame& frame = frames_[static_cast<std::size_t>(depth_)];
  scanQName(frame.prefix, frame.localName, frame.qName);
  frame.pendingSpace = false;
  bool empty = false;
  readAttributes(empty);

  if (namespaces) {
    processNamespaces(frame);
    if (contentHandler != nullptr) {
      contentHandler->startElement(frame.uri, frame.localName, frame.qName, attributes_);
    }
  } else {
    frame.uri.clear();
    frame.declBegin = frame.declEnd = declCount_;
    if (contentHandler != nullptr) {
      static const std::u16string kEmpty;
      contentHandler->startElement(kEmpty, kEmpty, frame.qName, attributes_);
    }
  }

  if (empty) {
    endElement(frame);
    skipWhite();
    return false;
  }
  ++depth_;
  if (!preserveSpace) skipWhite();
  return true;
}

void CXMLParser::endElement(ElementFrame& frame) {
  if (contentHandler != nullptr) {
    if (namespaces) {
      contentHandler->endElement(frame.uri, frame.localName, frame.qName);
    } else {
      static const std::u16string kEmpty;
      contentHandler->endElement(kEmpty, kEmpty, frame.qName);
    }
    for (std::size_t i = frame.declBegin; i < frame.declEnd; ++i) {
      contentHandler->endPrefixMapping(declPrefixes_[i].c_str());
    }
  }
  declCount_ = frame.declBegin;
  if (namespaces) scopes_.pop();
}

void CXMLParser::readEndTag() {
  skipNext();  // the "/"
  ElementFrame& frame = frames_[static_cast<std::size_t>(depth_ - 1)];
  scanName(name_);
  skipWhite();
  char16_t c = 0;
  if (nextChar(c) != 0 || c != u'>') fail(XMLError::EndTagNotClosed);
  if (name_ != frame.qName) fail(XMLError::EndTagMismatch);
  endElement(frame);
  --depth_;
}

void CXMLParser::flushText() {
  if (!text_.empty() && contentHandler != nullptr) {
    contentHandler->characters(text_.data(), 0, static_cast<int>(text_.size()));
  }
  text_.clear();
}

void CXMLParser::appendPendingSpace(ElementFrame& frame) {
  if (frame.pendingSpace) {
    text_.push_back(u' ');
    frame.pendingSpace = false;
  }
}

void CXMLParser::appendOrdinary(ElementFrame& frame, char16_t c) {
  appendPendingSpace(frame);
  text_.push_back(c);
}

void CXMLParser::readRootElement() {
  if (!readStartTag()) return;
  bracketRun_ = 0;
  while (depth_ > 0) {
    ElementFrame& frame = frames_[static_cast<std::size_t>(depth_ - 1)];
    if (nextIsPlainText()) {
      // What the default case below does, without reading the first character apart.
      bracketRun_ = 0;
      appendPendingSpace(frame);
      readTextRun(kAsciiPlainText, text_);
      continue;
    }
    const char16_t c = need(XMLError::ElementContentEnded);
    switch (c) {
      case u'<': {
        bracketRun_ = 0;
        char16_t following = 0;
        if (peekNext(following) != 0) {
          flushText();
          fail(XMLError::ElementContentEnded);
        }
        // Markup ends the run of character data, except an expanded CDATA section,
        // whose text joins the run.
        if (following != u'!') flushText();
        if (following == u'/') {
          readEndTag();
          if (depth_ > 0 && !preserveSpace) skipWhite();
        } else if (following == u'?') {
          skipNext();
          readPI();
        } else if (following == u'!') {
          skipNext();
          if (peekNext(following) != 0) {
            flushText();
            fail(XMLError::CommentOrCDATAEnded);
          }
          if (following == u'-') {
            flushText();
            readComment(true);
          } else if (expandCDATA) {
            readCDATA(scratch_);
            text_ += scratch_;
          } else {
            readCDATA(scratch_);
            flushText();
            if (contentHandler != nullptr) contentHandler->cdataSection(scratch_);
          }
        } else {
          ungetChar();
          // `frame` may move when the stack grows: nothing below uses it.
          if (!readStartTag() && !preserveSpace) skipWhite();
        }
        break;
      }
      case u'&': {
        readReference(text_);
        bracketRun_ = 0;
        break;
      }
      case u'\n':
        bracketRun_ = 0;
        if (preserveSpace) {
          text_.push_back(c);
        } else {
          skipWhite();
          frame.pendingSpace = true;
        }
        break;
      case u']':
        if (bracketRun_ < 2) ++bracketRun_;
        appendOrdinary(frame, c);
        break;
      case u'>':
        if (bracketRun_ == 2) fail(XMLError::CDATAEndInContent);
        bracketRun_ = 0;
        appendOrdinary(frame, c);
        break;
      default:
        bracketRun_ = 0;
        appendOrdinary(frame, c);
        // Take the rest of a run of plain text in one go, straight from the buffer.
        readTextRun(kAsciiPlainText, text_);
        break;
    }
  }
}

}  // namespace quillet::xml
