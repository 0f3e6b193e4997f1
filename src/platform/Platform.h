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

// Copies a file, replacing an existing target; the target is never left half
// written. False when the copy failed.
bool CopyFileReplacing(const std::string& from, const std::string& to);

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

// Saving without ever leaving a damaged file: write to TemporaryPathBeside(target),
// then CommitReplacing(temporary, target), which renames it over the target (keeping
// the old file's permissions) in one step; or DiscardTemporary on failure.
// TemporaryPathBeside names a file that does not exist yet, in the target's folder.
// A CommitReplacing that fails removes the temporary and leaves the target as it was.
std::string TemporaryPathBeside(const std::string& target);
bool CommitReplacing(const std::string& temporary, const std::string& target);
void DiscardTemporary(const std::string& temporary);

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
// the code page lacks become its default character.
std::u16string AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::u16string& text);
// The C library's multibyte conversions (mbstowcs / wcstombs) in the current C locale;
// UTF-8, exactly as above, on the portable backend.
std::u16string MultiByteToWide(const std::string& text);
std::string WideToMultiByte(const std::u16string& text);

// --- Paths (_splitpath / _makepath) ---------------------------------------------------

struct PathParts {
  std::string drive;      // "C:" or empty
  std::string directory;  // with leading and trailing separators, e.g. "\windows\"
  std::string name;       // file name without extension
  std::string extension;  // with its dot, e.g. ".dat"
};
PathParts SplitPath(const std::string& path);
std::string MakePath(const PathParts& parts);

}  // namespace quillet::platform

#endif
