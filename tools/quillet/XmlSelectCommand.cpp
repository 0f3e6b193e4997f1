// quillet xml select FILE PATH: the nodes a path expression selects, one JSON object
// per line.
#include <iostream>
#include <memory>
#include <string>

#include "Command.h"
#include "JsonText.h"
#include "XmlGroup.h"
#include "XmlPathContext.h"
#include "quillet/xml/DOMNodeList.h"
#include "xml/common/U16String.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

struct SelectOptions {
  PathContextOptions context;
  std::string path;
};

int RunSelect(const SelectOptions& options) {
  PathContext context;
  int exitCode = 0;
  if (!LoadPathContext(options.context, context, exitCode)) return exitCode;
  CDOMNodeList* list = context.node->selectNodes(Utf8ToU16(options.path).c_str());
  if (list == nullptr) return PathEvaluationFailed(options.path);
  std::u16string text;
  while (const CDOMNode* node = list->nextNode()) {
    std::cout << "{\"type\":" << node->getNodeType() << ",\"name\":" << JsonString(node->getNodeName())
              << ",\"text\":" << JsonString(node->getText(text)) << "}\n";
  }
  list->release();
  return 0;
}

quillet::tool::CommandRegistration registration([](CLI::App& app) {
  auto options = std::make_shared<SelectOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("select", "Print the nodes a path expression selects in FILE");
  AddPathContextOptions(cmd, options->context);
  cmd->add_option("PATH", options->path, "The location path")->required();
  cmd->callback([options] { ExitCode() = RunSelect(*options); });
});

}  // namespace
