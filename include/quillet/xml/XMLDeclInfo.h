// What a document's XML declaration said, carried from its load to its save.
#ifndef QUILLET_XML_XMLDECLINFO_H
#define QUILLET_XML_XMLDECLINFO_H

#include <string>

namespace quillet::xml {

// The encoding name that stands for HTML Help's own "<XML>" form: what a load records
// for a document that begins with "<XML>", and what makes a save write that form.
inline constexpr char16_t kCompatibilityEncoding[] = u"MSXML_IE4";

struct XMLDeclInfo {
  // The loaded document had an XML declaration (the reader always reports true).
  bool declared = true;
  // The input encoding the parse settled on: "UTF-8", "UTF-16", "UNICODE", the name the
  // declaration gave, or "MSXML_IE4" for a document that began with "<XML>".
  std::u16string encoding;
  // The declaration named an encoding.
  bool encodingGiven = false;
  // Load setting: CDATA sections become text ("ExpandCDATAIntoText").
  bool expandCDATA = true;
  // Load setting: white space in element content is kept ("PreserveSpace").
  bool preserveSpace = false;
  // Kept for the record's layout; the reader sets it and nothing reads it.
  bool reserved = true;
};

}  // namespace quillet::xml

#endif
