#include "HelpEnvironment.h"

#include <windows.h>

#include <stdlib.h>

#include "quillet/quillet.h"
#include "quillet/quillet_c.h"

namespace quillet::windows_test {

const char* const kDeveloperCollections = "SOFTWARE\\Microsoft\\HTML Help Collections\\Developer Collections";

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

void MakeFolders(const std::string& folder) {
  if (folder.size() <= 3 || Exists(folder)) return;  // "C:\" or already there
  MakeFolders(FolderOf(folder));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder << ": error " << GetLastError();
}

// Deletes a folder and everything in it; the tests' folders are a few levels deep.
void RemoveTree(const std::string& folder) {
  for (const std::string& name : FilesMatching(folder, "*")) {
    const std::string path = folder + "\\" + name;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      RemoveTree(path);
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string WindowsDirectory() {
  char buffer[MAX_PATH + 1];
  const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
  return std::string(buffer, length);
}

std::string HelpDirectory() { return WindowsDirectory() + "\\Help\\"; }

std::string AllUsersHelpDirectory() {
  return WindowsDirectory().substr(0, 2) + "\\Documents and Settings\\All Users\\Application Data\\Microsoft\\HTML Help\\";
}

std::string WorkDirectory() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  return std::string(buffer, length) + "quillet-windows-tests\\";
}

void SetStringValue(const std::string& key, const char* name, const std::string& value, bool withNul) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
            ERROR_SUCCESS)
      << key;
  const LONG result = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + (withNul ? 1 : 0)));
  RegCloseKey(handle);
  ASSERT_EQ(result, ERROR_SUCCESS) << key << " " << name;
}

void DeleteKeyTree(const std::string& key) { RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str()); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  MakeFolders(FolderOf(path));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path << ": error " << GetLastError();
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_TRUE(ok && written == bytes.size()) << path;
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot read " << path << ": error " << GetLastError();
    return "";
  }
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const bool separated = !folder.empty() && folder.back() == '\\';
  HANDLE search = FindFirstFileA((folder + (separated ? "" : "\\") + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string RegistryText(const std::string& collectionFile, const std::string& number, const std::string& entries) {
  return "<XML>\r\n<HTMLHelpDocInfo>\r\n<NextCollectionId value=2/>\r\n<Collections>\r\n<Collection>\r\n"
         "\t<ColNum value=" + number + "/>\r\n\t<ColName value=\"" + collectionFile + "\"/>\r\n"
         "</Collection>\r\n</Collections>\r\n<Locations>\r\n</Locations>\r\n<DocCompilations>\r\n" + entries +
         "</DocCompilations>\r\n</HTMLHelpDocInfo>\r\n</XML>\r\n";
}

std::string CollectionText(const std::string& folders) {
  return "<XML>\r\n<HTMLHelpCollection>\r\n<masterlangid value=1033/>\r\n<collectionnum value=1/>\r\n"
         "<Folders>\r\n" + folders + "</Folders>\r\n</HTMLHelpCollection>\r\n</XML>\r\n";
}

std::string LastError() {
  char text[2048] = {};
  QuilletGetLastError(text, sizeof text);
  return text;
}

std::string DocValue(unsigned long doc, long id) {
  char value[1024] = {};
  if (QuilletGetDocValue(doc, id, value) != 0) return "(none)";
  return value;
}

void HelpEnvironmentTest::SetUp() { Clean(); }

void HelpEnvironmentTest::TearDown() { Clean(); }

void HelpEnvironmentTest::Clean() {
  DeleteKeyTree("SOFTWARE\\Microsoft\\HTML Help Collections");
  // Only the files the tests make: on Windows these folders hold other programs' files.
  for (const std::string& folder : {HelpDirectory(), AllUsersHelpDirectory()}) {
    for (const char* name : {"HHCOLREG.DAT", "HHCOLREG.BAK", "hhcolreg.lck"}) DeleteFileA((folder + name).c_str());
    for (const std::string& name : FilesMatching(folder, "*.qtmp")) DeleteFileA((folder + name).c_str());
  }
  RemoveTree(WorkDirectory().substr(0, WorkDirectory().size() - 1));
  QuilletSetSafeMode(0);
  QuilletLockFiles(0);
  _putenv("QUILLET_LOCK_TIMEOUT=");
}

void HelpEnvironmentTest::NameDefaultCollection(const std::string& collectionFile) {
  SetStringValue(kDeveloperCollections, "Language", "0x0409");
  SetStringValue(std::string(kDeveloperCollections) + "\\0x0409", "Preferred", "Tests");
  SetStringValue(std::string(kDeveloperCollections) + "\\0x0409\\Tests", "Filename", collectionFile);
}

void HelpEnvironmentTest::SetUpHelp() {
  collection_ = WorkDirectory() + "tests.col";
  registry_ = HelpDirectory() + "HHCOLREG.DAT";
  NameDefaultCollection(collection_);
  WriteBytes(collection_, CollectionText());
  WriteBytes(registry_, RegistryText(collection_));
}

}  // namespace quillet::windows_test
