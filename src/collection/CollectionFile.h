// One of HTML Help's files in memory: a collection file or a collection registry,
// loaded whole into a tree, with the name it is saved back to; and the loading,
// saving and backing up that the collection and doc-info handles share.
#ifndef QUILLET_COLLECTION_COLLECTIONFILE_H
#define QUILLET_COLLECTION_COLLECTIONFILE_H

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "collection/HelpFilesLock.h"
#include "collection/Status.h"
#include "platform/Platform.h"
#include "quillet/xml/DOM.h"
#include "quillet/xml/XMLDeclInfo.h"
#include "xml/dom/loader/LoadDocument.h"
#include "xml/output/XMLSave.h"

namespace quillet {

class CCollectionFile final {
 public:
  // The longest file name the record keeps, in bytes of 8-bit text (the Windows path
  // limit). A longer name is refused before anything is read.
  static constexpr size_t kMaxFileName = 260;

  CCollectionFile();
  ~CCollectionFile();
  CCollectionFile(const CCollectionFile&) = delete;
  CCollectionFile& operator=(const CCollectionFile&) = delete;

  xml::CDOMDocument* document() const { return document_; }
  const std::string& fileName() const { return fileName_; }
  xml::XMLDeclInfo& declInfo() { return declInfo_; }

  // Loads `fileName` (in the ANSI code page) into the record, remembering it for saving. In
  // safe mode the texts of a file in HTML Help's "<XML>" form are read in the ANSI
  // code page (see CodePageText.h), and saved in it again. False when the loader gave
  // no document; `failure` then says why (it is left alone on success).
  bool load(const std::string& fileName, const Switches& switches, xml::LoadResult& failure);

  // Writes the tree back to the name it was loaded from, in the form it was read in,
  // with the options the switches ask for. A failure at any point leaves the file on
  // disk as it was.
  xml::SaveResult save(const Switches& switches);
  // save() up to the last step: the new file waits in `replacement`, flushed, for its
  // commit(). Lets a caller write two files before it replaces either.
  xml::SaveResult prepareSave(platform::FileReplacement& replacement, const Switches& switches);

  // Keeps the help files locked for as long as the record lives (QuilletLockFiles).
  void holdLock(std::unique_ptr<HelpFilesLock> lock) { lock_ = std::move(lock); }

  // Takes `node` (an element of this tree) out of the tree. The subtree stays alive
  // until the record is destroyed, because an enumeration snapshot or a handle may
  // still point into it; isRemoved() tells such nodes apart from live ones.
  void detach(xml::CDOMNode* node);

  // Whether `node` is, or lies inside, a subtree taken out by detach().
  bool isRemoved(xml::CDOMNode* node) const { return removedSince(node, 0); }

  // Counts the detach() calls: something found at generation() G is gone when
  // removedSince(it, G).
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

// --- Loading ------------------------------------------------------------------------

// Turns the pending parse error of the last failed load into the status text: three
// lines (message, code, line and column), or "NO LAST ERROR" when the loader left
// none. Empties the pending slot.
void FormatParseError(Status& status);

// Loads `fileName` (in the ANSI code page) into a new record, refusing a name longer
// than CCollectionFile::kMaxFileName ("File name longer than 260 characters", 110).
// Returns 0 or 110 (parse-error text set; a copy
// of why the load failed goes to `failure` when given), or 190 when the switches ask
// for the help files' lock and it could not be taken.
int LoadFile(const std::string& fileName, const Switches& switches,
             std::unique_ptr<CCollectionFile>& file, Status& status, xml::LoadResult* failure = nullptr);

// Whether the file's root element is a collection's: 0; 100 "Root element not
// present"; 120 "HTMLHelpCollection root element not found" (letter case ignored).
int CheckCollectionRoot(CCollectionFile& file, Status& status);

// Why a tree is not a collection file (root HTMLHelpCollection, in any letter case,
// with a Folders element), as a clause that follows the file's name: "is not a
// collection file: its root element is X, not HTMLHelpCollection" or "... it has no
// Folders element"; "" when it is one. In the ANSI code page, for the checks that
// explain a refusal.
std::string CollectionFileProblem(xml::CDOMDocument* document);

// LoadFile, then CheckCollectionRoot: 0, 100, 110, 120 or 190 with their texts.
int LoadCollectionFile(const std::string& fileName, const Switches& switches, std::unique_ptr<CCollectionFile>& file,
                       Status& status);

// LoadCollectionFile on the developer's default collection: 10 (after the diagnostic
// line "Failed to get collection filename") when the registry settings name none.
int LoadDefaultCollectionFile(const Switches& switches, std::unique_ptr<CCollectionFile>& file, Status& status);

// The default collection's file name from the registry settings, or false after the
// diagnostic line "Failed to get collection filename".
bool DefaultCollectionName(std::string& name);

// Writes a diagnostic line to standard output, where installers' logs pick it up.
void PrintDiagnostic(const char* line);

// --- Messages -------------------------------------------------------------------------

// A file's path for a message: the path as the library uses it, followed on the
// portable backend by the host path it stands for, in parentheses.
std::string ShownPath(const std::string& path);

// Why a load failed, as a clause for a message: "is not well-formed XML (line 3,
// column 7: End tag does not match start tag, code 150)", "cannot be read: Permission
// denied".
std::string DescribeLoadFailure(const xml::LoadResult& failure);

// The last-error text of a failed save of `fileName`.
std::string DescribeSaveFailure(const xml::SaveResult& result, const std::string& fileName);

// --- Saving and backing up -----------------------------------------------------------

// What a save tells its caller: 0 on success; for a failure, 0 as saves always
// reported, except in safe mode: 170 (write failed) or 180 (a character the file's
// code page cannot hold), with a text that names `fileName` and the reason.
int ReportSave(const xml::SaveResult& result, const std::string& fileName, const Switches& switches,
               Status& status);

// The same, whatever the switches say.
int SaveFailure(const xml::SaveResult& result, const std::string& fileName, Status& status);

// A backup copy of `from` to `to`: 0, or 140 (in safe mode with the reason as text).
int BackupCopy(const std::string& from, const std::string& to, const Switches& switches, Status& status);

}  // namespace quillet

#endif
