// remove: unregisters a help title and deletes a folder of the default collection.
#include <memory>
#include <string>

#include "Command.h"
#include "CommandSupport.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
namespace {

struct RemoveOptions {
  std::string id, folder;
};

CommandRegistration registration([](CLI::App& app) {
  auto o = std::make_shared<RemoveOptions>();
  CLI::App* cmd = app.add_subcommand("remove", "Remove a title's registry entry and/or a folder of the default collection");
  CLI::Option* id = cmd->add_option("--id", o->id, "Title id to unregister");
  CLI::Option* folder = cmd->add_option("--folder", o->folder, "Folder path to delete (A\\B)");
  cmd->require_option(1, 2);  // with neither there is nothing to remove
  cmd->callback([o, id, folder] {
    ForgetLastError();
    // An absent option is a null argument: the library then skips that half.
    Finish(QuilletCRemove(folder->count() > 0 ? o->folder.c_str() : nullptr, id->count() > 0 ? o->id.c_str() : nullptr),
           "remove");
  });
});

}  // namespace
}  // namespace quillet::tool
