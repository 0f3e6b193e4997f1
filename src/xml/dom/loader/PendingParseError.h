// The pending parse error: the one process-wide slot where a failed document load
// leaves the reader's exception until a caller turns it into its error text.
#ifndef QUILLET_XML_DOM_LOADER_PENDINGPARSEERROR_H
#define QUILLET_XML_DOM_LOADER_PENDINGPARSEERROR_H

#include <memory>
#include <string>

#include "quillet/xml/SAXException.h"

namespace quillet::xml {

// Takes the pending error out of the slot, leaving it empty; null when there is none.
std::unique_ptr<CSAXParseException> TakePendingParseError();

// Puts `error` into the slot, destroying any error waiting there (null empties it).
void ReplacePendingParseError(std::unique_ptr<CSAXParseException> error);

// The pending error, left in the slot; null when there is none.
const CSAXParseException* PeekPendingParseError();

// The three-line text a failed load is reported with:
//   "Error Message : <message>\n"
//   "Error Code    : <code>\n"
//   "Error occurred near line <line>, column <column>\n"
// A line longer than 1,023 characters with its line end (a huge message) is cut to
// that, keeping the line end; a message that holds a NUL ends at it, as C text does.
std::u16string FormatParseErrorText(const CSAXParseException& error);

}  // namespace quillet::xml

#endif
