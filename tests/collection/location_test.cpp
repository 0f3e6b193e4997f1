#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/LastError.h"
#include "collection/Location.h"
#include "quillet/quillet.h"
#include "support/SandboxPrefix.h"

namespace {

using quillet::test::SandboxPrefix;

constexpr char kAllUsersHost[] = "drive_c/Documents and Settings/All Users/Application Data/Microsoft/HTML Help/";
constexpr char kAllUsersWindows[] = "C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\HTML Help\\";
constexpr char kNotFound[] = "HHCOLREG.DAT in %windows%\\HELP not found";

// The registry path QuilletGetDefaultDocumentCollectionFilename reports, or "<0>"
// with the last-error text it set.
std::string registryPath(unsigned long size = 1024) {
  char buffer[1024];
  std::memset(buffer, '#', sizeof buffer);
  buffer[sizeof buffer - 1] = '\0';
  quillet::SetLastErrorText("");
  if (QuilletGetDefaultDocumentCollectionFilename(buffer, size) != 1) return "<0> " + quillet::LastErrorText();
  return buffer;
}

std::string collectionFilename(unsigned long size = 1024) {
  char buffer[1024] = "untouched";
  quillet::SetLastErrorText("");
  const int found = QuilletGetDefaultCollectionFilename(buffer, size);
  EXPECT_EQ(quillet::LastErrorText(), "");  // this query never sets a text
  return found == 1 ? std::string(buffer) : "<0> " + std::string(buffer);
}

TEST(LocateCollectionDir, TheHelpDirectoryWinsOverAllUsersAndNeitherIsAFailure) {
  SandboxPrefix sandbox;
  EXPECT_EQ(registryPath(), std::string("<0> ") + kNotFound);
  sandbox.writeFile(std::string(kAllUsersHost) + "hhcolreg.dat", "a");
  EXPECT_EQ(registryPath(), std::string(kAllUsersWindows) + "HHCOLREG.DAT");
  sandbox.writeFile("drive_c/windows/Help/hhcolreg.dat", "w");
  EXPECT_EQ(registryPath(), "C:\\windows\\Help\\HHCOLREG.DAT");
  EXPECT_EQ(registryPath(11), "C:\\windows");  // cut to the caller's buffer: ten characters and the NUL
}

TEST(AllUsersHelpDir, OnlyTheDriveOfTheWindowsDirectorySurvives) {
  const std::string below = "\\Documents and Settings\\All Users\\Application Data\\Microsoft\\HTML Help\\";
  struct Case {
    const char* windows;
    std::string directory;
  } cases[] = {
      {"C:\\windows", "C:" + below},
      {"D:\\WINNT", "D:" + below},
      {"E:\\deep\\path\\to\\windows.old", "E:" + below},
      {"d:", "d:" + below},
      {"\\\\server\\share\\windows", below},  // no drive: the directory alone
  };
  for (const Case& c : cases) EXPECT_EQ(quillet::AllUsersHelpDirFor(c.windows), c.directory) << c.windows;
}

TEST(DefaultCollectionFilename, LanguageThenPreferredCollectionThenItsFilename) {
  const auto dc = SandboxPrefix::DeveloperCollections;
  const auto section = SandboxPrefix::Section;
  const std::string upper = "[SOFTWARE\\\\microsoft\\\\html help collections\\\\DEVELOPER COLLECTIONS";
  const std::string anyCase = upper + "] 1\n\"LANGUAGE\"=\"0x0409\"\n" + upper + "\\\\0X0409] 1\n\"preferred\"=\"main\"\n" +
                              upper + "\\\\0x0409\\\\MAIN] 1\n\"filename\"=\"C:\\\\a.col\"\n";
  const std::string language = section("", "\"Language\"=\"0x0409\"\n");
  struct Case {
    const char* what;
    std::string systemReg;
    unsigned long size;
    const char* file;  // null: not found
  } cases[] = {
      {"the preferred collection", dc("0x0409", "Main", "Main", "C:\\windows\\Help\\main.col") +
           section("\\\\0x0409\\\\Aardvark", "\"Filename\"=\"C:\\\\wrong.col\"\n"), 1024, "C:\\windows\\Help\\main.col"},
      {"without Preferred the first subkey in Windows order", dc("0x0407", "", "zeta", "C:\\zeta.col") +
           section("\\\\0x0407\\\\beta", "\"Filename\"=\"C:\\\\beta.col\"\n") +
           section("\\\\0x0407\\\\Alpha", "\"Filename\"=\"C:\\\\alpha.col\"\n"), 1024, "C:\\alpha.col"},
      {"names compare ignoring case", anyCase, 1024, "C:\\a.col"},
      {"eight characters and the NUL fit", anyCase, 9, "C:\\a.col"},
      {"one byte short", anyCase, 8, nullptr},
      {"no room", anyCase, 0, nullptr},
      {"empty registry", "", 1024, nullptr},
      {"no Language value", section("", "\"Lang\"=\"0x0409\"\n") + section("\\\\0x0409\\\\Main", "\"Filename\"=\"x\"\n"),
       1024, nullptr},
      {"no key for the language", section("", "\"Language\"=\"0x0407\"\n") +
           section("\\\\0x0409", "\"Preferred\"=\"Main\"\n"), 1024, nullptr},
      {"neither Preferred nor subkeys", language + section("\\\\0x0409", ""), 1024, nullptr},
      {"preferred collection has no key", dc("0x0409", "Other", "Main", "C:\\main.col"), 1024, nullptr},
      {"no Filename", language + section("\\\\0x0409\\\\Main", "\"File\"=\"x\"\n"), 1024, nullptr},
      {"language too long for its buffer", dc(std::string(1024, 'L'), "Main", "Main", "C:\\main.col"), 1024, nullptr},
      // 500 + 500 characters fit their own buffers but not, together, the 1024-byte key path.
      {"key path too long", dc(std::string(500, 'L'), std::string(500, 'P'), std::string(500, 'P'), "C:\\main.col"),
       1024, nullptr},
  };
  for (const Case& c : cases) {
    SandboxPrefix sandbox;
    sandbox.writeSystemReg(c.systemReg);
    EXPECT_EQ(collectionFilename(c.size), c.file ? c.file : "<0> untouched") << c.what;
  }
}

TEST(RegistryReads, NothingIsWrittenOnFailure) {
  SandboxPrefix sandbox;
  // Missing values: the default-collection table above.
  char buffer[8] = "keep";
  EXPECT_FALSE(quillet::ReadPreferredCollection(nullptr, buffer, sizeof buffer));
  // A value that is not text but fits reads as its bytes, and must still end in a NUL.
  sandbox.writeSystemReg(SandboxPrefix::Section("", "\"Language\"=hex:41,42,43,44,45,46,47,48\n"));
  EXPECT_FALSE(quillet::ReadHelpLanguage(buffer, sizeof buffer));  // eight bytes, no NUL
  EXPECT_STREQ(buffer, "keep");
  sandbox.writeSystemReg(SandboxPrefix::Section("", "\"Language\"=dword:00003930\n"));
  EXPECT_TRUE(quillet::ReadHelpLanguage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "09");
}

}  // namespace
