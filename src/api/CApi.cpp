// The C interface: each function forwards to its C++ namesake, so both interfaces
// behave alike by construction. The sized calls are the only ones with logic of their
// own: they fetch the whole text first and copy it only when it fits.
#include "quillet/quillet_c.h"

#include <cstring>
#include <string>

#include "api/Handles.h"
#include "quillet/quillet.h"
#include "api/SafeMode.h"

namespace {

// Copies `text` and its NUL when they fit in `size` bytes; otherwise leaves the empty
// text (when there is room for a NUL at all) and reports the shortfall.
int CopyWhole(const std::string& text, char* buffer, unsigned long size) {
  if (buffer == nullptr || size == 0) return QUILLET_E_BUFFER_TOO_SMALL;
  if (text.size() >= size) {
    buffer[0] = '\0';
    return QUILLET_E_BUFFER_TOO_SMALL;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return QUILLET_OK;
}

}  // namespace

void QuilletCGetVersion(char* buffer) { QuilletGetVersion(buffer); }

int QuilletCGetVersionSized(char* buffer, unsigned long size) {
  char text[64];
  QuilletGetVersion(text);
  return CopyWhole(text, buffer, size);
}

void QuilletCGetLastError(char* buffer, unsigned long size) { QuilletGetLastError(buffer, size); }

int QuilletCGetDefaultCollectionFilename(char* buffer, unsigned long size) {
  return QuilletGetDefaultCollectionFilename(buffer, size);
}

int QuilletCGetDefaultDocumentCollectionFilename(char* buffer, unsigned long size) {
  return QuilletGetDefaultDocumentCollectionFilename(buffer, size);
}

void QuilletSetSafeMode(int on) { quillet::SetSafeMode(on != 0); }

void QuilletSetHtmlHelpSafeOutput(int on) { QuilletSetSafeMode(on); }

void QuilletLockFiles(int on) { quillet::SetLockFiles(on != 0); }

int QuilletCLoadCollection(const char* fileName, unsigned long* handle) {
  return QuilletLoadCollection(fileName, handle);
}

int QuilletCLoadDefaultCollection(unsigned long* handle) { return QuilletLoadDefaultCollection(handle); }

int QuilletCSaveCollection(unsigned long handle) { return QuilletSaveCollection(handle); }

void QuilletCReleaseCollection(unsigned long handle) { QuilletReleaseCollection(handle); }

int QuilletCBackupDefaultCollection(void) { return QuilletBackupDefaultCollection(); }

int QuilletCEnumCollectionRootFolders(unsigned long collection, unsigned long* cursor) {
  return QuilletEnumCollectionRootFolders(collection, cursor);
}

int QuilletCNextCollectionFolder(unsigned long cursor, unsigned long* folder) {
  return QuilletNextCollectionFolder(cursor, folder);
}

int QuilletCEnumSubFolders(unsigned long folder, unsigned long* cursor) {
  return QuilletEnumSubFolders(folder, cursor);
}

int QuilletCGetFolderName(unsigned long folder, char* buffer) { return QuilletGetFolderName(folder, buffer); }

int QuilletCGetFolderNameSized(unsigned long folder, char* buffer, unsigned long size) {
  std::string title;
  const int code = quillet::FolderNameOfHandle(folder, title);
  return code == QUILLET_OK ? CopyWhole(title, buffer, size) : code;
}

int QuilletCAddFolder(unsigned long collection, const char* title, unsigned long* folder) {
  return QuilletAddFolder(collection, title, folder);
}

int QuilletCAddSubFolder(unsigned long folder, const char* title, unsigned long* subFolder) {
  return QuilletAddSubFolder(folder, title, subFolder);
}

int QuilletCFindFolder(unsigned long collection, const char* title, unsigned long* folder) {
  return QuilletFindFolder(collection, title, folder);
}

int QuilletCFindSubFolder(unsigned long folder, const char* title, unsigned long* subFolder) {
  return QuilletFindSubFolder(folder, title, subFolder);
}

void QuilletCDeleteFolder(unsigned long folder) { QuilletDeleteFolder(folder); }

int QuilletCOpenDocInfoFile(const char* fileName, unsigned long* docInfo) {
  return QuilletOpenDocInfo(fileName, docInfo);
}

int QuilletCOpenDocInfoDefault(unsigned long* docInfo) { return QuilletOpenDocInfo(docInfo); }

int QuilletCEnumDocCompilations(unsigned long docInfo, unsigned long* enumeration) {
  return QuilletEnumDocCompilations(docInfo, enumeration);
}

int QuilletCNextDocCompilation(unsigned long enumeration, unsigned long* doc) {
  return QuilletNextDocCompilation(enumeration, doc);
}

int QuilletCFindDoc(unsigned long docInfo, const char* titleId, unsigned long* doc) {
  return QuilletFindDoc(docInfo, titleId, doc);
}

int QuilletCAddDoc(unsigned long docInfo, const char* titleId, unsigned long* doc) {
  return QuilletAddDoc(docInfo, titleId, doc);
}

int QuilletCRemoveDoc(unsigned long doc) { return QuilletRemoveDoc(doc); }

int QuilletCSaveDocInfo(unsigned long docInfo) { return QuilletSaveDocInfo(docInfo); }

void QuilletCCloseDocInfo(unsigned long docInfo) { QuilletCloseDocInfo(docInfo); }

void QuilletCCloseDoc(unsigned long doc) { QuilletCloseDoc(doc); }

int QuilletCBackupDocInfo(void) { return QuilletBackupDocInfo(); }

int QuilletCGetDefaultCollectionNumber(unsigned long docInfo, char* buffer) {
  return QuilletGetDefaultCollectionNumber(docInfo, buffer);
}

int QuilletCGetDefaultCollectionNumberSized(unsigned long docInfo, char* buffer, unsigned long size) {
  std::string number;
  const int code = quillet::DefaultCollectionNumberOfHandle(docInfo, number);
  return code == QUILLET_OK ? CopyWhole(number, buffer, size) : code;
}

int QuilletCGetDocValue(unsigned long doc, long valueId, char* buffer) {
  return QuilletGetDocValue(doc, valueId, buffer);
}

int QuilletCGetDocValueSized(unsigned long doc, long valueId, char* buffer, unsigned long size) {
  std::string value;
  const int code = quillet::DocValueOfHandle(doc, valueId, value);
  return code == QUILLET_OK ? CopyWhole(value, buffer, size) : code;
}

// The C++ call takes a char* it never writes through.
int QuilletCSetDocValue(unsigned long doc, long valueId, const char* value) {
  return QuilletSetDocValue(doc, valueId, const_cast<char*>(value));
}

int QuilletCInstall(const char* folderPath, const char* chmPath, const char* chiPath, const char* titleId) {
  return QuilletInstall(folderPath, chmPath, chiPath, titleId);
}

int QuilletCRemove(const char* folderPath, const char* titleId) { return QuilletRemove(folderPath, titleId); }
