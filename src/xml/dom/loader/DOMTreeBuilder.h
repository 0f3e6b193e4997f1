// Builds a document tree from the reader's events.
#ifndef QUILLET_XML_DOM_LOADER_DOMTREEBUILDER_H
#define QUILLET_XML_DOM_LOADER_DOMTREEBUILDER_H

#include <string>
#include <string_view>
#include <unordered_map>

#include "quillet/xml/SAXContentHandler.h"
#include "quillet/xml/SAXDTDHandler.h"
#include "quillet/xml/SAXErrorHandler.h"

namespace quillet::xml {

class CDOMAttribute;

class CDOMDocument;
class CDOMDocumentFactory;
class CDOMElement;
class CDOMNode;

// Attached to a reader as its content, DTD and error handler. Every event becomes a
// node linked under the current node (the innermost open element, or the document
// once the root element has ended):
// - elements carry the namespace URI the reader resolved, as do their attributes;
// - character data before the root element is dropped; each run of character data
//   becomes its own text node (adjacent ones are not merged);
// - comments, processing instructions (the XML declaration among them, target
//   "xml") and CDATA sections become nodes, under the document outside the root;
// - the document type declaration names the document's document type node;
//   notations and unparsed entities are not kept.
// The builder owns the document until takeDocument(); a document not taken (the
// parse failed) is released with the builder, so no partial tree survives.
class CDOMTreeBuilder final : public CSAXContentHandler, public CSAXDTDHandler, public CSAXErrorHandler {
 public:
  explicit CDOMTreeBuilder(CDOMDocumentFactory* factory) : factory_(factory) {}
  ~CDOMTreeBuilder() override;
  CDOMTreeBuilder(const CDOMTreeBuilder&) = delete;
  CDOMTreeBuilder& operator=(const CDOMTreeBuilder&) = delete;

  // Hands the document over to the caller; null before startDocument.
  CDOMDocument* takeDocument();

  void startDocument() override;
  void startElement(const std::u16string& uri, const std::u16string& localName, const std::u16string& qName,
                    const CSAXAttributes& attributes) override;
  void endElement(const std::u16string& uri, const std::u16string& localName,
                  const std::u16string& qName) override;
  void processingInstruction(const std::u16string& target, const std::u16string& data) override;
  void characters(const char16_t* chars, int start, int length) override;
  void comment(const std::u16string& text) override;
  void cdataSection(const std::u16string& text) override;

  void doctypeDecl(const std::u16string& name) override;

 private:
  // The node that takes the next comment, instruction or CDATA section.
  CDOMNode* container() const;
  void releaseDocument();

  CDOMDocumentFactory* factory_;
  CDOMDocument* document_ = nullptr;
  CDOMElement* root_ = nullptr;
  CDOMNode* current_ = nullptr;
  // Elements refused by the document (a second root, which the reader never lets
  // through) are dropped with their content; this counts how deep inside one we are.
  int refusedDepth_ = 0;
  std::u16string text_;  // reused for each run of character data
  // The attributes of the element being built, by name, for elements with many: a
  // repeated name must find the first one (which keeps its place and takes the last
  // value) without a walk of the whole list each time.
  std::unordered_map<std::u16string_view, CDOMAttribute*> attributesByName_;
};

}  // namespace quillet::xml

#endif
