#include "quillet/xml/DOMCharacterData.h"

#include <algorithm>
#include <stdexcept>

#include "xml/common/U16String.h"
#include "xml/dom/NodeText.h"

namespace quillet::xml {

namespace {

// The edits report a bad offset with the message callers of the original string
// operations know.
void CheckOffset(size_t offset, size_t length) {
  if (offset > length) throw std::out_of_range("invalid string position");
}

// Throws before a too long result is built, so no edit can overflow a size.
void CheckResultLength(size_t kept, size_t added) {
  if (added > CDOMCharacterData::MaxLength || kept > CDOMCharacterData::MaxLength - added) {
    throw std::length_error("string too long");
  }
}

}  // namespace

CDOMCharacterData::CDOMCharacterData(const char16_t* data) : data_(data) {}

CDOMCharacterData::~CDOMCharacterData() { NodeTextFreeOf(this, data_); }

const char16_t* CDOMCharacterData::getNodeValue() const { return NodeTextOrEmpty(data_); }

void CDOMCharacterData::setNodeValue(const char16_t* value) { NodeTextAssignOf(this, data_, value); }

size_t CDOMCharacterData::getLength() const { return U16Length(data_); }

void CDOMCharacterData::storeEdited(const std::u16string& data) {
  const char16_t* copy = NodeTextCopy(data.data(), data.size());
  NodeTextFreeOf(this, data_);
  data_ = copy;
}

void CDOMCharacterData::appendData(const char16_t* text) {
  replaceData(getLength(), 0, text);
}

void CDOMCharacterData::insertData(size_t offset, const char16_t* text) { replaceData(offset, 0, text); }

void CDOMCharacterData::deleteData(size_t offset, size_t count) { replaceData(offset, count, nullptr); }

std::u16string CDOMCharacterData::substringData(size_t offset, size_t count) const {
  size_t length = getLength();
  CheckOffset(offset, length);
  count = std::min(count, length - offset);
  return std::u16string(data_ + offset, count);
}

void CDOMCharacterData::replaceData(size_t offset, size_t count, const char16_t* text) {
  size_t length = getLength();
  CheckOffset(offset, length);
  count = std::min(count, length - offset);
  size_t added = U16Length(text);
  CheckResultLength(length - count, added);
  std::u16string data;
  data.reserve(length - count + added);
  data.append(data_, offset);
  if (added != 0) data.append(text, added);
  data.append(data_ + offset + count, length - offset - count);
  storeEdited(data);
}

}  // namespace quillet::xml
