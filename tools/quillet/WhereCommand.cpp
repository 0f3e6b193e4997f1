#include <iostream>

#include "Command.h"
#include "api/LastError.h"
#include "quillet/quillet.h"

namespace {
quillet::tool::CommandRegistration registration([](CLI::App& app) {
  app.add_subcommand("where", "Print where the collection registry and the default collection file are")
      ->callback([] {
        quillet::SetLastErrorText("");  // report only what these lookups say
        char registry[1024];
        char collection[1024];
        const bool haveRegistry = QuilletGetDefaultDocumentCollectionFilename(registry, sizeof registry) == 1;
        const bool haveCollection = QuilletGetDefaultCollectionFilename(collection, sizeof collection) == 1;
        std::cout << "registry: " << (haveRegistry ? registry : "not found") << "\n";
        std::cout << "collection: " << (haveCollection ? collection : "not found") << "\n";
        if (!haveRegistry || !haveCollection) quillet::tool::FailWithLastError(QUILLET_E_NOT_FOUND);
      });
});
}  // namespace
