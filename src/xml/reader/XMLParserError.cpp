#include "xml/reader/XMLParserError.h"

namespace quillet::xml {

std::u16string XMLErrorMessage(XMLError error, std::u16string_view argument) {
  const char16_t* text = kXMLErrorTable[static_cast<std::size_t>(error)].text;
  if (text == nullptr) return {};
  std::u16string message(text);
  const std::size_t hole = message.find(u"{}");
  if (hole != std::u16string::npos) message.replace(hole, 2, argument);
  return message;
}

}  // namespace quillet::xml
