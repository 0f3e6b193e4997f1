#include "HostFiles.h"

#include <filesystem>
#include <system_error>

#include "platform/Platform.h"

namespace quillet::tool {

namespace platform = quillet::platform;

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  const int fd = platform::OpenForReading(path);
  if (fd < 0) {
    error = "cannot open " + path + " for reading";
    return false;
  }
  bytes.clear();
  char buffer[65536];
  long got;
  while ((got = platform::ReadFile(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(got));
  platform::CloseFile(fd);
  if (got < 0) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

namespace {
// The platform layer has no directory creation: the library never makes one. The
// tool is the only part that sets up a prefix, so it asks the standard library.
bool CreateParentDirectories(const std::string& path, std::string& error) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  if (ec || !std::filesystem::is_directory(parent, ec)) {
    error = "cannot create the directory " + parent.string();
    return false;
  }
  return true;
}
}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
  if (!CreateParentDirectories(path, error)) return false;
  const std::string temporary = platform::TemporaryPathBeside(path);
  const int fd = platform::OpenForWriting(temporary);
  if (fd < 0) {
    error = "cannot create " + temporary;
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const long wrote = platform::WriteFile(fd, bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) break;
    done += static_cast<size_t>(wrote);
  }
  const bool closed = platform::CloseFile(fd);
  if (done != bytes.size() || !closed) {
    platform::DiscardTemporary(temporary);
    error = "cannot write " + path + " (it was left as it was)";
    return false;
  }
  if (!platform::CommitReplacing(temporary, path)) {
    platform::DiscardTemporary(temporary);
    error = "cannot replace " + path + " (it was left as it was)";
    return false;
  }
  return true;
}

}  // namespace quillet::tool
