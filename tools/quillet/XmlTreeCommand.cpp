// quillet xml tree FILE: the document tree a file loads into, as one JSON document.
#include <iostream>
#include <memory>

#include "Command.h"
#include "JsonText.h"
#include "XmlDocumentLoad.h"
#include "XmlGroup.h"
#include "quillet/xml/DOM.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

void PrintNodeFields(std::ostream& out, const CDOMNode* node) {
  out << "{\"type\":" << node->getNodeType() << ",\"name\":" << JsonString(node->getNodeName())
      << ",\"value\":" << JsonString(node->getNodeValue());
  if (node->getNodeType() != DOMNodeTypeElement) return;
  out << ",\"uri\":" << JsonString(node->getNamespaceURI()) << ",\"prefix\":" << JsonString(node->getPrefix())
      << ",\"localName\":" << JsonString(node->getLocalName()) << ",\"attributes\":[";
  for (const CDOMNode* a = static_cast<const CDOMElement*>(node)->getFirstAttribute(); a; a = a->getNextSibling()) {
    if (a != static_cast<const CDOMElement*>(node)->getFirstAttribute()) out << ",";
    out << "{\"name\":" << JsonString(a->getNodeName()) << ",\"value\":" << JsonString(a->getNodeValue())
        << ",\"uri\":" << JsonString(a->getNamespaceURI()) << "}";
  }
  out << "]";
}

// The children of `parent` as a JSON array, walked without recursion: trees are as
// deep as the reader allows.
void PrintChildren(std::ostream& out, const CDOMNode* parent) {
  out << "[";
  const CDOMNode* node = parent->getFirstChild();
  while (node != nullptr) {
    PrintNodeFields(out, node);
    if (node->hasChildNodes()) {
      out << ",\"children\":[";
      node = node->getFirstChild();
      continue;
    }
    out << "}";
    // Climb to the nearest ancestor with a following sibling, closing what ends.
    while (node != nullptr && node->getNextSibling() == nullptr) {
      node = node->getParentNode();
      if (node == parent) node = nullptr;
      if (node != nullptr) out << "]}";
    }
    if (node != nullptr) {
      out << ",";
      node = node->getNextSibling();
    }
  }
  out << "]";
}

int RunTree(const LoadOptions& options) {
  XMLDeclInfo info;
  int exitCode = 0;
  DocumentPtr doc = LoadForTool(options, info, exitCode);
  if (!doc) return exitCode;
  std::cout << "{\"declInfo\":{\"declared\":" << (info.declared ? "true" : "false")
            << ",\"encoding\":" << JsonString(info.encoding)
            << ",\"encodingGiven\":" << (info.encodingGiven ? "true" : "false")
            << "},\"doctype\":" << JsonString(doc->getDoctype()->getName()) << ",\"children\":";
  PrintChildren(std::cout, doc.get());
  std::cout << "}\n";
  return 0;
}

}  // namespace

void quillet::tool::AddXmlTreeCommand(CLI::App& app) {
  auto options = std::make_shared<LoadOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("tree", "Load FILE into a document tree and print it as JSON");
  AddLoadOptions(cmd, *options);
  cmd->callback([options] { ExitCode() = RunTree(*options); });
}
