// The document tree: every node kind, node lists, attribute maps and the tree walker.
//
//   using namespace quillet::xml;
//   CDOMDocument* doc = new CDOMDocument;
//   CDOMElement* root = doc->createElement(u"root");
//   doc->appendChild(root);
//   root->setAttribute(u"id", u"1");
//   root->appendChild(doc->createTextNode(u"hello"));
//   doc->release();  // destroys every linked node
#ifndef QUILLET_XML_DOM_H
#define QUILLET_XML_DOM_H

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMAttributeMap.h"
#include "quillet/xml/DOMCharacterData.h"
#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMDocumentType.h"
#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMEntityReference.h"
#include "quillet/xml/DOMNameRecord.h"
#include "quillet/xml/DOMNamedNode.h"
#include "quillet/xml/DOMNode.h"
#include "quillet/xml/DOMNodeList.h"
#include "quillet/xml/DOMProcessingInstruction.h"
#include "quillet/xml/DOMTreeWalker.h"

#endif
