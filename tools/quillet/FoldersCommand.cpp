// folders: the folder tree of a collection, one title per line, indented by level.
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandSupport.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
namespace {

// Prints every folder of the collection in document order. The walk keeps its own
// stack of cursors instead of recursing, so a deeply nested file cannot exhaust the
// call stack. Returns 0 or the failing call's code.
int PrintFolders(unsigned long collection) {
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
    std::string title;  // a folder without a title prints as an empty one
    code = ReadSized([&](char* buffer, unsigned long size) { return QuilletCGetFolderNameSized(folder, buffer, size); },
                     title);
    if (code != QUILLET_OK && code != QUILLET_E_NOT_FOUND) return code;
    std::cout << std::string(2 * (cursors.size() - 1), ' ') << title << '\n';
    unsigned long subCursor = 0;
    if (QuilletCEnumSubFolders(folder, &subCursor) == QUILLET_OK) cursors.push_back(subCursor);
  }
  return QUILLET_OK;
}

void RunFolders(const std::string& file) {
  ForgetLastError();
  unsigned long collection = 0;
  int code = file.empty() ? QuilletCLoadDefaultCollection(&collection)
                          : QuilletCLoadCollection(file.c_str(), &collection);
  if (code == QUILLET_OK) {
    code = PrintFolders(collection);
    // Folder handles end with their collection.
    QuilletCReleaseCollection(collection);
  }
  Finish(code, "folders");
}

CommandRegistration registration([](CLI::App& app) {
  auto file = std::make_shared<std::string>();
  CLI::App* cmd = app.add_subcommand("folders", "Print the folder tree of the default collection");
  cmd->add_option("--collection", *file, "Collection file to read instead of the default one");
  cmd->callback([file] { RunFolders(*file); });
});

}  // namespace
}  // namespace quillet::tool
