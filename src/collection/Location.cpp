#include "collection/Location.h"

#include <cstring>
#include <initializer_list>
#include <vector>

#include "api/LastError.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"

namespace quillet {
namespace {

constexpr char kHelpSubdirectory[] = "\\Help\\";
constexpr char kRegistryFileBelowWindows[] = "\\Help\\HHCOLREG.DAT";
constexpr char kAllUsersRegistryName[] = "hhcolreg";
constexpr char kAllUsersRegistryExtension[] = ".dat";
constexpr char kNotFoundText[] = "HHCOLREG.DAT in %windows%\\HELP not found";

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

}  // namespace quillet

int QuilletGetDefaultCollectionFilename(char* buffer, unsigned long size) {
  char language[quillet::kRegistryTextSize];
  char preferred[quillet::kRegistryTextSize];
  return quillet::ReadHelpLanguage(language, sizeof language) &&
                 quillet::ReadPreferredCollection(language, preferred, sizeof preferred) &&
                 quillet::ReadCollectionFilename(language, preferred, buffer, size)
             ? 1
             : 0;
}

int QuilletGetDefaultDocumentCollectionFilename(char* buffer, unsigned long size) {
  std::string directory;
  if (!quillet::LocateCollectionDir(directory) ||
      !quillet::platform::FileExists(directory + quillet::kRegistryFileName)) {
    quillet::SetLastErrorText(quillet::kNotFoundText);
    return 0;
  }
  quillet::CopyTextBounded(directory + quillet::kRegistryFileName, buffer, size);
  return 1;
}
