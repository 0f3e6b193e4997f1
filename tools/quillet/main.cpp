// quillet: the command-line face of the Quillet library.
#include <CLI/CLI.hpp>

#include <iostream>

#include "Command.h"

namespace quillet::tool {
int& ExitCode() {
  static int code = 0;
  return code;
}
std::vector<CommandAdder>& CommandAdders() {
  static std::vector<CommandAdder> adders;
  return adders;
}
}  // namespace quillet::tool

int main(int argc, char** argv) {
  CLI::App app{"quillet: register compiled HTML Help titles"};
  app.require_subcommand(1);
  for (auto& add : quillet::tool::CommandAdders()) add(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  return quillet::tool::ExitCode();
}
