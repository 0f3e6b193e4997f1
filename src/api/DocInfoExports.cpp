// The exported functions of doc-info handles: the title entries of the collection
// registry and their values.
#include "api/Handles.h"
#include "collection/DocInfo.h"
#include "collection/DocValues.h"
#include "collection/Location.h"
#include "collection/Navigation.h"
#include "quillet/quillet.h"

namespace quillet {

int DefaultCollectionNumberOfHandle(unsigned long docInfo, std::string& number) {
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  Status status;
  return Report(status, DefaultCollectionNumber(*file, number, status));
}

int DocValueOfHandle(unsigned long doc, long valueId, std::string& value) {
  NodeRecord* ref = RequireNode(doc, NodeRecord::Kind::Doc);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  return ReadEntryValue(ref->element, valueId, value);
}

}  // namespace quillet

using quillet::NodeRecord;

int QuilletOpenDocInfo(const char* fileName, unsigned long* docInfo) {
  using namespace quillet;
  const std::string name = CallerText(fileName);
  return HandOutLoaded(docInfo, [&](const Switches& switches, std::unique_ptr<CCollectionFile>& file, Status& status) {
    return OpenRegistryFile(name, switches, file, status);
  });
}

int QuilletOpenDocInfo(unsigned long* docInfo) {
  return quillet::HandOutLoaded(docInfo, quillet::OpenDefaultRegistryFile);
}

int QuilletEnumDocCompilations(unsigned long docInfo, unsigned long* enumeration) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(enumeration)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMNodeList* list = file->document()->getElementsByTagName(u"DocCompilation");
  if (list == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOut(std::make_unique<NodeListRecord>(file, list), docInfo, enumeration);
}

int QuilletNextDocCompilation(unsigned long enumeration, unsigned long* doc) {
  using namespace quillet;
  NodeListRecord* ref = RequireList(enumeration);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(doc)) return QUILLET_E_NULL_HANDLE;
  // The snapshot stands: an entry removed since it was taken is still handed out. Its
  // node lives on in the registry's record until the doc-info handle is closed, so
  // the new handle is safe to read.
  xml::CDOMElement* entry = AsElement(ref->list->nextNode());
  if (entry == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(NodeRecord::Kind::Doc, HandleTable::instance().ownerOf(enumeration), ref->file, entry, doc);
}

int QuilletFindDoc(unsigned long docInfo, const char* titleId, unsigned long* doc) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(doc)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* entry = FindDocCompilation(*file, CallerText(titleId));
  if (entry == nullptr) return QUILLET_E_NOT_FOUND;
  return HandOutNode(NodeRecord::Kind::Doc, docInfo, file, entry, doc);
}

int QuilletAddDoc(unsigned long docInfo, const char* titleId, unsigned long* doc) {
  using namespace quillet;
  CCollectionFile* file = RequireFile(docInfo);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  if (!RequireHandlePlace(doc)) return QUILLET_E_NULL_HANDLE;
  xml::CDOMElement* entry = nullptr;
  const int code = FindOrAddDocCompilation(*file, CallerText(titleId), entry);
  return code != QUILLET_OK ? code : HandOutNode(NodeRecord::Kind::Doc, docInfo, file, entry, doc);
}

int QuilletRemoveDoc(unsigned long doc) {
  using namespace quillet;
  // A null or invalid handle changes nothing, the last-error text included.
  NodeRecord* ref = HandleTable::instance().lookup<NodeRecord>(doc);
  if (ref == nullptr || ref->kind != NodeRecord::Kind::Doc || ref->gone()) return QUILLET_E_NULL_HANDLE;
  ref->file->detach(ref->element);
  return QUILLET_OK;
}

int QuilletSaveDocInfo(unsigned long docInfo) { return QuilletSaveCollection(docInfo); }

void QuilletCloseDocInfo(unsigned long docInfo) { QuilletReleaseCollection(docInfo); }

void QuilletCloseDoc(unsigned long doc) {
  using namespace quillet;
  NodeRecord* ref = HandleTable::instance().lookup<NodeRecord>(doc);
  if (ref != nullptr && ref->kind == NodeRecord::Kind::Doc) HandleTable::instance().end(doc);
}

int QuilletBackupDocInfo() {
  using namespace quillet;
  std::string registry;
  if (!FindRegistryFile(registry)) return QUILLET_E_NOT_FOUND;
  platform::PathParts parts = platform::SplitPath(registry);
  parts.extension = ".BAK";
  Status status;
  return Report(status, BackupCopy(registry, platform::MakePath(parts), CurrentSwitches(), status));
}

int QuilletGetDefaultCollectionNumber(unsigned long docInfo, char* buffer) {
  using namespace quillet;
  std::string number;
  const int code = DefaultCollectionNumberOfHandle(docInfo, number);
  if (code == QUILLET_OK) CopyToCallerBuffer(number, buffer);
  return code;
}

int QuilletGetDocValue(unsigned long doc, long valueId, char* buffer) {
  using namespace quillet;
  std::string value;
  const int code = DocValueOfHandle(doc, valueId, value);
  if (code == QUILLET_OK) CopyToCallerBuffer(value, buffer);
  return code;
}

int QuilletSetDocValue(unsigned long doc, long valueId, char* value) {
  using namespace quillet;
  NodeRecord* ref = RequireNode(doc, NodeRecord::Kind::Doc);
  if (ref == nullptr) return QUILLET_E_NULL_HANDLE;
  return WriteEntryValue(ref->element, valueId, CallerText(value));
}
