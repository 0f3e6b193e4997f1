// Fuzz target: the declaration text parser the writer uses on a document's own "xml"
// processing instruction. Any text, fed in any pieces, ends in one of the parser's
// results, and an error always says why.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "xml/output/XMLDeclParser.h"

using quillet::xml::CXMLDeclParser;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte is the size of the pieces; the rest is the text, two bytes a unit.
  const size_t piece = data[0] % 16 + 1;
  std::u16string text;
  for (size_t i = 1; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  CXMLDeclParser parser;
  int result = CXMLDeclParser::kContinue;
  for (size_t at = 0; at < text.size(); at += piece) {
    result = parser.feed(text.substr(at, piece));
    if (result != CXMLDeclParser::kContinue && result != CXMLDeclParser::kOpened) break;
  }
  quillet::fuzz::Require(result == CXMLDeclParser::kContinue || result == CXMLDeclParser::kOpened ||
                             result == CXMLDeclParser::kComplete || result == CXMLDeclParser::kNotDecl ||
                             result == CXMLDeclParser::kError,
                         "a result outside the set");
  if (result == CXMLDeclParser::kError) quillet::fuzz::Require(!parser.getErrorMessage().empty(), "no message");
  return 0;
}
