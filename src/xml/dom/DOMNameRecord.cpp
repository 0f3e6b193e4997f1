#include "quillet/xml/DOMNameRecord.h"

namespace quillet::xml {

CDOMNameRecord CDOMNameRecord::FromQualifiedName(std::u16string qualifiedName) {
  size_t colon = qualifiedName.find(u':');
  std::u16string prefix;
  std::u16string localName;
  if (colon == std::u16string::npos) {
    localName = qualifiedName;
  } else if (colon + 1 == qualifiedName.size()) {
    // "a:" names the local name a; ":" alone names the empty one.
    localName = qualifiedName.substr(0, colon);
  } else {
    prefix = qualifiedName.substr(0, colon);
    localName = qualifiedName.substr(colon + 1);
  }
  return CDOMNameRecord(std::move(localName), std::move(prefix), std::move(qualifiedName));
}

std::u16string CDOMNameRecord::JoinName(const std::u16string& prefix, const std::u16string& localName) {
  if (prefix.empty()) return localName;
  std::u16string name;
  name.reserve(prefix.size() + 1 + localName.size());
  name.append(prefix).append(1, u':').append(localName);
  return name;
}

}  // namespace quillet::xml
