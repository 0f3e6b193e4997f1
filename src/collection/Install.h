// Installing and removing a help title in one call.
//
// Two ways to do it, chosen by the caller (the exports choose by safe mode); either way
// the texts for the last-error text go to a Status:
// - classic: the registry is changed and saved first, then the default collection is
//   loaded, changed and saved; a failure in the second half leaves the first saved.
// - all or nothing: both files are loaded and checked first (the registry lists the
//   default collection; the collection loads and has its Folders), both are changed
//   in memory and written beside themselves, and only then does each replace its old
//   version. A failure before that changes neither file; each file is always either
//   as it was or fully updated.
// Either way the help files' lock is held throughout.
#ifndef QUILLET_COLLECTION_INSTALL_H
#define QUILLET_COLLECTION_INSTALL_H

#include <string>
#include <vector>

#include "collection/Status.h"

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
// folder). False, with a status text, when the path is longer than kMaxFolderPath or
// names more than kMaxFolderTitles folders.
bool SplitFolderPath(const std::string& path, std::vector<std::string>& titles, Status& status);

struct TitleChangeOptions {
  // The caller's switches: the files are read and written as they ask.
  Switches switches;
  // All or nothing (above) instead of the classic order, with last-error texts that
  // name the file that is wrong and why.
  bool allOrNothing = false;
  // With allOrNothing: check and change everything in memory, but write nothing.
  bool dryRun = false;
  // When given, receives one line per change made (or, on a dry run, to be made):
  // "added entry X", "updated entry X", "added folder A\B", "removed entry X",
  // "removed folder A (2 titles inside)".
  std::vector<std::string>* changes = nullptr;
};

// QuilletInstall: registers the title (CHM and CHI paths, title id) in the registry
// that lists the default collection and hangs it below `folderPath` in the default
// collection. Returns its codes: 0, 7, 8, 9, 10, 120, 150; 190 when the lock could
// not be taken; with allOrNothing also 170 or 180 when a file could not be written.
int InstallTitle(const std::string& folderPath, const std::string& chmPath, const std::string& chiPath,
                 const std::string& titleId, const TitleChangeOptions& options, Status& status);

// QuilletRemove: removes the title's entry (when `titleId` is not null) and the
// folder `folderPath` names (when not null). Returns 0, 1, 5, 9, 110, 190; with
// allOrNothing also 170 or 180.
int RemoveTitle(const char* folderPath, const char* titleId, const TitleChangeOptions& options, Status& status);

}  // namespace quillet

#endif
