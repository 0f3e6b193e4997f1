#include "XmlGroup.h"

namespace quillet::tool {

CLI::App& XmlGroup(CLI::App& app) {
  const auto found = app.get_subcommands([](CLI::App* sub) { return sub->get_name() == "xml"; });
  if (!found.empty()) return *found.front();
  CLI::App* group = app.add_subcommand("xml", "Inspect XML files with the library's own XML toolkit");
  group->require_subcommand(1);
  return *group;
}

}  // namespace quillet::tool
