#include "collection/Install.h"

#include <cstdio>
#include <memory>

#include "collection/CollectionFile.h"
#include "collection/DocInfo.h"
#include "collection/DocValues.h"
#include "collection/Folders.h"
#include "collection/HelpFilesLock.h"
#include "collection/Location.h"
#include "collection/Navigation.h"
#include "platform/Platform.h"
#include "quillet/doc_values.h"
#include "quillet/result_codes.h"

namespace quillet {
namespace {
// What an install writes besides the caller's paths.
constexpr char kInstallLanguage[] = "1033";
constexpr char kInstallLocation[] = "TESSALY-10-Local";

void Note(const TitleChangeOptions& options, const std::string& line) {
  if (options.changes != nullptr) options.changes->push_back(line);
}

std::string JoinTitles(const std::vector<std::string>& titles, size_t count) {
  std::string path;
  for (size_t i = 0; i < count; ++i) path += (i == 0 ? "" : "\\") + titles[i];
  return path;
}

// Goes down `titles`, finding the first folder anywhere in the tree and each further
// one among the sub-folders of the one before; when `create` is set, a missing folder
// is added (and noted). Null when a folder is missing and not created, or when a root
// folder cannot be added (the root check has then set the last-error text).
xml::CDOMElement* WalkFolderPath(CCollectionFile& file, const std::vector<std::string>& titles, bool create,
                                 const TitleChangeOptions& options, Status& status, bool* added = nullptr) {
  xml::CDOMElement* folder = FindFolderAnywhere(file, titles.front());
  if (folder == nullptr) {
    if (!create) return nullptr;
    int code = QUILLET_OK;
    xml::CDOMElement* folders = RequireFoldersElement(file, &code, status);
    if (folders == nullptr) return nullptr;
    folder = AppendFolder(folders, titles.front());
    Note(options, "added folder " + titles.front());
    if (added != nullptr) *added = true;
  }
  for (size_t i = 1; i < titles.size(); ++i) {
    xml::CDOMElement* sub = FindSubFolderOf(folder, titles[i]);
    if (sub == nullptr) {
      if (!create) return nullptr;
      sub = AppendFolder(folder, titles[i]);
      Note(options, "added folder " + JoinTitles(titles, i + 1));
      if (added != nullptr) *added = true;
    }
    folder = sub;
  }
  return folder;
}

// How many titles (folders titled "=" and an id) `folder` holds, itself included.
int CountTitles(xml::CDOMElement* folder) {
  auto isTitle = [](xml::CDOMNode* node) {
    if (!HasTagName(node, "Folder")) return false;
    xml::CDOMElement* title = FindChildElement(node, "TitleString");
    return title != nullptr && ReadValue(title).rfind('=', 0) == 0;
  };
  int count = isTitle(folder) ? 1 : 0;
  xml::CDOMTreeWalker walker(folder, folder->getFirstChild());
  while (xml::CDOMNode* node = walker.nextNode()) count += isTitle(node) ? 1 : 0;
  return count;
}

std::string RemovedFolderLine(const std::vector<std::string>& titles, xml::CDOMElement* folder) {
  const int count = CountTitles(folder);
  const std::string inside = count == 0   ? "no titles"
                             : count == 1 ? "1 title"
                                          : std::to_string(count) + " titles";
  return "removed folder " + JoinTitles(titles, titles.size()) + " (" + inside + " inside)";
}

// Writes the five values an install stamps on an entry; true when any of them changed.
bool WriteInstallValues(xml::CDOMElement* entry, const std::string& chm, const std::string& chi,
                        const std::string& number) {
  const std::pair<long, std::string> values[] = {{QUILLET_DOC_LANGUAGE, kInstallLanguage},
                                                 {QUILLET_DOC_CHM_PATH, chm},
                                                 {QUILLET_DOC_CHI_PATH, chi},
                                                 {QUILLET_DOC_LOCATION_NAME, kInstallLocation},
                                                 {QUILLET_DOC_COLLECTION_NUMBER, number}};
  bool changed = false;
  for (const auto& [id, value] : values) {
    std::string old;
    if (ReadEntryValue(entry, id, old) != QUILLET_OK || old != value) changed = true;
    WriteEntryValue(entry, id, value);
  }
  return changed;
}

// --- All or nothing -----------------------------------------------------------------

// The registry that lists the default collection, or 9 with a text that says, for each
// file looked at, what was wrong with it.
int OpenRegistryChecked(const Switches& switches, std::unique_ptr<CCollectionFile>& registry, std::string& number,
                        Status& status) {
  std::string path;
  std::string why;
  if (ProbeDefaultRegistry(switches, registry, path, number, status, &why) == QUILLET_OK) return QUILLET_OK;
  status.setText("No collection registry lists the default collection: " + why);
  return QUILLET_E_NO_COLLECTION;
}

// The default collection, loaded and checked down to its Folders element; otherwise
// `failCode` with a text that names the file and what is wrong with it.
int OpenCollectionChecked(const Switches& switches, std::unique_ptr<CCollectionFile>& collection, int failCode,
                          int noFoldersCode, Status& status) {
  char buffer[kCollectionFilenameSize];
  if (!ReadDefaultCollectionFilename(buffer, sizeof buffer)) {
    status.setText(std::string("HTML Help's registry settings name no default collection (the values Language, "
                                 "Preferred and Filename under HKLM\\") +
                     kDeveloperCollectionsKey + ")");
    return failCode;
  }
  const std::string name = buffer;
  const std::string shown = "The default collection " + ShownPath(name);
  if (const std::string kind = platform::NotARegularFile(name); !kind.empty()) {
    status.setText(shown + " is " + kind + ", not a file");
    return failCode;
  }
  if (!platform::FileExists(name)) {
    status.setText(shown + " does not exist");
    return failCode;
  }
  xml::LoadResult failure;
  if (LoadFile(name, switches, collection, status, &failure) != QUILLET_OK) {
    status.setText(shown + " " + DescribeLoadFailure(failure));
    return failCode;
  }
  if (const std::string problem = CollectionFileProblem(collection->document()); !problem.empty()) {
    status.setText(shown + " " + problem);
    xml::CDOMElement* root = collection->document()->getDocumentElement();
    return root != nullptr && HasTagName(root, "HTMLHelpCollection") ? noFoldersCode : failCode;
  }
  return QUILLET_OK;
}

// Writes both files (null or unchanged ones are skipped) beside themselves, and only
// when both are written puts them in place: the registry first, as the classic order
// has it. A failure before the first replacement changes nothing.
int SaveBoth(CCollectionFile* registry, CCollectionFile* collection, const Switches& switches, Status& status) {
  platform::FileReplacement registryFile;
  platform::FileReplacement collectionFile;
  if (registry != nullptr) {
    const xml::SaveResult result = registry->prepareSave(registryFile, switches);
    if (!result.ok()) return SaveFailure(result, registry->fileName(), status);
  }
  if (collection != nullptr) {
    const xml::SaveResult result = collection->prepareSave(collectionFile, switches);
    if (!result.ok()) return SaveFailure(result, collection->fileName(), status);
  }
  if (registry != nullptr && !registryFile.commit()) {
    status.setText("Saving failed: " + registryFile.error() + "; both files were left as they were");
    return QUILLET_E_WRITE_FAILED;
  }
  if (collection != nullptr && !collectionFile.commit()) {
    status.setText("Saving failed: " + collectionFile.error() + "; it was left as it was" +
                     (registry != nullptr ? " (the registry " + registry->fileName() + " is already saved)" : ""));
    return QUILLET_E_WRITE_FAILED;
  }
  return QUILLET_OK;
}

int InstallAllOrNothing(std::vector<std::string>& titles, const std::string& chm, const std::string& chi,
                        const std::string& id, const TitleChangeOptions& options, Status& status) {
  const Switches& switches = options.switches;
  std::unique_ptr<CCollectionFile> registry;
  std::string number;
  if (const int code = OpenRegistryChecked(switches, registry, number, status); code != QUILLET_OK) return code;
  xml::CDOMElement* entry = FindDocCompilation(*registry, id);
  const bool added = entry == nullptr;
  if (added && FindOrAddDocCompilation(*registry, id, entry) != QUILLET_OK) {
    status.setText("The collection registry " + ShownPath(registry->fileName()) +
                     " has no DocCompilations element to add the title's entry to");
    return QUILLET_E_STRUCTURE;
  }
  const bool changed = WriteInstallValues(entry, chm, chi, number);
  if (added || changed) Note(options, (added ? "added entry " : "updated entry ") + id);

  std::unique_ptr<CCollectionFile> collection;
  bool foldersAdded = false;
  if (!titles.empty()) {
    const int code =
        OpenCollectionChecked(switches, collection, QUILLET_E_DEFAULT_COLLECTION, QUILLET_E_ADD_FOLDER, status);
    if (code != QUILLET_OK) return code;
    titles.push_back("=" + id);
    WalkFolderPath(*collection, titles, true, options, status, &foldersAdded);
  }
  if (options.dryRun) return QUILLET_OK;
  return SaveBoth(added || changed ? registry.get() : nullptr, foldersAdded ? collection.get() : nullptr, switches,
                  status);
}

int RemoveAllOrNothing(const std::vector<std::string>& titles, bool withFolder, const char* titleId,
                       const TitleChangeOptions& options, Status& status) {
  const Switches& switches = options.switches;
  std::unique_ptr<CCollectionFile> registry;
  if (titleId != nullptr) {
    std::string number;
    if (const int code = OpenRegistryChecked(switches, registry, number, status); code != QUILLET_OK) return code;
    xml::CDOMElement* entry = FindDocCompilation(*registry, titleId);
    // An unregistered title leaves both files alone, whatever the folder path says.
    if (entry == nullptr) return QUILLET_OK;
    registry->detach(entry);
    Note(options, std::string("removed entry ") + titleId);
  }
  std::unique_ptr<CCollectionFile> collection;
  bool folderRemoved = false;
  if (withFolder && !titles.empty()) {
    const int code = OpenCollectionChecked(switches, collection, QUILLET_E_REMOVE_LOAD_FAILED,
                                           QUILLET_E_REMOVE_LOAD_FAILED, status);
    if (code != QUILLET_OK) return code;
    if (xml::CDOMElement* folder = WalkFolderPath(*collection, titles, false, options, status)) {
      Note(options, RemovedFolderLine(titles, folder));
      collection->detach(folder);
      folderRemoved = true;
    }
  }
  if (options.dryRun) return QUILLET_OK;
  return SaveBoth(registry.get(), folderRemoved ? collection.get() : nullptr, switches, status);
}

// --- Classic ------------------------------------------------------------------------

// Writes the title's entry into the registry that lists the default collection and
// saves it: 0, 9 (no such registry) or 120 (no DocCompilations; "Failed to add new
// doc" on standard output).
int InstallDocEntry(const std::string& chmPath, const std::string& chiPath, const std::string& titleId,
                    const TitleChangeOptions& options, Status& status) {
  std::unique_ptr<CCollectionFile> registry;
  std::string path;
  std::string number;
  if (ProbeDefaultRegistry(options.switches, registry, path, number, status) != QUILLET_OK)
    return QUILLET_E_NO_COLLECTION;
  const bool added = FindDocCompilation(*registry, titleId) == nullptr;
  xml::CDOMElement* entry = nullptr;
  const int code = FindOrAddDocCompilation(*registry, titleId, entry);
  if (code != QUILLET_OK) {
    PrintDiagnostic("Failed to add new doc\n");
    return code;
  }
  if (WriteInstallValues(entry, chmPath, chiPath, number) || added)
    Note(options, (added ? "added entry " : "updated entry ") + titleId);
  return ReportSave(registry->save(options.switches), registry->fileName(), options.switches, status);
}

int InstallClassic(std::vector<std::string>& titles, const std::string& chm, const std::string& chi,
                   const std::string& id, const TitleChangeOptions& options, Status& status) {
  const int code = InstallDocEntry(chm, chi, id, options, status);
  if (code != QUILLET_OK) return code;
  if (titles.empty()) return QUILLET_OK;
  // From here on the registry entry is saved, whatever follows.
  std::unique_ptr<CCollectionFile> collection;
  if (LoadDefaultCollectionFile(options.switches, collection, status) != QUILLET_OK) {
    status.setText("Failed to load collection");
    return QUILLET_E_DEFAULT_COLLECTION;
  }
  // The title hangs below the innermost folder as a folder of its own, "=" and its id.
  titles.push_back("=" + id);
  if (WalkFolderPath(*collection, titles, true, options, status) == nullptr) return QUILLET_E_ADD_FOLDER;
  return ReportSave(collection->save(options.switches), collection->fileName(), options.switches, status);
}

int RemoveClassic(const std::vector<std::string>& titles, bool withFolder, const char* titleId,
                  const TitleChangeOptions& options, Status& status) {
  const Switches& switches = options.switches;
  if (titleId != nullptr) {
    std::unique_ptr<CCollectionFile> registry;
    const int code = OpenDefaultRegistryFile(switches, registry, status);
    if (code != QUILLET_OK) return code;
    xml::CDOMElement* entry = FindDocCompilation(*registry, titleId);
    // An unregistered title leaves both files alone, whatever the folder path says.
    if (entry == nullptr) return QUILLET_OK;
    registry->detach(entry);
    Note(options, std::string("removed entry ") + titleId);
    const int saved = ReportSave(registry->save(switches), registry->fileName(), switches, status);
    if (saved != QUILLET_OK) return saved;
  }
  if (!withFolder || titles.empty()) return QUILLET_OK;

  std::unique_ptr<CCollectionFile> collection;
  const int code = LoadDefaultCollectionFile(switches, collection, status);
  if (code != QUILLET_OK) {
    std::printf("Failed to load collection, error = %ld\n", static_cast<long>(code));
    std::fflush(stdout);
    return QUILLET_E_REMOVE_LOAD_FAILED;
  }
  xml::CDOMElement* folder = WalkFolderPath(*collection, titles, false, options, status);
  if (folder == nullptr) return QUILLET_OK;
  Note(options, RemovedFolderLine(titles, folder));
  collection->detach(folder);
  return ReportSave(collection->save(switches), collection->fileName(), switches, status);
}

}  // namespace

bool SplitFolderPath(const std::string& path, std::vector<std::string>& titles, Status& status) {
  titles.clear();
  if (path.size() > kMaxFolderPath) {
    status.setText("Folder path longer than " + std::to_string(kMaxFolderPath) + " characters");
    return false;
  }
  size_t start = 0;
  while (start < path.size()) {
    const size_t end = path.find('\\', start);
    const std::string title = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (title.empty()) break;
    if (titles.size() == kMaxFolderTitles) {
      status.setText("Folder path has more than " + std::to_string(kMaxFolderTitles) + " folders");
      titles.clear();
      return false;
    }
    titles.push_back(title);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

int InstallTitle(const std::string& folderPath, const std::string& chm, const std::string& chi,
                 const std::string& id, const TitleChangeOptions& options, Status& status) {
  if (chm.empty() || !platform::FileExists(chm)) {
    status.setText("CHM file does not exist");
    return QUILLET_E_CHM_MISSING;
  }
  if (chi.empty() || !platform::FileExists(chi)) {
    status.setText("CHI file does not exist");
    return QUILLET_E_CHI_MISSING;
  }
  // A path or id the folder part cannot take is refused before either file changes.
  std::vector<std::string> titles;
  if (!SplitFolderPath(folderPath, titles, status)) return QUILLET_E_ADD_FOLDER;
  if (!titles.empty() && id.size() > kMaxLeafTitleId) {
    status.setText("Title id longer than " + std::to_string(kMaxLeafTitleId) + " characters");
    return QUILLET_E_ADD_FOLDER;
  }
  HelpFilesLock lock;
  if (!lock.ok()) {
    status.setText(lock.error());
    return QUILLET_E_LOCKED;
  }
  if (options.allOrNothing || options.dryRun) return InstallAllOrNothing(titles, chm, chi, id, options, status);
  return InstallClassic(titles, chm, chi, id, options, status);
}

int RemoveTitle(const char* folderPath, const char* titleId, const TitleChangeOptions& options, Status& status) {
  std::vector<std::string> titles;
  if (folderPath != nullptr && !SplitFolderPath(folderPath, titles, status)) return QUILLET_E_NOT_FOUND;
  HelpFilesLock lock;
  if (!lock.ok()) {
    status.setText(lock.error());
    return QUILLET_E_LOCKED;
  }
  if (options.allOrNothing || options.dryRun)
    return RemoveAllOrNothing(titles, folderPath != nullptr, titleId, options, status);
  return RemoveClassic(titles, folderPath != nullptr, titleId, options, status);
}

}  // namespace quillet
