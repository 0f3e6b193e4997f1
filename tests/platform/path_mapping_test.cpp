#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/Platform.h"
#include "support/SandboxPrefix.h"

namespace {

using quillet::platform::FileExists;
using quillet::platform::HostPath;
using quillet::platform::MakePath;
using quillet::platform::PathParts;
using quillet::platform::SplitPath;
using quillet::test::SandboxPrefix;

TEST(HostPath, ResolvesEachComponentIgnoringCaseAndFindsFiles) {
  SandboxPrefix sandbox;
  sandbox.writeFile("drive_c/windows/Help/HHColReg.dat", "x");
  const std::string root = sandbox.root().string();
  struct Case {
    const char* windows;
    std::string host;
  } cases[] = {
      {"C:\\windows\\Help\\HHColReg.dat", root + "/drive_c/windows/Help/HHColReg.dat"},
      {"c:/WINDOWS/help/hhcolreg.DAT", root + "/drive_c/windows/Help/HHColReg.dat"},
      {"C:\\Windows\\HELP\\", root + "/drive_c/windows/Help/"},
      {"C:\\windows\\\\Help//.\\hhcolreg.dat", root + "/drive_c/windows/Help/HHColReg.dat"},
      {"C:\\windows\\system32\\..\\Help\\HHCOLREG.DAT", root + "/drive_c/windows/Help/HHColReg.dat"},
      {"C:\\..\\..\\WINDOWS", root + "/drive_c/windows"},  // never above the drive's root
      // From the first missing component on, the rest is kept as written.
      {"C:\\WINDOWS\\New\\Sub\\File.Txt", root + "/drive_c/windows/New/Sub/File.Txt"},
      {"D:\\data\\x.col", root + "/drive_d/data/x.col"},
      {"C:", root + "/drive_c"},
      // Without a drive letter a path is the host's own.
      {"/tmp/Some\\Thing", "/tmp/Some\\Thing"},
      {"relative\\Path.txt", "relative\\Path.txt"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(HostPath(c.windows), c.host) << c.windows;
  EXPECT_TRUE(FileExists("c:\\WINDOWS\\help\\hhcolreg.DAT") && FileExists("C:\\WINDOWS\\help"));
  EXPECT_TRUE(FileExists(root + "/drive_c/windows/Help/HHColReg.dat"));  // a host path
  for (const char* missing : {"C:\\windows\\Help\\other.dat", "C:\\windows\\Help\\hhcolreg.dat\\below", ""})
    EXPECT_FALSE(FileExists(missing)) << missing;
}

TEST(HostPath, ExactSpellingWinsOverOtherCase) {
  SandboxPrefix sandbox;
  std::filesystem::create_directories(sandbox.host("drive_c/data/Help"));
  std::filesystem::create_directories(sandbox.host("drive_c/data/help"));
  const std::string root = sandbox.root().string();
  EXPECT_EQ(HostPath("C:\\data\\help"), root + "/drive_c/data/help");
  EXPECT_EQ(HostPath("C:\\data\\Help"), root + "/drive_c/data/Help");
  // Neither spelling exact: the choice does not depend on directory order.
  EXPECT_EQ(HostPath("C:\\data\\HELP"), root + "/drive_c/data/Help");
}

TEST(HostPath, DosdevicesLinkTakesPrecedence) {
  SandboxPrefix sandbox;
  std::filesystem::create_directories(sandbox.host("elsewhere/Docs"));
  std::filesystem::create_directories(sandbox.host("drive_d/Docs"));
  std::filesystem::create_directories(sandbox.host("dosdevices"));
  std::filesystem::create_directory_symlink("../elsewhere", sandbox.host("dosdevices/d:"));
  sandbox.writeFile("elsewhere/Docs/Read Me.txt", "linked");
  const std::string root = sandbox.root().string();

  EXPECT_EQ(HostPath("D:\\docs\\read me.TXT"), root + "/dosdevices/d:/Docs/Read Me.txt");
  EXPECT_TRUE(FileExists("d:\\DOCS\\READ ME.TXT"));
  // Drive C has no link, so it still maps onto drive_c.
  EXPECT_EQ(HostPath("C:\\windows"), root + "/drive_c/windows");

  // A link that exists but leads nowhere is still the drive, as Wine would use it.
  std::filesystem::create_directory_symlink("../missing", sandbox.host("dosdevices/e:"));
  std::filesystem::create_directories(sandbox.host("drive_e/x"));
  EXPECT_EQ(HostPath("E:\\x"), root + "/dosdevices/e:/x");
  EXPECT_FALSE(FileExists("E:\\x"));
}

// Restores an environment variable when a test is done with it.
class EnvironmentValue {
 public:
  explicit EnvironmentValue(const char* name) : name_(name) {
    const char* value = getenv(name);
    had_ = value != nullptr;
    if (had_) old_ = value;
  }
  ~EnvironmentValue() {
    if (had_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
  }
  void set(const char* value) { value ? setenv(name_, value, 1) : unsetenv(name_); }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

TEST(Prefix, ExplicitThenQuilletPrefixThenWinePrefixThenHome) {
  EnvironmentValue quilletPrefix("QUILLET_PREFIX"), winePrefix("WINEPREFIX"), home("HOME");
  quillet::platform::SetPrefix("");
  quilletPrefix.set("/q");
  winePrefix.set("/w");
  home.set("/home/someone");
  EXPECT_EQ(quillet::platform::Prefix(), "/q");
  quilletPrefix.set("");  // empty counts as unset
  EXPECT_EQ(quillet::platform::Prefix(), "/w");
  winePrefix.set(nullptr);
  EXPECT_EQ(quillet::platform::Prefix(), "/home/someone/.wine");
  quillet::platform::SetPrefix("/explicit");
  quilletPrefix.set("/q");
  EXPECT_EQ(quillet::platform::Prefix(), "/explicit");
  EXPECT_EQ(HostPath("C:\\x"), "/explicit/drive_c/x");
  quillet::platform::SetPrefix("");
  EXPECT_EQ(quillet::platform::Prefix(), "/q");  // the environment is read again
}

// Each case also goes back through MakePath.
TEST(SplitPath, DriveDirectoryNameExtension) {
  struct Case {
    const char* path;
    PathParts parts;
  } cases[] = {
      {"C:\\windows", {"C:", "\\", "windows", ""}},
      {"D:\\WINNT\\system32\\file.tar.gz", {"D:", "\\WINNT\\system32\\", "file.tar", ".gz"}},
      {"relative/dir\\name", {"", "relative/dir\\", "name", ""}},
      {"C:name.ext", {"C:", "", "name", ".ext"}},
      {"\\dir.d\\noext", {"", "\\dir.d\\", "noext", ""}},
      {".profile", {"", "", "", ".profile"}},
      {"C:\\dir\\", {"C:", "\\dir\\", "", ""}},
      {"name.", {"", "", "name", "."}},
      {"", {"", "", "", ""}},
  };
  for (const Case& c : cases) {
    const PathParts got = SplitPath(c.path);
    EXPECT_EQ(got.drive, c.parts.drive) << c.path;
    EXPECT_EQ(got.directory, c.parts.directory) << c.path;
    EXPECT_EQ(got.name, c.parts.name) << c.path;
    EXPECT_EQ(got.extension, c.parts.extension) << c.path;
    EXPECT_EQ(MakePath(got), c.path) << "round trip of " << c.path;
  }
}

}  // namespace
