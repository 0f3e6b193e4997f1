#include "xml/dom/loader/DOMDocumentFactory.h"

#include "quillet/xml/DOMDocument.h"
#include "xml/output/XMLSave.h"

namespace quillet::xml {

CDOMDocumentFactory::~CDOMDocumentFactory() = default;

CDOMDocument* CDOMDocumentFactory::createDocument() { return new CDOMDocument(); }

int CDOMDocumentFactory::saveDocumentToSink(const CDOMDocument* document, CByteSink* sink) {
  return xml::saveDocumentToSink(document, sink);
}

int CDOMDocumentFactory::saveNodeToSink(const CDOMNode* node, CByteSink* sink) {
  return xml::saveNodeToSink(node, sink);
}

void CDOMDocumentFactory::release() { delete this; }

}  // namespace quillet::xml
