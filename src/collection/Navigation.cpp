#include "collection/Navigation.h"

#include <cstring>

#include "platform/Platform.h"
#include "xml/common/U16String.h"

namespace quillet {
namespace {
const char16_t kValueAttribute[] = u"value";
}  // namespace

xml::CDOMElement* AsElement(xml::CDOMNode* node) {
  if (node == nullptr || node->getNodeType() != xml::DOMNodeTypeElement) return nullptr;
  return static_cast<xml::CDOMElement*>(node);
}

static bool SameText(const char16_t* a, const std::u16string& b) {
  if (a == nullptr) return b.empty();
  size_t i = 0;
  for (; i < b.size(); ++i)
    if (a[i] != b[i]) return false;  // also stops at a's NUL, which b never holds
  return a[i] == u'\0';
}

xml::CDOMElement* FindChildElement(xml::CDOMNode* parent, const char* name) {
  if (parent == nullptr) return nullptr;
  // Widened once and compared in 16-bit form: the ANSI conversion maps distinct
  // texts to distinct texts, so this equals comparing the narrowed tag names.
  const std::u16string wanted = platform::AnsiToWide(CallerText(name));
  for (xml::CDOMNode* child = parent->getFirstChild(); child != nullptr; child = child->getNextSibling()) {
    xml::CDOMElement* element = AsElement(child);
    if (element != nullptr && SameText(element->getTagName(), wanted)) return element;
  }
  return nullptr;
}

xml::CDOMElement* AppendChildElement(xml::CDOMNode* parent, const char* name) {
  if (parent == nullptr) return nullptr;
  xml::CDOMDocument* document = parent->getNodeType() == xml::DOMNodeTypeDocument ? static_cast<xml::CDOMDocument*>(parent)
                                                           : parent->getOwnerDocument();
  if (document == nullptr) return nullptr;
  xml::CDOMElement* element = document->createElement(platform::AnsiToWide(CallerText(name)).c_str());
  // The tree refuses some links (a second root under a document); the element would
  // then belong to nobody.
  if (parent->appendChild(element) == nullptr) {
    element->release();
    return nullptr;
  }
  return element;
}

xml::CDOMElement* FindOrAppendChildElement(xml::CDOMNode* parent, const char* name) {
  xml::CDOMElement* found = FindChildElement(parent, name);
  return found != nullptr ? found : AppendChildElement(parent, name);
}

bool HasTagName(xml::CDOMNode* node, const char* name) {
  xml::CDOMElement* element = AsElement(node);
  if (element == nullptr) return false;
  return xml::EqualsIgnoreAsciiCase(platform::WideToAnsi(element->getTagName()), CallerText(name));
}

xml::CDOMElement* FindElementByChildValue(xml::CDOMDocument* document, const char16_t* tagName,
                                          const char* childName, const std::string& value) {
  xml::CDOMNodeList* list = document->getElementsByTagName(tagName);
  if (list == nullptr) return nullptr;
  xml::CDOMElement* found = nullptr;
  const size_t length = list->getLength();
  for (size_t i = 0; i < length && found == nullptr; ++i) {
    xml::CDOMElement* element = AsElement(list->item(i));
    xml::CDOMElement* child = FindChildElement(element, childName);
    if (child != nullptr && ReadValue(child) == value) found = element;
  }
  list->release();
  return found;
}

std::string ReadValue(xml::CDOMElement* element) {
  if (element == nullptr) return std::string();
  return platform::WideToAnsi(element->getAttribute(kValueAttribute));
}

void WriteValue(xml::CDOMElement* element, const std::string& value) {
  if (element == nullptr) return;
  element->setAttribute(kValueAttribute, platform::AnsiToWide(value).c_str());
}

void CopyToCallerBuffer(const std::string& text, char* buffer) {
  if (buffer != nullptr) std::memcpy(buffer, text.c_str(), text.size() + 1);
}

}  // namespace quillet
