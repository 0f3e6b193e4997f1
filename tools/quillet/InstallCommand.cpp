// install: registers a help title and hangs it into the default collection.
#include <memory>
#include <string>

#include "Command.h"
#include "CommandSupport.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
namespace {

struct InstallOptions {
  std::string id, chm, chi, folder;
};

CommandRegistration registration([](CLI::App& app) {
  auto o = std::make_shared<InstallOptions>();
  CLI::App* cmd = app.add_subcommand("install", "Register a help title and hang it into the default collection");
  cmd->add_option("--id", o->id, "Title id (DocCompId)")->required();
  cmd->add_option("--chm", o->chm, "Windows path of the title's CHM file")->required();
  cmd->add_option("--chi", o->chi, "Windows path of the title's CHI index file")->required();
  cmd->add_option("--folder", o->folder, "Folder path, titles separated by backslashes (A\\B)");
  cmd->callback([o] {
    ForgetLastError();
    Finish(QuilletCInstall(o->folder.c_str(), o->chm.c_str(), o->chi.c_str(), o->id.c_str()), "install");
  });
});

}  // namespace
}  // namespace quillet::tool
