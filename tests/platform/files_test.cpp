#include <gtest/gtest.h>

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
  void TearDown() override { platform::InjectWriteFailureAfter(-1); }

  // The names in the Help folder, to see that no temporary is left behind.
  std::set<std::string> helpFolder() const { return sandbox.names("drive_c/windows/Help"); }

  SandboxPrefix sandbox;
};

TEST_F(Files, WriteReadAndSeekThroughWindowsPaths) {
  const int out = platform::OpenForWriting("C:\\WINDOWS\\help\\Data.bin");
  ASSERT_GE(out, 0);
  EXPECT_EQ(platform::WriteFile(out, "0123456789", 10), 10);
  EXPECT_TRUE(platform::CloseFile(out));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/Data.bin"), "0123456789");

  const int in = platform::OpenForReading("c:\\windows\\HELP\\data.BIN");
  ASSERT_GE(in, 0);
  char buffer[16] = {};
  EXPECT_EQ(platform::ReadFile(in, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(platform::SeekFile(in, 7), 7);
  EXPECT_EQ(platform::ReadFile(in, buffer, sizeof buffer), 3);
  EXPECT_EQ(std::string(buffer, 3), "789");
  EXPECT_EQ(platform::ReadFile(in, buffer, sizeof buffer), 0);  // end of file
  EXPECT_EQ(platform::SeekFile(in, -1), -1);
  EXPECT_TRUE(platform::CloseFile(in));

  // Writing truncates what was there.
  const int again = platform::OpenForWriting("C:\\windows\\Help\\data.bin");
  ASSERT_GE(again, 0);
  EXPECT_EQ(platform::WriteFile(again, "ab", 2), 2);
  EXPECT_TRUE(platform::CloseFile(again));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/Data.bin"), "ab");

  EXPECT_EQ(platform::OpenForReading("C:\\windows\\Help\\missing.bin"), -1);
  EXPECT_EQ(platform::OpenForWriting("C:\\no\\such\\folder\\x.bin"), -1);
}

TEST_F(Files, InjectedFailureStopsWritesAfterTheBudget) {
  const int out = platform::OpenForWriting("C:\\windows\\Help\\cut.bin");
  ASSERT_GE(out, 0);
  platform::InjectWriteFailureAfter(5);
  EXPECT_EQ(platform::WriteFile(out, "abc", 3), 3);
  EXPECT_EQ(platform::WriteFile(out, "defg", 4), -1);  // only "de" fits the budget
  EXPECT_EQ(platform::WriteFile(out, "h", 1), -1);     // and it stays spent
  platform::InjectWriteFailureAfter(-1);
  EXPECT_EQ(platform::WriteFile(out, "i", 1), 1);
  EXPECT_TRUE(platform::CloseFile(out));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/cut.bin"), "abcdei");

  platform::InjectWriteFailureAfter(0);
  const int none = platform::OpenForWriting("C:\\windows\\Help\\none.bin");
  ASSERT_GE(none, 0);
  EXPECT_EQ(platform::WriteFile(none, "x", 1), -1);
  EXPECT_TRUE(platform::CloseFile(none));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/none.bin"), "");
}

TEST_F(Files, CommitReplacesAndKeepsTheOldPermissions) {
  sandbox.writeFile("drive_c/windows/Help/hhcolreg.dat", "old");
  const auto target = sandbox.host("drive_c/windows/Help/hhcolreg.dat");
  using std::filesystem::perms;
  const perms mode = perms::owner_read | perms::owner_write | perms::group_read;
  std::filesystem::permissions(target, mode);

  const std::string temporary = platform::TemporaryPathBeside("C:\\windows\\Help\\HHCOLREG.DAT");
  EXPECT_EQ(temporary.rfind("C:\\windows\\Help\\HHCOLREG.DAT", 0), 0u) << temporary;  // same folder
  EXPECT_NE(temporary, platform::TemporaryPathBeside("C:\\windows\\Help\\HHCOLREG.DAT"));
  EXPECT_FALSE(platform::FileExists(temporary));

  const int out = platform::OpenForWriting(temporary);
  ASSERT_GE(out, 0);
  EXPECT_EQ(platform::WriteFile(out, "new", 3), 3);
  EXPECT_TRUE(platform::CloseFile(out));
  EXPECT_TRUE(platform::CommitReplacing(temporary, "C:\\windows\\Help\\HHCOLREG.DAT"));

  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/hhcolreg.dat"), "new");
  EXPECT_EQ(std::filesystem::status(target).permissions() & perms::all, mode);
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"hhcolreg.dat"}));
}

TEST_F(Files, FailedCommitAndDiscardLeaveNoTemporary) {
  std::filesystem::create_directories(sandbox.host("drive_c/windows/Help/busy/inside"));
  const std::string temporary = platform::TemporaryPathBeside("C:\\windows\\Help\\busy");
  const int out = platform::OpenForWriting(temporary);
  ASSERT_GE(out, 0);
  EXPECT_TRUE(platform::CloseFile(out));
  // A non-empty folder cannot be replaced by a file.
  EXPECT_FALSE(platform::CommitReplacing(temporary, "C:\\windows\\Help\\busy"));
  EXPECT_TRUE(std::filesystem::is_directory(sandbox.host("drive_c/windows/Help/busy/inside")));
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"busy"}));

  const std::string discarded = platform::TemporaryPathBeside("C:\\windows\\Help\\x.col");
  const int other = platform::OpenForWriting(discarded);
  ASSERT_GE(other, 0);
  EXPECT_TRUE(platform::CloseFile(other));
  platform::DiscardTemporary(discarded);
  EXPECT_EQ(helpFolder(), (std::set<std::string>{"busy"}));
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

  EXPECT_FALSE(platform::CopyFileReplacing("C:\\windows\\Help\\missing.col", "C:\\windows\\Help\\target.col"));
  EXPECT_FALSE(platform::CopyFileReplacing("C:\\windows\\Help", "C:\\windows\\Help\\target.col"));  // a folder
  EXPECT_FALSE(platform::CopyFileReplacing("C:\\windows\\Help\\source.col", "C:\\nowhere\\target.col"));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/target.col"), "previous");

  // A new target is made when there was none.
  EXPECT_TRUE(platform::CopyFileReplacing("C:\\windows\\Help\\source.col", "C:\\windows\\Help\\NEW.BAK"));
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/NEW.BAK"), big);
}

}  // namespace
