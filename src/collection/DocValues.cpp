#include "collection/DocValues.h"

#include "collection/CollectionFile.h"
#include "collection/Navigation.h"
#include "quillet/quillet.h"

namespace {
// Where each value id keeps its datum below the DocCompilation element: one or two
// steps, the last one the leaf whose `value` attribute holds it.
struct ValuePath {
  const char* first;
  const char* leaf;  // null when the first step is the leaf
};

constexpr long kReadOnlyId = 6;

// Index = value id; id 0 is not a value.
const ValuePath kValuePaths[] = {
    {nullptr, nullptr},
    {"LocationHistory", "TitleLocation"},
    {"LocationHistory", "IndexLocation"},
    {"DocCompLanguage", nullptr},
    {"LocationHistory", "ColNum"},
    {"LocationHistory", "LocationRef"},
    {"DocCompId", nullptr},
};

const ValuePath* PathOf(long valueId, long lastId) {
  if (valueId < 1 || valueId > lastId) return nullptr;
  return &kValuePaths[valueId];
}
}  // namespace

namespace quillet {

int ReadEntryValue(xml::CDOMElement* entry, long valueId, std::string& value) {
  const ValuePath* path = PathOf(valueId, kReadOnlyId);
  if (path == nullptr) return QUILLET_E_NOT_FOUND;
  xml::CDOMElement* element = FindChildElement(entry, path->first);
  if (element != nullptr && path->leaf != nullptr) element = FindChildElement(element, path->leaf);
  if (element == nullptr) return QUILLET_E_NOT_FOUND;
  value = ReadValue(element);
  return QUILLET_OK;
}

int WriteEntryValue(xml::CDOMElement* entry, long valueId, const std::string& value) {
  // The title id is written only when the entry is added.
  const ValuePath* path = PathOf(valueId, kReadOnlyId - 1);
  if (path == nullptr) return QUILLET_E_NOT_FOUND;
  xml::CDOMElement* element = FindOrAppendChildElement(entry, path->first);
  if (path->leaf != nullptr) element = FindOrAppendChildElement(element, path->leaf);
  WriteValue(element, value);
  return QUILLET_OK;
}

}  // namespace quillet

namespace quillet {
int DocValueOfHandle(unsigned long doc, long valueId, std::string& value) {
  CNodeRef* ref = RequireNode(doc, CNodeRef::Kind::Doc);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  return ReadEntryValue(ref->element, valueId, value);
}
}  // namespace quillet

int QuilletGetDocValue(unsigned long doc, long valueId, char* buffer) {
  using namespace quillet;
  std::string value;
  const int code = DocValueOfHandle(doc, valueId, value);
  if (code == QUILLET_OK) CopyToCallerBuffer(value, buffer);
  return code;
}

int QuilletSetDocValue(unsigned long doc, long valueId, char* value) {
  using namespace quillet;
  CNodeRef* ref = RequireNode(doc, CNodeRef::Kind::Doc);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  return WriteEntryValue(ref->element, valueId, CallerText(value));
}
