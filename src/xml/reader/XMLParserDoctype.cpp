// CXMLParser, the document type declaration: its name, an external identifier that
// is never opened, and the internal subset. Every markup declaration is checked for
// its syntax; only general entities with a literal value are kept (in the entity
// table, expanded once, here), and notations and unparsed entities are reported to
// the DTD handler. Nothing is validated.
#include <string>

#include "xml/reader/XMLParser.h"

namespace quillet::xml {

namespace {
bool isQuote(char16_t c) { return c == u'"' || c == u'\''; }
}  // namespace

bool CXMLParser::readDoctype() {
  const long start = position();
  if (!matchLiteral("<!DOCTYPE ")) {
    restore(start);
    return false;
  }
  skipWhite();
  std::u16string name;
  scanName(name);
  if (dtdHandler != nullptr) dtdHandler->doctypeDecl(name);

  char16_t c = readNonWhite(XMLError::Syntax);
  if (c != u'>' && c != u'[') {
    ungetChar();
    std::u16string publicId, systemId;
    readExternalID(publicId, systemId);  // named, never read
    c = readNonWhite(XMLError::Syntax);
  }
  if (c == u'>') return true;
  if (c != u'[') fail(XMLError::Syntax);
  readInternalSubset();
  return true;
}

// After "[" up to and including the "]" and ">" that close the declaration.
void CXMLParser::readInternalSubset() {
  for (;;) {
    const char16_t c = need(XMLError::Syntax);
    if (CXMLCharClasses::isWhiteSpace(c)) continue;
    if (c == u'%') {
      // A parameter-entity reference: its name is checked, nothing else happens.
      scanName(name_);
      char16_t semicolon = 0;
      if (nextChar(semicolon) != 0 || semicolon != u';') fail(XMLError::Syntax);
      continue;
    }
    if (c == u']') {
      if (readNonWhite(XMLError::Syntax) != u'>') fail(XMLError::Syntax);
      return;
    }
    ungetChar();
    readMarkupDecl();
  }
}

void CXMLParser::readMarkupDecl() {
  if (need() != u'<') fail(XMLError::Syntax);
  const char16_t c = need();
  if (c == u'?') {
    readPI();
    return;
  }
  if (c != u'!') fail(XMLError::Syntax);
  // The keywords are matched with the single space that must follow them.
  switch (need()) {
    case u'-':
      if (need() != u'-') fail(XMLError::Syntax);
      readComment(false);
      return;
    case u'A':
      expectLiteral("TTLIST ", XMLError::Syntax, XMLError::EndOfInput);
      readAttlistDecl();
      return;
    case u'N':
      expectLiteral("OTATION ", XMLError::Syntax, XMLError::EndOfInput);
      readNotationDecl();
      return;
    case u'E': {
      const char16_t second = need();
      if (second == u'L') {
        expectLiteral("EMENT ", XMLError::Syntax, XMLError::EndOfInput);
        readElementDecl();
      } else if (second == u'N') {
        expectLiteral("TITY ", XMLError::Syntax, XMLError::EndOfInput);
        readEntityDecl();
      } else {
        fail(XMLError::Syntax);
      }
      return;
    }
    default:
      fail(XMLError::Syntax);
  }
}

// --- Entities ---------------------------------------------------------------------

void CXMLParser::readEntityDecl() {
  if (skipWhite() != 0) fail(XMLError::EndOfInput);
  char16_t c = 0;
  if (peekNext(c) != 0) fail(XMLError::EndOfInput);
  const bool parameter = c == u'%';
  if (parameter) {
    skipNext();
    skipWhite();
  }
  std::u16string name;
  scanName(name);
  c = need();
  if (!CXMLCharClasses::isWhiteSpace(c)) fail(XMLError::EntityNameWhiteSpace);
  skipWhite();

  std::u16string value, publicId, systemId;
  c = need();
  const bool literal = isQuote(c);
  if (literal) {
    readEntityValue(c, value);
  } else {
    ungetChar();
    readExternalID(publicId, systemId);
  }

  if (skipWhite() != 0) fail(XMLError::EndOfInput);
  c = need();
  if (!parameter && literal) {
    if (c != u'>') fail(XMLError::EntityDeclNotClosed);
    addEntity(name, std::move(value), true);
    return;
  }
  if (c == u'>') return;  // a parameter or external parsed entity: dropped
  if (c != u'N') fail(XMLError::NDataExpected);
  expectLiteral("DATA ", XMLError::Syntax, XMLError::EndOfInput);
  std::u16string notation;
  scanName(notation);
  if (readNonWhite(XMLError::EndOfInput) != u'>') fail(XMLError::EntityDeclNotClosed);
  if (!parameter && !literal && dtdHandler != nullptr) {
    dtdHandler->unparsedEntityDecl(name, publicId, systemId, notation);
  }
}

// Up to the closing `quote`. Character references and references to entities
// declared before are expanded now, so that a reference in content later costs one
// copy; "%" and everything else stays as it is.
void CXMLParser::readEntityValue(char16_t quote, std::u16string& value) {
  const std::size_t cap = maxEntityValueLength;
  for (;;) {
    char16_t c = need();
    if (c == quote) return;
    if (c == u'&') {
      char16_t following = 0;
      if (peekNext(following) != 0) fail(XMLError::EndOfInput);
      if (following == u'#') {
        c = readCharRef();
      } else {
        scanName(name_);
        char16_t semicolon = 0;
        if (nextChar(semicolon) != 0 || semicolon != u';') fail(XMLError::ReferenceNotClosed);
        const Entity* entity = findEntity(name_);
        if (entity == nullptr) fail(XMLError::UndefinedEntityInValue, name_);
        if (entity->text.size() > cap - value.size()) {
          failLimit(XMLError::EntityValueTooLong, static_cast<long>(cap));
        }
        appendEntity(*entity, value);
        continue;
      }
    }
    if (value.size() >= cap) failLimit(XMLError::EntityValueTooLong, static_cast<long>(cap));
    value.push_back(c);
  }
}

// --- Element declarations ---------------------------------------------------------

void CXMLParser::readElementDecl() {
  skipWhite();
  scanName(name_);
  const char16_t c = readNonWhite(XMLError::EndOfInput);
  if (c != u'(') {
    ungetChar();
    scanName(name_);
    if (name_ != u"ANY" && name_ != u"EMPTY") fail(XMLError::ContentSpecExpected);
  } else {
    skipWhite();
    char16_t next = 0;
    if (peekNext(next) != 0) fail(XMLError::EndOfInput);
    if (next == u'#') {
      // Mixed content: (#PCDATA) or (#PCDATA)*, or (#PCDATA | a | b)* with the star.
      skipNext();
      expectLiteral("PCDATA", XMLError::Syntax, XMLError::EndOfInput);
      const char16_t after = readNonWhite(XMLError::EndOfInput);
      if (after == u')') {
        if (peekNext(next) == 0 && next == u'*') skipNext();
      } else if (after == u'|') {
        if (readNameAlternatives(false) != u')') fail(XMLError::Syntax);
        if (need() != u'*') fail(XMLError::Syntax);
      } else {
        fail(XMLError::Syntax);
      }
    } else {
      readChildrenGroup();
    }
  }
  if (readNonWhite(XMLError::EndOfInput) != u'>') fail(XMLError::ElementDeclNotClosed);
}

// A choice or sequence after its "(", nested groups included. Read with a count of
// open groups instead of recursion, so that deep nesting cannot exhaust the stack.
void CXMLParser::readChildrenGroup() {
  std::size_t open = 1;
  for (;;) {
    const char16_t c = readNonWhite(XMLError::EndOfInput);
    if (c == u'(') {
      ++open;
      continue;
    }
    ungetChar();
    scanName(name_);
    skipOccurrence();
    // After an item: a separator leads to the next item; ")" closes a group.
    for (;;) {
      const char16_t after = readNonWhite(XMLError::EndOfInput);
      if (after == u'|' || after == u',') break;
      if (after != u')') fail(XMLError::GroupNotClosed);
      skipOccurrence();
      if (--open == 0) return;
    }
  }
}

void CXMLParser::skipOccurrence() {
  char16_t c = 0;
  if (peekNext(c) != 0) fail(XMLError::EndOfInput);
  if (c == u'?' || c == u'*' || c == u'+') skipNext();
}

char16_t CXMLParser::readNameAlternatives(bool tokens) {
  for (;;) {
    skipWhite();
    if (tokens) {
      readNameToken();
    } else {
      scanName(name_);
    }
    const char16_t c = readNonWhite(XMLError::EndOfInput);
    if (c != u'|') return c;
  }
}

// One or more name characters; what follows is pushed back.
void CXMLParser::readNameToken() {
  char16_t c = need();
  if (!classes_.isNameChar(c)) fail(XMLError::Syntax);
  do {
    c = need();
  } while (classes_.isNameChar(c));
  ungetChar();
}

// --- Attribute-list declarations -------------------------------------------------

void CXMLParser::readAttlistDecl() {
  skipWhite();
  scanName(name_);
  for (;;) {
    if (readNonWhite(XMLError::EndOfInput) == u'>') return;
    ungetChar();
    scanName(name_);
    readAttType();
    if (!CXMLCharClasses::isWhiteSpace(need())) fail(XMLError::AttTypeWhiteSpace);
    skipWhite();
    readAttDefault();
  }
}

void CXMLParser::readAttType() {
  const char16_t c = readNonWhite(XMLError::EndOfInput);
  if (c == u'(') {
    if (readNameAlternatives(true) != u')') fail(XMLError::Syntax);
    return;
  }
  ungetChar();
  std::u16string word;
  scanName(word);
  if (word == u"NOTATION") {
    if (readNonWhite(XMLError::EndOfInput) != u'(') fail(XMLError::NotationGroupOpenExpected);
    if (readNameAlternatives(false) != u')') fail(XMLError::NotationGroupCloseExpected);
    return;
  }
  static const char16_t* const kTypes[] = {u"CDATA", u"ID", u"IDREF", u"IDREFS", u"ENTITY",
                                           u"ENTITIES", u"NMTOKEN", u"NMTOKENS"};
  for (const char16_t* type : kTypes) {
    if (word == type) return;
  }
  fail(XMLError::AttTypeUnknown, word);
}

// A quoted default value (read as an attribute value, references expanded), or
// #REQUIRED, #IMPLIED or #FIXED followed by a value. The value is dropped.
void CXMLParser::readAttDefault() {
  const char16_t c = need();
  if (isQuote(c)) {
    ungetChar();
    readAttributeValue(scratch_);
    return;
  }
  if (c != u'#') fail(XMLError::AttDefaultExpected);
  switch (need()) {
    case u'R':
      expectLiteral("EQUIRED", XMLError::Syntax, XMLError::EndOfInput);
      return;
    case u'I':
      expectLiteral("MPLIED", XMLError::Syntax, XMLError::EndOfInput);
      return;
    case u'F':
      expectLiteral("IXED", XMLError::Syntax, XMLError::EndOfInput);
      if (!CXMLCharClasses::isWhiteSpace(need())) fail(XMLError::Syntax);
      skipWhite();
      readAttributeValue(scratch_);
      return;
    default:
      fail(XMLError::Syntax);
  }
}

// --- Notations and external identifiers ------------------------------------------

void CXMLParser::readNotationDecl() {
  skipWhite();
  std::u16string name;
  scanName(name);
  skipWhite();
  char16_t c = 0;
  if (peekNext(c) != 0) fail(XMLError::EndOfInput);
  std::u16string publicId, systemId;
  if (c == u'S') {
    readExternalID(publicId, systemId);
  } else {
    // A public identifier alone: a system literal after it is not accepted.
    expectLiteral("PUBLIC ", XMLError::NotationKeywordExpected, XMLError::EndOfInput);
    skipWhite();
    readQuotedLiteral(publicId);
  }
  if (readNonWhite(XMLError::EndOfInput) != u'>') fail(XMLError::NotationDeclNotClosed);
  if (dtdHandler != nullptr) dtdHandler->notationDecl(name, publicId, systemId);
}

// The quote must follow the keyword's single space directly.
void CXMLParser::readExternalID(std::u16string& publicId, std::u16string& systemId) {
  const char16_t c = need();
  if (c == u'S') {
    expectLiteral("YSTEM ", XMLError::Syntax, XMLError::EndOfInput);
    readQuotedLiteral(systemId);
    return;
  }
  if (c != u'P') fail(XMLError::ExternalIDExpected);
  expectLiteral("UBLIC ", XMLError::Syntax, XMLError::EndOfInput);
  readQuotedLiteral(publicId);
  if (!CXMLCharClasses::isWhiteSpace(need())) fail(XMLError::Syntax);
  readQuotedLiteral(systemId);
}

void CXMLParser::readQuotedLiteral(std::u16string& text) {
  text.clear();
  const char16_t quote = need();
  if (!isQuote(quote)) fail(XMLError::Syntax);
  for (char16_t c = need(); c != quote; c = need()) text.push_back(c);
}

}  // namespace quillet::xml
