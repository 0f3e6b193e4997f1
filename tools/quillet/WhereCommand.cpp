// where: the two files HTML Help keeps, as the library finds them.
#include <iostream>

#include "Command.h"
#include "CommandSupport.h"
#include "collection/CollectionFile.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"

namespace quillet::tool {
namespace {

void RunWhere() {
  ForgetLastError();  // report only what these lookups say
  char registry[1024];
  char collection[1024];
  const bool haveRegistry = QuilletGetDefaultDocumentCollectionFilename(registry, sizeof registry) == 1;
  const bool named = QuilletGetDefaultCollectionFilename(collection, sizeof collection) == 1;
  // The registry settings may name a file that is not there: that is not found too.
  const bool haveCollection = named && platform::FileExists(collection) && platform::NotARegularFile(collection).empty();
  std::cout << "registry: " << (haveRegistry ? FromAnsi(registry) : "not found") << "\n";
  std::cout << "collection: " << (haveCollection ? FromAnsi(collection) : "not found") << "\n";
  if (!haveRegistry) Fail("where", QUILLET_E_NOT_FOUND, "HHCOLREG.DAT in %windows%\\HELP not found");
  if (!named) {
    Fail("where", QUILLET_E_NOT_FOUND, "HTML Help's registry settings name no default collection");
  } else if (!haveCollection) {
    Fail("where", QUILLET_E_NOT_FOUND,
         "the default collection " + FromAnsi(ShownPath(collection)) + " named in HTML Help's registry settings " +
             (platform::FileExists(collection) ? "is " + platform::NotARegularFile(collection) + ", not a file"
                                               : std::string("does not exist")));
  }
}

}  // namespace

void AddWhereCommand(CLI::App& app) {
  app.add_subcommand("where", "Print where the collection registry and the default collection file are")
      ->callback(RunWhere);
}

}  // namespace quillet::tool
