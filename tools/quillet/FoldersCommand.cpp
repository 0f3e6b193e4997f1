// folders: the folder tree of a collection, one title per line indented by level, or
// as JSON.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandSupport.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
namespace {

struct FoldersOptions {
  std::string file;
  bool json = false;
};

// Visits every folder of the collection in document order with its depth and title
// (null for a folder without one). The walk keeps its own stack of cursors instead of
// recursing, so a deeply nested file cannot exhaust the call stack. Returns 0 or the
// failing call's code.
template <typename Visit>
int WalkFolders(unsigned long collection, Visit visit) {
  unsigned long cursor = 0;
  int code = QuilletCEnumCollectionRootFolders(collection, &cursor);
  if (code == QUILLET_E_NOT_FOUND) return QUILLET_OK;  // no folders at all
  if (code != QUILLET_OK) return code;
  std::vector<unsigned long> cursors{cursor};
  while (!cursors.empty()) {
    unsigned long folder = 0;
    if (QuilletCNextCollectionFolder(cursors.back(), &folder) != QUILLET_OK) {
      cursors.pop_back();
      continue;
    }
    std::string title;
    code = ReadSized([&](char* buffer, unsigned long size) { return QuilletCGetFolderNameSized(folder, buffer, size); },
                     title);
    if (code != QUILLET_OK && code != QUILLET_E_NOT_FOUND) return code;
    title = FromAnsi(title);
    visit(cursors.size() - 1, code == QUILLET_OK ? &title : nullptr);
    unsigned long subCursor = 0;
    if (QuilletCEnumSubFolders(folder, &subCursor) == QUILLET_OK) cursors.push_back(subCursor);
  }
  return QUILLET_OK;
}

int PrintFolders(unsigned long collection, bool json) {
  if (!json) {
    // A folder without a title prints as an empty line at its depth.
    return WalkFolders(collection, [](size_t depth, const std::string* title) {
      std::cout << std::string(2 * depth, ' ') << (title != nullptr ? *title : "") << '\n';
    });
  }
  // [{"title":"Tools","folders":[...]}, ...], built as the walk goes down.
  nlohmann::ordered_json root = nlohmann::ordered_json::array();
  std::vector<nlohmann::ordered_json*> levels{&root};
  const int code = WalkFolders(collection, [&](size_t depth, const std::string* title) {
    levels.resize(depth + 1);
    nlohmann::ordered_json folder;
    folder["title"] = title != nullptr ? nlohmann::ordered_json(*title) : nlohmann::ordered_json(nullptr);
    folder["folders"] = nlohmann::ordered_json::array();
    levels[depth]->push_back(std::move(folder));
    levels.push_back(&levels[depth]->back()["folders"]);
  });
  if (code == QUILLET_OK)
    std::cout << root.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  return code;
}

void RunFolders(const FoldersOptions& options) {
  ForgetLastError();
  std::string file = ToAnsi(options.file);
  if (file.empty()) {
    char name[1024];
    if (QuilletCGetDefaultCollectionFilename(name, sizeof name) != 1) {
      Fail("folders", QUILLET_E_DEFAULT_COLLECTION, "HTML Help's registry settings name no default collection");
      return;
    }
    file = name;
  }
  if (const FileProblem problem = CheckHelpFile(file, HelpFileKind::kCollection); problem.code != 0) {
    // The default collection that does not load is what the library calls 10.
    Fail("folders", options.file.empty() ? QUILLET_E_DEFAULT_COLLECTION : problem.code,
         (options.file.empty() ? "the default collection " : "") + problem.message);
    return;
  }
  unsigned long collection = 0;
  int code = QuilletCLoadCollection(file.c_str(), &collection);
  if (code == QUILLET_OK) {
    code = PrintFolders(collection, options.json);
    // Folder handles end with their collection.
    QuilletCReleaseCollection(collection);
  }
  Finish(code, "folders");
}

}  // namespace

void AddFoldersCommand(CLI::App& app) {
  auto options = std::make_shared<FoldersOptions>();
  CLI::App* cmd = app.add_subcommand("folders", "Print the folder tree of the default collection");
  cmd->add_option("--collection", options->file, "Collection file to read instead of the default one");
  cmd->add_flag("--json", options->json, "Print the tree as JSON: [{\"title\":...,\"folders\":[...]}, ...]");
  cmd->callback([options] { RunFolders(*options); });
}

}  // namespace quillet::tool
