#include "collection/CollectionHandle.h"

#include <cstdio>

#include "api/LastError.h"
#include "collection/Navigation.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "xml/dom/loader/PendingParseError.h"

namespace quillet {
namespace {
// Room for the default collection file name as read from the registry settings.
constexpr unsigned long kNameBufferSize = 1024;

// The default collection's file name, or false after the diagnostic line.
bool DefaultCollectionName(std::string& name) {
  char buffer[kNameBufferSize];
  if (QuilletGetDefaultCollectionFilename(buffer, sizeof buffer) != 1) {
    PrintDiagnostic("Failed to get collection filename\n");
    return false;
  }
  name = buffer;
  return true;
}
}  // namespace

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

int LoadFile(const std::string& fileName, bool multiByteName, std::unique_ptr<CCollectionFile>& file) {
  if (fileName.size() > CCollectionFile::kMaxFileName) {
    SetLastErrorText("File name longer than 260 characters");
    return QUILLET_E_PARSE;
  }
  auto record = std::make_unique<CCollectionFile>();
  const std::u16string wideName =
      multiByteName ? platform::MultiByteToWide(fileName) : platform::AnsiToWide(fileName);
  if (!record->load(fileName, wideName)) {
    FormatParseError();
    return QUILLET_E_PARSE;
  }
  file = std::move(record);
  return QUILLET_OK;
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
  file->save();
  return QUILLET_OK;
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
  return platform::CopyFileReplacing(name, platform::MakePath(parts)) ? QUILLET_OK : QUILLET_E_BACKUP;
}
