// The attribute list of one start tag, as the reader hands it to `startElement`.
#ifndef QUILLET_XML_SAXATTRIBUTES_H
#define QUILLET_XML_SAXATTRIBUTES_H

#include <string>
#include <vector>

#include "quillet/export.h"

namespace quillet::xml {

// Attributes in document order; duplicates are all kept and every lookup finds the
// first match. Names compare exactly (case-sensitively). The list is valid only
// during the `startElement` call it is passed to: the reader reuses it for the next
// tag. Operations returning characters return null for an index out of range and an
// empty text for a field that is empty.
class QUILLET_API CSAXAttributes {
 public:
  struct Entry {
    std::u16string uri;
    std::u16string localName;
    std::u16string qName;
    std::u16string value;
  };

  CSAXAttributes() = default;
  virtual ~CSAXAttributes() = default;

  // Index of the first attribute with this namespace name and local name; -1 if none.
  int getIndex(const std::u16string& uri, const std::u16string& localName) const;
  // Index of the first attribute with this qualified name; -1 if none.
  int getIndex(const std::u16string& qName) const;
  int getLength() const { return static_cast<int>(count_); }

  const char16_t* getLocalName(unsigned index) const;
  const char16_t* getQName(unsigned index) const;
  const char16_t* getURI(unsigned index) const;
  // Always "CDATA": the reader does not apply declared attribute types.
  const char16_t* getType(const std::u16string& uri, const std::u16string& localName) const;
  const char16_t* getType(const std::u16string& qName) const;
  const char16_t* getType(unsigned index) const;
  // The value of the first match; null if none.
  const char16_t* getValue(const std::u16string& uri, const std::u16string& localName) const;
  const char16_t* getValue(const std::u16string& qName) const;
  const char16_t* getValue(unsigned index) const;

  // --- Filling (used by the reader) ---------------------------------------------
  // Empties the list, keeping the entries' storage for reuse.
  void clear() { count_ = 0; }
  // A new entry with empty texts at the end of the list, to be filled in place.
  Entry& append();
  Entry& entry(unsigned index) { return entries_[index]; }
  const Entry& entry(unsigned index) const { return entries_[index]; }

 private:
  std::vector<Entry> entries_;
  size_t count_ = 0;
};

}  // namespace quillet::xml

#endif
