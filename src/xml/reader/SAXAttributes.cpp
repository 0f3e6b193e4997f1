#include "quillet/xml/SAXAttributes.h"

namespace quillet::xml {

namespace {
constexpr char16_t kCDATA[] = u"CDATA";
}

CSAXAttributes::Entry& CSAXAttributes::append() {
  if (count_ == entries_.size()) entries_.emplace_back();
  Entry& e = entries_[count_++];
  e.uri.clear();
  e.localName.clear();
  e.qName.clear();
  e.value.clear();
  return e;
}

int CSAXAttributes::getIndex(const std::u16string& uri, const std::u16string& localName) const {
  for (size_t i = 0; i < count_; ++i) {
    if (entries_[i].uri == uri && entries_[i].localName == localName) return static_cast<int>(i);
  }
  return -1;
}

int CSAXAttributes::getIndex(const std::u16string& qName) const {
  for (size_t i = 0; i < count_; ++i) {
    if (entries_[i].qName == qName) return static_cast<int>(i);
  }
  return -1;
}

const char16_t* CSAXAttributes::getLocalName(unsigned index) const {
  return index < count_ ? entries_[index].localName.c_str() : nullptr;
}
const char16_t* CSAXAttributes::getQName(unsigned index) const {
  return index < count_ ? entries_[index].qName.c_str() : nullptr;
}
const char16_t* CSAXAttributes::getURI(unsigned index) const {
  return index < count_ ? entries_[index].uri.c_str() : nullptr;
}
const char16_t* CSAXAttributes::getType(const std::u16string&, const std::u16string&) const { return kCDATA; }
const char16_t* CSAXAttributes::getType(const std::u16string&) const { return kCDATA; }
const char16_t* CSAXAttributes::getType(unsigned) const { return kCDATA; }

const char16_t* CSAXAttributes::getValue(const std::u16string& uri, const std::u16string& localName) const {
  const int i = getIndex(uri, localName);
  return i < 0 ? nullptr : entries_[static_cast<size_t>(i)].value.c_str();
}
const char16_t* CSAXAttributes::getValue(const std::u16string& qName) const {
  const int i = getIndex(qName);
  return i < 0 ? nullptr : entries_[static_cast<size_t>(i)].value.c_str();
}
const char16_t* CSAXAttributes::getValue(unsigned index) const {
  return index < count_ ? entries_[index].value.c_str() : nullptr;
}

}  // namespace quillet::xml
