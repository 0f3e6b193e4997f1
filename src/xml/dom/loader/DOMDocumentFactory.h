// Where a load gets its empty document from, and the way to write a document or a
// node to a caller's byte sink.
#ifndef QUILLET_XML_DOM_LOADER_DOMDOCUMENTFACTORY_H
#define QUILLET_XML_DOM_LOADER_DOMDOCUMENTFACTORY_H

#include "quillet/xml/ByteSink.h"

namespace quillet::xml {

class CDOMDocument;
class CDOMNode;

class CDOMDocumentFactory {
 public:
  CDOMDocumentFactory() = default;
  virtual ~CDOMDocumentFactory();
  CDOMDocumentFactory(const CDOMDocumentFactory&) = delete;
  CDOMDocumentFactory& operator=(const CDOMDocumentFactory&) = delete;

  // A new empty document, owned by the caller (end it with release()).
  virtual CDOMDocument* createDocument();
  // Writes the document's nodes to `sink` as UTF-8, without declaration or byte-order
  // mark. Returns 0.
  virtual int saveDocumentToSink(const CDOMDocument* document, CByteSink* sink);
  // Writes one node and its subtree to `sink` as UTF-8. Returns 0.
  virtual int saveNodeToSink(const CDOMNode* node, CByteSink* sink);
  // Deletes a factory made with new.
  virtual void release();
};

}  // namespace quillet::xml

#endif
