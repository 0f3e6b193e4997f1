// The platform layer: everything the library needs from Windows, behind one small
// interface with two backends.
//
// - win32/: the real Win32 API (registry, Windows directory, CopyFileA, the ANSI
//   code page) and the C runtime's descriptor I/O.
// - portable/: every other system. It works on a prefix directory laid out as Wine
//   lays one out: Windows paths map onto <prefix>/dosdevices/x: or <prefix>/drive_x,
//   the registry is read from <prefix>/system.reg, and the ANSI code page is UTF-8.
//
// Paths given to this layer are the library's own file names: Windows paths such as
// "C:\windows\Help\hhcolreg.dat" (mapped onto the prefix by the portable backend) or,
// without a drive letter, host paths used as they are. Nothing outside src/platform/
// includes <windows.h> or touches the host file system except through here.
#ifndef QUILLET_PLATFORM_PLATFORM_H
#define QUILLET_PLATFORM_PLATFORM_H

#include <cstddef>
#include <memory>
#include <string>

namespace quillet::platform {

// --- The prefix (portable backend; the Win32 backend ignores it) -------------------

// Sets the prefix directory explicitly; an empty text returns to the environment
// (QUILLET_PREFIX, else WINEPREFIX, else $HOME/.wine).
void SetPrefix(const std::string& directory);

// The prefix directory in effect (empty with the Win32 backend).
std::string Prefix();

// --- Windows directory and files ----------------------------------------------------

// The Windows directory without a trailing backslash ("C:\windows" on the portable
// backend). False when it cannot be read.
bool WindowsDirectory(std::string& directory);

// Whether a file (or directory) exists. Asks for no access rights.
bool FileExists(const std::string& path);

// The host file-system path a library path stands for. The portable backend maps a
// Windows path onto the prefix, resolving each existing component ignoring letter
// case; the Win32 backend returns the path unchanged.
std::string HostPath(const std::string& path);

// Copies a file, replacing an existing target, through a FileReplacement (so the
// target is never left half written, a link to it stays a link, and a target that is
// not a regular file is refused). False when the copy failed, with the reason in
// `error` when given.
bool CopyFileReplacing(const std::string& from, const std::string& to, std::string* error = nullptr);

// --- Descriptor I/O (the C library's, in binary mode) --------------------------------

// Opens for reading; -1 on failure.
int OpenForReading(const std::string& path);
// Creates or truncates for writing (a new file is readable and writable by its
// owner); -1 on failure.
int OpenForWriting(const std::string& path);
// Bytes read, 0 at end of file, -1 on failure.
long ReadFile(int descriptor, void* buffer, size_t size);
// Bytes written, -1 on failure.
long WriteFile(int descriptor, const void* buffer, size_t size);
// Moves to `position` from the start; returns the new position or -1.
long SeekFile(int descriptor, long position);
// False when closing failed (for a file being written: its data may be lost).
bool CloseFile(int descriptor);

// --- Replacing a file ----------------------------------------------------------------

// A new version of a file, written beside it and put in its place in one step, so that
// the file is never seen half written:
//
//   FileReplacement next;
//   if (!next.open(path)) ...              // next.error() says why
//   WriteFile(next.descriptor(), ...);
//   if (!next.prepare() || !next.commit()) ...  // the old file is still there
//
// The target is the file a symbolic link names (followed to its end), so a link stays a
// link. A target that exists but is not a regular file (a directory, FIFO, socket or
// device) is refused. The temporary is created exclusively under an unpredictable name
// of the form "<name>.<16 hex digits>.qtmp" in the target's folder; prepare() flushes it
// to disk, gives it the replaced file's permission bits (and, where the system allows,
// its owner and group) and closes it; commit() renames it over the target and flushes
// the folder. Until commit() succeeds the target is unchanged, and a replacement that
// ends without commit() removes its temporary.
class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  bool open(const std::string& target);
  // The temporary's descriptor for WriteFile; -1 before open() and after prepare().
  int descriptor() const { return descriptor_; }
  bool prepare();
  bool commit();
  // Removes the temporary, unless committed.
  void abandon();
  // The permission bits a new file gets when there is no old one to take them from
  // (default: readable and writable by all, less the process's umask).
  void setNewFileMode(int mode) { newFileMode_ = mode; }

  // Why the last step failed: the file and the system's reason, for a user to read.
  const std::string& error() const { return error_; }
  // The host path the new version goes to (after following links).
  const std::string& hostTarget() const { return hostTarget_; }

 private:
  bool fail(const std::string& what, int systemError);

  int descriptor_ = -1;
  std::string target_;         // as given
  std::string hostTarget_;     // resolved
  std::string hostTemporary_;  // empty when there is none
  int newFileMode_ = -1;
  std::string error_;
};

// Why `path` cannot be replaced by a save or a copy: "" when it is a regular file or
// does not exist yet; otherwise what it is ("a directory", "a FIFO", ...).
std::string NotARegularFile(const std::string& path);

// Removes temporaries of FileReplacement beside `path` (names of its own pattern only)
// whose last change is older than `olderThan` (seconds since the epoch): what a killed
// process left behind. Returns how many it removed.
int RemoveStaleTemporaries(const std::string& path, long long olderThan);

// The system's text for an error number of the C library or Windows.
std::string SystemErrorText(int error);

// --- Advisory locks ------------------------------------------------------------------

// An exclusive advisory lock on a lock file (created when missing, never removed):
// LockFileEx on Windows, fcntl elsewhere. Other processes that ask for the same lock
// wait; programs that do not ask are not stopped. Released when the object ends.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Waits up to `timeoutMilliseconds` for the lock. False, with `error` set, when the
  // lock file cannot be opened or the time ran out.
  bool acquire(const std::string& lockFile, long timeoutMilliseconds, std::string& error);
  void release();
  bool held() const { return handle_ >= 0; }

 private:
  long long handle_ = -1;
};

// --- Fault injection (tests only) ----------------------------------------------------

// The calls that tests can make fail, as a full disk or a busy file would.
enum class FaultPoint { kOpen, kWrite, kFlush, kRename, kCopy, kLock, kCount };

// Makes the `n`th call of `point` from now on (1: the next one) fail; 0 turns the
// fault off. Opens are the creation of files for writing (OpenForWriting and the
// temporaries of FileReplacement), flushes FileReplacement::prepare, renames
// FileReplacement::commit, copies CopyFileReplacing, locks FileLock::acquire.
void InjectFault(FaultPoint point, int n);
// Turns every injected fault off, the write budget below included.
void ClearFaults();
// How many calls of `point` were made since the last ClearFaults (to find every
// failure point of an operation: run it once, then fail each call in turn).
int FaultPointCalls(FaultPoint point);

// Test hook: after `bytes` more bytes, every WriteFile fails. The write that crosses
// the limit writes the bytes that still fit and then fails, as a full disk would. A
// negative value turns the failure off (the default).
void InjectWriteFailureAfter(long bytes);

// --- Registry, read only, under HKEY_LOCAL_MACHINE ------------------------------------

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Reads the value `name` (null or "" for the key's default value) into `buffer`
  // of `size` bytes, as RegQueryValueExA delivers it (a string with its NUL). False
  // when the value is missing or does not fit.
  virtual bool queryValue(const char* name, char* buffer, unsigned long size) = 0;
  // The name of subkey number `index`, in Windows' order (sorted ignoring letter
  // case), as RegEnumKeyA delivers it. False when there is none or it does not fit.
  virtual bool subkeyName(unsigned long index, char* buffer, unsigned long size) = 0;
};

// Opens a key below HKEY_LOCAL_MACHINE for reading (access 0x20019); null when it
// cannot be opened. The key is closed when the object is destroyed.
std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path);

// --- Text conversion ------------------------------------------------------------------

// ANSI code page <-> UTF-16 (MultiByteToWideChar / WideCharToMultiByte with CP_ACP).
// On the portable backend the ANSI code page is UTF-8: each byte that does not start
// a well-formed sequence becomes U+FFFD, and so does a surrogate without its partner
// on the way back, so the 8-bit side is always valid UTF-8. On Windows, characters
// the code page lacks become its default character. File names, and the texts made
// of them, convert so too (not through the C library's locale): Windows' narrow file
// functions read names in the ANSI code page whatever the C locale says.
std::u16string AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::u16string& text);

// --- Code pages ----------------------------------------------------------------------

// The system's ANSI code page, the one HTML Help reads its files in: GetACP() on
// Windows; on the portable backend the "ACP" value of
// HKLM\System\CurrentControlSet\Control\Nls\CodePage in the prefix's registry, or
// 1252 (Western European) when it is absent or not a number.
unsigned AnsiCodePage();

// Whether texts can be converted to and from `codePage` here.
bool CodePageSupported(unsigned codePage);

// Bytes in `codePage` to UTF-16. A byte the code page does not define becomes the
// character of the same number (as Windows reads the five gaps of code page 1252).
// False only when the code page is not supported.
bool DecodeCodePage(unsigned codePage, const std::string& bytes, std::u16string& text);

// UTF-16 to bytes in `codePage`, with no best-fit substitution: a character the code
// page cannot hold fails the conversion, and `failedAt` is the index of the first
// such code unit (text.size() when the code page itself is not supported). The
// characters that DecodeCodePage reads from undefined bytes go back to those bytes.
bool EncodeCodePage(unsigned codePage, const std::u16string& text, std::string& bytes, size_t& failedAt);

// --- Paths (_splitpath / _makepath) ---------------------------------------------------

struct PathParts {
  std::string drive;      // "C:" or empty
  std::string directory;  // with leading and trailing separators, e.g. "\windows\"
  std::string name;       // file name without extension
  std::string extension;  // with its dot, e.g. ".dat"
};
PathParts SplitPath(const std::string& path);
std::string MakePath(const PathParts& parts);

// --- Memory for allocators of our own -----------------------------------------------

// `size` bytes of zeroed read-write memory straight from the system (mmap,
// VirtualAlloc), the returned address aligned to `alignment` (a power of two of at
// most 64 KiB; the portable backend aligns runs of 2 MiB and more to 2 MiB and asks
// for huge pages for them). Null when the system gives none. What UnmapMemory takes
// back goes to `mapping` and `mappedBytes`: the mapping may be larger than `size`, by
// slack outside the returned range that is never touched (address space, not memory).
unsigned char* MapAlignedMemory(size_t size, size_t alignment, void*& mapping, size_t& mappedBytes);
void UnmapMemory(void* mapping, size_t mappedBytes);

}  // namespace quillet::platform

#endif
