// Where HTML Help keeps its files: the directory of the collection registry
// (hhcolreg.dat) and, from HTML Help's registry settings, the file name of the
// developer's default collection.
//
// Every operation returns true or false and writes its result only when true. The
// texts that HTML Help's layout fixes are given below; the fixed-size buffers that
// these reads go through are refused rather than overrun: a Windows directory
// longer than kWindowsDirectorySize - 1 characters, a registry text or key path
// that would not fit its 1024 bytes with the NUL, or a value that does not fit the
// caller's buffer makes the operation return false.
#ifndef QUILLET_COLLECTION_LOCATION_H
#define QUILLET_COLLECTION_LOCATION_H

#include <string>

namespace quillet {

// HTML Help's registry settings, below HKEY_LOCAL_MACHINE.
inline constexpr char kDeveloperCollectionsKey[] = "SOFTWARE\\Microsoft\\HTML Help Collections\\Developer Collections";
// The collection registry's name as looked for in the Windows Help directory and as
// appended to the directory found.
inline constexpr char kRegistryFileName[] = "HHCOLREG.DAT";
// The All Users directory, below the drive of the Windows directory.
inline constexpr char kAllUsersHelpDirectory[] =
    "\\Documents and Settings\\All Users\\Application Data\\Microsoft\\HTML Help\\";

inline constexpr unsigned long kWindowsDirectorySize = 261;
inline constexpr unsigned long kRegistryTextSize = 1024;      // language, preferred collection
inline constexpr unsigned long kRegistryKeyPathSize = 1024;
// The buffer this library itself reads the default collection file name into.
inline constexpr unsigned long kCollectionFilenameSize = 1024;

// The Windows directory followed by "\Help\", when "\Help\HHCOLREG.DAT" exists
// below it (an existence test only).
bool LocateWindowsHelpDir(std::string& directory);

// The All Users HTML Help directory on the drive of the Windows directory, ending
// in a backslash, when "hhcolreg.dat" exists in it.
bool LocateAllUsersHelpDir(std::string& directory);

// The directory that the All Users search looks in for a given Windows directory:
// only its drive survives ("D:\WINNT" gives "D:\Documents and Settings\...\HTML Help\").
std::string AllUsersHelpDirFor(const std::string& windowsDirectory);

// LocateWindowsHelpDir, else LocateAllUsersHelpDir.
bool LocateCollectionDir(std::string& directory);

// The value "Language" of the Developer Collections key.
bool ReadHelpLanguage(char* buffer, unsigned long size);

// The value "Preferred" of the language's key, else the name of that key's first
// subkey (in the registry's enumeration order).
bool ReadPreferredCollection(const char* language, char* buffer, unsigned long size);

// The value "Filename" of the key of the language's preferred collection.
bool ReadCollectionFilename(const char* language, const char* preferred, char* buffer, unsigned long size);

// The developer's default collection file name: the three reads above in turn, into
// `buffer` of `size` bytes. False at the first that fails.
bool ReadDefaultCollectionFilename(char* buffer, unsigned long size);

// The collection registry's full path ("HHCOLREG.DAT" in the directory
// LocateCollectionDir finds), when that file exists.
bool FindRegistryFile(std::string& path);

}  // namespace quillet

#endif
