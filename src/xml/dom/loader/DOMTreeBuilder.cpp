#include "xml/dom/loader/DOMTreeBuilder.h"

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMCharacterData.h"
#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMProcessingInstruction.h"
#include "xml/dom/loader/DOMDocumentFactory.h"

namespace quillet::xml {
namespace {
// Up to this many attributes a walk of the list finds a repeated name fastest.
constexpr unsigned kFewAttributes = 8;
}  // namespace

CDOMTreeBuilder::~CDOMTreeBuilder() { releaseDocument(); }

void CDOMTreeBuilder::releaseDocument() {
  if (document_ != nullptr) document_->release();
  document_ = nullptr;
  root_ = nullptr;
  current_ = nullptr;
  refusedDepth_ = 0;
}

CDOMDocument* CDOMTreeBuilder::takeDocument() {
  CDOMDocument* document = document_;
  document_ = nullptr;
  root_ = nullptr;
  current_ = nullptr;
  return document;
}

CDOMNode* CDOMTreeBuilder::container() const {
  return current_ != nullptr ? current_ : static_cast<CDOMNode*>(document_);
}

void CDOMTreeBuilder::startDocument() {
  releaseDocument();  // a builder used for a second parse starts afresh
  document_ = factory_->createDocument();
}

void CDOMTreeBuilder::startElement(const std::u16string& uri, const std::u16string& /*localName*/,
                                   const std::u16string& qName, const CSAXAttributes& attributes) {
  if (document_ == nullptr) return;
  if (refusedDepth_ > 0) {
    ++refusedDepth_;
    return;
  }
  CDOMElement* element = document_->createElementNS(uri.c_str(), qName.c_str());
  CDOMNode* parent = root_ == nullptr ? document_ : container();
  if (parent->appendChild(element) == nullptr) {
    element->release();
    refusedDepth_ = 1;
    return;
  }
  if (root_ == nullptr) root_ = element;
  const unsigned count = static_cast<unsigned>(attributes.getLength());
  if (count <= kFewAttributes) {
    for (unsigned i = 0; i < count; ++i) {
      CDOMAttribute* attribute = element->setAttribute(attributes.getQName(i), attributes.getValue(i));
      attribute->setNamespaceURI(attributes.getURI(i));
    }
  } else {
    attributesByName_.clear();
    attributesByName_.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
      const char16_t* name = attributes.getQName(i);
      auto [found, added] = attributesByName_.try_emplace(std::u16string_view(name), nullptr);
      if (added) found->second = element->appendNewAttribute(name, attributes.getValue(i));
      else found->second->setNodeValue(attributes.getValue(i));
      found->second->setNamespaceURI(attributes.getURI(i));
    }
  }
  current_ = element;
}

void CDOMTreeBuilder::endElement(const std::u16string& /*uri*/, const std::u16string& /*localName*/,
                                 const std::u16string& /*qName*/) {
  if (refusedDepth_ > 0) {
    --refusedDepth_;
    return;
  }
  // After the root element this leaves the document current, so that what follows
  // the root is linked under the document.
  if (current_ != nullptr) current_ = current_->getParentNode();
}

void CDOMTreeBuilder::processingInstruction(const std::u16string& target, const std::u16string& data) {
  if (document_ == nullptr || refusedDepth_ > 0) return;
  container()->appendChild(document_->createProcessingInstruction(target.c_str(), data.c_str()));
}

void CDOMTreeBuilder::characters(const char16_t* chars, int start, int length) {
  // Before the root element there is no current node: such text has no place.
  if (document_ == nullptr || current_ == nullptr || refusedDepth_ > 0 || chars == nullptr || length <= 0) return;
  text_.assign(chars + start, static_cast<size_t>(length));
  current_->appendChild(document_->createTextNode(text_.c_str()));
}

void CDOMTreeBuilder::comment(const std::u16string& text) {
  if (document_ == nullptr || refusedDepth_ > 0) return;
  container()->appendChild(document_->createComment(text.c_str()));
}

void CDOMTreeBuilder::cdataSection(const std::u16string& text) {
  if (document_ == nullptr || refusedDepth_ > 0) return;
  container()->appendChild(document_->createCDATASection(text.c_str()));
}

void CDOMTreeBuilder::doctypeDecl(const std::u16string& name) {
  if (document_ != nullptr) document_->getDoctype()->setName(name.c_str());
}

}  // namespace quillet::xml
