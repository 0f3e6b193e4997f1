// An interned element or attribute name.
#ifndef QUILLET_XML_DOMNAMERECORD_H
#define QUILLET_XML_DOMNAMERECORD_H

#include <memory>
#include <string>
#include <vector>

#include "quillet/export.h"

namespace quillet::xml {

// One record per distinct qualified name and namespace URI in a document, shared by
// every element and attribute of that document bearing them. The records without a
// URI are owned by the document's name table, each keeping the records of its name
// with a URI. A record never changes once it is made: renaming a node, or giving it
// another namespace URI, points it at another record.
class QUILLET_API CDOMNameRecord {
 public:
  CDOMNameRecord(std::u16string localName, std::u16string prefix, std::u16string qualifiedName)
      : localName_(std::move(localName)), prefix_(std::move(prefix)), qualifiedName_(std::move(qualifiedName)) {}

  // Splits a qualified name at its first ":" into prefix and local name (the local name
  // may hold further ":"). Without ":", or with nothing after the first one, the prefix is
  // empty and the local name is what comes before the ":". A leading ":" gives the empty
  // prefix and the rest as local name.
  static CDOMNameRecord FromQualifiedName(std::u16string qualifiedName);
  // prefix ":" localName, or localName alone when the prefix is empty.
  static std::u16string JoinName(const std::u16string& prefix, const std::u16string& localName);

  const std::u16string& getLocalName() const { return localName_; }
  const std::u16string& getPrefix() const { return prefix_; }
  const std::u16string& getQualifiedName() const { return qualifiedName_; }
  // The namespace URI of the record's nodes; null for none, which differs from "".
  const char16_t* getNamespaceURI() const { return hasNamespaceURI_ ? namespaceURI_.c_str() : nullptr; }

 private:
  friend class CDOMDocument;

  std::u16string localName_;
  std::u16string prefix_;
  std::u16string qualifiedName_;
  std::u16string namespaceURI_;
  bool hasNamespaceURI_ = false;
  // In a record without a URI: the records of the same name with one, few enough to
  // be searched in turn.
  std::vector<std::unique_ptr<CDOMNameRecord>> withURIs_;
  // In a record with a URI: the record without one (null in that record itself).
  const CDOMNameRecord* withoutURI_ = nullptr;
};

}  // namespace quillet::xml

#endif
