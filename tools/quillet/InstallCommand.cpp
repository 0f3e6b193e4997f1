// install and remove: register or unregister a help title, in both of HTML Help's
// files or in neither.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandSupport.h"
#include "collection/CollectionFile.h"
#include "api/Handles.h"
#include "collection/Install.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
namespace {

struct ChangeOptions {
  bool quiet = false;
  bool dryRun = false;
};

void AddChangeOptions(CLI::App* cmd, ChangeOptions& options) {
  cmd->add_flag("--dry-run", options.dryRun, "Check both files and show what would change, but write nothing");
  cmd->add_flag("-q,--quiet", options.quiet, "Print nothing on success");
}

// A change line as a dry run tells it: "added folder A" becomes "would add folder A".
std::string WouldBe(const std::string& line) {
  for (const auto& [done, todo] : {std::pair{"added ", "would add "}, {"updated ", "would update "},
                                   {"removed ", "would remove "}})
    if (line.rfind(done, 0) == 0) return todo + line.substr(std::string(done).size());
  return line;
}

// The library's options for the tool's install and remove: safe mode's switches, both
// files or neither, every change told.
TitleChangeOptions ChangeOptionsFor(const ChangeOptions& change, std::vector<std::string>& changes) {
  TitleChangeOptions options;
  options.switches = CurrentSwitches();
  options.allOrNothing = true;
  options.dryRun = change.dryRun;
  options.changes = &changes;
  return options;
}

// Prints what changed (or would), and finishes with the call's code and text.
void Report(const std::string& command, int code, const Status& status, const std::vector<std::string>& changes,
            const ChangeOptions& options, const char* nothing) {
  quillet::Report(status);
  // A failed call changed nothing on disk, whatever it had changed in memory.
  if (!options.quiet && code == QUILLET_OK) {
    for (const std::string& line : changes) std::cout << FromAnsi(options.dryRun ? WouldBe(line) : line) << "\n";
    if (changes.empty()) std::cerr << nothing << "\n";
  }
  Finish(code, command);
}

struct InstallRequest {
  std::string id, chm, chi, folder;
  ChangeOptions change;
};

void RunInstall(const InstallRequest& r) {
  for (const auto& [option, value] :
       {std::pair{"--id", &r.id}, {"--chm", &r.chm}, {"--chi", &r.chi}, {"--folder", &r.folder}})
    if (!CheckCodePageText("install", option, *value)) return;
  ForgetLastError();
  std::vector<std::string> changes;
  const TitleChangeOptions options = ChangeOptionsFor(r.change, changes);
  Status status;
  const int code = InstallTitle(ToAnsi(r.folder), ToAnsi(r.chm), ToAnsi(r.chi), ToAnsi(r.id), options, status);
  // The library's texts name the missing file the way the caller gave it; where it
  // was looked for on this machine is the tool's to add.
  if (code == QUILLET_E_CHM_MISSING || code == QUILLET_E_CHI_MISSING) {
    const std::string& path = code == QUILLET_E_CHM_MISSING ? r.chm : r.chi;
    Fail("install", code,
         std::string(code == QUILLET_E_CHM_MISSING ? "the CHM file" : "the CHI file") + " does not exist: " +
             (path.empty() ? std::string("no path was given") : ShownPath(path)));
    return;
  }
  Report("install", code, status, changes, r.change, "nothing to change: the title is installed as asked");
}

struct RemoveRequest {
  std::string id, folder;
  bool hasId = false, hasFolder = false;
  ChangeOptions change;
};

void RunRemove(const RemoveRequest& r) {
  if (r.hasId && !CheckCodePageText("remove", "--id", r.id)) return;
  if (r.hasFolder && !CheckCodePageText("remove", "--folder", r.folder)) return;
  ForgetLastError();
  std::vector<std::string> changes;
  const TitleChangeOptions options = ChangeOptionsFor(r.change, changes);
  Status status;
  // An absent option is a null argument: the library then skips that half.
  const std::string folder = ToAnsi(r.folder), id = ToAnsi(r.id);
  const int code =
      RemoveTitle(r.hasFolder ? folder.c_str() : nullptr, r.hasId ? id.c_str() : nullptr, options, status);
  Report("remove", code, status, changes, r.change, "nothing to remove");
}

}  // namespace

void AddInstallCommands(CLI::App& app) {
  auto install = std::make_shared<InstallRequest>();
  CLI::App* cmd = app.add_subcommand("install", "Register a help title and hang it into the default collection");
  cmd->add_option("--id", install->id, "Title id (DocCompId)")->required();
  cmd->add_option("--chm", install->chm, "Windows path of the title's CHM file")->required();
  cmd->add_option("--chi", install->chi, "Windows path of the title's CHI index file")->required();
  cmd->add_option("--folder", install->folder, "Folder path, titles separated by backslashes (A\\B)");
  AddChangeOptions(cmd, install->change);
  cmd->callback([install] { RunInstall(*install); });

  auto remove = std::make_shared<RemoveRequest>();
  cmd = app.add_subcommand("remove", "Remove a title's registry entry and/or a folder of the default collection");
  CLI::Option* id = cmd->add_option("--id", remove->id, "Title id to unregister");
  CLI::Option* folder = cmd->add_option("--folder", remove->folder, "Folder path to delete (A\\B)");
  AddChangeOptions(cmd, remove->change);
  cmd->callback([remove, id, folder] {
    remove->hasId = id->count() > 0;
    remove->hasFolder = folder->count() > 0;
    if (!remove->hasId && !remove->hasFolder) {
      Fail("remove", kExitUsage, "--id or --folder is needed: there is nothing to remove");
      return;
    }
    RunRemove(*remove);
  });
}

}  // namespace quillet::tool
