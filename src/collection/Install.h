// Installing and removing a help title in one call.
#ifndef QUILLET_COLLECTION_INSTALL_H
#define QUILLET_COLLECTION_INSTALL_H

#include <string>
#include <vector>

namespace quillet {

// Limits of a folder path: it must fit a buffer of 1024 bytes with its NUL, and a
// table of 100 folder titles ended by an empty one. A longer path is refused, never
// cut: a cut path would install the title in the wrong folder.
constexpr size_t kMaxFolderPath = 1023;
constexpr size_t kMaxFolderTitles = 99;
// The leaf folder's title, "=" and the title id, must fit 1024 bytes with its NUL.
constexpr size_t kMaxLeafTitleId = 1022;

// Splits a folder path at its backslashes into folder titles, outermost first. An
// empty title ends the list: a trailing backslash adds nothing, and a leading
// backslash or two in a row end the path there (a path of backslashes alone names no
// folder). False, with a last-error text, when the path is longer than
// kMaxFolderPath or names more than kMaxFolderTitles folders.
bool SplitFolderPath(const std::string& path, std::vector<std::string>& titles);

// Writes the title's entry into the registry that lists the default collection and
// saves it: 0, 9 (no such registry) or 120 (no DocCompilations; "Failed to add new
// doc" on standard output).
int InstallDocEntry(const std::string& chmPath, const std::string& chiPath, const std::string& titleId);

}  // namespace quillet

#endif
