// quillet: the command-line face of the Quillet library.
#include <CLI/CLI.hpp>

#include <iostream>

#include "quillet/quillet.h"

int main(int argc, char** argv) {
  CLI::App app{"quillet: register compiled HTML Help titles"};
  app.require_subcommand(1);
  auto* version = app.add_subcommand("version", "Print the library's version text");
  version->callback([] {
    char text[64];
    QuilletGetVersion(text);
    std::cout << text << "\n";
  });
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;
  }
  return 0;
}
