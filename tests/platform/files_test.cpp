#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>

#include "platform/Platform.h"
#include "support/SandboxPrefix.h"

namespace {

namespace platform = quillet::platform;
using quillet::test::SandboxPrefix;

// Every test leaves the write-failure hook off, whatever it did.
class Files : public ::testing::Test {
 protected:
  void TearDown() override { platform::ClearFaults(); }

  // The names in the Help folder, to see that no temporary is left behind.
  std::set<std::string> helpFolder() const { return sandbox.names("drive_c/windows/Help"); }

  SandboxPrefix sandbox;
};

TEST_F(Files, WriteReadAndSeekThroughWindowsPaths) {
  for (const std::string bytes : {"0123456789", "ab"}) {  // writing truncates what was there
    const int out = platform::OpenForWriting("C:\\WINDOWS\\help\\Data.bin");
    ASSERT_GE(out, 0);
    EXPECT_EQ(platform::WriteFile(out, bytes.data(), bytes.size()), static_cast<long>(bytes.size()));
    EXPECT_TRUE(platform::CloseFile(out));
    EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/Data.bin"), bytes);
  }
  const int in = platform::OpenForReading("c:\\windows\\HELP\\data.BIN");
  ASSERT_GE(in, 0);
  char buffer[16] = {};
  EXPECT_EQ(platform::SeekFile(in, 1), 1);
  EXPECT_EQ(platform::ReadFile(in, buffer, sizeof buffer), 1);
  EXPECT_EQ(buffer[0], 'b');
  EXPECT_EQ(platform::ReadFile(in, buffer, sizeof buffer), 0);  // end of file
  EXPECT_EQ(platform::SeekFile(in, -1), -1);
  EXPECT_TRUE(platform::CloseFile(in));
  EXPECT_EQ(platform::OpenForReading("C:\\windows\\Help\\missing.bin"), -1);
  EXPECT_EQ(platform::OpenForWriting("C:\\no\\such\\folder\\x.bin"), -1);
}

// Replaces `windowsPath` with `bytes` through a FileReplacement; its error, or "".
std::string Replace(const std::string& windowsPath, const std::string& bytes) {
  platform::FileReplacement next;
  if (!next.open(windowsPath)) return next.error();
  if (platform::WriteFile(next.descriptor(), bytes.data(), bytes.size()) != static_cast<long>(bytes.size()))
    return "write failed";
  if (!next.prepare() || !next.commit()) return next.error();
  return "";
}

TEST_F(Files, ReplacementKeepsPermissionsOwnerAndLinks) {
  sandbox.writeFile("drive_c/windows/Help/hhcolreg.dat", "old");
  const auto target = sandbox.host("drive_c/windows/Help/hhcolreg.dat");
  using std::filesystem::perms;
  const perms mode = perms::owner_read | perms::owner_write | perms::group_read;
  std::filesystem::permissions(target, mode);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
  }

  EXPECT_EQ(Replace("C:\\windows\\Help\\HHCOLREG.DAT", "new"), "");
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/hhcolreg.dat"), "new");
  EXPECT_EQ(std::filesystem::status(target).permissions() & perms::all, mode);
  struct stat info;
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  if (root) {
    EXPECT_EQ(std::make_pair(info.st_uid, info.st_gid), std::make_pair(uid_t{4321}, gid_t{4322}));
  }
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"hhcolreg.dat"}));

  // A link is written through: it stays a link and the file it names is replaced.
  sandbox.writeFile("real/registry.dat", "linked old");
  std::filesystem::remove(target);
  std::filesystem::create_symlink("../../../real/registry.dat", target);
  EXPECT_EQ(Replace("C:\\windows\\Help\\hhcolreg.dat", "linked new"), "");
  EXPECT_TRUE(std::filesystem::is_symlink(target));
  EXPECT_EQ(sandbox.readFile("real/registry.dat"), "linked new");
  EXPECT_EQ(sandbox.names("real"), (std::set<std::string>{"registry.dat"}));
}

TEST_F(Files, ReplacementRefusesWhatIsNotAFileAndLeavesNoTemporary) {
  std::filesystem::create_directories(sandbox.host("drive_c/windows/Help/folder"));
  const std::string fifo = sandbox.host("drive_c/windows/Help/pipe").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path, kind;
  } cases[] = {{"C:\\windows\\Help\\folder", "a directory"}, {"C:\\windows\\Help\\pipe", "a FIFO"}};
  // Only looked at, never a target; some containers give /dev/null as a plain file.
  if (std::filesystem::is_character_file("/dev/null")) {
    EXPECT_EQ(platform::NotARegularFile("/dev/null"), "a device");
  }
  for (const auto& c : cases) {
    EXPECT_EQ(platform::NotARegularFile(c.path), c.kind);
    EXPECT_NE(Replace(c.path, "x").find("is " + c.kind + ", not a file"), std::string::npos) << c.path;
    std::string error;
    EXPECT_FALSE(platform::CopyFileReplacing("C:\\windows\\Help\\folder\\..\\..\\win.ini", c.path, &error));
  }
  EXPECT_TRUE(std::filesystem::is_directory(sandbox.host("drive_c/windows/Help/folder")));
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"folder", "pipe"}));

  // Abandoned, or dropped before its commit: the temporary goes, the target stays.
  sandbox.writeFile("drive_c/windows/Help/x.col", "kept");
  {
    platform::FileReplacement dropped;
    ASSERT_TRUE(dropped.open("C:\\windows\\Help\\x.col"));
    EXPECT_EQ(helpFolder().size(), 4u);  // the temporary is there while it is written
  }
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"folder", "pipe", "x.col"}));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/x.col"), "kept");
}

TEST_F(Files, StaleTemporariesOfOurOwnPatternAloneAreRemoved) {
  const std::string dir = "drive_c/windows/Help/";
  for (const char* name : {"hhcolreg.dat.0123456789abcdef.qtmp", "hhcolreg.dat.0123456789ABCDEF.qtmp",
                           "hhcolreg.dat.fresh00000000000.qtmp", "hhcolreg.dat.short.qtmp",
                           "other.dat.0123456789abcdef.qtmp", "hhcolreg.dat"})
    sandbox.writeFile(dir + name, "x");
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const auto& entry : std::filesystem::directory_iterator(sandbox.host(dir)))
    if (entry.path().filename() != "hhcolreg.dat.fresh00000000000.qtmp") std::filesystem::last_write_time(entry, old);
  // Only names of the pattern for this file, and only older than the given moment.
  EXPECT_EQ(platform::RemoveStaleTemporaries("C:\\windows\\Help\\hhcolreg.dat",
                                             static_cast<long long>(std::time(nullptr)) - 60),
            2);
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"hhcolreg.dat.fresh00000000000.qtmp", "hhcolreg.dat.short.qtmp",
                                                 "other.dat.0123456789abcdef.qtmp", "hhcolreg.dat"}));
}

TEST_F(Files, CopyReplacesWholeOrNotAtAll) {
  const std::string big(200000, 'b');  // more than one block of the copy loop
  sandbox.writeFile("drive_c/windows/Help/source.col", big);
  sandbox.writeFile("drive_c/windows/Help/target.col", "previous");

  EXPECT_TRUE(platform::CopyFileReplacing("C:\\windows\\Help\\SOURCE.col", "C:\\windows\\Help\\target.col"));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/target.col"), big);

  sandbox.writeFile("drive_c/windows/Help/target.col", "previous");
  platform::InjectWriteFailureAfter(70000);
  EXPECT_FALSE(platform::CopyFileReplacing("C:\\windows\\Help\\source.col", "C:\\windows\\Help\\target.col"));
  platform::InjectWriteFailureAfter(-1);
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/target.col"), "previous");
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"source.col", "target.col"}));

  const std::string help = "C:\\windows\\Help\\";  // no source, a folder as source, no target folder
  for (const auto& [from, to] : {std::pair{"missing.col", "target.col"}, {"", "target.col"}, {"source.col", "..\\..\\no\\t"}})
    EXPECT_FALSE(platform::CopyFileReplacing(help + from, help + to)) << from << " " << to;
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/target.col"), "previous");

  // A new target is made when there was none.
  EXPECT_TRUE(platform::CopyFileReplacing("C:\\windows\\Help\\source.col", "C:\\windows\\Help\\NEW.BAK"));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/NEW.BAK"), big);
}

}  // namespace
