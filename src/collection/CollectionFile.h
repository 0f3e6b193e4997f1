// The records behind the collection API's handles.
//
// A collection handle and a doc-info handle both name a CCollectionFile: one XML file
// loaded whole into a tree, with the name it is saved back to. Folder and doc handles
// name a CNodeRef on one element of that tree, and a doc enumeration handle names a
// CNodeListRef over a snapshot of the registry's title entries. Both are issued with
// their file's handle as owner, so they end when the file's handle is released.
#ifndef QUILLET_COLLECTION_COLLECTIONFILE_H
#define QUILLET_COLLECTION_COLLECTIONFILE_H

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "api/HandleTable.h"
#include "collection/HelpFilesLock.h"
#include "platform/Platform.h"
#include "quillet/xml/DOM.h"
#include "quillet/xml/XMLDeclInfo.h"
#include "xml/dom/loader/LoadDocument.h"
#include "xml/output/XMLSave.h"

namespace quillet {

class CCollectionFile final : public HandleRecord {
 public:
  // The longest file name the record keeps, in bytes of 8-bit text (the Windows path
  // limit). A longer name is refused before anything is read.
  static constexpr size_t kMaxFileName = 260;

  CCollectionFile();
  ~CCollectionFile() override;
  CCollectionFile(const CCollectionFile&) = delete;
  CCollectionFile& operator=(const CCollectionFile&) = delete;

  xml::CDOMDocument* document() const { return document_; }
  const std::string& fileName() const { return fileName_; }
  xml::XMLDeclInfo& declInfo() { return declInfo_; }

  // Loads `wideName` into the record, remembering `fileName` (8-bit) for saving.
  // In safe mode the texts of a file in HTML Help's "<XML>" form are read in the ANSI
  // code page (see CodePageText.h), and saved in it again. False when the loader gave
  // no document; `failure` then says why (it is left alone on success).
  bool load(const std::string& fileName, const std::u16string& wideName, xml::LoadResult& failure);

  // Writes the tree back to the name it was loaded from, in the form it was read in,
  // with the options the process's switches ask for. A failure at any point leaves the
  // file on disk as it was.
  xml::SaveResult save();
  // save() up to the last step: the new file waits in `replacement`, flushed, for
  // its commit(). Lets a caller write two files before it replaces either.
  xml::SaveResult prepareSave(platform::FileReplacement& replacement);

  // Keeps the help files locked for as long as the record lives (QuilletLockFiles).
  void holdLock(std::unique_ptr<HelpFilesLock> lock) { lock_ = std::move(lock); }

  // Takes `node` (an element of this tree) out of the tree. The subtree stays alive
  // until the record is destroyed, because an enumeration snapshot may still point
  // into it; isRemoved() tells such nodes apart from live ones afterwards.
  void detach(xml::CDOMNode* node);

  // Whether `node` is, or lies inside, a subtree taken out by detach().
  bool isRemoved(xml::CDOMNode* node) const { return removedSince(node, 0); }

  // Counts the detach() calls: a handle made at generation() G stands on something
  // gone when removedSince(its element, G).
  unsigned long long generation() const { return generation_; }
  // Whether `node` lies inside a subtree taken out after `generation`. Costs a walk up
  // to the root, so that taking out a folder never has to visit the handles on it.
  bool removedSince(xml::CDOMNode* node, unsigned long long generation) const;

 private:
  xml::CDOMDocument* document_ = nullptr;
  std::string fileName_;
  xml::XMLDeclInfo declInfo_;
  // The code page the "<XML>" form's texts were decoded in at load (0: byte for
  // character, as the reader took them).
  unsigned codePage_ = 0;
  std::unique_ptr<HelpFilesLock> lock_;
  std::vector<xml::CDOMNode*> removed_;
  // Each subtree taken out, with the generation that took it.
  std::unordered_map<const xml::CDOMNode*, unsigned long long> removedAt_;
  unsigned long long generation_ = 0;
};

// A folder handle or a doc handle: one element of a CCollectionFile's tree.
class CNodeRef final : public HandleRecord {
 public:
  enum class Kind { Folder, Doc };

  CNodeRef(Kind kind, CCollectionFile* file, xml::CDOMElement* element)
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
class CNodeListRef final : public HandleRecord {
 public:
  CNodeListRef(CCollectionFile* file, xml::CDOMNodeList* list) : file(file), list(list) {}
  ~CNodeListRef() override;
  CNodeListRef(const CNodeListRef&) = delete;
  CNodeListRef& operator=(const CNodeListRef&) = delete;

  CCollectionFile* const file;
  xml::CDOMNodeList* const list;  // owned
};

// The records of a live handle, or null after setting "Invalid handle". A folder handle
// and a doc handle are not interchangeable, and a handle on something taken out of the
// tree since it was made is no longer accepted.
CCollectionFile* RequireFile(unsigned long handle);
CNodeRef* RequireNode(unsigned long handle, CNodeRef::Kind kind);
CNodeListRef* RequireList(unsigned long handle);

// Issues a handle on `record`, made from `owner` (0 for none), and writes it to
// *place: 0, or 6 with "Invalid handle" when no handle could be issued (the owner
// has ended, or the handle numbers are used up).
int HandOut(std::unique_ptr<HandleRecord> record, unsigned long owner, unsigned long* place);

// HandOut of a new folder or doc handle on `element`, made from the file handle `owner`.
int HandOutNode(CNodeRef::Kind kind, unsigned long owner, CCollectionFile* file, xml::CDOMElement* element,
                unsigned long* place);

}  // namespace quillet

#endif
