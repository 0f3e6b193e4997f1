// CXMLParser, the document type declaration.
#include "xml/reader/XMLParser.h"

namespace quillet::xml {

// Document type declarations are not recognised yet: the prolog goes straight on to
// the root element, which then fails on "<!DOCTYPE".
bool CXMLParser::readDoctype() { return false; }

}  // namespace quillet::xml
