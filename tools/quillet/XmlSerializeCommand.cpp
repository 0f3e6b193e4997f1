// quillet xml serialize FILE: the XML text of a loaded document, as the node
// operation getXML gives it.
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "Command.h"
#include "XmlDocumentLoad.h"
#include "XmlGroup.h"
#include "xml/common/U16String.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

struct SerializeOptions {
  LoadOptions load;
  std::optional<std::string> path;
};

int RunSerialize(const SerializeOptions& options) {
  if (options.path) {
    std::cerr << "quillet: path expressions are not available yet\n";
    return kExitUsage;
  }
  XMLDeclInfo info;
  int exitCode = 0;
  DocumentPtr doc = LoadForTool(options.load, info, exitCode);
  if (!doc) return exitCode;
  std::u16string xml;
  std::cout << U16ToUtf8(doc->getXML(xml));
  return 0;
}

quillet::tool::CommandRegistration registration([](CLI::App& app) {
  auto options = std::make_shared<SerializeOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("serialize", "Load FILE and print its XML text as UTF-8");
  AddLoadOptions(cmd, options->load);
  cmd->add_option("--path", options->path, "Print only the first node PATH selects (not available yet)");
  cmd->callback([options] { ExitCode() = RunSerialize(*options); });
});

}  // namespace
