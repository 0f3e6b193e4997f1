// Windows paths onto the prefix's host directories.
#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <vector>

#include "platform/Platform.h"

namespace quillet::platform {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool entryExists(const std::string& hostPath) {
  struct stat info;
  return lstat(hostPath.c_str(), &info) == 0;
}

bool sameIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == '\0') return false;
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return b[i] == '\0';
}

// The entry of `directory` whose name equals `name` ignoring the case of ASCII
// letters. When several do (possible on a case-sensitive host), the smallest name
// wins so that the choice does not depend on the directory's order.
bool findIgnoringCase(const std::string& directory, const std::string& name, std::string& found) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return false;
  bool any = false;
  while (const dirent* entry = readdir(dir)) {
    if (!sameIgnoringCase(name, entry->d_name)) continue;
    if (!any || found.compare(entry->d_name) > 0) found = entry->d_name;
    any = true;
  }
  closedir(dir);
  return any;
}

// The components of the part of a Windows path after its drive, with "." dropped
// and ".." taking away the one before it (never climbing above the drive's root),
// as Windows normalises a path before using it.
std::vector<std::string> components(const std::string& rest) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < rest.size()) {
    while (i < rest.size() && isSeparator(rest[i])) ++i;
    size_t end = i;
    while (end < rest.size() && !isSeparator(rest[end])) ++end;
    if (end > i) {
      std::string part = rest.substr(i, end - i);
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (part != ".") {
        parts.push_back(std::move(part));
      }
    }
    i = end;
  }
  return parts;
}

}  // namespace

std::string HostPath(const std::string& path) {
  if (!hasDriveLetter(path)) return path;
  const std::string prefix = Prefix();
  if (prefix.empty()) return std::string();  // no prefix: a Windows path names nothing

  const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
  std::string result = prefix + "/dosdevices/" + drive + ":";
  if (!entryExists(result)) result = prefix + "/drive_" + drive;

  // Each component takes the spelling of an existing entry; from the first one that
  // does not exist on, the rest is kept as written (it names something to create).
  bool resolving = true;
  for (const std::string& part : components(path.substr(2))) {
    std::string next = result + "/" + part;
    if (resolving && !entryExists(next)) {
      std::string spelled;
      if (findIgnoringCase(result, part, spelled)) {
        next = result + "/" + spelled;
      } else {
        resolving = false;
      }
    }
    result = std::move(next);
  }
  if (path.size() > 2 && isSeparator(path.back())) result += '/';
  return result;
}

bool FileExists(const std::string& path) {
  const std::string host = HostPath(path);
  struct stat info;
  return !host.empty() && stat(host.c_str(), &info) == 0;
}

}  // namespace quillet::platform
