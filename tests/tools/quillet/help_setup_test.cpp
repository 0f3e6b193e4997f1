#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "HelpSetup.h"
#include "HostFiles.h"
#include "platform/Platform.h"

namespace {

namespace fs = std::filesystem;
using namespace quillet::tool;

TEST(HelpSetup, ChecksTheCommandsArguments) {
  const std::string longName(256, 'n');
  const std::string longPath = "C:\\" + std::string(256, 'p') + ".col";
  struct Row {
    const char* label;
    std::string (*check)(const std::string&);
    std::string value;
    std::string why;  // empty: accepted
  };
  const Row rows[] = {
      {"plain name", CheckCollectionName, "Quillet", ""},
      {"name with spaces and UTF-8", CheckCollectionName, "My Help \xc3\xa9", ""},
      {"empty name", CheckCollectionName, "", "the collection name must not be empty"},
      {"name with a backslash", CheckCollectionName, "a\\b", "the collection name names a registry key: no backslash in it"},
      {"name with a tab", CheckCollectionName, "a\tb", "the collection name must not hold control characters"},
      {"long name", CheckCollectionName, longName, "the collection name is longer than 255 bytes"},
      {"default file", CheckCollectionFile, "C:\\windows\\Help\\quillet.col", ""},
      {"other drive, lower case", CheckCollectionFile, "d:\\Docs & Notes\\my.col", ""},
      {"relative path", CheckCollectionFile, "Help\\quillet.col",
       "the collection file must be a Windows path such as C:\\windows\\Help\\quillet.col"},
      {"host path", CheckCollectionFile, "/tmp/quillet.col",
       "the collection file must be a Windows path such as C:\\windows\\Help\\quillet.col"},
      {"drive without a backslash", CheckCollectionFile, "C:quillet.col",
       "the collection file must be a Windows path such as C:\\windows\\Help\\quillet.col"},
      {"directory", CheckCollectionFile, "C:\\windows\\Help\\", "the collection file's path names a directory"},
      {"quote", CheckCollectionFile, "C:\\a\"b.col",
       "the collection file's path holds a character Windows does not allow in file names"},
      {"second colon", CheckCollectionFile, "C:\\a:b.col",
       "the collection file's path holds a character Windows does not allow in file names"},
      {"forward slash", CheckCollectionFile, "C:\\a/b.col",
       "the collection file's path holds a character Windows does not allow in file names"},
      {"empty folder name", CheckCollectionFile, "C:\\a\\\\b.col", "the collection file's path has an empty folder name"},
      {"long path", CheckCollectionFile, longPath, "the collection file's path is longer than 259 bytes"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(row.check(row.value), row.why);
  }
}

TEST(HelpSetup, CollectionRegistryNamesItsFileAsAnAttributeValue) {
  const std::string text = CollectionRegistryText("D:\\Docs & Notes\\my.col");
  EXPECT_NE(text.find("\r\n\t<ColName value=\"D:\\Docs &amp; Notes\\my.col\"/>\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // CR LF line ends
}

class HostFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(QUILLET_TEST_WORK_DIR) / "host_files";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { quillet::platform::InjectWriteFailureAfter(-1); }
  static std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir_;
};

TEST_F(HostFilesTest, WritesWholeFilesAndMakesTheirFolders) {
  const fs::path target = dir_ / "a" / "b" / "file.dat";
  std::string error;
  ASSERT_TRUE(WriteWholeFile(target.string(), std::string("one\0two\r\n", 9), error)) << error;
  EXPECT_EQ(Slurp(target), std::string("one\0two\r\n", 9));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(target.string(), bytes, error)) << error;
  EXPECT_EQ(bytes, std::string("one\0two\r\n", 9));

  ASSERT_TRUE(WriteWholeFile(target.string(), "", error)) << error;
  EXPECT_EQ(fs::file_size(target), 0u);
  EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()), 1);
}

TEST_F(HostFilesTest, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  const fs::path target = dir_ / "system.reg";
  std::ofstream(target, std::ios::binary) << "old bytes";
  quillet::platform::InjectWriteFailureAfter(3);
  std::string error;
  EXPECT_FALSE(WriteWholeFile(target.string(), "new bytes that do not fit", error));
  EXPECT_EQ(error, "cannot write " + target.string() + " (it was left as it was)");
  EXPECT_EQ(Slurp(target), "old bytes");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(HostFilesTest, ReportsWhatCannotBeReadOrMade) {
  std::string bytes, error;
  const fs::path missing = dir_ / "missing.dat";
  EXPECT_FALSE(ReadWholeFile(missing.string(), bytes, error));
  EXPECT_EQ(error, "cannot open " + missing.string() + " for reading");

  std::ofstream(dir_ / "plain") << "x";  // a file where a folder must go
  EXPECT_FALSE(WriteWholeFile((dir_ / "plain" / "sub" / "f").string(), "x", error));
  EXPECT_EQ(error, "cannot create the directory " + (dir_ / "plain" / "sub").string());
}

}  // namespace
