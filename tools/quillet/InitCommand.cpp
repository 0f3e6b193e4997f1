// init: makes a prefix a working HTML Help environment.
#include <ctime>
#include <iostream>
#include <memory>

#include "Command.h"
#include "CommandSupport.h"
#include "HelpSetup.h"
#include "collection/HelpFilesLock.h"
#include "quillet/result_codes.h"

namespace quillet::tool {
namespace {

}  // namespace

void AddInitCommand(CLI::App& app) {
  auto request = std::make_shared<SetupRequest>();
  auto* init = app.add_subcommand("init",
                                  "Make the prefix a working HTML Help environment: registry settings, collection "
                                  "registry and collection file; adds only what is missing");
  init->add_option_function<std::string>(
          "--name", [request](const std::string& name) { request->name = name; },
          std::string("The name of the collection to make the preferred one (default ") + kDefaultCollectionName +
              ")")
      ->type_name("TITLE")
      ->check(CheckCollectionName);
  init->add_option_function<std::string>(
          "--file", [request](const std::string& file) { request->file = file; },
          std::string("The Windows path of its collection file (default ") + kDefaultCollectionFile + ")")
      ->type_name("WINPATH")
      ->check(CheckCollectionFile);
  init->callback([request] {
    if (request->file && !CheckCodePageText("init", "--file", *request->file)) return;
    HelpFilesLock lock;  // no install may run while the files are made
    if (!lock.ok()) {
      Fail("init", QUILLET_E_LOCKED, lock.error());
      return;
    }
    request->timestamp = static_cast<std::uint64_t>(std::time(nullptr));
    ExitCode() = SetUpHelpEnvironment(*request, std::cout, std::cerr);
  });
}

}  // namespace quillet::tool
