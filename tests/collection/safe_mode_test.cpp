// What safe mode changes in the exports, and that without it nothing does.
#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include "CollectionFixture.h"
#include "api/SafeMode.h"
#include "platform/Platform.h"
#include "quillet/quillet_c.h"
#include "quillet/xml/SAXReader.h"

namespace quillet::test {
namespace {

class SafeModeTest : public CollectionTest {
 protected:
  void TearDown() override {
    QuilletSetSafeMode(0);
    QuilletLockFiles(0);
    platform::ClearFaults();
    CollectionTest::TearDown();
  }

  std::set<std::string> helpFolder() const { return sandbox->names("drive_c/windows/Help"); }
};

TEST_F(SafeModeTest, AFailedSaveIsReportedOnlyInSafeModeAndLeavesTheFile) {
  const std::string text = Collection(Folder("A"));
  const unsigned long c = loadCollection(text);
  unsigned long folder = 0;
  ASSERT_EQ(QuilletAddFolder(c, "B", &folder), 0);
  for (const platform::FaultPoint point : {platform::FaultPoint::kOpen, platform::FaultPoint::kWrite,
                                           platform::FaultPoint::kFlush, platform::FaultPoint::kRename}) {
    for (const int safe : {0, 1}) {
      QuilletSetSafeMode(safe);
      SetLastErrorText("");
      platform::ClearFaults();
      platform::InjectFault(point, 1);
      EXPECT_EQ(QuilletSaveCollection(c), safe ? QUILLET_E_WRITE_FAILED : 0) << static_cast<int>(point);
      if (safe) {
        EXPECT_EQ(lastError().rfind("Saving failed: ", 0), 0u) << lastError();
        EXPECT_NE(lastError().find("C:\\windows\\Help\\quillet.col"), std::string::npos) << lastError();
      } else {
        EXPECT_EQ(lastError(), "");
      }
      EXPECT_EQ(sandbox->readFile(kCollectionFile), text);
      EXPECT_EQ(helpFolder(), (std::set<std::string>{"quillet.col"}));
    }
  }
  platform::ClearFaults();
  EXPECT_EQ(QuilletSaveCollection(c), 0);
  EXPECT_NE(sandbox->readFile(kCollectionFile), text);
  QuilletReleaseCollection(c);
}

TEST_F(SafeModeTest, TheCompatibilityFormIsReadAndWrittenInTheAnsiCodePage) {
  // "Справка" in code page 1251, and a Western folder beside it.
  const std::string bytes = "<XML><HTMLHelpCollection><Folders><Folder><TitleString value=\"\xD1\xEF\xF0\xE0\xE2"
                            "\xEA\xE0\"/></Folder></Folders></HTMLHelpCollection></XML>";
  sandbox->setCodePage(1251);
  // Without safe mode each byte is the character of the same number, as always.
  unsigned long c = loadCollection(bytes);
  EXPECT_EQ(Tree(c), "\xC3\x91\xC3\xAF\xC3\xB0\xC3\xA0\xC3\xA2\xC3\xAA\xC3\xA0");
  QuilletReleaseCollection(c);

  QuilletSetSafeMode(1);
  c = loadCollection(bytes);
  const std::string spravka = "\xD0\xA1\xD0\xBF\xD1\x80\xD0\xB0\xD0\xB2\xD0\xBA\xD0\xB0";
  EXPECT_EQ(Tree(c), spravka);
  unsigned long folder = 0;
  ASSERT_EQ(QuilletAddFolder(c, "\xD0\x94", &folder), 0);  // Д: in 1251
  ASSERT_EQ(QuilletSaveCollection(c), 0) << lastError();
  EXPECT_NE(sandbox->readFile(kCollectionFile).find("<TitleString value=\"\xC4\"/>"), std::string::npos);
  ASSERT_EQ(QuilletAddFolder(c, "\xC3\xA9", &folder), 0);  // é: not in 1251
  EXPECT_EQ(QuilletSaveCollection(c), QUILLET_E_UNREPRESENTABLE);
  EXPECT_EQ(lastError(),
            "'\xC3\xA9' (U+00E9) cannot be written in code page 1251 (C:\\windows\\Help\\quillet.col); nothing was "
            "written");
  EXPECT_NE(sandbox->readFile(kCollectionFile).find("<TitleString value=\"\xC4\"/>"), std::string::npos);
  QuilletReleaseCollection(c);

  // Without safe mode the same text loses its high byte: U+0414 is written as 0x14.
  QuilletSetSafeMode(0);
  c = loadCollection(bytes);
  ASSERT_EQ(QuilletAddFolder(c, "\xD0\x94", &folder), 0);
  ASSERT_EQ(QuilletSaveCollection(c), 0);
  EXPECT_NE(sandbox->readFile(kCollectionFile).find("<TitleString value=\"\x14\"/>"), std::string::npos);
  QuilletReleaseCollection(c);
}

TEST_F(SafeModeTest, SafeInstallChangesNeitherFileWhenTheCollectionIsBroken) {
  sandbox->writeFile(kRegistryFile, Registry(""));
  sandbox->writeFile(kCollectionFile, "<HTMLHelpCollection><Folders>");
  sandbox->writeFile("drive_c/t.chm", "x");
  // Classic: the registry entry is saved before the collection fails to load.
  EXPECT_EQ(QuilletInstall("A", "C:\\t.chm", "C:\\t.chm", "one"), QUILLET_E_DEFAULT_COLLECTION);
  EXPECT_EQ(lastError(), "Failed to load collection");
  EXPECT_NE(sandbox->readFile(kRegistryFile).find("one"), std::string::npos);

  QuilletSetSafeMode(1);
  const std::string registry = sandbox->readFile(kRegistryFile);
  EXPECT_EQ(QuilletInstall("A", "C:\\t.chm", "C:\\t.chm", "two"), QUILLET_E_DEFAULT_COLLECTION);
  EXPECT_NE(lastError().find("C:\\windows\\Help\\quillet.col"), std::string::npos) << lastError();
  EXPECT_NE(lastError().find("is not well-formed XML (line 1"), std::string::npos) << lastError();
  EXPECT_EQ(sandbox->readFile(kRegistryFile), registry);
  EXPECT_EQ(QuilletRemove("A", "one"), QUILLET_E_REMOVE_LOAD_FAILED);
  EXPECT_EQ(sandbox->readFile(kRegistryFile), registry);
}

TEST_F(SafeModeTest, AFailedBackupSaysWhyInSafeMode) {
  sandbox->writeFile(kCollectionFile, Collection(""));
  std::filesystem::create_directories(sandbox->host("drive_c/windows/Help/quillet.bak"));
  EXPECT_EQ(QuilletBackupDefaultCollection(), QUILLET_E_BACKUP);
  EXPECT_EQ(lastError(), "");
  QuilletSetSafeMode(1);
  EXPECT_EQ(QuilletBackupDefaultCollection(), QUILLET_E_BACKUP);
  EXPECT_EQ(lastError(),
            "Backup failed: C:\\windows\\Help\\quillet.bak is a directory, not a file: it was left as it is; the "
            "backup was left as it was");
  EXPECT_TRUE(std::filesystem::is_directory(sandbox->host("drive_c/windows/Help/quillet.bak")));
}

// Whatever the library writes it reads back: folders nested far deeper than any real
// collection load again, and past the reader's limit a safe save refuses to write.
TEST_F(SafeModeTest, AFileTheLibraryWritesLoadsAgain) {
  QuilletSetSafeMode(1);
  const unsigned long c = loadCollection(Collection(""));
  unsigned long folder = 0;
  ASSERT_EQ(QuilletAddFolder(c, "0", &folder), 0);
  for (int depth = 1; depth < 600; ++depth) ASSERT_EQ(QuilletAddSubFolder(folder, "d", &folder), 0);
  ASSERT_EQ(QuilletSaveCollection(c), 0) << lastError();
  sandbox->writeFile(kRegistryFile, Registry(""));
  sandbox->writeFile("drive_c/t.chm", "x");
  EXPECT_EQ(QuilletInstall("0\\d\\d", "C:\\t.chm", "C:\\t.chm", "deep"), 0) << lastError();

  // The tree keeps growing in memory; saving it would write what cannot be read.
  for (int depth = 600; depth < xml::kMaxElementDepth; ++depth) ASSERT_EQ(QuilletAddSubFolder(folder, "d", &folder), 0);
  const std::string saved = sandbox->readFile(kCollectionFile);
  EXPECT_EQ(QuilletSaveCollection(c), QUILLET_E_WRITE_FAILED);
  EXPECT_EQ(lastError(), "Nothing written to C:\\windows\\Help\\quillet.col: it could not be read back, because "
                         "elements nest deeper than 100000 levels; the file was left as it was");
  EXPECT_EQ(sandbox->readFile(kCollectionFile), saved);
  QuilletReleaseCollection(c);
}

TEST_F(SafeModeTest, LockedHandlesHoldTheLockUntilReleased) {
  sandbox->writeFile(kRegistryFile, Registry(""));
  const std::string lockFile = "C:\\windows\\Help\\hhcolreg.lck";
  platform::FileLock other;  // another program's view of the lock
  std::string error;
  QuilletLockFiles(1);
  const unsigned long c = loadCollection(Collection(""));
  EXPECT_FALSE(other.acquire(lockFile, 0, error));
  const unsigned long r = openRegistry(Registry(""));  // the process's own lock does not wait for itself
  QuilletReleaseCollection(c);
  EXPECT_FALSE(other.acquire(lockFile, 0, error));
  QuilletCloseDocInfo(r);
  EXPECT_TRUE(other.acquire(lockFile, 0, error)) << error;
  platform::FileLock nowhere;
  EXPECT_FALSE(nowhere.acquire("C:\\no\\such\\folder\\x.lck", 0, error));
  EXPECT_EQ(error.rfind("cannot open the lock file C:\\no\\such\\folder\\x.lck: ", 0), 0u) << error;

  // While another program holds it, a load gives up after the wait with 190.
  ::setenv("QUILLET_LOCK_TIMEOUT", "0.05", 1);
  unsigned long handle = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(QuilletLoadCollection(kCollectionPath, &handle), QUILLET_E_LOCKED);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_NE(lastError().find("hhcolreg.lck locked for 50 ms"), std::string::npos) << lastError();
  QuilletLockFiles(0);
  EXPECT_EQ(QuilletInstall("", "C:\\windows\\Help\\hhcolreg.dat", "C:\\windows\\Help\\hhcolreg.dat", "x"),
            QUILLET_E_LOCKED);
  ::unsetenv("QUILLET_LOCK_TIMEOUT");
  EXPECT_EQ(QuilletLoadCollection(kCollectionPath, &handle), 0);
  QuilletReleaseCollection(handle);
}

}  // namespace
}  // namespace quillet::test
