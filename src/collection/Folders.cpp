#include "collection/Folders.h"

#include "api/LastError.h"
#include "collection/CollectionHandle.h"
#include "collection/Navigation.h"
#include "quillet/quillet.h"

namespace quillet {
namespace {
// A folder's title: the value of its TitleString, or false when it has none.
bool FolderTitle(xml::CDOMElement* folder, std::string& title) {
  xml::CDOMElement* titleString = FindChildElement(folder, "TitleString");
  if (titleString == nullptr) return false;
  title = ReadValue(titleString);
  return true;
}

bool IsTitled(xml::CDOMElement* folder, const std::string& title) {
  std::string actual;
  return FolderTitle(folder, actual) && actual == title;
}

// From `node` on, the first sibling (itself included) that is a Folder in any letter
// case; null when none is left.
xml::CDOMElement* FolderFrom(xml::CDOMNode* node) {
  while (node != nullptr && !HasTagName(node, "Folder")) node = node->getNextSibling();
  return AsElement(node);
}

// The record of a folder handle that stands on a folder. A cursor that has run out
// stands on nothing: QuilletNextCollectionFolder answers it with 5, and so does every
// other folder operation, through here.
CNodeRef* RequireStandingFolder(unsigned long handle, int* code) {
  CNodeRef* ref = RequireNode(handle, CNodeRef::Kind::Folder);
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
}  // namespace

xml::CDOMElement* RequireFoldersElement(CCollectionFile& file, int* code) {
  if ((*code = CheckCollectionRoot(file)) != QUILLET_OK) return nullptr;
  xml::CDOMElement* folders = FindChildElement(file.document()->getDocumentElement(), "Folders");
  if (folders == nullptr) {
    SetLastErrorText("Failed to locate Folders element");
    *code = QUILLET_E_STRUCTURE;
  }
  return folders;
}

xml::CDOMElement* FindFolderAnywhere(CCollectionFile& file, const std::string& title) {
  return FindElementByChildValue(file.document(), u"Folder", "TitleString", title);
}

xml::CDOMElement* FindSubFolderOf(xml::CDOMElement* folder, const std::string& title) {
  for (xml::CDOMElement* child = FolderFrom(folder->getFirstChild()); child != nullptr;
       child = FolderFrom(child->getNextSibling()))
    if (IsTitled(child, title)) return child;
  return nullptr;
}

xml::CDOMElement* AppendFolder(xml::CDOMElement* parent, const std::string& title) {
  xml::CDOMElement* folder = AppendChildElement(parent, "Folder");
  WriteValue(AppendChildElement(folder, "TitleString"), title);
  return folder;
}

}  // namespace quillet

using quillet::CNodeRef;

int QuilletEnumCollectionRootFolders(unsigned long collection, unsigned long* cursor) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(collection);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(cursor)) return QUILLET_E_NULL_HANDLE;
  int code = QUILLET_OK;
  xml::CDOMElement* folders = RequireFoldersElement(*file, &code);
  if (folders == nullptr) return code;
  xml::CDOMElement* first = FolderFrom(folders->getFirstChild());
  if (first == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(CNodeRef::Kind::Folder, collection, file, first, cursor);
}

int QuilletNextCollectionFolder(unsigned long cursor, unsigned long* folder) {
  using namespace quillet;
  CNodeRef* ref = RequireNode(cursor, CNodeRef::Kind::Folder);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(folder)) return QUILLET_E_NULL_HANDLE;
  if (ref->element == nullptr) return QUILLET_E_NOT_FOUND;
  const int code = HandOutNode(CNodeRef::Kind::Folder, HandleTable::instance().ownerOf(cursor), ref->file,
                           ref->element, folder);
  if (code == QUILLET_OK) ref->element = FolderFrom(ref->element->getNextSibling());
  return code;
}

int QuilletEnumSubFolders(unsigned long folder, unsigned long* cursor) {
  using namespace quillet;
  int code = QUILLET_OK;
  CNodeRef* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  if (!RequireHandlePlace(cursor)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* first = FindChildElement(ref->element, "Folder");
  if (first == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(CNodeRef::Kind::Folder, HandleTable::instance().ownerOf(folder), ref->file, first, cursor);
}

namespace quillet {
int FolderNameOfHandle(unsigned long folder, std::string& title) {
  int code = QUILLET_OK;
  CNodeRef* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  return FolderTitle(ref->element, title) ? QUILLET_OK : QUILLET_E_NOT_FOUND;
}
}  // namespace quillet

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
  xml::CDOMElement* folders = RequireFoldersElement(*file, &code);
  if (folders == nullptr) return code;
  return HandOutNode(CNodeRef::Kind::Folder, collection, file, AppendFolder(folders, CallerText(title)), folder);
}

int QuilletAddSubFolder(unsigned long folder, const char* title, unsigned long* subFolder) {
  using namespace quillet;
  int code = QUILLET_OK;
  CNodeRef* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  if (!RequireHandlePlace(subFolder)) return QUILLET_E_NULL_HANDLE;
  return HandOutNode(CNodeRef::Kind::Folder, HandleTable::instance().ownerOf(folder), ref->file,
                 AppendFolder(ref->element, CallerText(title)), subFolder);
}

int QuilletFindFolder(unsigned long collection, const char* title, unsigned long* folder) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(collection);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(folder)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* found = FindFolderAnywhere(*file, CallerText(title));
  if (found == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(CNodeRef::Kind::Folder, collection, file, found, folder);
}

int QuilletFindSubFolder(unsigned long folder, const char* title, unsigned long* subFolder) {
  using namespace quillet;
  int code = QUILLET_OK;
  CNodeRef* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return code;
  if (!RequireHandlePlace(subFolder)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* found = FindSubFolderOf(ref->element, CallerText(title));
  if (found == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(CNodeRef::Kind::Folder, HandleTable::instance().ownerOf(folder), ref->file, found, subFolder);
}

void QuilletDeleteFolder(unsigned long folder) {
  using namespace quillet;
  int code = QUILLET_OK;
  CNodeRef* ref = RequireStandingFolder(folder, &code);
  if (ref == nullptr) return;
  ref->file->detach(ref->element);
}
