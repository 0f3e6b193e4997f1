// Path splitting and joining through the C runtime.
#include <stdlib.h>

#include <vector>

#include "platform/Platform.h"

namespace quillet::platform {

PathParts SplitPath(const std::string& path) {
  // _splitpath writes each part without knowing the buffers' sizes; no part is
  // longer than the whole path, so buffers of the path's length (and at least the
  // runtime's own limits) can never overflow.
  const size_t room = path.size() + _MAX_PATH;
  std::vector<char> drive(room), directory(room), name(room), extension(room);
  _splitpath(path.c_str(), drive.data(), directory.data(), name.data(), extension.data());
  return PathParts{drive.data(), directory.data(), name.data(), extension.data()};
}

std::string MakePath(const PathParts& parts) {
  // _makepath adds at most a colon, a backslash and a dot to its parts.
  const size_t room = parts.drive.size() + parts.directory.size() + parts.name.size() + parts.extension.size() + 8;
  std::vector<char> path(room > _MAX_PATH ? room : _MAX_PATH);
  _makepath(path.data(), parts.drive.c_str(), parts.directory.c_str(), parts.name.c_str(), parts.extension.c_str());
  return std::string(path.data());
}

}  // namespace quillet::platform
