// Descriptor I/O, copying and replacing files on the host.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/Platform.h"
#include "platform/common/WriteFailure.h"

namespace quillet::platform {
namespace {

int openHost(const std::string& path, int flags, mode_t mode = 0) {
  const std::string host = HostPath(path);
  if (host.empty()) return -1;
  int fd;
  do {
    fd = ::open(host.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

int OpenForReading(const std::string& path) { return openHost(path, O_RDONLY); }

int OpenForWriting(const std::string& path) { return openHost(path, O_WRONLY | O_CREAT | O_TRUNC, 0666); }

long ReadFile(int descriptor, void* buffer, size_t size) {
  if (size > static_cast<size_t>(LONG_MAX)) size = static_cast<size_t>(LONG_MAX);
  ssize_t n;
  do {
    n = ::read(descriptor, buffer, size);
  } while (n < 0 && errno == EINTR);
  return static_cast<long>(n);
}

long WriteFile(int descriptor, const void* buffer, size_t size) {
  if (size > static_cast<size_t>(LONG_MAX)) return -1;
  bool injectedFailure = false;
  const size_t allowed = detail::BytesAllowedToWrite(size, injectedFailure);
  // write() may take fewer bytes than offered; keep going until all are out.
  const char* p = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < allowed) {
    const ssize_t n = ::write(descriptor, p + done, allowed - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  return injectedFailure ? -1 : static_cast<long>(done);
}

long SeekFile(int descriptor, long position) {
  if (position < 0) return -1;
  const off_t at = ::lseek(descriptor, static_cast<off_t>(position), SEEK_SET);
  return at < 0 || at > static_cast<off_t>(LONG_MAX) ? -1 : static_cast<long>(at);
}

bool CloseFile(int descriptor) { return ::close(descriptor) == 0; }

bool CommitReplacing(const std::string& temporary, const std::string& target) {
  const std::string from = HostPath(temporary);
  const std::string to = HostPath(target);
  if (from.empty() || to.empty()) return false;
  // The new file takes over the permissions of the one it replaces, so that saving a
  // registry never loosens (or tightens) who may read it.
  struct stat old;
  if (::stat(to.c_str(), &old) == 0) ::chmod(from.c_str(), old.st_mode & 07777);
  if (::rename(from.c_str(), to.c_str()) != 0) {
    ::unlink(from.c_str());
    return false;
  }
  return true;
}

void DiscardTemporary(const std::string& temporary) {
  const std::string host = HostPath(temporary);
  if (!host.empty()) ::unlink(host.c_str());
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  const int source = OpenForReading(from);
  if (source < 0) return false;
  struct stat info;
  if (::fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(source);
    return false;
  }
  // The copy is written beside the target under another name and renamed over it
  // only when complete, so a failure at any point leaves the old target untouched.
  const std::string temporary = TemporaryPathBeside(to);
  const int target = openHost(temporary, O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (target < 0) {
    ::close(source);
    return false;
  }
  bool ok = true;
  char block[65536];
  for (;;) {
    const long n = ReadFile(source, block, sizeof block);
    if (n == 0) break;
    if (n < 0 || WriteFile(target, block, static_cast<size_t>(n)) != n) {
      ok = false;
      break;
    }
  }
  ::close(source);
  if (!CloseFile(target)) ok = false;
  // Like a Windows copy, the copy keeps the source's attributes.
  if (ok) ok = ::chmod(HostPath(temporary).c_str(), info.st_mode & 07777) == 0;
  const std::string toHost = HostPath(to);
  if (ok) ok = !toHost.empty() && ::rename(HostPath(temporary).c_str(), toHost.c_str()) == 0;
  if (!ok) DiscardTemporary(temporary);
  return ok;
}

}  // namespace quillet::platform
