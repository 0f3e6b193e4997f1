#include "HostFiles.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/Platform.h"

namespace quillet::tool {

namespace platform = quillet::platform;

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  const int fd = platform::OpenForReading(path);
  if (fd < 0) {
    error = "cannot open " + path + " for reading: " + platform::SystemErrorText(errno);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  long got;
  while ((got = platform::ReadFile(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(got));
  const int why = errno;
  platform::CloseFile(fd);
  if (got < 0) {
    error = "cannot read " + path + ": " + platform::SystemErrorText(why);
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
  platform::FileReplacement file;
  if (!file.open(path)) {
    error = file.error();
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const long wrote = platform::WriteFile(file.descriptor(), bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) {
      error = "cannot write " + path + ": " + platform::SystemErrorText(errno) + " (it was left as it was)";
      return false;
    }
    done += static_cast<size_t>(wrote);
  }
  if (!file.prepare() || !file.commit()) {
    error = file.error() + " (it was left as it was)";
    return false;
  }
  return true;
}

}  // namespace quillet::tool
