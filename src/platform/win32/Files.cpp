// Descriptor I/O through the C runtime in binary mode, file replacement and locks.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/Platform.h"
#include "platform/common/Faults.h"
#include "platform/common/TemporaryNames.h"

namespace quillet::platform {
namespace {

std::string windowsErrorText(DWORD error) {
  char text[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                 sizeof text, nullptr);
  std::string out(text, n);
  while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' ' || out.back() == '.'))
    out.pop_back();
  return out.empty() ? "error " + std::to_string(error) : out;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Puts `temporary` in the place of `target`. ReplaceFile keeps the replaced file's
// attributes and security; a target that does not exist yet is a plain rename.
DWORD replaceWith(const std::string& temporary, const std::string& target) {
  if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
      ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return 0;
  if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  return GetLastError();
}

}  // namespace

std::string SystemErrorText(int error) { return std::strerror(error); }

int OpenForReading(const std::string& path) { return _open(path.c_str(), _O_RDONLY | _O_BINARY); }

int OpenForWriting(const std::string& path) {
  if (detail::ShouldFail(FaultPoint::kOpen)) {
    errno = EACCES;
    return -1;
  }
  return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
}

long ReadFile(int descriptor, void* buffer, size_t size) {
  // _read takes an unsigned count; a larger request simply reads less.
  if (size > static_cast<size_t>(INT_MAX)) size = static_cast<size_t>(INT_MAX);
  return _read(descriptor, buffer, static_cast<unsigned>(size));
}

long WriteFile(int descriptor, const void* buffer, size_t size) {
  if (size > static_cast<size_t>(LONG_MAX)) {
    errno = EFBIG;
    return -1;
  }
  bool injectedFailure = false;
  const size_t allowed = detail::BytesAllowedToWrite(size, injectedFailure);
  const char* p = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < allowed) {
    size_t chunk = allowed - done;
    if (chunk > static_cast<size_t>(INT_MAX)) chunk = static_cast<size_t>(INT_MAX);
    const int n = _write(descriptor, p + done, static_cast<unsigned>(chunk));
    if (n <= 0) return -1;
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
  return _lseek(descriptor, position, SEEK_SET);
}

bool CloseFile(int descriptor) { return _close(descriptor) == 0; }

std::string NotARegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return "";
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "a directory";
  if (attributes & FILE_ATTRIBUTE_DEVICE) return "a device";
  return "";
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
  hostTarget_ = target;
  error_.clear();
  if (const std::string kind = NotARegularFile(target); !kind.empty()) {
    error_ = target_ + " is " + kind + ", not a file: it was left as it is";
    return false;
  }
  if (detail::ShouldFail(FaultPoint::kOpen)) return fail("cannot create a temporary file beside", EACCES);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = detail::NewTemporaryName(target);
    int fd = -1;
    const errno_t error = _sopen_s(&fd, candidate.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYWR,
                                   _S_IREAD | _S_IWRITE);
    if (error == 0) {
      descriptor_ = fd;
      hostTemporary_ = candidate;
      return true;
    }
    if (error != EEXIST) return fail("cannot create a temporary file beside", error);
  }
  return fail("cannot create a temporary file beside", EEXIST);
}

bool FileReplacement::prepare() {
  if (descriptor_ < 0) return fail("nothing to save for", EBADF);
  const int fd = descriptor_;
  descriptor_ = -1;
  int error = 0;
  if (detail::ShouldFail(FaultPoint::kFlush)) error = EIO;
  else if (_commit(fd) != 0) error = errno;  // FlushFileBuffers
  if (_close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    abandon();
    return fail("cannot write", error);
  }
  return true;
}

bool FileReplacement::commit() {
  if (hostTemporary_.empty() || descriptor_ >= 0) return fail("nothing to save for", EBADF);
  if (detail::ShouldFail(FaultPoint::kRename)) {
    abandon();
    return fail("cannot replace", EACCES);
  }
  if (const DWORD error = replaceWith(hostTemporary_, hostTarget_); error != 0) {
    abandon();
    error_ = "cannot replace " + target_ + ": " + windowsErrorText(error);
    return false;
  }
  hostTemporary_.clear();
  return true;
}

void FileReplacement::abandon() {
  if (descriptor_ >= 0) {
    _close(descriptor_);
    descriptor_ = -1;
  }
  if (!hostTemporary_.empty()) {
    DeleteFileA(hostTemporary_.c_str());
    hostTemporary_.clear();
  }
}

int RemoveStaleTemporaries(const std::string& path, long long olderThan) {
  const std::string folder = folderOf(path);
  const std::string base = nameOf(path);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + ".*.qtmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int removed = 0;
  do {
    // The search matched the file's name ignoring letter case, as Windows names are
    // matched: "hhcolreg.dat.<tag>.qtmp" is a temporary of HHCOLREG.DAT too. So the
    // name's own first part stands for the base.
    const std::string name = found.cFileName;
    if (name.size() <= base.size() || !detail::IsTemporaryName(name, name.substr(0, base.size())) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      continue;
    // FILETIME counts 100 ns steps since 1601; the epoch of `olderThan` is 1970.
    const unsigned long long ticks =
        (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
        found.ftLastWriteTime.dwLowDateTime;
    const long long seconds = static_cast<long long>(ticks / 10000000ULL) - 11644473600LL;
    if (seconds >= olderThan) continue;
    if (DeleteFileA((folder + "\\" + found.cFileName).c_str())) ++removed;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return removed;
}

bool CopyFileReplacing(const std::string& from, const std::string& to, std::string* error) {
  auto failed = [&](const std::string& text) {
    if (error != nullptr) *error = text;
    return false;
  };
  if (detail::ShouldFail(FaultPoint::kCopy)) return failed("cannot copy " + from + ": " + SystemErrorText(EIO));
  if (const std::string kind = NotARegularFile(to); !kind.empty())
    return failed(to + " is " + kind + ", not a file: it was left as it is");
  // CopyFileA can leave a partial target behind when it fails, so it copies to a new
  // temporary beside the target, which then replaces the target.
  const std::string temporary = detail::NewTemporaryName(to);
  if (CopyFileA(from.c_str(), temporary.c_str(), TRUE) == 0) {
    const DWORD why = GetLastError();
    DeleteFileA(temporary.c_str());
    return failed("cannot copy " + from + " to " + to + ": " + windowsErrorText(why));
  }
  if (const DWORD why = replaceWith(temporary, to); why != 0) {
    DeleteFileA(temporary.c_str());
    return failed("cannot replace " + to + ": " + windowsErrorText(why));
  }
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
  HANDLE file = CreateFileA(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "cannot open the lock file " + lockFile + ": " + windowsErrorText(GetLastError());
    return false;
  }
  const long step = 10;
  for (long waited = 0;; waited += step) {
    OVERLAPPED at = {};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      handle_ = reinterpret_cast<long long>(file);
      return true;
    }
    const DWORD why = GetLastError();
    if (why != ERROR_LOCK_VIOLATION || waited >= timeoutMilliseconds) {
      CloseHandle(file);
      error = why == ERROR_LOCK_VIOLATION ? "another program kept " + lockFile + " locked for " +
                                                std::to_string(timeoutMilliseconds) + " ms"
                                          : "cannot lock " + lockFile + ": " + windowsErrorText(why);
      return false;
    }
    Sleep(static_cast<DWORD>(step));
  }
}

void FileLock::release() {
  if (handle_ < 0) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));  // closing the handle drops its lock
  handle_ = -1;
}

}  // namespace quillet::platform
