// The exported functions of collection handles and their folders.
#include "api/Handles.h"
#include "api/LastError.h"
#include "collection/Folders.h"
#include "collection/Navigation.h"
#include "quillet/quillet.h"

namespace quillet {
namespace {

// The record of a folder handle that stands on a folder. A cursor that has run out
// stands on nothing: QuilletNextCollectionFolder answers it with 5, and so does every
// other folder operation, through here.
NodeRecord* RequireStandingFolder(unsigned long handle, int* code) {
  NodeRecord* ref = RequireNode(handle, NodeRecord::Kind::Folder);
  if (ref == nullptr) {
    *code = QUILLET_E_NULL_HANDLE;
    return nullptr;
  }
  if (ref->element == nullptr) {
    SetLastErrorText("Folder cursor has run out");
    *code = QUILLET_E_NOT_FOUND;
    return nullptr;
  }
  return ref;
}

unsigned long OwnerOf(unsigned long handle) { return HandleTable::instance().ownerOf(handle); }

}  // namespace

int FolderNameOfHandle(unsigned long folder, std::string& title) {
  int code = QUILLET_OK;
  NodeRecord* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  return FolderTitle(ref->element, title) ? QUILLET_OK : QUILLET_E_NOT_FOUND;
}

}  // namespace quillet

using quillet::NodeRecord;

int QuilletLoadCollection(const char* fileName, unsigned long* handle) {
  using namespace quillet;
  if (!RequireHandlePlace(handle)) return QUILLET_E_NULL_HANDLE;
  Status status;
  std::unique_ptr<CCollectionFile> file;
  const int code = LoadCollectionFile(CallerText(fileName), CurrentSwitches(), file, status);
  Report(status);
  return code != QUILLET_OK ? code : HandOutFile(std::move(file), handle);
}

int QuilletLoadDefaultCollection(unsigned long* handle) {
  using namespace quillet;
  if (!RequireHandlePlace(handle)) return QUILLET_E_NULL_HANDLE;
  Status status;
  std::unique_ptr<CCollectionFile> file;
  const int code = LoadDefaultCollectionFile(CurrentSwitches(), file, status);
  Report(status);
  return code != QUILLET_OK ? code : HandOutFile(std::move(file), handle);
}

int QuilletSaveCollection(unsigned long handle) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(handle);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  const Switches switches = CurrentSwitches();
  Status status;
  return Report(status, ReportSave(file->save(switches), file->fileName(), switches, status));
}

void QuilletReleaseCollection(unsigned long handle) {
  if (quillet::HandleTable::instance().lookup<quillet::FileRecord>(handle) != nullptr)
    quillet::HandleTable::instance().end(handle);
}

int QuilletBackupDefaultCollection() {
  using namespace quillet;
  std::string name;
  if (!DefaultCollectionName(name)) return QUILLET_E_DEFAULT_COLLECTION;
  platform::PathParts parts = platform::SplitPath(name);
  parts.extension = ".bak";
  Status status;
  return Report(status, BackupCopy(name, platform::MakePath(parts), CurrentSwitches(), status));
}

int QuilletEnumCollectionRootFolders(unsigned long collection, unsigned long* cursor) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(collection);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(cursor)) return QUILLET_E_NULL_HANDLE;
  int code = QUILLET_OK;
  Status status;
  xml::CDOMElement* folders = RequireFoldersElement(*file, &code, status);
  Report(status);
  if (folders == nullptr) return code;
  xml::CDOMElement* first = FolderFrom(folders->getFirstChild());
  if (first == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(NodeRecord::Kind::Folder, collection, file, first, cursor);
}

int QuilletNextCollectionFolder(unsigned long cursor, unsigned long* folder) {
  using namespace quillet;
  NodeRecord* ref = RequireNode(cursor, NodeRecord::Kind::Folder);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(folder)) return QUILLET_E_NULL_HANDLE;
  if (ref->element == nullptr) return QUILLET_E_NOT_FOUND;
  const int code = HandOutNode(NodeRecord::Kind::Folder, OwnerOf(cursor), ref->file, ref->element, folder);
  if (code == QUILLET_OK) ref->element = FolderFrom(ref->element->getNextSibling());
  return code;
}

int QuilletEnumSubFolders(unsigned long folder, unsigned long* cursor) {
  using namespace quillet;
  int code = QUILLET_OK;
  NodeRecord* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  if (!RequireHandlePlace(cursor)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* first = FindChildElement(ref->element, "Folder");
  if (first == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(NodeRecord::Kind::Folder, OwnerOf(folder), ref->file, first, cursor);
}

int QuilletGetFolderName(unsigned long folder, char* buffer) {
  using namespace quillet;
  std::string title;
  const int code = FolderNameOfHandle(folder, title);
  if (code == QUILLET_OK) CopyToCallerBuffer(title, buffer);
  return code;
}

int QuilletAddFolder(unsigned long collection, const char* title, unsigned long* folder) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(collection);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(folder)) return QUILLET_E_NULL_HANDLE;
  int code = QUILLET_OK;
  Status status;
  xml::CDOMElement* folders = RequireFoldersElement(*file, &code, status);
  Report(status);
  if (folders == nullptr) return code;
  return HandOutNode(NodeRecord::Kind::Folder, collection, file, AppendFolder(folders, CallerText(title)), folder);
}

int QuilletAddSubFolder(unsigned long folder, const char* title, unsigned long* subFolder) {
  using namespace quillet;
  int code = QUILLET_OK;
  NodeRecord* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  if (!RequireHandlePlace(subFolder)) return QUILLET_E_NULL_HANDLE;
  return HandOutNode(NodeRecord::Kind::Folder, OwnerOf(folder), ref->file, AppendFolder(ref->element, CallerText(title)),
                     subFolder);
}

int QuilletFindFolder(unsigned long collection, const char* title, unsigned long* folder) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(collection);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(folder)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* found = FindFolderAnywhere(*file, CallerText(title));
  if (found == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(NodeRecord::Kind::Folder, collection, file, found, folder);
}

int QuilletFindSubFolder(unsigned long folder, const char* title, unsigned long* subFolder) {
  using namespace quillet;
  int code = QUILLET_OK;
  NodeRecord* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  if (!RequireHandlePlace(subFolder)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* found = FindSubFolderOf(ref->element, CallerText(title));
  if (found == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(NodeRecord::Kind::Folder, OwnerOf(folder), ref->file, found, subFolder);
}

void QuilletDeleteFolder(unsigned long folder) {
  using namespace quillet;
  int code = QUILLET_OK;
  NodeRecord* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return;
  ref->file->detach(ref->element);
}
