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
// When it does not, and `why` is given, appends a sentence on what was wrong with it.
bool TakeCandidate(const std::string& directory, std::unique_ptr<CCollectionFile>& file, std::string& path,
                   std::string& number, std::string* why) {
  const std::string candidate = directory + "hhcolreg.dat";
  auto reject = [&](const std::string& reason) {
    if (why != nullptr) *why += (why->empty() ? "" : "; ") + ShownPath(candidate) + " " + reason;
    return false;
  };
  if (const std::string kind = platform::NotARegularFile(candidate); !kind.empty())
    return reject("is " + kind + ", not a file");
  std::unique_ptr<CCollectionFile> probe;
  xml::LoadResult failure;
  if (!platform::FileExists(candidate)) return reject("does not exist");
  if (LoadFile(candidate, false, probe, &failure) != QUILLET_OK) return reject(DescribeLoadFailure(failure));
  std::string found;
  switch (DefaultCollectionNumber(*probe, found)) {
    case QUILLET_OK: break;
    case QUILLET_E_REGISTRY: return reject("cannot be matched: HTML Help's registry settings name no default collection");
    case QUILLET_E_NOT_FOUND: return reject("has no Collections element with a Collection in it");
    default: {
      std::string name;
      char buffer[kNameBufferSize];
      if (QuilletGetDefaultCollectionFilename(buffer, sizeof buffer) == 1) name = buffer;
      return reject("does not list the default collection " + name + " (a Collection whose ColName names it, with a ColNum)");
    }
  }
  if (found.size() >= kCollectionNumberBuffer) {
    SetLastErrorText("ColNum value longer than 59 characters");
    return reject("lists the default collection with a ColNum longer than 59 characters");
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

int ProbeDefaultRegistry(std::unique_ptr<CCollectionFile>& file, std::string& path, std::string& number,
                         std::string* why) {
  std::string directory;
  bool any = false;
  if (LocateWindowsHelpDir(directory)) {
    any = true;
    if (TakeCandidate(directory, file, path, number, why)) return QUILLET_OK;
  }
  if (LocateAllUsersHelpDir(directory)) {
    any = true;
    if (TakeCandidate(directory, file, path, number, why)) return QUILLET_OK;
  }
  if (!any && why != nullptr) {
    std::string windows;
    platform::WindowsDirectory(windows);
    *why = "there is no collection registry: neither " + ShownPath(windows + "\\Help\\HHCOLREG.DAT") + " nor " +
           ShownPath(AllUsersHelpDirFor(windows) + "hhcolreg.dat") + " exists";
  }
  return QUILLET_E_NO_COLLECTION;
}

int OpenDefaultRegistryFile(std::unique_ptr<CCollectionFile>& file) {
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
  return LoadFile(path, false, file);
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
  std::unique_ptr<CCollectionFile> file;
  const int code = OpenDefaultRegistryFile(file);
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
  // The snapshot stands: an entry removed since it was taken is still handed out. Its
  // node lives on in the registry's record until the doc-info handle is closed, so
  // the new handle is safe to read.
  xml::CDOMElement* entry = AsElement(ref->list->nextNode());
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
  // A null or invalid handle changes nothing, the last-error text included.
  CNodeRef* ref = HandleTable::instance().lookup<CNodeRef>(doc);
  if (ref == nullptr || ref->kind != CNodeRef::Kind::Doc || ref->gone()) return QUILLET_E_NULL_HANDLE;
  ref->file->detach(ref->element);
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
  return BackupCopy(registry, directory + "HHCOLREG.BAK");
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
