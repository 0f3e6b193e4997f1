#include "XmlPathContext.h"

#include <iostream>

#include "quillet/xml/DOMNodeList.h"
#include "xml/common/U16String.h"

namespace quillet::tool {

void AddPathContextOptions(CLI::App* cmd, PathContextOptions& options) {
  AddLoadOptions(cmd, options.load);
  cmd->add_option("--context", options.context,
                  "Start from the first node PATH2 selects from the document (default: the document)")
      ->type_name("PATH2");
}

bool LoadPathContext(const PathContextOptions& options, PathContext& context, int& exitCode) {
  xml::XMLDeclInfo info;
  context.doc = LoadForTool(options.load, info, exitCode);
  if (!context.doc) return false;
  context.node = context.doc.get();
  if (!options.context) return true;
  xml::CDOMNodeList* list = context.doc->selectNodes(xml::Utf8ToU16(*options.context).c_str());
  if (list == nullptr) {
    exitCode = PathEvaluationFailed(*options.context);
    return false;
  }
  context.node = list->item(0);
  list->release();
  if (context.node == nullptr) {
    std::cerr << "quillet: the context path " << *options.context << " selects no node\n";
    exitCode = kExitFailed;
    return false;
  }
  return true;
}

int PathEvaluationFailed(const std::string& expression) {
  // A runaway expression is named by its start only.
  constexpr size_t kShown = 80;
  std::cerr << "quillet: cannot evaluate " << expression.substr(0, kShown)
            << (expression.size() > kShown ? "...\n" : "\n");
  return kExitFailed;
}

}  // namespace quillet::tool
