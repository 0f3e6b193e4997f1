#include "collection/DocValues.h"

#include "collection/Navigation.h"
#include "quillet/doc_values.h"
#include "quillet/result_codes.h"

namespace {
// Where each value id keeps its datum below the DocCompilation element: one or two
// steps, the last one the leaf whose `value` attribute holds it.
struct ValuePath {
  const char* first;
  const char* leaf;  // null when the first step is the leaf
};

constexpr long kReadOnlyId = QUILLET_DOC_TITLE_ID;

// Index = value id; id 0 is not a value.
const ValuePath kValuePaths[] = {
    {nullptr, nullptr},
    {"LocationHistory", "TitleLocation"},  // QUILLET_DOC_CHM_PATH
    {"LocationHistory", "IndexLocation"},  // QUILLET_DOC_CHI_PATH
    {"DocCompLanguage", nullptr},          // QUILLET_DOC_LANGUAGE
    {"LocationHistory", "ColNum"},         // QUILLET_DOC_COLLECTION_NUMBER
    {"LocationHistory", "LocationRef"},    // QUILLET_DOC_LOCATION_NAME
    {"DocCompId", nullptr},                // QUILLET_DOC_TITLE_ID
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

