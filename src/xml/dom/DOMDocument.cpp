#include "quillet/xml/DOMDocument.h"

#include <algorithm>

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMAttributeMap.h"
#include "quillet/xml/DOMCharacterData.h"
#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMEntityReference.h"
#include "quillet/xml/DOMProcessingInstruction.h"
#include "xml/common/U16String.h"
#include "xml/dom/ElementSearch.h"
#include "xml/dom/NodeArena.h"
#include "xml/dom/NodeText.h"

namespace quillet::xml {

CDOMDocument::CDOMDocument() : arena_(std::make_unique<CNodeArena>(this)), doctype_(this) {}

CDOMDocument* CDOMDocument::getOwnerDocument() const { return nullptr; }

// The children went first in the release walk; the name records and the document type
// node go with the members.
CDOMDocument::~CDOMDocument() = default;

CDOMNode* CDOMDocument::appendChild(CDOMNode* newChild) {
  if (!canLink(newChild)) return nullptr;
  if (newChild->getNodeType() == DOMNodeTypeElement) {
    if (documentElement_ != nullptr) return nullptr;
    documentElement_ = static_cast<CDOMElement*>(newChild);
  }
  return linkLastChild(newChild);
}

CDOMNode* CDOMDocument::removeChild(CDOMNode* oldChild) {
  CDOMNode* removed = CDOMNode::removeChild(oldChild);
  // The caller may release the removed element: the document must not keep pointing at
  // it, and a later element may then be appended as the new document element.
  if (removed != nullptr && removed == documentElement_) documentElement_ = nullptr;
  return removed;
}

// --- Factory ----------------------------------------------------------------------------

template <typename Node, typename... Args>
Node* CDOMDocument::makeNode(Args... args) {
  void* block = arena_->allocate(sizeof(Node));
  return new (block) Node(args...);
}

template <typename Node, typename... Args>
Node* CDOMDocument::makeNodeWithText(const char16_t* text, Args... args) {
  const size_t length = U16Length(text);
  const size_t nodeBytes = (sizeof(Node) + alignof(Node) - 1) / alignof(Node) * alignof(Node);
  const size_t textBytes = (length + 1) * sizeof(char16_t);
  if (length == 0 || nodeBytes + textBytes > CNodeArena::kMaxBlockBytes) {
    // No text, or one too long to share the block: kept apart (NodeText.h).
    const char16_t* stored = NodeTextCopy(text, length);
    void* block = arena_->allocate(sizeof(Node));
    return new (block) Node(stored, args...);
  }
  auto* block = static_cast<unsigned char*>(arena_->allocate(nodeBytes + textBytes));
  auto* stored = reinterpret_cast<char16_t*>(block + nodeBytes);
  std::copy(text, text + length, stored);
  stored[length] = 0;
  return new (block) Node(stored, args...);
}

CDOMElement* CDOMDocument::createElement(const char16_t* tagName) {
  return makeNode<CDOMElement>(internName(tagName));
}

CDOMComment* CDOMDocument::createComment(const char16_t* data) { return makeNodeWithText<CDOMComment>(data); }

CDOMAttribute* CDOMDocument::createAttribute(const char16_t* name) { return createAttributeWithValue(name, nullptr); }

CDOMAttribute* CDOMDocument::createAttributeWithValue(const char16_t* name, const char16_t* value) {
  return makeNodeWithText<CDOMAttribute>(value, internName(name));
}

CDOMText* CDOMDocument::createTextNode(const char16_t* data) { return makeNodeWithText<CDOMText>(data); }

CDOMProcessingInstruction* CDOMDocument::createProcessingInstruction(const char16_t* target, const char16_t* data) {
  return makeNodeWithText<CDOMProcessingInstruction>(data, target);
}

CDOMCDATASection* CDOMDocument::createCDATASection(const char16_t* data) {
  return makeNodeWithText<CDOMCDATASection>(data);
}

CDOMEntityReference* CDOMDocument::createEntityReference(const char16_t* name) {
  return makeNode<CDOMEntityReference>(name);
}

// As createElement and createAttribute followed by setNamespaceURI (null gives ""),
// with the name and URI interned before the node is made.
CDOMElement* CDOMDocument::createElementNS(const char16_t* namespaceURI, const char16_t* qualifiedName) {
  return makeNode<CDOMElement>(internGivenURI(internName(qualifiedName), namespaceURI));
}

CDOMAttribute* CDOMDocument::createAttributeNS(const char16_t* namespaceURI, const char16_t* qualifiedName) {
  return makeNodeWithText<CDOMAttribute>(nullptr, internGivenURI(internName(qualifiedName), namespaceURI));
}

// --- Attribute maps ---------------------------------------------------------------------

void CDOMDocument::AttributeMapDeleter::operator()(CDOMAttributeMap* map) const { delete map; }

CDOMAttributeMap* CDOMDocument::attributeMapOf(CDOMElement* element) {
  auto& map = attributeMaps_[element];
  if (!map) map.reset(new CDOMAttributeMap(element));
  return map.get();
}

void CDOMDocument::eraseAttributeMap(const CDOMElement* element) { attributeMaps_.erase(element); }

// --- Searches ---------------------------------------------------------------------------

CDOMNodeList* CDOMDocument::getElementsByTagName(const char16_t* tagName) const {
  return CollectElementsByTagName(this, documentElement_, tagName);
}

CDOMNodeList* CDOMDocument::getElementsByTagNameNS(const char16_t* namespaceURI, const char16_t* localName) const {
  return CollectElementsByTagNameNS(this, documentElement_, namespaceURI, localName);
}

// --- Names ------------------------------------------------------------------------------

const CDOMNameRecord* CDOMDocument::internName(const char16_t* qualifiedName) {
  std::u16string_view name = qualifiedName != nullptr ? std::u16string_view(qualifiedName) : std::u16string_view();
  // A document uses few names over and over: a slot picked from the length and the
  // ends of the name answers most lookups without hashing the whole name.
  const size_t slot = (name.size() * 31 + (name.empty() ? 0 : name.front() * 7u + name.back())) % kNameCacheSlots;
  const CDOMNameRecord* cached = nameCache_[slot];
  if (cached != nullptr && cached->getQualifiedName() == name) return cached;
  auto found = nameTable_.find(name);
  const CDOMNameRecord* record = found != nameTable_.end() ? found->second.get()
                                                            : intern(CDOMNameRecord::FromQualifiedName(std::u16string(name)));
  nameCache_[slot] = record;
  return record;
}

const CDOMNameRecord* CDOMDocument::internWithPrefix(const CDOMNameRecord* current, const char16_t* prefix) {
  std::u16string newPrefix = prefix != nullptr ? prefix : u"";
  // A prefix without a local name makes no name at all.
  std::u16string name =
      current->getLocalName().empty() ? std::u16string() : CDOMNameRecord::JoinName(newPrefix, current->getLocalName());
  return internWithURI(intern(CDOMNameRecord(current->getLocalName(), std::move(newPrefix), std::move(name))),
                       current->getNamespaceURI());
}

const CDOMNameRecord* CDOMDocument::internWithLocalName(const CDOMNameRecord* current, const char16_t* localName) {
  std::u16string newLocalName = localName != nullptr ? localName : u"";
  std::u16string name = CDOMNameRecord::JoinName(current->getPrefix(), newLocalName);
  return internWithURI(intern(CDOMNameRecord(std::move(newLocalName), current->getPrefix(), std::move(name))),
                       current->getNamespaceURI());
}

const CDOMNameRecord* CDOMDocument::internWithURI(const CDOMNameRecord* current, const char16_t* uri) {
  // The records in the table are this document's own, so the one without a URI may
  // take new ones.
  auto* base = const_cast<CDOMNameRecord*>(current->withoutURI_ != nullptr ? current->withoutURI_ : current);
  if (uri == nullptr) return base;
  const std::u16string_view wanted(uri);
  for (const auto& record : base->withURIs_) {
    if (record->namespaceURI_ == wanted) return record.get();
  }
  auto record = std::make_unique<CDOMNameRecord>(base->localName_, base->prefix_, base->qualifiedName_);
  record->namespaceURI_ = wanted;
  record->hasNamespaceURI_ = true;
  record->withoutURI_ = base;
  base->withURIs_.push_back(std::move(record));
  return base->withURIs_.back().get();
}

const CDOMNameRecord* CDOMDocument::intern(CDOMNameRecord record) {
  auto found = nameTable_.find(record.getQualifiedName());
  if (found != nameTable_.end()) return found->second.get();
  auto owned = std::make_unique<CDOMNameRecord>(std::move(record));
  const CDOMNameRecord* result = owned.get();
  // The key views the record's own text, which lives on the heap with the record.
  nameTable_.emplace(result->getQualifiedName(), std::move(owned));
  return result;
}

}  // namespace quillet::xml
