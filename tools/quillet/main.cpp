// quillet: the command-line face of the Quillet library.
#include <CLI/CLI.hpp>

#include <iostream>

#include "Command.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
int& ExitCode() {
  static int code = 0;
  return code;
}
std::vector<CommandAdder>& CommandAdders() {
  static std::vector<CommandAdder> adders;
  return adders;
}
void FailWithLastError(int code) {
  ExitCode() = code;
  char text[2048];
  QuilletGetLastError(text, sizeof text);
  if (text[0] != '\0') std::cerr << text << "\n";
}
}  // namespace quillet::tool

int main(int argc, char** argv) {
  CLI::App app{"quillet: register compiled HTML Help titles with Microsoft HTML Help"};
  app.require_subcommand(1);
  app.fallthrough();  // --prefix may also follow the command
  std::string prefix;
  app.add_option("--prefix", prefix,
                 "The Wine prefix to work on (else $QUILLET_PREFIX, else $WINEPREFIX, else $HOME/.wine)")
      ->type_name("DIR")
      ->check([](const std::string& value) { return value.empty() ? std::string("needs a directory") : ""; });
  // Files are saved in the form HTML Help itself can read back (an empty container
  // with its end tag) unless --spec-output asks for the library's plain form.
  QuilletSetHtmlHelpSafeOutput(1);
  app.add_flag_callback(
      "--spec-output", [] { QuilletSetHtmlHelpSafeOutput(0); },
      "Save empty elements as <Name/> even in HTML Help's own file form, which HTML Help cannot read back");
  // Runs once the whole command line is parsed, before any command's own callback.
  app.parse_complete_callback([&prefix] {
    if (!prefix.empty()) quillet::platform::SetPrefix(prefix);
  });
  for (auto& add : quillet::tool::CommandAdders()) add(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  return quillet::tool::ExitCode();
}
