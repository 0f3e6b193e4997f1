#include <gtest/gtest.h>

#include <set>
#include <string>

#include "HelpSetup.h"
#include "HostFiles.h"
#include "platform/Platform.h"
#include "support/SandboxPrefix.h"

namespace {

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
      {"empty name", CheckCollectionName, "", "the collection name must not be empty"},
      {"name with a backslash", CheckCollectionName, "a\\b", "the collection name names a registry key: no backslash in it"},
      {"name with a tab", CheckCollectionName, "a\tb", "the collection name must not hold control characters"},
      {"long name", CheckCollectionName, longName, "the collection name is longer than 255 bytes"},
      {"default file", CheckCollectionFile, "C:\\windows\\Help\\quillet.col", ""},
      {"other drive, lower case", CheckCollectionFile, "d:\\Docs & Notes\\my.col", ""},
      {"relative path", CheckCollectionFile, "Help\\quillet.col",
       "the collection file must be a Windows path such as C:\\windows\\Help\\quillet.col"},
      {"drive without a backslash", CheckCollectionFile, "C:quillet.col",
       "the collection file must be a Windows path such as C:\\windows\\Help\\quillet.col"},
      {"directory", CheckCollectionFile, "C:\\windows\\Help\\", "the collection file's path names a directory"},
      {"quote", CheckCollectionFile, "C:\\a\"b.col",
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

TEST(HostFiles, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  quillet::test::SandboxPrefix sandbox;
  sandbox.writeFile("drive_c/system.reg", "old bytes");
  const std::string target = sandbox.host("drive_c/system.reg").string();
  quillet::platform::InjectWriteFailureAfter(3);
  std::string error;
  const bool written = WriteWholeFile(target, "new bytes that do not fit", error);
  quillet::platform::InjectWriteFailureAfter(-1);
  EXPECT_FALSE(written);
  EXPECT_EQ(error, "cannot write " + target + ": No space left on device (it was left as it was)");
  EXPECT_EQ(sandbox.readFile("drive_c/system.reg"), "old bytes");
  EXPECT_EQ(sandbox.names("drive_c"), (std::set<std::string>{"system.reg", "windows"}));
}

}  // namespace
