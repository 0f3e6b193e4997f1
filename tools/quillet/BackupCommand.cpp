// backup registry | backup collection: copies of the two files beside them.
#include "Command.h"
#include "CommandSupport.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
namespace {

CommandRegistration registration([](CLI::App& app) {
  CLI::App* backup = app.add_subcommand("backup", "Back up the collection registry or the default collection");
  backup->require_subcommand(1);
  backup->add_subcommand("registry", "Copy HHCOLREG.DAT to HHCOLREG.BAK beside it")->callback([] {
    ForgetLastError();
    Finish(QuilletCBackupDocInfo(), "backup registry");
  });
  backup->add_subcommand("collection", "Copy the default collection file to the same name with .bak")
      ->callback([] {
        ForgetLastError();
        Finish(QuilletCBackupDefaultCollection(), "backup collection");
      });
});

}  // namespace
}  // namespace quillet::tool
