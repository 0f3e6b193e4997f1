// Descriptor I/O, copying and replacing files on the host.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/Platform.h"
#include "platform/common/Faults.h"
#include "platform/common/TemporaryNames.h"

namespace quillet::platform {
namespace {

// Links are followed at most this many times, as the kernel does before ELOOP.
constexpr int kMaxLinkHops = 40;

int openHost(const std::string& host, int flags, mode_t mode = 0) {
  if (host.empty()) {
    errno = ENOENT;
    return -1;
  }
  int fd;
  do {
    fd = ::open(host.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::string folderOf(const std::string& host) {
  const size_t slash = host.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : host.substr(0, slash);
}

std::string nameOf(const std::string& host) {
  const size_t slash = host.rfind('/');
  return slash == std::string::npos ? host : host.substr(slash + 1);
}

// The file a host path ends up at once symbolic links are followed; the path itself
// when it is not a link or does not exist. Empty (errno set) for a loop.
std::string followLinks(std::string host) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (::lstat(host.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return host;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(host.c_str(), &target[0], target.size());
    if (n < 0) return host;
    target.resize(static_cast<size_t>(n));
    host = !target.empty() && target[0] == '/' ? target : folderOf(host) + "/" + target;
  }
  errno = ELOOP;
  return std::string();
}

const char* kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return S_ISREG(mode) ? "" : "not a regular file";
}

mode_t currentUmask() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

void syncFolder(const std::string& folder) {
  const int fd = openHost(folder, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);  // not every file system can; the rename is done either way
  ::close(fd);
}

}  // namespace

std::string SystemErrorText(int error) { return std::strerror(error); }

int OpenForReading(const std::string& path) {
  const int fd = openHost(HostPath(path), O_RDONLY);
  // A directory opens on this system but reads as nothing; Windows refuses to open
  // it, and so does this.
  struct stat info;
  if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

int OpenForWriting(const std::string& path) {
  if (detail::ShouldFail(FaultPoint::kOpen)) {
    errno = EACCES;
    return -1;
  }
  return openHost(HostPath(path), O_WRONLY | O_CREAT | O_TRUNC, 0666);
}

long ReadFile(int descriptor, void* buffer, size_t size) {
  if (size > static_cast<size_t>(LONG_MAX)) size = static_cast<size_t>(LONG_MAX);
  ssize_t n;
  do {
    n = ::read(descriptor, buffer, size);
  } while (n < 0 && errno == EINTR);
  return static_cast<long>(n);
}

long WriteFile(int descriptor, const void* buffer, size_t size) {
  if (size > static_cast<size_t>(LONG_MAX)) {
    errno = EFBIG;
    return -1;
  }
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
  if (injectedFailure) {
    errno = ENOSPC;
    return -1;
  }
  return static_cast<long>(done);
}

long SeekFile(int descriptor, long position) {
  if (position < 0) return -1;
  const off_t at = ::lseek(descriptor, static_cast<off_t>(position), SEEK_SET);
  return at < 0 || at > static_cast<off_t>(LONG_MAX) ? -1 : static_cast<long>(at);
}

bool CloseFile(int descriptor) { return ::close(descriptor) == 0; }

std::string NotARegularFile(const std::string& path) {
  // stat() follows links itself, the kernel's own (/dev/stdin) included.
  const std::string host = HostPath(path);
  struct stat info;
  if (host.empty() || ::stat(host.c_str(), &info) != 0) return "";
  return kindOf(info.st_mode);
}

// --- FileReplacement ------------------------------------------------------------------

FileReplacement::~FileReplacement() { abandon(); }

bool FileReplacement::fail(const std::string& what, int systemError) {
  error_ = what + " " + target_ + ": " + SystemErrorText(systemError);
  return false;
}

bool FileReplacement::open(const std::string& target) {
  abandon();
  target_ = target;
  error_.clear();
  if (const std::string kind = NotARegularFile(target); !kind.empty()) {
    error_ = target_ + " is " + kind + ", not a file: it was left as it is";
    return false;
  }
  hostTarget_ = followLinks(HostPath(target));
  if (hostTarget_.empty()) return fail("cannot find where to write", errno != 0 ? errno : ENOENT);
  if (detail::ShouldFail(FaultPoint::kOpen)) return fail("cannot create a temporary file beside", EACCES);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = detail::NewTemporaryName(hostTarget_);
    descriptor_ = openHost(candidate, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (descriptor_ >= 0) {
      hostTemporary_ = candidate;
      return true;
    }
    if (errno != EEXIST) break;
  }
  return fail("cannot create a temporary file beside", errno);
}

bool FileReplacement::prepare() {
  if (descriptor_ < 0) return fail("nothing to save for", EBADF);
  const int fd = descriptor_;
  descriptor_ = -1;
  int error = 0;
  if (detail::ShouldFail(FaultPoint::kFlush)) error = EIO;
  else if (::fsync(fd) != 0) error = errno;
  if (error == 0) {
    struct stat old;
    if (::stat(hostTarget_.c_str(), &old) == 0) {
      // Owner and group first: changing them may clear the set-id bits that the
      // mode then restores. Only a privileged process may give a file away; anyone
      // else keeps the new file as their own.
      if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
      if (::fchmod(fd, old.st_mode & 07777) != 0) error = errno;
    } else if (::fchmod(fd, newFileMode_ >= 0 ? static_cast<mode_t>(newFileMode_) : 0666 & ~currentUmask()) != 0) {
      error = errno;
    }
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    abandon();
    return fail("cannot write", error);
  }
  return true;
}

bool FileReplacement::commit() {
  if (hostTemporary_.empty() || descriptor_ >= 0) return fail("nothing to save for", EBADF);
  int error = 0;
  // Looked at again right before the rename: a target that became something other
  // than a file meanwhile is never replaced by one.
  struct stat info;
  if (::stat(hostTarget_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) error = EISDIR;
  else if (detail::ShouldFail(FaultPoint::kRename)) error = EACCES;
  else if (::rename(hostTemporary_.c_str(), hostTarget_.c_str()) != 0) error = errno;
  if (error != 0) {
    abandon();
    return fail("cannot replace", error);
  }
  hostTemporary_.clear();
  syncFolder(folderOf(hostTarget_));
  return true;
}

void FileReplacement::abandon() {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
  if (!hostTemporary_.empty()) {
    ::unlink(hostTemporary_.c_str());
    hostTemporary_.clear();
  }
}

int RemoveStaleTemporaries(const std::string& path, long long olderThan) {
  const std::string host = followLinks(HostPath(path));
  if (host.empty()) return 0;
  const std::string folder = folderOf(host);
  const std::string base = nameOf(host);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!detail::IsTemporaryName(name, base)) continue;
    const std::string full = folder + "/" + name;
    struct stat info;
    if (::lstat(full.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (static_cast<long long>(info.st_mtime) >= olderThan) continue;
    if (::unlink(full.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

bool CopyFileReplacing(const std::string& from, const std::string& to, std::string* error) {
  std::string why;
  auto failed = [&](const std::string& text) {
    if (error != nullptr) *error = text;
    return false;
  };
  if (detail::ShouldFail(FaultPoint::kCopy)) return failed("cannot copy " + from + ": " + SystemErrorText(EIO));
  const int source = OpenForReading(from);
  if (source < 0) return failed("cannot read " + from + ": " + SystemErrorText(errno));
  struct stat info;
  if (::fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(source);
    return failed("cannot copy " + from + ": it is not a file");
  }
  // The copy is written beside the target and put in its place only when complete,
  // so a failure at any point leaves the old target untouched. Like a Windows copy, a
  // new copy takes the source's permissions; a replaced one keeps its own.
  FileReplacement copy;
  copy.setNewFileMode(static_cast<int>(info.st_mode & 0777));
  if (!copy.open(to)) {
    ::close(source);
    return failed(copy.error());
  }
  char block[65536];
  for (;;) {
    const long n = ReadFile(source, block, sizeof block);
    if (n == 0) break;
    if (n < 0) {
      why = "cannot read " + from + ": " + SystemErrorText(errno);
      break;
    }
    if (WriteFile(copy.descriptor(), block, static_cast<size_t>(n)) != n) {
      why = "cannot write " + to + ": " + SystemErrorText(errno);
      break;
    }
  }
  ::close(source);
  if (!why.empty()) return failed(why);
  if (!copy.prepare() || !copy.commit()) return failed(copy.error());
  return true;
}

// --- FileLock ---------------------------------------------------------------------------

FileLock::~FileLock() { release(); }

bool FileLock::acquire(const std::string& lockFile, long timeoutMilliseconds, std::string& error) {
  release();
  if (detail::ShouldFail(FaultPoint::kLock)) {
    error = "cannot lock " + lockFile + ": " + SystemErrorText(EACCES);
    return false;
  }
  const int fd = openHost(HostPath(lockFile), O_RDWR | O_CREAT, 0666);
  if (fd < 0) {
    error = "cannot open the lock file " + lockFile + ": " + SystemErrorText(errno);
    return false;
  }
  // An open-file-description lock where the system has one: it belongs to this
  // descriptor alone, so closing some other descriptor of the same file in this
  // process cannot drop it.
#ifdef F_OFD_SETLK
  const int command = F_OFD_SETLK;
#else
  const int command = F_SETLK;
#endif
  const long step = 10;
  for (long waited = 0;; waited += step) {
    struct flock lock;
    std::memset(&lock, 0, sizeof lock);
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, command, &lock) == 0) {
      handle_ = fd;
      return true;
    }
    const int why = errno;
    if ((why != EAGAIN && why != EACCES && why != EINTR) || waited >= timeoutMilliseconds) {
      ::close(fd);
      error = why == EAGAIN || why == EACCES
                  ? "another program kept " + lockFile + " locked for " + std::to_string(timeoutMilliseconds) +
                        " ms"
                  : "cannot lock " + lockFile + ": " + SystemErrorText(why);
      return false;
    }
    struct timespec pause = {0, step * 1000000L};
    ::nanosleep(&pause, nullptr);
  }
}

void FileLock::release() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));  // closing the descriptor drops its lock
  handle_ = -1;
}

}  // namespace quillet::platform
