#include "collection/Location.h"

#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/Platform.h"

namespace quillet {
namespace {

constexpr char kHelpSubdirectory[] = "\\Help\\";
constexpr char kRegistryFileBelowWindows[] = "\\Help\\HHCOLREG.DAT";
constexpr char kAllUsersRegistryName[] = "hhcolreg";
constexpr char kAllUsersRegistryExtension[] = ".dat";

bool readWindowsDirectory(std::string& directory) {
  std::string read;
  if (!platform::WindowsDirectory(read) || read.size() + 1 > kWindowsDirectorySize) return false;
  directory = std::move(read);
  return true;
}

// Reads a registry value (or, with `subkeyIndex` set, a subkey's name) into a
// scratch buffer of `size` bytes and copies it out only when it arrived whole and
// NUL-terminated, so a failed read leaves the caller's buffer as it was.
bool readRegistryText(platform::RegistryKey& key, const char* valueName, bool subkeyInstead, char* buffer,
                      unsigned long size) {
  if (buffer == nullptr || size == 0) return false;
  std::vector<char> scratch(size, '\0');
  const bool ok = subkeyInstead ? key.subkeyName(0, scratch.data(), size)
                                : key.queryValue(valueName, scratch.data(), size);
  if (!ok || std::memchr(scratch.data(), '\0', size) == nullptr) return false;
  std::memcpy(buffer, scratch.data(), std::strlen(scratch.data()) + 1);
  return true;
}

// The Developer Collections key path followed by each part behind a backslash; false
// when it would not fit the key-path buffer.
bool developerKeyPath(std::initializer_list<const char*> parts, std::string& path) {
  path = kDeveloperCollectionsKey;
  for (const char* part : parts) {
    if (part == nullptr) return false;
    path += '\\';
    path += part;
  }
  return path.size() + 1 <= kRegistryKeyPathSize;
}

}  // namespace

bool LocateWindowsHelpDir(std::string& directory) {
  std::string windows;
  if (!readWindowsDirectory(windows) || !platform::FileExists(windows + kRegistryFileBelowWindows)) return false;
  // The directory is read afresh for the result, as the first read only served the test.
  if (!readWindowsDirectory(windows)) return false;
  directory = windows + kHelpSubdirectory;
  return true;
}

std::string AllUsersHelpDirFor(const std::string& windowsDirectory) {
  platform::PathParts parts = platform::SplitPath(windowsDirectory);
  parts.directory = kAllUsersHelpDirectory;
  parts.name.clear();
  parts.extension.clear();
  return platform::MakePath(parts);
}

bool LocateAllUsersHelpDir(std::string& directory) {
  std::string windows;
  if (!readWindowsDirectory(windows)) return false;
  platform::PathParts parts = platform::SplitPath(windows);
  parts.directory = kAllUsersHelpDirectory;
  parts.name = kAllUsersRegistryName;
  parts.extension = kAllUsersRegistryExtension;
  if (!platform::FileExists(platform::MakePath(parts))) return false;
  directory = AllUsersHelpDirFor(windows);
  return true;
}

bool LocateCollectionDir(std::string& directory) {
  return LocateWindowsHelpDir(directory) || LocateAllUsersHelpDir(directory);
}

bool ReadHelpLanguage(char* buffer, unsigned long size) {
  auto key = platform::OpenLocalMachineKey(kDeveloperCollectionsKey);
  return key && readRegistryText(*key, "Language", false, buffer, size);
}

bool ReadPreferredCollection(const char* language, char* buffer, unsigned long size) {
  std::string path;
  if (!developerKeyPath({language}, path)) return false;
  auto key = platform::OpenLocalMachineKey(path);
  if (!key) return false;
  return readRegistryText(*key, "Preferred", false, buffer, size) ||
         readRegistryText(*key, nullptr, true, buffer, size);
}

bool ReadCollectionFilename(const char* language, const char* preferred, char* buffer, unsigned long size) {
  std::string path;
  if (!developerKeyPath({language, preferred}, path)) return false;
  auto key = platform::OpenLocalMachineKey(path);
  return key && readRegistryText(*key, "Filename", false, buffer, size);
}

bool ReadDefaultCollectionFilename(char* buffer, unsigned long size) {
  char language[kRegistryTextSize];
  char preferred[kRegistryTextSize];
  return ReadHelpLanguage(language, sizeof language) && ReadPreferredCollection(language, preferred, sizeof preferred) &&
         ReadCollectionFilename(language, preferred, buffer, size);
}

bool FindRegistryFile(std::string& path) {
  std::string directory;
  if (!LocateCollectionDir(directory) || !platform::FileExists(directory + kRegistryFileName)) return false;
  path = directory + kRegistryFileName;
  return true;
}

}  // namespace quillet
