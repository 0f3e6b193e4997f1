// The texts of HTML Help's "<XML>" form, which HTML Help writes and reads in the
// system's ANSI code page. The reader takes each byte of that form for the character
// of the same number; these functions put the code page's characters in their place.
#ifndef QUILLET_COLLECTION_CODEPAGETEXT_H
#define QUILLET_COLLECTION_CODEPAGETEXT_H

#include "quillet/xml/DOMDocument.h"

namespace quillet {

// Decodes every attribute value, text, CDATA section, comment and processing
// instruction data of `document` (read byte for character) in `codePage`. Element and
// attribute names are left as read. A character above U+00FF (from a character
// reference) is kept as it is. False, changing nothing, when the code page is not
// supported here.
bool DecodeSingleByteTexts(xml::CDOMDocument* document, unsigned codePage);

}  // namespace quillet

#endif
