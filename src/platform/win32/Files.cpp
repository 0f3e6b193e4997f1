// Descriptor I/O through the C runtime in binary mode, and file replacement.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <climits>

#include "platform/Platform.h"
#include "platform/common/WriteFailure.h"

namespace quillet::platform {

int OpenForReading(const std::string& path) { return _open(path.c_str(), _O_RDONLY | _O_BINARY); }

int OpenForWriting(const std::string& path) {
  return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
}

long ReadFile(int descriptor, void* buffer, size_t size) {
  // _read takes an unsigned count; a larger request simply reads less.
  if (size > static_cast<size_t>(INT_MAX)) size = static_cast<size_t>(INT_MAX);
  return _read(descriptor, buffer, static_cast<unsigned>(size));
}

long WriteFile(int descriptor, const void* buffer, size_t size) {
  if (size > static_cast<size_t>(LONG_MAX)) return -1;
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
  return injectedFailure ? -1 : static_cast<long>(done);
}

long SeekFile(int descriptor, long position) {
  if (position < 0) return -1;
  return _lseek(descriptor, position, SEEK_SET);
}

bool CloseFile(int descriptor) { return _close(descriptor) == 0; }

bool CommitReplacing(const std::string& temporary, const std::string& target) {
  // A rename within one folder replaces the target in one step; the replaced file's
  // security settings go with the folder's inheritance, as for any save on Windows.
  if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
  DeleteFileA(temporary.c_str());
  return false;
}

void DiscardTemporary(const std::string& temporary) { DeleteFileA(temporary.c_str()); }

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  // CopyFileA can leave a partial target behind when it fails, so it copies to a
  // temporary beside the target, which then replaces the target.
  const std::string temporary = TemporaryPathBeside(to);
  if (CopyFileA(from.c_str(), temporary.c_str(), TRUE) == 0) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return CommitReplacing(temporary, to);
}

}  // namespace quillet::platform
