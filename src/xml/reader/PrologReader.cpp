// The prolog: the XML declaration or the "<XML>" opening, and the comments,
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
  if (need(10) != u'=') fail(50);
  skipWhite();
}

void CXMLParser::readDeclValue(std::u16string& data, const char16_t* label, bool isEncoding) {
  readEquals();
  const char16_t open = need(10);
  if (!isQuote(open)) fail(60);
  std::u16string value;
  char16_t c = need(10);
  while (!isQuote(c)) {
    value.push_back(c);
    c = need(10);
  }
  // The new decoding applies from the closing quote on.
  if (isEncoding && inlineEncoding) {
    declInfo.encoding = value;
    declInfo.encodingGiven = true;
    setEncoding(value);
  }
  if (c != open) fail(70);
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
      declInfo.encoding = u"MSXML_IE4";
      declInfo.encodingGiven = true;
      setCurrent(nullptr);
      compatibility_ = true;
    } else {
      restore(start);
    }
    return;
  }
  if (!CXMLCharClasses::isWhiteSpace(need(10))) fail(30);
  skipWhite();

  std::u16string data;
  char16_t c = 0;
  if (peekNext(c) != 0) fail(10);
  if (c == u'v') {
    expectLiteral("version", 40, 10);
    readEquals();
    const char16_t open = need(10);
    if (!isQuote(open)) fail(60);
    std::u16string version;
    c = need(10);
    while (classes_.isNameChar(c)) {
      version.push_back(c);
      c = need(10);
    }
    if (!isQuote(c)) fail(60);
    if (c != open) fail(70);
    data = u"version=";
    data.push_back(open);
    data += version;
    data.push_back(open);
  }

  bool haveEncoding = false;
  bool haveStandalone = false;
  for (;;) {
    c = need(10);
    if (CXMLCharClasses::isWhiteSpace(c)) {
      skipWhite();
    } else if (c == u'?') {
      if (need(10) != u'>') fail(80);
      break;
    } else if (c == u'e') {
      expectLiteral("ncoding", 90, 10);
      readDeclValue(data, u" encoding=", true);
      if (haveEncoding) fail(100);
      haveEncoding = true;
    } else if (c == u's') {
      expectLiteral("tandalone", 90, 10);
      readDeclValue(data, u" standalone=", false);
      if (haveStandalone) fail(100);
      haveStandalone = true;
    }
    // Anything else inside the declaration is passed over.
  }
  if (contentHandler != nullptr) contentHandler->processingInstruction(u"xml", data);
}

bool CXMLParser::readMisc(int& kind) {
  const long start = position();
  char16_t c = 0;
  if (nextChar(c) != 0) {
    kind = 0;
    return false;
  }
  if (CXMLCharClasses::isWhiteSpace(c)) {
    kind = 1;
    return true;
  }
  if (c != u'<') {
    kind = 4;
    restore(start);
    return false;
  }
  if (nextChar(c) != 0) {
    kind = 0;
    restore(start);
    return false;
  }
  if (c == u'!') {
    try {
      readComment(true);
    } catch (const AXMLParserException& e) {
      // Not a comment after all ("<!DOCTYPE", or a malformed comment): whoever reads
      // next decides what it is.
      if (e.getCode() != 110) throw;
      restore(start);
      kind = 4;
      return false;
    }
    kind = 2;
    return true;
  }
  if (c == u'?') {
    readPI();
    kind = 3;
    return true;
  }
  kind = 4;
  restore(start);
  return false;
}

void CXMLParser::readComment(bool expectDashes) {
  if (expectDashes) {
    if (need(10) != u'-') fail(110);
    if (need(10) != u'-') fail(110);
  }
  std::u16string& text = scratch_;
  text.clear();
  for (;;) {
    char16_t c = need(10);
    if (c == u'-') {
      const char16_t following = need(10);
      if (following == u'-') {
        if (need(10) != u'>') fail(110);
        break;
      }
      text.push_back(u'-');
      c = following;
    }
    if (!compatibility_ && !classes_.isChar(c)) {
      fail(260, u"Comment contains invalid character '" + std::u16string(1, c) + u"'");
    }
    text.push_back(c);
  }
  if (contentHandler != nullptr) contentHandler->comment(text);
}

void CXMLParser::readPI() {
  std::u16string& target = scratch2_;
  target.clear();
  char16_t c = need(10);
  if (!classes_.isNameStartChar(c)) fail(110);
  do {
    target.push_back(c);
    checkName(target.size());
    c = need(10);
  } while (classes_.isNameChar(c));

  std::u16string& data = scratch_;
  data.clear();
  if (c == u'?') {
    char16_t close = 0;
    if (nextChar(close) != 0 || close != u'>') fail(120);
  } else if (c == u' ') {
    for (;;) {
      c = need(10);
      if (c == u'?') {
        char16_t following = 0;
        if (peekNext(following) != 0) fail(10);
        if (following == u'>') {
          skipNext();
          break;
        }
      }
      if (!compatibility_ && !classes_.isChar(c)) {
        fail(260, u"PI contains invalid character '" + std::u16string(1, c) + u"'");
      }
      data.push_back(c);
    }
  } else {
    fail(120);
  }
  if (contentHandler != nullptr) contentHandler->processingInstruction(target, data);
}

}  // namespace quillet::xml
