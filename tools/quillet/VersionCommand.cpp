// version: the library's version text (also `quillet --version`).
#include <iostream>

#include "Command.h"
#include "quillet/quillet.h"

namespace quillet::tool {

void AddVersionCommand(CLI::App& app) {
  app.add_subcommand("version", "Print the library's version text")->callback([] {
    char text[64];
    QuilletGetVersion(text);
    std::cout << text << "\n";
  });
}

}  // namespace quillet::tool
