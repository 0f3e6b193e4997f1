// The `xml` subcommand group, shared by every commands file that adds an XML command.
#ifndef QUILLET_TOOL_XMLGROUP_H
#define QUILLET_TOOL_XMLGROUP_H

#include <CLI/CLI.hpp>

namespace quillet::tool {

// The application's `xml` subcommand, created on first use; commands files add their
// subcommands to it in any order.
CLI::App& XmlGroup(CLI::App& app);

}  // namespace quillet::tool

#endif
