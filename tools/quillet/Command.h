// How the tool's commands are put together: each commands file registers a function
// that adds its subcommands to the application, so that adding a command never means
// editing main.cpp.
#ifndef QUILLET_TOOL_COMMAND_H
#define QUILLET_TOOL_COMMAND_H

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

namespace quillet::tool {

// The tool's own exit codes; every other non-zero code is the library's result code.
constexpr int kExitFailed = 1;  // the command could not do its work (a file that cannot be
                                // read or written, a file of the wrong kind, ...)
constexpr int kExitUsage = 2;   // bad arguments: nothing was read or changed

// The exit code a command's callback leaves for main().
int& ExitCode();

using CommandAdder = std::function<void(CLI::App& app)>;
std::vector<CommandAdder>& CommandAdders();

// Registers a commands file at static initialisation:
//   static quillet::tool::CommandRegistration reg([](CLI::App& app) { ... });
struct CommandRegistration {
  explicit CommandRegistration(CommandAdder adder) { CommandAdders().push_back(std::move(adder)); }
};

}  // namespace quillet::tool

#endif
