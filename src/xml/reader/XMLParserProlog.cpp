// CXMLParser, the prolog: the XML declaration or the "<XML>" opening, and the comments,
// processing instructions and white space that may surround the document type
// declaration. The comment and PI readers also serve element content.
#include "xml/reader/XMLParser.h"

#include "xml/reader/XMLParserException.h"

namespace quillet::xml {

namespace {
bool isQuote(char16_t c) { return c == u'"' || c == u'\''; }
}  // namespace

void CXMLParser::readEquals() {
  skipWhite();
  if (need() != u'=') fail(XMLError::EqualsExpected);
  skipWhite();
}

void CXMLParser::readDeclValue(std::u16string& data, const char16_t* label, bool isEncoding) {
  readEquals();
  const char16_t open = need();
  if (!isQuote(open)) fail(XMLError::QuoteExpected);
  std::u16string value;
  char16_t c = need();
  while (!isQuote(c)) {
    value.push_back(c);
    c = need();
  }
  // The new decoding applies from the closing quote on.
  if (isEncoding && inlineEncoding) {
    declInfo.encoding = value;
    declInfo.encodingGiven = true;
    setEncoding(value);
  }
  if (c != open) fail(XMLError::QuoteMismatch);
  data += label;
  data.push_back(open);
  data += value;
  data.push_back(open);
}

void CXMLParser::readXMLDecl() {
  const long start = position();
  if (!matchLiteral("<?xml")) {
    restore(start);
    if (matchLiteral("<XML>")) {
      // The compatibility form: single-byte text, no declaration can follow.
      declInfo.encoding = kCompatibilityEncoding;
      declInfo.encodingGiven = true;
      setCurrent(nullptr);
      compatibility_ = true;
    } else {
      restore(start);
    }
    return;
  }
  if (!CXMLCharClasses::isWhiteSpace(need())) fail(XMLError::WhiteSpaceRequired);
  skipWhite();

  std::u16string data;
  char16_t c = 0;
  if (peekNext(c) != 0) fail(XMLError::EndOfInput);
  if (c == u'v') {
    expectLiteral("version", XMLError::VersionMisspelled, XMLError::EndOfInput);
    readEquals();
    const char16_t open = need();
    if (!isQuote(open)) fail(XMLError::QuoteExpected);
    std::u16string version;
    c = need();
    while (classes_.isNameChar(c)) {
      version.push_back(c);
      c = need();
    }
    if (!isQuote(c)) fail(XMLError::QuoteExpected);
    if (c != open) fail(XMLError::QuoteMismatch);
    data = u"version=";
    data.push_back(open);
    data += version;
    data.push_back(open);
  }

  bool haveEncoding = false;
  bool haveStandalone = false;
  for (;;) {
    c = need();
    if (CXMLCharClasses::isWhiteSpace(c)) {
      skipWhite();
    } else if (c == u'?') {
      if (need() != u'>') fail(XMLError::DeclCloseExpected);
      break;
    } else if (c == u'e') {
      expectLiteral("ncoding", XMLError::DeclWordMisspelled, XMLError::EndOfInput);
      readDeclValue(data, u" encoding=", true);
      if (haveEncoding) fail(XMLError::DeclWordRepeated);
      haveEncoding = true;
    } else if (c == u's') {
      expectLiteral("tandalone", XMLError::DeclWordMisspelled, XMLError::EndOfInput);
      readDeclValue(data, u" standalone=", false);
      if (haveStandalone) fail(XMLError::DeclWordRepeated);
      haveStandalone = true;
    }
    // Anything else inside the declaration is passed over.
  }
  if (contentHandler != nullptr) contentHandler->processingInstruction(u"xml", data);
}

bool CXMLParser::readMisc(MiscKind& kind) {
  const long start = position();
  char16_t c = 0;
  if (nextChar(c) != 0) {
    kind = MiscKind::EndOfInput;
    return false;
  }
  if (CXMLCharClasses::isWhiteSpace(c)) {
    kind = MiscKind::WhiteSpace;
    return true;
  }
  if (c != u'<') {
    kind = MiscKind::Other;
    restore(start);
    return false;
  }
  if (nextChar(c) != 0) {
    kind = MiscKind::EndOfInput;
    restore(start);
    return false;
  }
  if (c == u'!') {
    try {
      readComment(true);
    } catch (const AXMLParserException& e) {
      // Not a comment after all ("<!DOCTYPE", or a malformed comment): whoever reads
      // next decides what it is.
      if (e.getCode() != XMLErrorCode(XMLError::Syntax)) throw;
      restore(start);
      kind = MiscKind::Other;
      return false;
    }
    kind = MiscKind::Comment;
    return true;
  }
  if (c == u'?') {
    readPI();
    kind = MiscKind::ProcessingInstruction;
    return true;
  }
  kind = MiscKind::Other;
  restore(start);
  return false;
}

void CXMLParser::readComment(bool expectDashes) {
  if (expectDashes) {
    if (need() != u'-') fail(XMLError::Syntax);
    if (need() != u'-') fail(XMLError::Syntax);
  }
  std::u16string& text = scratch_;
  text.clear();
  for (;;) {
    char16_t c = need();
    if (c == u'-') {
      const char16_t following = need();
      if (following == u'-') {
        if (need() != u'>') fail(XMLError::Syntax);
        break;
      }
      text.push_back(u'-');
      c = following;
    }
    if (!compatibility_ && !classes_.isChar(c)) {
      fail(XMLError::CommentCharInvalid, c);
    }
    text.push_back(c);
  }
  if (contentHandler != nullptr) contentHandler->comment(text);
}

void CXMLParser::readPI() {
  std::u16string& target = scratch2_;
  target.clear();
  char16_t c = need();
  if (!classes_.isNameStartChar(c)) fail(XMLError::Syntax);
  do {
    target.push_back(c);
    checkName(target.size());
    c = need();
  } while (classes_.isNameChar(c));

  std::u16string& data = scratch_;
  data.clear();
  if (c == u'?') {
    char16_t close = 0;
    if (nextChar(close) != 0 || close != u'>') fail(XMLError::PITargetEnd);
  } else if (c == u' ') {
    for (;;) {
      c = need();
      if (c == u'?') {
        char16_t following = 0;
        if (peekNext(following) != 0) fail(XMLError::EndOfInput);
        if (following == u'>') {
          skipNext();
          break;
        }
      }
      if (!compatibility_ && !classes_.isChar(c)) {
        fail(XMLError::PICharInvalid, c);
      }
      data.push_back(c);
    }
  } else {
    fail(XMLError::PITargetEnd);
  }
  if (contentHandler != nullptr) contentHandler->processingInstruction(target, data);
}

}  // namespace quillet::xml
