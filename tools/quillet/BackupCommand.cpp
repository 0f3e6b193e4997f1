// backup registry | backup collection: copies of the two files beside them.
#include "Command.h"
#include "CommandSupport.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {

void AddBackupCommand(CLI::App& app) {
  CLI::App* backup = app.add_subcommand("backup", "Back up the collection registry or the default collection");
  backup->add_subcommand("registry", "Copy HHCOLREG.DAT to HHCOLREG.BAK beside it")->callback([] {
    ForgetLastError();
    const int code = QuilletCBackupDocInfo();
    if (code == QUILLET_E_NOT_FOUND) {
      Fail("backup registry", code, "HHCOLREG.DAT in %windows%\\HELP not found: there is nothing to back up");
      return;
    }
    Finish(code, "backup registry");
  });
  backup->add_subcommand("collection", "Copy the default collection file to the same name with .bak")
      ->callback([] {
        ForgetLastError();
        char name[1024];
        if (QuilletCGetDefaultCollectionFilename(name, sizeof name) != 1) {
          Fail("backup collection", QUILLET_E_DEFAULT_COLLECTION,
               "HTML Help's registry settings name no default collection: there is nothing to back up");
          return;
        }
        Finish(QuilletCBackupDefaultCollection(), "backup collection");
      });
}

}  // namespace quillet::tool
