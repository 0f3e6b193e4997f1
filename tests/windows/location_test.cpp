// Where the library finds HTML Help's two files on Windows: the collection registry in
// the Windows Help directory or the All Users directory (GetWindowsDirectoryA, the C
// runtime's existence test and path splitting), and the default collection named in
// the registry settings (RegOpenKeyExA, RegQueryValueExA, RegEnumKeyA).
#include <cstring>
#include <string>

#include "HelpEnvironment.h"
#include "quillet/quillet.h"

namespace quillet::windows_test {
namespace {

using LocationTest = HelpEnvironmentTest;

std::string RegistryPath(unsigned long size = 1024) {
  std::string buffer(size + 1, '#');
  if (QuilletGetDefaultDocumentCollectionFilename(&buffer[0], size) != 1) return "(not found)";
  EXPECT_EQ(buffer[size], '#') << "wrote past the buffer";
  return buffer.c_str();
}

TEST_F(LocationTest, HelpDirectoryFirstThenAllUsers) {
  const std::string help = HelpDirectory() + "HHCOLREG.DAT";
  const std::string allUsers = AllUsersHelpDirectory() + "hhcolreg.dat";
  EXPECT_EQ(RegistryPath(), "(not found)");
  EXPECT_EQ(LastError(), "HHCOLREG.DAT in %windows%\\HELP not found");

  WriteBytes(allUsers, RegistryText("C:\\x.col"));
  EXPECT_EQ(RegistryPath(), AllUsersHelpDirectory() + "HHCOLREG.DAT");
  WriteBytes(help, RegistryText("C:\\x.col"));
  EXPECT_EQ(RegistryPath(), help);
  // Cut to fit the buffer, NUL included.
  EXPECT_EQ(RegistryPath(8), help.substr(0, 7));
  char untouched = '#';
  EXPECT_EQ(QuilletGetDefaultDocumentCollectionFilename(&untouched, 0), 1);
  EXPECT_EQ(untouched, '#');
}

// The choice among the registry settings is the library's own (its Linux tests); here,
// what the Win32 calls deliver: the subkeys' order, and values that fit or not.
TEST_F(LocationTest, DefaultCollectionThroughTheWindowsRegistry) {
  const std::string language = std::string(kDeveloperCollections) + "\\0x0407";
  for (const char* subkey : {"zeta", "Alpha"})
    SetStringValue(language + "\\" + subkey, "Filename", std::string("C:\\") + subkey + ".col");
  char buffer[1024] = "untouched";
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(buffer, sizeof buffer), 0);  // no Language value
  EXPECT_STREQ(buffer, "untouched");
  // Without "Preferred", the first subkey in the registry's order, which sorts names
  // ignoring letter case, not by age.
  SetStringValue(kDeveloperCollections, "Language", "0x0407");
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "C:\\Alpha.col");
  SetStringValue(language, "Preferred", "Gamma");  // a collection without a key
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(buffer, sizeof buffer), 0);
  SetStringValue(language, "Preferred", "zeta");
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "C:\\zeta.col");

  // A value that does not fit is not read, not even a part of it; one stored without
  // its NUL still needs room for it.
  char exact[sizeof "C:\\zeta.col"] = "keep";
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(exact, sizeof exact - 1), 0);
  EXPECT_STREQ(exact, "keep");
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(exact, sizeof exact), 1);
  EXPECT_STREQ(exact, "C:\\zeta.col");
  SetStringValue(language + "\\zeta", "Filename", "C:\\x.col", false);
  char noNul[9] = "keep";
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(noNul, 8), 0);
  EXPECT_STREQ(noNul, "keep");
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(noNul, sizeof noNul), 1);
  EXPECT_STREQ(noNul, "C:\\x.col");
}

}  // namespace
}  // namespace quillet::windows_test
