#include <ctime>
#include <iostream>
#include <memory>

#include "Command.h"
#include "HelpSetup.h"

namespace {
quillet::tool::CommandRegistration registration([](CLI::App& app) {
  auto request = std::make_shared<quillet::tool::SetupRequest>();
  auto* init = app.add_subcommand("init",
                                  "Make the prefix a working HTML Help environment: registry settings, collection "
                                  "registry and collection file; adds only what is missing");
  init->add_option_function<std::string>(
          "--name", [request](const std::string& name) { request->name = name; },
          std::string("The name of the collection to make the preferred one (default ") +
              quillet::tool::kDefaultCollectionName + ")")
      ->type_name("TITLE")
      ->check(quillet::tool::CheckCollectionName);
  init->add_option_function<std::string>(
          "--file", [request](const std::string& file) { request->file = file; },
          std::string("The Windows path of its collection file (default ") + quillet::tool::kDefaultCollectionFile +
              ")")
      ->type_name("WINPATH")
      ->check(quillet::tool::CheckCollectionFile);
  init->callback([request] {
    request->timestamp = static_cast<std::uint64_t>(std::time(nullptr));
    quillet::tool::ExitCode() = quillet::tool::SetUpHelpEnvironment(*request, std::cout, std::cerr);
  });
});
}  // namespace
