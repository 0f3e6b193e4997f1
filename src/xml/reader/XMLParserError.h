// Every way the reader's grammar can fail: one enum, and next to it one table with
// the code and the message text of each.
#ifndef QUILLET_XML_READER_XMLPARSERERROR_H
#define QUILLET_XML_READER_XMLPARSERERROR_H

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet::xml {

// What went wrong. Several errors share one code (the number CSAXParseException
// reports); the message text is each error's own. Errors without a text leave the
// reader's previous message in place, as callers of this reader have always seen.
enum class XMLError : unsigned char {
  EndOfInput,                 // a character is required and the input ended
  WhiteSpaceRequired,         // none after "<?xml"
  VersionMisspelled,          // the word "version" of the XML declaration
  EqualsExpected,             // after an attribute name
  QuoteExpected,              // around a value of the XML declaration
  QuoteMismatch,              // a value of the XML declaration closed by the other quote
  DeclCloseExpected,          // ">" after the "?" that ends the XML declaration
  DeclWordMisspelled,         // "encoding" or "standalone"
  DeclWordRepeated,           // encoding or standalone given twice
  Syntax,                     // an unexpected character
  PITargetEnd,                // neither a space nor "?>" after a PI target
  CDATAExpected,              // "<!" in content not followed by "[CDATA["
  CDATANotClosed,             // the input ended inside a CDATA section
  EndTagMismatch,             // the end tag names another element
  UndefinedEntity,            // a reference in content or an attribute value
  ElementStartExpected,       // something other than "<" where an element begins
  ElementNameEnded,           // the input ended right after "<"
  ElementNameExpected,        // "<" followed by no name character
  NameStartInvalid,           // a name starts with a name character that cannot start one
  ElementContentEnded,        // the input ended inside an element
  CommentOrCDATAEnded,        // the input ended right after "<!" in content
  ReferenceNotClosed,         // no ";" after an entity name
  EndTagNotClosed,            // no ">" after an end tag's name
  CDATAEndInContent,          // "]]>" in character data
  CharRefDigitInvalid,        // a decimal character reference with another character
  HexRefDigitInvalid,         // the same in a hexadecimal one (reported as code 10)
  LessThanInAttribute,        // "<" in a quoted attribute value
  CommentCharInvalid,         // a comment holds a character that is not an XML Char
  PICharInvalid,              // a PI's data holds a character that is not an XML Char
  TrailingData,               // something other than Misc after the root element
  NameTooLong,                // limit: kMaxNameLength
  ElementsTooDeep,            // limit: kMaxElementDepth
  // The document type declaration.
  EntityNameWhiteSpace,       // none after the name of an entity declaration
  NDataExpected,              // something else after an external identifier
  EntityDeclNotClosed,        // no ">" after an entity declaration
  UndefinedEntityInValue,     // an entity value refers to an entity not declared before
  ContentSpecExpected,        // an element declaration without "(", ANY or EMPTY
  ElementDeclNotClosed,       // no ">" after an element declaration
  GroupNotClosed,             // no ")" after the items of a choice or sequence
  AttTypeUnknown,             // a word that names no attribute type
  AttTypeWhiteSpace,          // none after an attribute type
  AttDefaultExpected,         // no quote or "#" where an attribute default begins
  ExternalIDExpected,         // neither SYSTEM nor PUBLIC
  NotationDeclNotClosed,      // no ">" after a notation declaration
  NotationKeywordExpected,    // neither SYSTEM nor PUBLIC in a notation declaration
  NotationGroupOpenExpected,  // no "(" after the attribute type NOTATION
  NotationGroupCloseExpected, // no ")" after its names
  EntityValueTooLong,         // limit: the maximum length of an entity value
  EntityExpansionTooLarge,    // limit: the maximum of expanded text in one document
  Count
};

struct XMLErrorRow {
  XMLError error;  // the row's own name, so that the table's order can be checked
  int code;
  // Null: the error carries only its code. "{}" stands for the error's one argument
  // (a character, a name or a limit). The texts are the ones callers of this reader
  // have always seen, odd ones included: they stay exactly as they are.
  const char16_t* text;
};

// WARNING: one row per XMLError, in the order of the enum.
inline constexpr XMLErrorRow kXMLErrorTable[] = {
    {XMLError::EndOfInput, 10, nullptr},
    {XMLError::WhiteSpaceRequired, 30, nullptr},
    {XMLError::VersionMisspelled, 40, nullptr},
    {XMLError::EqualsExpected, 50, nullptr},
    {XMLError::QuoteExpected, 60, nullptr},
    {XMLError::QuoteMismatch, 70, nullptr},
    {XMLError::DeclCloseExpected, 80, nullptr},
    {XMLError::DeclWordMisspelled, 90, nullptr},
    {XMLError::DeclWordRepeated, 100, nullptr},
    {XMLError::Syntax, 110, nullptr},
    {XMLError::PITargetEnd, 120, nullptr},
    {XMLError::CDATAExpected, 130, nullptr},
    {XMLError::CDATANotClosed, 140, nullptr},
    {XMLError::EndTagMismatch, 150, u"End tag does not match start tag"},
    {XMLError::UndefinedEntity, 170, u"Undefined entity '{}'"},
    {XMLError::ElementStartExpected, 180, u"Unexpected character '{}' - expecting element start."},
    {XMLError::ElementNameEnded, 10, u"Expecting name char for element"},
    {XMLError::ElementNameExpected, 270, u"Expecting name char for element"},
    {XMLError::NameStartInvalid, 240, u"The character {} is not valid for the start of a name"},
    {XMLError::ElementContentEnded, 10, u"Expecting element content"},
    {XMLError::CommentOrCDATAEnded, 10, u"Expecting start of comment or CDATA"},
    {XMLError::ReferenceNotClosed, 10, u"Expecting end of reference chSEMI_COLON"},
    {XMLError::EndTagNotClosed, 10, u"Expecting chGREATER_THAN for element end tag"},
    {XMLError::CDATAEndInContent, 250, u"Character sequence ']]>' not allowed in element content"},
    {XMLError::CharRefDigitInvalid, 220, u"The character {} is not valid for a character reference"},
    {XMLError::HexRefDigitInvalid, 10, nullptr},
    {XMLError::LessThanInAttribute, 230, u"The character '<' is not allowed in an attribute value"},
    {XMLError::CommentCharInvalid, 260, u"Comment contains invalid character '{}'"},
    {XMLError::PICharInvalid, 260, u"PI contains invalid character '{}'"},
    {XMLError::TrailingData, 280, u"Unexpected data trailing end of root element"},
    {XMLError::NameTooLong, 110, u"Name is longer than the limit of {} characters"},
    {XMLError::ElementsTooDeep, 110, u"Elements nest deeper than the limit of {} levels"},
    {XMLError::EntityNameWhiteSpace, 110, u"Expecting whitespace after EntityDecl name"},
    {XMLError::NDataExpected, 110, u"Expecting NDATA"},
    {XMLError::EntityDeclNotClosed, 110, u"Expecting close of entity chGREATER_THAN"},
    {XMLError::UndefinedEntityInValue, 170, u"Reference to undefined entity '{}'"},
    {XMLError::ContentSpecExpected, 110, u"Expecting opening left bracket, 'ANY' or 'EMPTY' after element name"},
    {XMLError::ElementDeclNotClosed, 110, u"Expecting closing chGREATER_THAN for element"},
    {XMLError::GroupNotClosed, 110, u"Expecting closing ')' for choice/sequence"},
    {XMLError::AttTypeUnknown, 290, u"Unknown attlist type '{}'"},
    {XMLError::AttTypeWhiteSpace, 300, u"Required whitespace is missing after AttType"},
    {XMLError::AttDefaultExpected, 110, u"Expecting a HASH"},
    {XMLError::ExternalIDExpected, 110, u"Expecting PUBLIC or SYSTEM for ExternalID"},
    {XMLError::NotationDeclNotClosed, 110, u"Expecting closing chGREATER_THAN for notation decl"},
    {XMLError::NotationKeywordExpected, 190, nullptr},
    {XMLError::NotationGroupOpenExpected, 200, nullptr},
    {XMLError::NotationGroupCloseExpected, 210, nullptr},
    {XMLError::EntityValueTooLong, 170, u"Entity value is longer than the limit of {} characters"},
    {XMLError::EntityExpansionTooLarge, 170, u"Entity references expand to more than the limit of {} characters"},
};

constexpr bool XMLErrorTableInOrder() {
  constexpr std::size_t rows = sizeof kXMLErrorTable / sizeof kXMLErrorTable[0];
  if (rows != static_cast<std::size_t>(XMLError::Count)) return false;
  for (std::size_t i = 0; i < rows; ++i) {
    if (static_cast<std::size_t>(kXMLErrorTable[i].error) != i) return false;
  }
  return true;
}
static_assert(XMLErrorTableInOrder(), "kXMLErrorTable must have one row per XMLError, in order");

constexpr int XMLErrorCode(XMLError error) { return kXMLErrorTable[static_cast<std::size_t>(error)].code; }

// Whether the error sets the message text.
constexpr bool XMLErrorHasText(XMLError error) {
  return kXMLErrorTable[static_cast<std::size_t>(error)].text != nullptr;
}

// The error's message with `argument` in place of "{}"; empty for an error without
// a text.
std::u16string XMLErrorMessage(XMLError error, std::u16string_view argument = {});

}  // namespace quillet::xml

#endif
