// Nodes that hold character data: text, CDATA section and comment.
#ifndef QUILLET_XML_DOMCHARACTERDATA_H
#define QUILLET_XML_DOMCHARACTERDATA_H

#include <cstddef>
#include <string>

#include "quillet/xml/DOMNode.h"

namespace quillet::xml {

// The data edits shared by text, CDATA section, comment and processing instruction.
// Offsets and counts are in 16-bit units. An edit builds the new data whole and stores a
// fresh copy, so a failed edit leaves the data as it was:
// - an offset past the end of the data throws std::out_of_range("invalid string
//   position");
// - a result longer than MaxLength units throws std::length_error("string too long").
// A count reaching past the end is cut at the end.
class QUILLET_API CDOMCharacterData : public CDOMNode {
 public:
  // The longest data an edit may produce.
  static constexpr size_t MaxLength = 0x7FFFFFFE;

  const char16_t* getNodeValue() const override;
  void setNodeValue(const char16_t* value) override;

  // Number of 16-bit units of the data.
  size_t getLength() const;
  void appendData(const char16_t* text);
  // Inserts text before position offset (offset == getLength() appends).
  void insertData(size_t offset, const char16_t* text);
  void deleteData(size_t offset, size_t count);
  // A copy of count units from offset.
  std::u16string substringData(size_t offset, size_t count) const;
  void replaceData(size_t offset, size_t count, const char16_t* text);

 protected:
  // `data` is already stored for the node, which owns it from now on.
  explicit CDOMCharacterData(const char16_t* data);
  ~CDOMCharacterData() override;

 private:
  // Stores the result of an edit after checking its length.
  void storeEdited(const std::u16string& data);

  const char16_t* data_;
};

// A run of text.
class QUILLET_API CDOMText : public CDOMCharacterData {
 public:
  int getNodeType() const override { return DOMNodeTypeText; }
  const char16_t* getNodeName() const override { return u"#text"; }

 protected:
  friend class CDOMDocument;
  using CDOMCharacterData::CDOMCharacterData;
};

// A CDATA section: a text node that is written back as a CDATA section.
class QUILLET_API CDOMCDATASection : public CDOMText {
 public:
  int getNodeType() const override { return DOMNodeTypeCDATASection; }
  const char16_t* getNodeName() const override { return u"#cdata-section"; }

 private:
  friend class CDOMDocument;
  using CDOMText::CDOMText;
};

class QUILLET_API CDOMComment : public CDOMCharacterData {
 public:
  int getNodeType() const override { return DOMNodeTypeComment; }
  const char16_t* getNodeName() const override { return u"#comment"; }

 private:
  friend class CDOMDocument;
  using CDOMCharacterData::CDOMCharacterData;
};

}  // namespace quillet::xml

#endif
