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
  std::string directory = "unchanged";
  EXPECT_FALSE(quillet::LocateCollectionDir(directory));
  EXPECT_EQ(directory, "unchanged");  // written only on success
  EXPECT_EQ(registryPath(), std::string("<0> ") + kNotFound);

  sandbox.writeFile(std::string(kAllUsersHost) + "hhcolreg.dat", "a");
  EXPECT_FALSE(quillet::LocateWindowsHelpDir(directory));
  EXPECT_EQ(directory, "unchanged");
  ASSERT_TRUE(quillet::LocateCollectionDir(directory));
  EXPECT_EQ(directory, kAllUsersWindows);
  EXPECT_EQ(registryPath(), std::string(kAllUsersWindows) + "HHCOLREG.DAT");

  sandbox.writeFile("drive_c/windows/Help/hhcolreg.dat", "w");
  ASSERT_TRUE(quillet::LocateCollectionDir(directory));
  EXPECT_EQ(directory, "C:\\windows\\Help\\");
  EXPECT_EQ(registryPath(), "C:\\windows\\Help\\HHCOLREG.DAT");
  EXPECT_EQ(registryPath(11), "C:\\windows");  // cut to the caller's buffer: ten characters and the NUL
  ASSERT_TRUE(quillet::LocateAllUsersHelpDir(directory));
  EXPECT_EQ(directory, kAllUsersWindows);
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

TEST(DefaultCollectionFilename, PreferredCollectionNamesTheFile) {
  SandboxPrefix sandbox;
  sandbox.writeSystemReg(
      SandboxPrefix::DeveloperCollections("0x0409", "Main", "Main", "C:\\windows\\Help\\main.col") +
      "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections\\\\0x0409\\\\Aardvark] 1\n"
      "\"Filename\"=\"C:\\\\wrong.col\"\n");
  EXPECT_EQ(collectionFilename(), "C:\\windows\\Help\\main.col");
}

TEST(DefaultCollectionFilename, WithoutPreferredTheFirstSubkeyInWindowsOrder) {
  SandboxPrefix sandbox;
  const std::string language = "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections\\\\0x0407";
  sandbox.writeSystemReg(SandboxPrefix::DeveloperCollections("0x0407", "", "zeta", "C:\\zeta.col") + language +
                         "\\\\beta] 1\n\"Filename\"=\"C:\\\\beta.col\"\n" + language +
                         "\\\\Alpha] 1\n\"Filename\"=\"C:\\\\alpha.col\"\n");
  EXPECT_EQ(collectionFilename(), "C:\\alpha.col");
}

TEST(DefaultCollectionFilename, NotFoundAtTheFirstMissingStep) {
  const std::string base = "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections";
  struct Case {
    const char* what;
    std::string systemReg;
  } cases[] = {
      {"empty registry", ""},
      {"no Language value", base + "] 1\n\"Lang\"=\"0x0409\"\n" + base + "\\\\0x0409\\\\Main] 1\n\"Filename\"=\"x\"\n"},
      {"no key for the language", base + "] 1\n\"Language\"=\"0x0407\"\n" + base +
                                      "\\\\0x0409] 1\n\"Preferred\"=\"Main\"\n"},
      {"neither Preferred nor subkeys", base + "] 1\n\"Language\"=\"0x0409\"\n" + base + "\\\\0x0409] 1\n"},
      {"preferred collection has no key",
       SandboxPrefix::DeveloperCollections("0x0409", "Other", "Main", "C:\\main.col")},
      {"no Filename", base + "] 1\n\"Language\"=\"0x0409\"\n" + base + "\\\\0x0409\\\\Main] 1\n\"File\"=\"x\"\n"},
      {"language too long for its buffer",
       SandboxPrefix::DeveloperCollections(std::string(1024, 'L'), "Main", "Main", "C:\\main.col")},
      // 500 + 500 characters fit their own buffers but not, together, the 1024-byte key path.
      {"key path too long",
       SandboxPrefix::DeveloperCollections(std::string(500, 'L'), std::string(500, 'P'), std::string(500, 'P'),
                                           "C:\\main.col")},
  };
  for (const Case& c : cases) {
    SandboxPrefix sandbox;
    sandbox.writeSystemReg(c.systemReg);
    EXPECT_EQ(collectionFilename(), "<0> untouched") << c.what;
  }
}

TEST(DefaultCollectionFilename, NamesCompareIgnoringCaseAndTheBufferLimits) {
  SandboxPrefix sandbox;
  const std::string base = "[SOFTWARE\\\\microsoft\\\\html help collections\\\\DEVELOPER COLLECTIONS";
  sandbox.writeSystemReg(base + "] 1\n\"LANGUAGE\"=\"0x0409\"\n" + base + "\\\\0X0409] 1\n\"preferred\"=\"main\"\n" +
                         base + "\\\\0x0409\\\\MAIN] 1\n\"filename\"=\"C:\\\\a.col\"\n");
  EXPECT_EQ(collectionFilename(), "C:\\a.col");
  EXPECT_EQ(collectionFilename(9), "C:\\a.col");  // eight characters and the NUL fit
  EXPECT_EQ(collectionFilename(8), "<0> untouched");
  EXPECT_EQ(collectionFilename(0), "<0> untouched");
}

TEST(RegistryReads, NothingIsWrittenOnFailure) {
  SandboxPrefix sandbox;
  char buffer[8] = "keep";
  EXPECT_FALSE(quillet::ReadHelpLanguage(buffer, sizeof buffer));
  EXPECT_FALSE(quillet::ReadPreferredCollection("0x0409", buffer, sizeof buffer));
  EXPECT_FALSE(quillet::ReadPreferredCollection(nullptr, buffer, sizeof buffer));
  EXPECT_FALSE(quillet::ReadCollectionFilename("0x0409", "Main", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "keep");

  // A value that is not text but fits reads as its bytes, and must still end in a NUL.
  const std::string base = "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections";
  sandbox.writeSystemReg(base + "] 1\n\"Language\"=hex:41,42,43,44,45,46,47,48\n");
  EXPECT_FALSE(quillet::ReadHelpLanguage(buffer, sizeof buffer));  // eight bytes, no NUL
  EXPECT_STREQ(buffer, "keep");
  sandbox.writeSystemReg(base + "] 1\n\"Language\"=dword:00003930\n");
  EXPECT_TRUE(quillet::ReadHelpLanguage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "09");
}

}  // namespace
