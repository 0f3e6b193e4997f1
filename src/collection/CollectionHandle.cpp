#include "collection/CollectionHandle.h"

#include <cstdio>

#include "api/LastError.h"
#include "api/SafeMode.h"
#include "collection/Navigation.h"
#include "xml/common/U16String.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "xml/dom/loader/PendingParseError.h"

namespace quillet {
namespace {
// Room for the default collection file name as read from the registry settings.
constexpr unsigned long kNameBufferSize = 1024;
}  // namespace

bool DefaultCollectionName(std::string& name) {
  char buffer[kNameBufferSize];
  if (QuilletGetDefaultCollectionFilename(buffer, sizeof buffer) != 1) {
    PrintDiagnostic("Failed to get collection filename\n");
    return false;
  }
  name = buffer;
  return true;
}

void PrintDiagnostic(const char* line) {
  std::printf("%s", line);
  std::fflush(stdout);
}

void FormatParseError() {
  std::unique_ptr<xml::CSAXParseException> pending = xml::TakePendingParseError();
  if (!pending) {
    SetLastErrorText("NO LAST ERROR");
    return;
  }
  SetLastErrorText(platform::WideToMultiByte(xml::FormatParseErrorText(*pending)));
}

int LoadFile(const std::string& fileName, bool multiByteName, std::unique_ptr<CCollectionFile>& file,
             xml::LoadResult* failure) {
  if (fileName.size() > CCollectionFile::kMaxFileName) {
    SetLastErrorText("File name longer than 260 characters");
    return QUILLET_E_PARSE;
  }
  std::unique_ptr<HelpFilesLock> lock;
  if (LockFiles()) {
    lock = std::make_unique<HelpFilesLock>();
    if (!lock->ok()) {
      SetLastErrorText(lock->error());
      return QUILLET_E_LOCKED;
    }
  }
  auto record = std::make_unique<CCollectionFile>();
  const std::u16string wideName =
      multiByteName ? platform::MultiByteToWide(fileName) : platform::AnsiToWide(fileName);
  xml::LoadResult result;
  if (!record->load(fileName, wideName, result)) {
    if (failure != nullptr) {
      failure->openError = result.openError;
      if (result.parseError) failure->parseError = std::make_unique<xml::CSAXParseException>(*result.parseError);
    }
    // The exported calls report a failed load through the pending parse error.
    xml::TakeLoadedDocument(result);
    FormatParseError();
    return QUILLET_E_PARSE;
  }
  record->holdLock(std::move(lock));
  file = std::move(record);
  return QUILLET_OK;
}

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
             std::to_string(platform::AnsiCodePage()) + " (" + fileName + "); nothing was written";
    case xml::SaveOutcome::kWouldNotLoad:
      return "Nothing written to " + fileName + ": it could not be read back, because " + result.error +
             "; the file was left as it was";
    case xml::SaveOutcome::kCannotCreate:
    case xml::SaveOutcome::kWriteFailed: break;
  }
  return "Saving failed: " + result.error + "; the file was left as it was";
}

int ReportSave(const xml::SaveResult& result, const std::string& fileName) {
  if (result.ok() || !SafeMode()) return QUILLET_OK;
  SetLastErrorText(DescribeSaveFailure(result, fileName));
  return result.outcome == xml::SaveOutcome::kUnrepresentable ? QUILLET_E_UNREPRESENTABLE : QUILLET_E_WRITE_FAILED;
}

int BackupCopy(const std::string& from, const std::string& to) {
  std::string error;
  if (platform::CopyFileReplacing(from, to, &error)) return QUILLET_OK;
  if (SafeMode()) SetLastErrorText("Backup failed: " + error + "; the backup was left as it was");
  return QUILLET_E_BACKUP;
}

int CheckCollectionRoot(CCollectionFile& file) {
  xml::CDOMElement* root = file.document()->getDocumentElement();
  if (root == nullptr) {
    SetLastErrorText("Root element not present");
    return QUILLET_E_NO_ROOT;
  }
  if (!HasTagName(root, "HTMLHelpCollection")) {
    SetLastErrorText("HTMLHelpCollection root element not found");
    return QUILLET_E_STRUCTURE;
  }
  return QUILLET_OK;
}

int LoadCollectionFile(const std::string& fileName, std::unique_ptr<CCollectionFile>& file) {
  std::unique_ptr<CCollectionFile> record;
  int code = LoadFile(fileName, true, record);
  if (code != QUILLET_OK) return code;
  if ((code = CheckCollectionRoot(*record)) != QUILLET_OK) return code;
  file = std::move(record);
  return QUILLET_OK;
}

int LoadDefaultCollectionFile(std::unique_ptr<CCollectionFile>& file) {
  std::string name;
  if (!DefaultCollectionName(name)) return QUILLET_E_DEFAULT_COLLECTION;
  return LoadCollectionFile(name, file);
}

bool RequireHandlePlace(unsigned long* place) {
  if (place != nullptr) return true;
  SetLastErrorText("Null handle pointer");
  return false;
}

}  // namespace quillet

int QuilletLoadCollection(const char* fileName, unsigned long* handle) {
  using namespace quillet;
  if (!RequireHandlePlace(handle)) return QUILLET_E_NULL_HANDLE;
  std::unique_ptr<CCollectionFile> file;
  const int code = LoadCollectionFile(CallerText(fileName), file);
  return code != QUILLET_OK ? code : HandOut(std::move(file), 0, handle);
}

int QuilletLoadDefaultCollection(unsigned long* handle) {
  using namespace quillet;
  if (!RequireHandlePlace(handle)) return QUILLET_E_NULL_HANDLE;
  std::unique_ptr<CCollectionFile> file;
  const int code = LoadDefaultCollectionFile(file);
  return code != QUILLET_OK ? code : HandOut(std::move(file), 0, handle);
}

int QuilletSaveCollection(unsigned long handle) {
  quillet::CCollectionFile* file = quillet::RequireFile(handle);
  if (file == nullptr) return QUILLET_E_NULL_HANDLE;
  return quillet::ReportSave(file->save(), file->fileName());
}

void QuilletReleaseCollection(unsigned long handle) {
  if (quillet::HandleTable::instance().lookup<quillet::CCollectionFile>(handle) != nullptr)
    quillet::HandleTable::instance().end(handle);
}

int QuilletBackupDefaultCollection() {
  using namespace quillet;
  std::string name;
  if (!DefaultCollectionName(name)) return QUILLET_E_DEFAULT_COLLECTION;
  platform::PathParts parts = platform::SplitPath(name);
  parts.extension = ".bak";
  return BackupCopy(name, platform::MakePath(parts));
}
