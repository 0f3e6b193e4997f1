// quillet xml match FILE PATTERN: whether a node matches a name pattern, "true" or
// "false".
#include <iostream>
#include <memory>
#include <string>

#include "Command.h"
#include "XmlGroup.h"
#include "XmlPathContext.h"
#include "xml/common/U16String.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

struct MatchOptions {
  PathContextOptions context;
  std::string pattern;
};

int RunMatch(const MatchOptions& options) {
  PathContext context;
  int exitCode = 0;
  if (!LoadPathContext(options.context, context, exitCode)) return exitCode;
  std::cout << (context.node->matchesPattern(Utf8ToU16(options.pattern).c_str()) ? "true" : "false") << "\n";
  return 0;
}

quillet::tool::CommandRegistration registration([](CLI::App& app) {
  auto options = std::make_shared<MatchOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("match", "Print whether a node of FILE matches a name pattern");
  AddPathContextOptions(cmd, options->context);
  cmd->add_option("PATTERN", options->pattern, "The pattern, such as /a/b")->required();
  cmd->callback([options] { ExitCode() = RunMatch(*options); });
});

}  // namespace
