// The values of a title entry (a DocCompilation element), chosen by value id
// (quillet/doc_values.h): 1 CHM path, 2 CHI path, 3 language, 4 collection number,
// 5 location name, 6 title id (read only).
#ifndef QUILLET_COLLECTION_DOCVALUES_H
#define QUILLET_COLLECTION_DOCVALUES_H

#include <string>

#include "quillet/xml/DOM.h"

namespace quillet {

// Reads value `valueId` of `entry`: 0, or 5 for an id outside 1 to 6 or a missing
// element on the way.
int ReadEntryValue(xml::CDOMElement* entry, long valueId, std::string& value);

// Writes value `valueId` (1 to 5) of `entry`, appending the elements on the way that
// are missing: 0, or 5 for any other id (nothing changes).
int WriteEntryValue(xml::CDOMElement* entry, long valueId, const std::string& value);

}  // namespace quillet

#endif
