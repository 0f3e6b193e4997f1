// Splitting and joining paths the way the C runtime's _splitpath and _makepath do.
#include "platform/Platform.h"

namespace quillet::platform {
namespace {
bool isSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive = path.substr(0, 2);
    start = 2;
  }
  size_t nameStart = start;
  for (size_t i = start; i < path.size(); ++i) {
    if (isSeparator(path[i])) nameStart = i + 1;
  }
  parts.directory = path.substr(start, nameStart - start);
  // The extension starts at the last dot of the final component; a name without a
  // dot has none, and a name that starts with its only dot is all extension.
  const size_t dot = path.find_last_of('.');
  const size_t extStart = dot != std::string::npos && dot >= nameStart ? dot : path.size();
  parts.name = path.substr(nameStart, extStart - nameStart);
  parts.extension = path.substr(extStart);
  return parts;
}

std::string MakePath(const PathParts& parts) {
  std::string path;
  if (!parts.drive.empty()) {
    path += parts.drive[0];
    path += ':';
  }
  if (!parts.directory.empty()) {
    path += parts.directory;
    if (!isSeparator(parts.directory.back())) path += '\\';
  }
  path += parts.name;
  if (!parts.extension.empty()) {
    if (parts.extension[0] != '.') path += '.';
    path += parts.extension;
  }
  return path;
}

}  // namespace quillet::platform
