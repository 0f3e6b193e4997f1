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

struct RegistryCase {
  const char* what;
  const char* preferred;  // null: no "Preferred" value
  const char* subkeys[2];  // collections under the language, made in this order
  const char* expected;   // null: not found
};

class DefaultCollectionTest : public HelpEnvironmentTest, public ::testing::WithParamInterface<RegistryCase> {};

// Each collection key's Filename is "C:\<its name>.col".
TEST_P(DefaultCollectionTest, ThreeReads) {
  const RegistryCase& c = GetParam();
  const std::string language = std::string(kDeveloperCollections) + "\\0x0407";
  SetStringValue(kDeveloperCollections, "Language", "0x0407");
  if (c.preferred != nullptr) SetStringValue(language, "Preferred", c.preferred);
  for (const char* subkey : c.subkeys)
    if (subkey != nullptr) SetStringValue(language + "\\" + subkey, "Filename", std::string("C:\\") + subkey + ".col");

  char buffer[1024];
  std::strcpy(buffer, "untouched");
  const int found = QuilletGetDefaultCollectionFilename(buffer, sizeof buffer);
  if (c.expected == nullptr) {
    EXPECT_EQ(found, 0);
    EXPECT_STREQ(buffer, "untouched");
  } else {
    EXPECT_EQ(found, 1);
    EXPECT_STREQ(buffer, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, DefaultCollectionTest,
    ::testing::Values(RegistryCase{"preferred", "Beta", {"Alpha", "Beta"}, "C:\\Beta.col"},
                      // Without "Preferred", the first subkey in the registry's order,
                      // which sorts names ignoring letter case, not by age.
                      RegistryCase{"first_subkey", nullptr, {"zeta", "Alpha"}, "C:\\Alpha.col"},
                      RegistryCase{"no_subkey", nullptr, {nullptr, nullptr}, nullptr},
                      RegistryCase{"preferred_missing", "Gamma", {"Alpha", nullptr}, nullptr}),
    [](const ::testing::TestParamInfo<RegistryCase>& info) { return std::string(info.param.what); });

TEST_F(LocationTest, DefaultCollectionNameThatDoesNotFitIsNotRead) {
  NameDefaultCollection("C:\\a rather long collection file name.col");
  char small[8];
  std::strcpy(small, "keep");
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(small, sizeof small), 0);
  EXPECT_STREQ(small, "keep");
  char exact[sizeof "C:\\a rather long collection file name.col"];
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(exact, sizeof exact), 1);
  EXPECT_STREQ(exact, "C:\\a rather long collection file name.col");
}

TEST_F(LocationTest, NameStoredWithoutItsNul) {
  NameDefaultCollection("placeholder");
  SetStringValue(std::string(kDeveloperCollections) + "\\0x0409\\Tests", "Filename", "C:\\x.col", false);
  char noRoomForNul[8];
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(noRoomForNul, sizeof noRoomForNul), 0);
  char buffer[9];
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "C:\\x.col");
}

TEST_F(LocationTest, NoLanguageNoCollection) {
  SetStringValue(std::string(kDeveloperCollections) + "\\0x0409\\Tests", "Filename", "C:\\t.col");
  char buffer[64] = "untouched";
  EXPECT_EQ(QuilletGetDefaultCollectionFilename(buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "untouched");
}

}  // namespace
}  // namespace quillet::windows_test
