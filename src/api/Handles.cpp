#include "api/Handles.h"

#include "api/LastError.h"
#include "api/SafeMode.h"
#include "quillet/result_codes.h"

namespace quillet {

NodeListRecord::~NodeListRecord() {
  if (list != nullptr) list->release();
}

CCollectionFile* RequireFile(unsigned long handle) {
  FileRecord* record = RequireHandle<FileRecord>(handle);
  return record != nullptr ? record->file.get() : nullptr;
}

NodeRecord* RequireNode(unsigned long handle, NodeRecord::Kind kind) {
  NodeRecord* ref = HandleTable::instance().lookup<NodeRecord>(handle);
  if (ref == nullptr || ref->kind != kind || ref->gone()) {
    SetInvalidHandleError();
    return nullptr;
  }
  return ref;
}

NodeListRecord* RequireList(unsigned long handle) { return RequireHandle<NodeListRecord>(handle); }

bool RequireHandlePlace(unsigned long* place) {
  if (place != nullptr) return true;
  SetLastErrorText("Null handle pointer");
  return false;
}

int HandOut(std::unique_ptr<HandleRecord> record, unsigned long owner, unsigned long* place) {
  const unsigned long handle = HandleTable::instance().issue(std::move(record), owner);
  if (handle == 0) {
    SetInvalidHandleError();
    return QUILLET_E_NULL_HANDLE;
  }
  *place = handle;
  return QUILLET_OK;
}

int HandOutFile(std::unique_ptr<CCollectionFile> file, unsigned long* place) {
  return HandOut(std::make_unique<FileRecord>(std::move(file)), 0, place);
}

int HandOutNode(NodeRecord::Kind kind, unsigned long owner, CCollectionFile* file, xml::CDOMElement* element,
                unsigned long* place) {
  return HandOut(std::make_unique<NodeRecord>(kind, file, element), owner, place);
}

Switches CurrentSwitches() {
  Switches switches;
  switches.safe = SafeMode();
  switches.selfClosingEmptyTags = SelfClosingEmptyTags();
  switches.lockFiles = LockFiles();
  return switches;
}

int Report(const Status& status, int code) {
  if (status.hasText()) SetLastErrorText(status.text());
  return code;
}

}  // namespace quillet
