// How the tool's commands are put together: each commands file registers a function
// that adds its subcommands to the application, so that adding a command never means
// editing main.cpp.
#ifndef QUILLET_TOOL_COMMAND_H
#define QUILLET_TOOL_COMMAND_H

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

namespace quillet::tool {

// The exit code a command's callback leaves for main() (0 success, otherwise the
// library's result code, 2 for a usage error).
int& ExitCode();

// Ends a command that failed with a library result code: sets the exit code and
// writes the library's last-error text, when there is one, to standard error.
void FailWithLastError(int code);

using CommandAdder = std::function<void(CLI::App& app)>;
std::vector<CommandAdder>& CommandAdders();

// Registers a commands file at static initialisation:
//   static quillet::tool::CommandRegistration reg([](CLI::App& app) { ... });
struct CommandRegistration {
  explicit CommandRegistration(CommandAdder adder) { CommandAdders().push_back(std::move(adder)); }
};

}  // namespace quillet::tool

#endif
