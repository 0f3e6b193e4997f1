// The tag-name searches shared by elements and documents.
#ifndef QUILLET_XML_DOM_ELEMENTSEARCH_H
#define QUILLET_XML_DOM_ELEMENTSEARCH_H

#include <string_view>

#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMNameRecord.h"
#include "quillet/xml/DOMNodeList.h"
#include "quillet/xml/DOMTreeWalker.h"

namespace quillet::xml {

// A new list of the elements that keep(element) accepts, walking in document order from
// start without leaving boundary's subtree.
template <class Keep>
CDOMNodeList* CollectElements(const CDOMNode* boundary, CDOMNode* start, Keep keep) {
  auto* list = new CDOMNodeList;
  CDOMTreeWalker walker(boundary, start);
  while (CDOMNode* node = walker.nextNode()) {
    if (node->getNodeType() != DOMNodeTypeElement) continue;
    auto* element = static_cast<CDOMElement*>(node);
    if (keep(element)) list->append(element);
  }
  return list;
}

// Elements whose tag name is name (null counting as "").
inline CDOMNodeList* CollectElementsByTagName(const CDOMNode* boundary, CDOMNode* start, const char16_t* name) {
  std::u16string_view wanted = name != nullptr ? std::u16string_view(name) : std::u16string_view();
  return CollectElements(boundary, start, [wanted](const CDOMElement* element) {
    return element->getNameRecord()->getQualifiedName() == wanted;
  });
}

// Elements that match a namespace search (CDOMElement::matchesNS).
inline CDOMNodeList* CollectElementsByTagNameNS(const CDOMNode* boundary, CDOMNode* start,
                                                const char16_t* namespaceURI, const char16_t* localName) {
  return CollectElements(boundary, start, [namespaceURI, localName](const CDOMElement* element) {
    return element->matchesNS(namespaceURI, localName);
  });
}

}  // namespace quillet::xml

#endif
