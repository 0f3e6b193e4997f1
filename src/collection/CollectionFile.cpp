#include "collection/CollectionFile.h"

#include <cstdio>

#include "collection/CodePageText.h"
#include "collection/Location.h"
#include "collection/Navigation.h"
#include "quillet/result_codes.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/PendingParseError.h"

namespace quillet {
CCollectionFile::CCollectionFile() {
  // The settings every collection file and registry loads with: declared, no
  // encoding yet, CDATA sections expanded into text, white space not preserved.
  declInfo_.declared = true;
  declInfo_.encoding.clear();
  declInfo_.encodingGiven = false;
  declInfo_.expandCDATA = true;
  declInfo_.preserveSpace = false;
  declInfo_.reserved = true;
}

CCollectionFile::~CCollectionFile() {
  for (xml::CDOMNode* node : removed_) node->release();
  if (document_ != nullptr) document_->release();
}

bool CCollectionFile::load(const std::string& fileName, const Switches& switches, xml::LoadResult& failure) {
  fileName_ = fileName;
  xml::LoadResult result = xml::LoadDocumentFile(platform::AnsiToWide(fileName), declInfo_);
  if (!result) {
    failure = std::move(result);
    return false;
  }
  document_ = result.document.release();
  if (switches.safe && declInfo_.encoding == xml::kCompatibilityEncoding) {
    const unsigned codePage = platform::AnsiCodePage();
    if (DecodeSingleByteTexts(document_, codePage)) codePage_ = codePage;
  }
  return true;
}

xml::SaveResult CCollectionFile::prepareSave(platform::FileReplacement& replacement, const Switches& switches) {
  xml::WriteOptions options;
  // A tree decoded from a code page goes back into it, whatever the switch says now;
  // otherwise safe mode keeps every character that the low 8 bits would lose from
  // being written at all.
  options.codePage = codePage_;
  if (switches.safe) {
    options.emptyContainersWithEndTag = !switches.selfClosingEmptyTags;
    options.strictSingleByte = true;
    options.onlyWhatReadsBack = true;
  }
  // Temporaries of this file that a killed process left are older than the lock.
  const long long since = HelpFilesLock::heldSince();
  if (since >= 0) platform::RemoveStaleTemporaries(fileName_, since);
  if (document_ == nullptr) return xml::SaveResult{xml::SaveOutcome::kNothingToWrite, "", 0, 0};
  return xml::PrepareDocumentFile(document_, platform::AnsiToWide(fileName_), declInfo_, options, replacement);
}

xml::SaveResult CCollectionFile::save(const Switches& switches) {
  platform::FileReplacement replacement;
  xml::SaveResult result = prepareSave(replacement, switches);
  if (result.ok() && !replacement.commit()) {
    result.outcome = xml::SaveOutcome::kWriteFailed;
    result.error = replacement.error();
  }
  return result;
}

void CCollectionFile::detach(xml::CDOMNode* node) {
  if (node == nullptr || isRemoved(node)) return;
  xml::CDOMNode* parent = node->getParentNode();
  if (parent == nullptr || parent->removeChild(node) == nullptr) return;
  removed_.push_back(node);
  removedAt_[node] = ++generation_;
}

bool CCollectionFile::removedSince(xml::CDOMNode* node, unsigned long long generation) const {
  if (removedAt_.empty()) return false;
  // Walks up through every ancestor: a removed subtree's root has no parent, so the
  // walk from anything inside it ends there.
  for (xml::CDOMNode* n = node; n != nullptr; n = n->getParentNode()) {
    const auto found = removedAt_.find(n);
    if (found != removedAt_.end()) return found->second > generation;
  }
  return false;
}

// --- Loading ------------------------------------------------------------------------

void PrintDiagnostic(const char* line) {
  std::printf("%s", line);
  std::fflush(stdout);
}

bool DefaultCollectionName(std::string& name) {
  char buffer[kCollectionFilenameSize];
  if (!ReadDefaultCollectionFilename(buffer, sizeof buffer)) {
    PrintDiagnostic("Failed to get collection filename\n");
    return false;
  }
  name = buffer;
  return true;
}

void FormatParseError(Status& status) {
  std::unique_ptr<xml::CSAXParseException> pending = xml::TakePendingParseError();
  if (!pending) {
    status.setText("NO LAST ERROR");
    return;
  }
  status.setText(platform::WideToAnsi(xml::FormatParseErrorText(*pending)));
}

int LoadFile(const std::string& fileName, const Switches& switches,
             std::unique_ptr<CCollectionFile>& file, Status& status, xml::LoadResult* failure) {
  if (fileName.size() > CCollectionFile::kMaxFileName) {
    status.setText("File name longer than " + std::to_string(CCollectionFile::kMaxFileName) + " characters");
    return QUILLET_E_PARSE;
  }
  std::unique_ptr<HelpFilesLock> lock;
  if (switches.lockFiles) {
    lock = std::make_unique<HelpFilesLock>();
    if (!lock->ok()) {
      status.setText(lock->error());
      return QUILLET_E_LOCKED;
    }
  }
  auto record = std::make_unique<CCollectionFile>();
  xml::LoadResult result;
  if (!record->load(fileName, switches, result)) {
    if (failure != nullptr) {
      failure->openError = result.openError;
      if (result.parseError) failure->parseError = std::make_unique<xml::CSAXParseException>(*result.parseError);
    }
    // A failed load reports through the pending parse error, as the exported calls
    // always have: an unreadable file leaves an earlier pending error in place.
    xml::TakeLoadedDocument(result);
    FormatParseError(status);
    return QUILLET_E_PARSE;
  }
  record->holdLock(std::move(lock));
  file = std::move(record);
  return QUILLET_OK;
}

int CheckCollectionRoot(CCollectionFile& file, Status& status) {
  xml::CDOMElement* root = file.document()->getDocumentElement();
  if (root == nullptr) {
    status.setText("Root element not present");
    return QUILLET_E_NO_ROOT;
  }
  if (!HasTagName(root, "HTMLHelpCollection")) {
    status.setText("HTMLHelpCollection root element not found");
    return QUILLET_E_STRUCTURE;
  }
  return QUILLET_OK;
}

std::string CollectionFileProblem(xml::CDOMDocument* document) {
  xml::CDOMElement* root = document->getDocumentElement();
  if (root == nullptr) return "is not a collection file: it has no root element";
  if (!HasTagName(root, "HTMLHelpCollection"))
    return "is not a collection file: its root element is " + platform::WideToAnsi(root->getNodeName()) +
           ", not HTMLHelpCollection";
  if (FindChildElement(root, "Folders") == nullptr) return "is not a collection file: it has no Folders element";
  return "";
}

int LoadCollectionFile(const std::string& fileName, const Switches& switches, std::unique_ptr<CCollectionFile>& file,
                       Status& status) {
  std::unique_ptr<CCollectionFile> record;
  int code = LoadFile(fileName, switches, record, status);
  if (code != QUILLET_OK) return code;
  if ((code = CheckCollectionRoot(*record, status)) != QUILLET_OK) return code;
  file = std::move(record);
  return QUILLET_OK;
}

int LoadDefaultCollectionFile(const Switches& switches, std::unique_ptr<CCollectionFile>& file, Status& status) {
  std::string name;
  if (!DefaultCollectionName(name)) return QUILLET_E_DEFAULT_COLLECTION;
  return LoadCollectionFile(name, switches, file, status);
}

// --- Messages -------------------------------------------------------------------------

std::string ShownPath(const std::string& path) {
  const std::string host = platform::HostPath(path);
  return host.empty() || host == path ? path : path + " (" + host + ")";
}

std::string DescribeLoadFailure(const xml::LoadResult& failure) {
  if (!failure.parseError) return "cannot be read: " + platform::SystemErrorText(failure.openError);
  const xml::CSAXParseException& e = *failure.parseError;
  // A message is one line of text: it ends at a NUL or a line end it may carry.
  std::string message = platform::WideToAnsi(e.getMessage());
  message = message.substr(0, message.find_first_of(std::string("\0\r\n", 3)));
  return "is not well-formed XML (line " + std::to_string(e.getLineNumber()) + ", column " +
         std::to_string(e.getColumnNumber()) + ": " + message + ", code " + std::to_string(e.getCode()) + ")";
}

std::string DescribeSaveFailure(const xml::SaveResult& result, const std::string& fileName) {
  switch (result.outcome) {
    case xml::SaveOutcome::kWritten: return "";
    case xml::SaveOutcome::kNothingToWrite:
      return "Nothing to write to " + fileName +
             ": the document is empty or its own XML declaration is malformed; the file was left as it was";
    case xml::SaveOutcome::kUnrepresentable:
      if (result.character == 0) return "The code page of " + fileName + " is not supported here; nothing was written";
      return xml::DescribeCharacter(result.character) + " cannot be written in code page " +
             std::to_string(result.codePage) + " (" + fileName + "); nothing was written";
    case xml::SaveOutcome::kWouldNotLoad:
      return "Nothing written to " + fileName + ": it could not be read back, because " + result.error +
             "; the file was left as it was";
    case xml::SaveOutcome::kCannotCreate:
    case xml::SaveOutcome::kWriteFailed: break;
  }
  return "Saving failed: " + result.error + "; the file was left as it was";
}

// --- Saving and backing up -----------------------------------------------------------

int SaveFailure(const xml::SaveResult& result, const std::string& fileName, Status& status) {
  status.setText(DescribeSaveFailure(result, fileName));
  return result.outcome == xml::SaveOutcome::kUnrepresentable ? QUILLET_E_UNREPRESENTABLE : QUILLET_E_WRITE_FAILED;
}

int ReportSave(const xml::SaveResult& result, const std::string& fileName, const Switches& switches,
               Status& status) {
  if (result.ok() || !switches.safe) return QUILLET_OK;
  return SaveFailure(result, fileName, status);
}

int BackupCopy(const std::string& from, const std::string& to, const Switches& switches, Status& status) {
  std::string error;
  if (platform::CopyFileReplacing(from, to, &error)) return QUILLET_OK;
  if (switches.safe) status.setText("Backup failed: " + error + "; the backup was left as it was");
  return QUILLET_E_BACKUP;
}

}  // namespace quillet
