// Loading, changing, saving and backing up HTML Help's files through the DLL on the
// Win32 backend: the C runtime's descriptors for reading and writing, ReplaceFileA and
// MoveFileExA for putting a saved file in place, CopyFileA for the backups.
#include <windows.h>

#include <string>

#include "HelpEnvironment.h"
#include "quillet/quillet.h"
#include "quillet/quillet_c.h"

namespace quillet::windows_test {
namespace {

using CollectionTest = HelpEnvironmentTest;

std::string FolderName(unsigned long folder) {
  char name[256] = {};
  EXPECT_EQ(QuilletGetFolderName(folder, name), 0);
  return name;
}

TEST_F(CollectionTest, FoldersSurviveSaveAndReloadAndAMissingFileIsNotLoaded) {
  SetUpHelp();
  unsigned long collection = 0, tools = 0, editors = 0, other = 0;
  // What the file says is the library's own (its Linux tests); a file that is not there
  // is the Win32 backend's to tell.
  EXPECT_EQ(QuilletLoadCollection((WorkDirectory() + "missing.col").c_str(), &collection), 110);
  EXPECT_EQ(LastError(), "NO LAST ERROR");
  EXPECT_EQ(collection, 0u);
  ASSERT_EQ(QuilletLoadDefaultCollection(&collection), 0);
  ASSERT_EQ(QuilletAddFolder(collection, "Tools", &tools), 0);
  ASSERT_EQ(QuilletAddSubFolder(tools, "Editors", &editors), 0);
  ASSERT_EQ(QuilletAddFolder(collection, "Other", &other), 0);
  ASSERT_EQ(QuilletSaveCollection(collection), 0);
  QuilletDeleteFolder(other);
  // The second save replaces the file the first one made.
  ASSERT_EQ(QuilletSaveCollection(collection), 0);
  QuilletReleaseCollection(collection);
  EXPECT_TRUE(FilesMatching(WorkDirectory(), "*.qtmp").empty());

  ASSERT_EQ(QuilletLoadCollection(collection_.c_str(), &collection), 0);
  unsigned long cursor = 0, folder = 0, found = 0;
  ASSERT_EQ(QuilletEnumCollectionRootFolders(collection, &cursor), 0);
  ASSERT_EQ(QuilletNextCollectionFolder(cursor, &folder), 0);
  EXPECT_EQ(FolderName(folder), "Tools");
  EXPECT_EQ(QuilletNextCollectionFolder(cursor, &folder), 5);  // "Other" is gone
  ASSERT_EQ(QuilletFindFolder(collection, "Editors", &found), 0);
  EXPECT_EQ(FolderName(found), "Editors");
  QuilletReleaseCollection(collection);
}

// Title entries written through a doc-info handle are there when the registry is opened
// again. With `true`, the registry that lists the default collection is the All Users
// one, and the Help directory's (listing another collection) is left alone.
class TitleEntriesTest : public HelpEnvironmentTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TitleEntriesTest, SurviveSaveAndReopen) {
  SetUpHelp();
  std::string registry = registry_;
  const char* number = "1";
  if (GetParam()) {
    registry = AllUsersHelpDirectory() + "hhcolreg.dat";
    number = "7";
    WriteBytes(registry_, RegistryText("C:\\another.col"));
    WriteBytes(registry, RegistryText(collection_, number));
  }
  unsigned long docInfo = 0, doc = 0;
  ASSERT_EQ(QuilletOpenDocInfo(&docInfo), 0);
  char found[64] = {};
  EXPECT_EQ(QuilletGetDefaultCollectionNumber(docInfo, found), 0);
  EXPECT_STREQ(found, number);
  ASSERT_EQ(QuilletAddDoc(docInfo, "Guide", &doc), 0);
  char chm[] = "C:\\help\\guide.chm";
  char language[] = "1031";
  EXPECT_EQ(QuilletSetDocValue(doc, 1, chm), 0);
  EXPECT_EQ(QuilletSetDocValue(doc, 3, language), 0);
  QuilletCloseDoc(doc);
  ASSERT_EQ(QuilletAddDoc(docInfo, "Gone", &doc), 0);
  EXPECT_EQ(QuilletRemoveDoc(doc), 0);
  QuilletCloseDoc(doc);
  ASSERT_EQ(QuilletSaveDocInfo(docInfo), 0);
  QuilletCloseDocInfo(docInfo);

  ASSERT_EQ(QuilletOpenDocInfo(registry.c_str(), &docInfo), 0);
  unsigned long entries = 0;
  ASSERT_EQ(QuilletEnumDocCompilations(docInfo, &entries), 0);
  ASSERT_EQ(QuilletNextDocCompilation(entries, &doc), 0);
  EXPECT_EQ(DocValue(doc, 6), "Guide");
  EXPECT_EQ(DocValue(doc, 1), "C:\\help\\guide.chm");
  EXPECT_EQ(DocValue(doc, 3), "1031");
  QuilletCloseDoc(doc);
  EXPECT_EQ(QuilletNextDocCompilation(entries, &doc), 5);
  QuilletCloseDocInfo(docInfo);
  if (GetParam()) {
    EXPECT_EQ(ReadBytes(registry_), RegistryText("C:\\another.col"));
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, TitleEntriesTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "all_users" : "help_directory");
                         });

// Both backups copy with CopyFileA beside the file and put the copy in place of the
// older backup.
TEST_F(CollectionTest, BackupsReplaceOlderOnes) {
  EXPECT_EQ(QuilletBackupDocInfo(), 5);
  EXPECT_EQ(QuilletBackupDefaultCollection(), 10);
  SetUpHelp();
  const std::string registryBackup = HelpDirectory() + "HHCOLREG.BAK";
  const std::string collectionBackup = WorkDirectory() + "tests.bak";
  WriteBytes(registryBackup, "an older backup");
  WriteBytes(collectionBackup, "an older backup");

  EXPECT_EQ(QuilletBackupDocInfo(), 0);
  EXPECT_EQ(QuilletBackupDefaultCollection(), 0);
  EXPECT_EQ(ReadBytes(registryBackup), ReadBytes(registry_));
  EXPECT_EQ(ReadBytes(collectionBackup), ReadBytes(collection_));
  EXPECT_TRUE(FilesMatching(HelpDirectory(), "*.qtmp").empty());
  EXPECT_TRUE(FilesMatching(WorkDirectory(), "*.qtmp").empty());
}

// In safe mode a save or a backup that cannot put its file in place says why, and
// leaves what is there alone.
TEST_F(CollectionTest, SafeModeRefusesToReplaceAFolder) {
  SetUpHelp();
  QuilletSetSafeMode(1);
  const std::string backup = WorkDirectory() + "tests.bak";
  ASSERT_TRUE(CreateDirectoryA(backup.c_str(), nullptr));
  EXPECT_EQ(QuilletBackupDefaultCollection(), 140);
  EXPECT_NE(LastError().find("is a directory"), std::string::npos) << LastError();

  unsigned long collection = 0;
  ASSERT_EQ(QuilletLoadDefaultCollection(&collection), 0);
  ASSERT_TRUE(DeleteFileA(collection_.c_str()));
  ASSERT_TRUE(CreateDirectoryA(collection_.c_str(), nullptr));
  EXPECT_EQ(QuilletSaveCollection(collection), 170);
  EXPECT_NE(LastError().find("is a directory"), std::string::npos) << LastError();
  QuilletReleaseCollection(collection);
  EXPECT_TRUE(FilesMatching(WorkDirectory(), "*.qtmp").empty());
}

}  // namespace
}  // namespace quillet::windows_test
