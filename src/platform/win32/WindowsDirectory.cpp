// The Windows directory and file names: on Windows a library path is already a host
// path, and there is no prefix.
#include <windows.h>

#include <io.h>

#include "platform/Platform.h"

namespace quillet::platform {

void SetPrefix(const std::string&) {}

std::string Prefix() { return std::string(); }

bool WindowsDirectory(std::string& directory) {
  char buffer[MAX_PATH + 1];
  const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
  // 0 is failure; a length past the buffer is the size the directory would need.
  if (length == 0 || length >= sizeof buffer) return false;
  directory.assign(buffer, length);
  return true;
}

bool FileExists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

std::string HostPath(const std::string& path) { return path; }

}  // namespace quillet::platform
