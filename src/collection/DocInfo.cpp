#include "collection/DocInfo.h"

#include "api/LastError.h"
#include "collection/CollectionHandle.h"
#include "collection/Location.h"
#include "collection/Navigation.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "xml/common/U16String.h"

namespace quillet {
namespace {
constexpr unsigned long kNameBufferSize = 1024;

// Loads one candidate registry and takes it when it lists the default collection.
bool TakeCandidate(const std::string& directory, std::unique_ptr<CCollectionFile>& file, std::string& path,
                   std::string& number) {
  const std::string candidate = directory + "hhcolreg.dat";
  std::unique_ptr<CCollectionFile> probe;
  if (OpenRegistryFile(candidate, probe) != QUILLET_OK) return false;
  std::string found;
  if (DefaultCollectionNumber(*probe, found) != QUILLET_OK) return false;
  if (found.size() >= kCollectionNumberBuffer) {
    SetLastErrorText("ColNum value longer than 59 characters");
    return false;
  }
  file = std::move(probe);
  path = candidate;
  number = found;
  return true;
}

}  // namespace

int OpenRegistryFile(const std::string& fileName, std::unique_ptr<CCollectionFile>& file) {
  if (!platform::FileExists(fileName)) {
    SetLastErrorText("File does not exist");
    return QUILLET_E_NOT_FOUND;
  }
  return LoadFile(fileName, false, file);
}

int DefaultCollectionNumber(CCollectionFile& file, std::string& number) {
  xml::CDOMElement* collections = FindChildElement(file.document()->getDocumentElement(), "Collections");
  if (collections == nullptr) {
    SetLastErrorText("Collections element not found under root");
    return QUILLET_E_NOT_FOUND;
  }
  char buffer[kNameBufferSize];
  if (QuilletGetDefaultCollectionFilename(buffer, sizeof buffer) != 1) {
    SetLastErrorText("Error getting default collection");
    return QUILLET_E_REGISTRY;
  }
  const std::string defaultName = buffer;
  xml::CDOMElement* first = FindChildElement(collections, "Collection");
  if (first == nullptr) {
    SetLastErrorText("Error locating first child collection");
    return QUILLET_E_NOT_FOUND;
  }
  SetLastErrorText("Error locating elements in XML document");
  // Every sibling from the first Collection on is looked at, whatever its name: the
  // registry keeps nothing else in Collections.
  for (xml::CDOMNode* node = first; node != nullptr; node = node->getNextSibling()) {
    xml::CDOMElement* colName = FindChildElement(node, "ColName");
    if (colName == nullptr) {
      SetLastErrorText("Error locating ColName within Collection");
      continue;
    }
    if (!xml::EqualsIgnoreAsciiCase(ReadValue(colName), defaultName)) continue;
    xml::CDOMElement* colNum = FindChildElement(node, "ColNum");
    if (colNum == nullptr) {
      SetLastErrorText("Error locating ColNum within Collection");
      continue;
    }
    number = ReadValue(colNum);
    return QUILLET_OK;
  }
  return QUILLET_E_NO_COLLECTION;
}

int ProbeDefaultRegistry(std::unique_ptr<CCollectionFile>& file, std::string& path, std::string& number) {
  std::string directory;
  if (LocateWindowsHelpDir(directory) && TakeCandidate(directory, file, path, number)) return QUILLET_OK;
  if (LocateAllUsersHelpDir(directory) && TakeCandidate(directory, file, path, number)) return QUILLET_OK;
  return QUILLET_E_NO_COLLECTION;
}

xml::CDOMElement* FindDocCompilation(CCollectionFile& file, const std::string& titleId) {
  return FindElementByChildValue(file.document(), u"DocCompilation", "DocCompId", titleId);
}

int FindOrAddDocCompilation(CCollectionFile& file, const std::string& titleId, xml::CDOMElement*& entry) {
  entry = FindDocCompilation(file, titleId);
  if (entry != nullptr) return QUILLET_OK;
  xml::CDOMElement* compilations = FindChildElement(file.document()->getDocumentElement(), "DocCompilations");
  if (compilations == nullptr) return QUILLET_E_STRUCTURE;
  entry = AppendChildElement(compilations, "DocCompilation");
  WriteValue(FindOrAppendChildElement(entry, "DocCompId"), titleId);
  return QUILLET_OK;
}

}  // namespace quillet

using quillet::CNodeRef;

int QuilletOpenDocInfo(const char* fileName, unsigned long* docInfo) {
  using namespace quillet;
  if (!RequireHandlePlace(docInfo)) return QUILLET_E_NULL_HANDLE;
  std::unique_ptr<CCollectionFile> file;
  const int code = OpenRegistryFile(CallerText(fileName), file);
  return code != QUILLET_OK ? code : HandOut(std::move(file), 0, docInfo);
}

int QuilletOpenDocInfo(unsigned long* docInfo) {
  using namespace quillet;
  if (!RequireHandlePlace(docInfo)) return QUILLET_E_NULL_HANDLE;
  std::unique_ptr<CCollectionFile> probe;
  std::string path;
  std::string number;
  if (ProbeDefaultRegistry(probe, path, number) != QUILLET_OK) return QUILLET_E_NO_COLLECTION;
  probe.reset();
  // The registry is read afresh, as if opened by name: the probe only chose it.
  if (!platform::FileExists(path)) {
    SetLastErrorText("HHCOLREG.DAT not found");
    return QUILLET_E_NOT_FOUND;
  }
  std::unique_ptr<CCollectionFile> file;
  const int code = LoadFile(path, false, file);
  return code != QUILLET_OK ? code : HandOut(std::move(file), 0, docInfo);
}

int QuilletEnumDocCompilations(unsigned long docInfo, unsigned long* enumeration) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(enumeration)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMNodeList* list = file->document()->getElementsByTagName(u"DocCompilation");
  if (list == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOut(std::make_unique<CNodeListRef>(file, list), docInfo, enumeration);
}

int QuilletNextDocCompilation(unsigned long enumeration, unsigned long* doc) {
  using namespace quillet;
  CNodeListRef* ref = RequireList(enumeration);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(doc)) return QUILLET_E_NULL_HANDLE;
  // Entries removed since the snapshot are passed over: their nodes are kept alive
  // by the registry's record, but no handle may reach them again.
  xml::CDOMNode* node = ref->list->nextNode();
  while (node != nullptr && ref->file->isRemoved(node)) node = ref->list->nextNode();
  xml::CDOMElement* entry = AsElement(node);
  if (entry == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(CNodeRef::Kind::Doc, HandleTable::instance().ownerOf(enumeration), ref->file, entry, doc);
}

int QuilletFindDoc(unsigned long docInfo, const char* titleId, unsigned long* doc) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(doc)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* entry = FindDocCompilation(*file, CallerText(titleId));
  if (entry == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(CNodeRef::Kind::Doc, docInfo, file, entry, doc);
}

int QuilletAddDoc(unsigned long docInfo, const char* titleId, unsigned long* doc) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(doc)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* entry = nullptr;
  const int code = FindOrAddDocCompilation(*file, CallerText(titleId), entry);
  return code != QUILLET_OK ? code : HandOutNode(CNodeRef::Kind::Doc, docInfo, file, entry, doc);
}

int QuilletRemoveDoc(unsigned long doc) {
  using namespace quillet;
  CNodeRef* ref = RequireNode(doc, CNodeRef::Kind::Doc);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  DetachAndEndHandles(HandleTable::instance().ownerOf(doc), *ref->file, ref->element);
  return QUILLET_OK;
}

int QuilletSaveDocInfo(unsigned long docInfo) { return QuilletSaveCollection(docInfo); }

void QuilletCloseDocInfo(unsigned long docInfo) { QuilletReleaseCollection(docInfo); }

void QuilletCloseDoc(unsigned long doc) {
  using namespace quillet;
  CNodeRef* ref = HandleTable::instance().lookup<CNodeRef>(doc);
  if (ref != nullptr && ref->kind == CNodeRef::Kind::Doc) HandleTable::instance().end(doc);
}

int QuilletBackupDocInfo() {
  using namespace quillet;
  std::string directory;
  if (!LocateCollectionDir(directory)) return QUILLET_E_NOT_FOUND;
  const std::string registry = directory + "HHCOLREG.DAT";
  if (!platform::FileExists(registry)) return QUILLET_E_NOT_FOUND;
  return platform::CopyFileReplacing(registry, directory + "HHCOLREG.BAK") ? QUILLET_OK : QUILLET_E_BACKUP;
}

namespace quillet {
int DefaultCollectionNumberOfHandle(unsigned long docInfo, std::string& number) {
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  return DefaultCollectionNumber(*file, number);
}
}  // namespace quillet

int QuilletGetDefaultCollectionNumber(unsigned long docInfo, char* buffer) {
  using namespace quillet;
  std::string number;
  const int code = DefaultCollectionNumberOfHandle(docInfo, number);
  if (code == QUILLET_OK) CopyToCallerBuffer(number, buffer);
  return code;
}
