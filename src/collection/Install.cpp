#include "collection/Install.h"

#include <cstdio>
#include <memory>

#include "api/LastError.h"
#include "collection/CollectionHandle.h"
#include "collection/DocInfo.h"
#include "collection/DocValues.h"
#include "collection/Folders.h"
#include "collection/Navigation.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"

namespace quillet {
namespace {
// What an install writes besides the caller's paths.
constexpr char kInstallLanguage[] = "1033";
constexpr char kInstallLocation[] = "TESSALY-10-Local";

enum ValueId : long { kTitleLocation = 1, kIndexLocation = 2, kLanguage = 3, kColNum = 4, kLocationRef = 5 };

// Goes down `titles`, finding the first folder anywhere in the tree and each further
// one among the sub-folders of the one before; when `create` is set, a missing folder
// is added. Null when a folder is missing and not created, or when a root folder
// cannot be added (the root check has then set the last-error text).
xml::CDOMElement* WalkFolderPath(CCollectionFile& file, const std::vector<std::string>& titles, bool create) {
  xml::CDOMElement* folder = FindFolderAnywhere(file, titles.front());
  if (folder == nullptr) {
    if (!create) return nullptr;
    int code = QUILLET_OK;
    xml::CDOMElement* folders = RequireFoldersElement(file, &code);
    if (folders == nullptr) return nullptr;
    folder = AppendFolder(folders, titles.front());
  }
  for (size_t i = 1; i < titles.size(); ++i) {
    xml::CDOMElement* sub = FindSubFolderOf(folder, titles[i]);
    if (sub == nullptr) {
      if (!create) return nullptr;
      sub = AppendFolder(folder, titles[i]);
    }
    folder = sub;
  }
  return folder;
}
}  // namespace

bool SplitFolderPath(const std::string& path, std::vector<std::string>& titles) {
  titles.clear();
  if (path.size() > kMaxFolderPath) {
    SetLastErrorText("Folder path longer than 1023 characters");
    return false;
  }
  size_t start = 0;
  while (start < path.size()) {
    const size_t end = path.find('\\', start);
    const std::string title = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (title.empty()) break;
    if (titles.size() == kMaxFolderTitles) {
      SetLastErrorText("Folder path has more than 99 folders");
      titles.clear();
      return false;
    }
    titles.push_back(title);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

int InstallDocEntry(const std::string& chmPath, const std::string& chiPath, const std::string& titleId) {
  std::unique_ptr<CCollectionFile> registry;
  std::string path;
  std::string number;
  if (ProbeDefaultRegistry(registry, path, number) != QUILLET_OK) return QUILLET_E_NO_COLLECTION;
  xml::CDOMElement* entry = nullptr;
  const int code = FindOrAddDocCompilation(*registry, titleId, entry);
  if (code != QUILLET_OK) {
    PrintDiagnostic("Failed to add new doc\n");
    return code;
  }
  WriteEntryValue(entry, kLanguage, kInstallLanguage);
  WriteEntryValue(entry, kTitleLocation, chmPath);
  WriteEntryValue(entry, kIndexLocation, chiPath);
  WriteEntryValue(entry, kLocationRef, kInstallLocation);
  WriteEntryValue(entry, kColNum, number);
  registry->save();
  return QUILLET_OK;
}

}  // namespace quillet

int QuilletInstall(const char* folderPath, const char* chmPath, const char* chiPath, const char* titleId) {
  using namespace quillet;
  const std::string chm = CallerText(chmPath);
  const std::string chi = CallerText(chiPath);
  const std::string id = CallerText(titleId);
  if (chm.empty() || !platform::FileExists(chm)) {
    SetLastErrorText("CHM file does not exist");
    return QUILLET_E_CHM_MISSING;
  }
  if (chi.empty() || !platform::FileExists(chi)) {
    SetLastErrorText("CHI file does not exist");
    return QUILLET_E_CHI_MISSING;
  }
  // A path or id the folder part cannot take is refused before either file changes.
  std::vector<std::string> titles;
  if (!SplitFolderPath(CallerText(folderPath), titles)) return QUILLET_E_ADD_FOLDER;
  if (!titles.empty() && id.size() > kMaxLeafTitleId) {
    SetLastErrorText("Title id longer than 1022 characters");
    return QUILLET_E_ADD_FOLDER;
  }

  const int code = InstallDocEntry(chm, chi, id);
  if (code != QUILLET_OK) return code;
  if (titles.empty()) return QUILLET_OK;

  std::unique_ptr<CCollectionFile> collection;
  if (LoadDefaultCollectionFile(collection) != QUILLET_OK) {
    SetLastErrorText("Failed to load collection");
    return QUILLET_E_DEFAULT_COLLECTION;
  }
  // The title hangs below the innermost folder as a folder of its own, "=" and its id.
  titles.push_back("=" + id);
  if (WalkFolderPath(*collection, titles, true) == nullptr) return QUILLET_E_ADD_FOLDER;
  collection->save();
  return QUILLET_OK;
}

int QuilletRemove(const char* folderPath, const char* titleId) {
  using namespace quillet;
  std::vector<std::string> titles;
  if (folderPath != nullptr && !SplitFolderPath(folderPath, titles)) return QUILLET_E_NOT_FOUND;

  if (titleId != nullptr) {
    unsigned long docInfo = 0;
    const int code = QuilletOpenDocInfo(&docInfo);
    if (code != QUILLET_OK) return code;
    unsigned long doc = 0;
    if (QuilletFindDoc(docInfo, titleId, &doc) != QUILLET_OK) {
      // An unregistered title leaves both files alone, whatever the folder path says.
      QuilletCloseDocInfo(docInfo);
      return QUILLET_OK;
    }
    QuilletRemoveDoc(doc);
    QuilletSaveDocInfo(docInfo);
    QuilletCloseDocInfo(docInfo);  // ends the doc handle too
  }
  if (titles.empty()) return QUILLET_OK;

  std::unique_ptr<CCollectionFile> collection;
  const int code = LoadDefaultCollectionFile(collection);
  if (code != QUILLET_OK) {
    std::printf("Failed to load collection, error = %ld\n", static_cast<long>(code));
    std::fflush(stdout);
    return QUILLET_E_REMOVE_LOAD_FAILED;
  }
  xml::CDOMElement* folder = WalkFolderPath(*collection, titles, false);
  if (folder == nullptr) return QUILLET_OK;
  collection->detach(folder);
  collection->save();
  return QUILLET_OK;
}
