// HTML Help's set-up on a Windows machine (or a Wine prefix), made and taken down by the
// tests through the Win32 API: the registry settings that name the developer's default
// collection, the collection registry hhcolreg.dat in the Help directory or the All
// Users directory, the collection file, and help titles to install.
//
// Texts are ANSI text (code page 1252 under Wine's default settings), as at the DLL's
// boundary.
#ifndef QUILLET_TESTS_WINDOWS_HELPENVIRONMENT_H
#define QUILLET_TESTS_WINDOWS_HELPENVIRONMENT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet::windows_test {

// HTML Help's key of developer collections, below HKEY_LOCAL_MACHINE.
extern const char* const kDeveloperCollections;

std::string WindowsDirectory();     // "C:\windows", no trailing backslash
std::string HelpDirectory();        // "<windows>\Help\"
std::string AllUsersHelpDirectory();  // "<drive>\Documents and Settings\...\HTML Help\"
std::string WorkDirectory();        // a folder of the tests' own files, with a backslash

// Registry values below HKEY_LOCAL_MACHINE (keys made on the way; a string stored
// with its NUL unless asked not to, as some programs store them), and whole trees.
void SetStringValue(const std::string& key, const char* name, const std::string& value, bool withNul = true);
void DeleteKeyTree(const std::string& key);

// Whole files; folders on the way are made. Reading a missing file fails the test.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// The names in a folder that match a wildcard pattern ("*.qtmp").
std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern);

// A collection registry in HTML Help's own "<XML>" form, listing one collection,
// number `number`, whose file is `collectionFile`, and the title entries `entries`
// (ready-made DocCompilation elements).
std::string RegistryText(const std::string& collectionFile, const std::string& number = "1",
                         const std::string& entries = "");
// A collection file in the same form with the folders `folders` (Folder elements).
std::string CollectionText(const std::string& folders = "");

// The library's last-error text.
std::string LastError();
// A value of a title entry ("(none)" when it has none).
std::string DocValue(unsigned long doc, long id);

// Each test starts from a machine without any of HTML Help's files or settings, with
// safe mode off, and leaves it so.
class HelpEnvironmentTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The registry settings that name `collectionFile` the default collection: Language
  // "0x0409", Preferred "Tests", that collection's Filename.
  void NameDefaultCollection(const std::string& collectionFile);
  // A complete set-up: an empty default collection in the work folder, named in the
  // registry settings and listed as number 1 in hhcolreg.dat in the Help directory.
  void SetUpHelp();

  std::string collection_;  // the default collection file after SetUpHelp
  std::string registry_;    // hhcolreg.dat after SetUpHelp

 private:
  void Clean();
};

}  // namespace quillet::windows_test

#endif
