// The records behind the exported functions' handles, and what every export that
// takes or hands out a handle shares.
//
// A collection handle and a doc-info handle both name a FileRecord: one file of HTML
// Help's loaded whole (a CCollectionFile). Folder and doc handles name a NodeRecord on
// one element of that tree, and a doc enumeration handle names a NodeListRecord over a
// snapshot of the registry's title entries. Both are issued with their file's handle
// as owner, so they end when the file's handle is released.
#ifndef QUILLET_API_HANDLES_H
#define QUILLET_API_HANDLES_H

#include <memory>
#include <string>

#include "api/HandleTable.h"
#include "collection/CollectionFile.h"
#include "collection/Status.h"

namespace quillet {

class FileRecord final : public HandleRecord {
 public:
  explicit FileRecord(std::unique_ptr<CCollectionFile> file) : file(std::move(file)) {}
  const std::unique_ptr<CCollectionFile> file;
};

// A folder handle or a doc handle: one element of a CCollectionFile's tree.
class NodeRecord final : public HandleRecord {
 public:
  enum class Kind { Folder, Doc };

  NodeRecord(Kind kind, CCollectionFile* file, xml::CDOMElement* element)
      : kind(kind), file(file), element(element), bornAt(file->generation()) {}

  // Whether the element was taken out of the tree (with its folder or entry, or inside
  // one) since the handle was made: such a handle serves only QuilletCloseDoc. A handle
  // made on an entry that was already taken out (from an enumeration snapshot) reads it.
  bool gone() const { return element != nullptr && file->removedSince(element, bornAt); }

  const Kind kind;
  // The file whose tree holds the element; it outlives this record (it owns its handle).
  CCollectionFile* const file;
  // The element; null for a folder cursor that has run past the last folder.
  xml::CDOMElement* element;
  // The file's generation when the handle was made.
  const unsigned long long bornAt;
};

// A doc enumeration handle: a snapshot list of title entries with its cursor.
class NodeListRecord final : public HandleRecord {
 public:
  NodeListRecord(CCollectionFile* file, xml::CDOMNodeList* list) : file(file), list(list) {}
  ~NodeListRecord() override;
  NodeListRecord(const NodeListRecord&) = delete;
  NodeListRecord& operator=(const NodeListRecord&) = delete;

  CCollectionFile* const file;
  xml::CDOMNodeList* const list;  // owned
};

// The records of a live handle, or null after setting "Invalid handle". A folder handle
// and a doc handle are not interchangeable, and a handle on something taken out of the
// tree since it was made is no longer accepted.
CCollectionFile* RequireFile(unsigned long handle);
NodeRecord* RequireNode(unsigned long handle, NodeRecord::Kind kind);
NodeListRecord* RequireList(unsigned long handle);

// Checks a caller's place for a new handle: false, with the last-error text "Null
// handle pointer", when it is null.
bool RequireHandlePlace(unsigned long* place);

// Issues a handle on `record`, made from `owner` (0 for none), and writes it to
// *place: 0, or 6 with "Invalid handle" when no handle could be issued (the owner has
// ended, or the handle numbers are used up).
int HandOut(std::unique_ptr<HandleRecord> record, unsigned long owner, unsigned long* place);
int HandOutFile(std::unique_ptr<CCollectionFile> file, unsigned long* place);
int HandOutNode(NodeRecord::Kind kind, unsigned long owner, CCollectionFile* file, xml::CDOMElement* element,
                unsigned long* place);

// Texts read through a handle, for the exports that copy them out (QuilletGetFolderName
// and the C interface's sized calls): 0, or the export's failure code.
int FolderNameOfHandle(unsigned long folder, std::string& title);
int DocValueOfHandle(unsigned long doc, long valueId, std::string& value);
int DefaultCollectionNumberOfHandle(unsigned long docInfo, std::string& number);

// The switches of the process (QuilletSetSafeMode, QuilletLockFiles), for an export
// to hand down to the operation it starts.
Switches CurrentSwitches();

// Makes the status text, when the operation left one, the last-error text. Returns
// `code`.
int Report(const Status& status, int code = 0);

}  // namespace quillet

#endif
