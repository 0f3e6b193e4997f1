// quillet xml serialize FILE [--path PATH]: the XML text of a loaded document, or of
// the nodes a path selects in it, as the node operation getXML gives it.
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "Command.h"
#include "XmlDocumentLoad.h"
#include "XmlGroup.h"
#include "XmlPathContext.h"
#include "quillet/xml/DOMNodeList.h"
#include "xml/common/U16String.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

struct SerializeOptions {
  LoadOptions load;
  std::optional<std::string> path;
};

int RunSerialize(const SerializeOptions& options) {
  XMLDeclInfo info;
  int exitCode = 0;
  DocumentPtr doc = LoadForTool(options.load, info, exitCode);
  if (!doc) return exitCode;
  std::u16string xml;
  if (!options.path) {
    std::cout << U16ToUtf8(doc->getXML(xml));
    return 0;
  }
  CDOMNodeList* list = doc->selectNodes(Utf8ToU16(*options.path).c_str());
  if (list == nullptr) return PathEvaluationFailed(*options.path);
  while (const CDOMNode* node = list->nextNode()) std::cout << U16ToUtf8(node->getXML(xml));
  list->release();
  return 0;
}

quillet::tool::CommandRegistration registration([](CLI::App& app) {
  auto options = std::make_shared<SerializeOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("serialize", "Load FILE and print its XML text as UTF-8");
  AddLoadOptions(cmd, options->load);
  cmd->add_option("--path", options->path, "Print only the nodes PATH selects, one after another");
  cmd->callback([options] { ExitCode() = RunSerialize(*options); });
});

}  // namespace
