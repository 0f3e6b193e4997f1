#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

using DocInfoTest = CollectionTest;

TEST_F(DocInfoTest, OpenByNameFailures) {
  unsigned long h = 0;
  EXPECT_EQ(QuilletOpenDocInfo("C:\\windows\\Help\\missing.dat", &h), QUILLET_E_NOT_FOUND);
  EXPECT_EQ(lastError(), "File does not exist");
  writeRegistry("<HTMLHelpDocInfo><Collections></HTMLHelpDocInfo>");
  EXPECT_EQ(QuilletOpenDocInfo(kRegistryPath, &h), QUILLET_E_PARSE);
  EXPECT_EQ(lastError().rfind("Error Message : ", 0), 0u) << lastError();
  EXPECT_EQ(h, 0u);
}

TEST_F(DocInfoTest, EntriesAreFoundAddedAndEnumeratedInDocumentOrder) {
  // An entry outside DocCompilations, at any depth, counts as well.
  const unsigned long r = openRegistry(Registry(Entry("a") + Entry("B")) + "<!-- -->");
  EXPECT_EQ(Ids(r), "a,B");
  unsigned long d1 = 0, d2 = 0;
  EXPECT_EQ(QuilletFindDoc(r, "b", &d1), QUILLET_E_NOT_FOUND);  // ids compare case-sensitively
  ASSERT_EQ(QuilletAddDoc(r, "c", &d1), 0);
  ASSERT_EQ(QuilletAddDoc(r, "c", &d2), 0);
  EXPECT_NE(d1, d2);
  EXPECT_EQ(Ids(r), "a,B,c");  // added once, at the end
  EXPECT_EQ(Values(d1), "-|-|-|-|-|c");
  QuilletCloseDocInfo(r);

  const unsigned long nested = openRegistry(
      "<R><Deep><DocCompilation><DocCompId value=\"x\"/></DocCompilation></Deep><DocCompilations/></R>");
  ASSERT_EQ(QuilletFindDoc(nested, "x", &d1), 0);
  QuilletCloseDocInfo(nested);
}

TEST_F(DocInfoTest, EmptyRegistryAndMissingDocCompilations) {
  const unsigned long r = openRegistry("<HTMLHelpDocInfo/>");
  unsigned long e = 0, d = 0;
  ASSERT_EQ(QuilletEnumDocCompilations(r, &e), 0);
  EXPECT_EQ(QuilletNextDocCompilation(e, &d), QUILLET_E_NOT_FOUND);
  SetLastErrorText("kept");
  EXPECT_EQ(QuilletAddDoc(r, "x", &d), QUILLET_E_STRUCTURE);
  EXPECT_EQ(lastError(), "kept");
  EXPECT_EQ(Ids(r), "");
  QuilletCloseDocInfo(r);
}

TEST_F(DocInfoTest, RemovedEntryHandlesAndEnumeration) {
  const unsigned long r = openRegistry(Registry(Entry("a") + Entry("b") + Entry("c")));
  unsigned long e = 0, d = 0, b = 0, b2 = 0;
  ASSERT_EQ(QuilletEnumDocCompilations(r, &e), 0);
  ASSERT_EQ(QuilletNextDocCompilation(e, &d), 0);
  ASSERT_EQ(QuilletFindDoc(r, "b", &b), 0);
  ASSERT_EQ(QuilletFindDoc(r, "b", &b2), 0);
  EXPECT_EQ(QuilletRemoveDoc(0), QUILLET_E_NULL_HANDLE);
  ASSERT_EQ(QuilletRemoveDoc(b), 0);
  // The snapshot still lists b; it is passed over rather than handed out again.
  ASSERT_EQ(QuilletNextDocCompilation(e, &d), 0);
  EXPECT_EQ(Values(d), "-|-|-|-|-|c");
  EXPECT_EQ(QuilletNextDocCompilation(e, &d), QUILLET_E_NOT_FOUND);
  char buffer[64];
  for (unsigned long removed : {b, b2}) {
    SetLastErrorText("");
    EXPECT_EQ(QuilletGetDocValue(removed, 6, buffer), QUILLET_E_NULL_HANDLE);
    EXPECT_EQ(lastError(), "Invalid handle");
    EXPECT_EQ(QuilletSetDocValue(removed, 1, buffer), QUILLET_E_NULL_HANDLE);
    EXPECT_EQ(QuilletRemoveDoc(removed), QUILLET_E_NULL_HANDLE);
  }
  QuilletCloseDoc(b);  // still accepted by its release
  QuilletCloseDoc(b);
  EXPECT_EQ(QuilletFindDoc(r, "b", &d), QUILLET_E_NOT_FOUND);
  ASSERT_EQ(QuilletSaveDocInfo(r), 0);
  QuilletCloseDocInfo(r);
  EXPECT_EQ(QuilletNextDocCompilation(e, &d), QUILLET_E_NULL_HANDLE);  // ended with the registry
  unsigned long again = 0;
  ASSERT_EQ(QuilletOpenDocInfo(kRegistryPath, &again), 0);
  EXPECT_EQ(Ids(again), "a,c");
  QuilletCloseDocInfo(again);
}

TEST_F(DocInfoTest, DefaultCollectionNumber) {
  struct Case {
    const char* label;
    std::string registry;
    int code;
    const char* number;
    const char* lastError;
  };
  const std::string col = "<Collection><ColNum value=\"3\"/><ColName value=\"C:\\WINDOWS\\HELP\\QUILLET.COL\"/></Collection>";
  const Case cases[] = {
      {"name matched ignoring case", "<R><Collections>" + col + "</Collections></R>", 0, "3",
       "Error locating elements in XML document"},
      {"no Collections", "<R/>", 5, "", "Collections element not found under root"},
      {"no Collection", "<R><Collections><Other/></Collections></R>", 5, "", "Error locating first child collection"},
      {"later sibling matches",
       "<R><Collections><Collection/><Collection><ColName value=\"x\"/></Collection>" + col + "</Collections></R>", 0,
       "3", "Error locating ColName within Collection"},
      {"match without ColNum",
       "<R><Collections><Collection><ColName value=\"c:\\windows\\help\\quillet.col\"/></Collection></Collections></R>",
       9, "", "Error locating ColNum within Collection"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const unsigned long r = openRegistry(c.registry);
    char buffer[64] = "";
    EXPECT_EQ(QuilletGetDefaultCollectionNumber(r, buffer), c.code);
    EXPECT_STREQ(buffer, c.number);
    EXPECT_EQ(lastError(), c.lastError);
    QuilletCloseDocInfo(r);
  }
  sandbox().writeSystemReg("");
  const unsigned long r = openRegistry("<R><Collections>" + col + "</Collections></R>");
  char buffer[64];
  EXPECT_EQ(QuilletGetDefaultCollectionNumber(r, buffer), QUILLET_E_REGISTRY);
  EXPECT_EQ(lastError(), "Error getting default collection");
  QuilletCloseDocInfo(r);
}

TEST_F(DocInfoTest, OpenWithoutNameChoosesTheRegistryListingTheDefaultCollection) {
  unsigned long h = 0;
  writeRegistry(Registry(Entry("help-dir")));
  sandbox().writeFile("drive_c/Documents and Settings/All Users/Application Data/Microsoft/HTML Help/hhcolreg.dat",
                      Registry(Entry("all-users")));
  ASSERT_EQ(QuilletOpenDocInfo(&h), 0);
  EXPECT_EQ(Ids(h), "help-dir");
  QuilletCloseDocInfo(h);

  // The Help directory's registry names another collection: the All Users one wins.
  nameDefaultCollection("C:\\other.col");
  sandbox().writeFile("drive_c/Documents and Settings/All Users/Application Data/Microsoft/HTML Help/hhcolreg.dat",
                      "<R><Collections><Collection><ColNum value=\"1\"/><ColName value=\"c:\\OTHER.col\"/>"
                      "</Collection></Collections><DocCompilations>" + Entry("all-users") + "</DocCompilations></R>");
  ASSERT_EQ(QuilletOpenDocInfo(&h), 0);
  EXPECT_EQ(Ids(h), "all-users");
  QuilletCloseDocInfo(h);

  nameDefaultCollection("C:\\nowhere.col");
  EXPECT_EQ(QuilletOpenDocInfo(&h), QUILLET_E_NO_COLLECTION);
}

TEST_F(DocInfoTest, BackupReplacesTheOlderOne) {
  EXPECT_EQ(QuilletBackupDocInfo(), QUILLET_E_NOT_FOUND);
  writeRegistry("first");
  ASSERT_EQ(QuilletBackupDocInfo(), 0);
  writeRegistry("second");
  ASSERT_EQ(QuilletBackupDocInfo(), 0);
  EXPECT_EQ(sandbox().readFile("drive_c/windows/Help/HHCOLREG.BAK"), "second");

  EXPECT_EQ(QuilletBackupDefaultCollection(), QUILLET_E_BACKUP);  // no collection file yet
  writeCollection("one");
  ASSERT_EQ(QuilletBackupDefaultCollection(), 0);
  writeCollection("two");
  ASSERT_EQ(QuilletBackupDefaultCollection(), 0);
  EXPECT_EQ(sandbox().readFile("drive_c/windows/Help/quillet.bak"), "two");
  sandbox().writeSystemReg("");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletBackupDefaultCollection(), QUILLET_E_DEFAULT_COLLECTION);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to get collection filename\n");
}

}  // namespace
}  // namespace quillet::test
