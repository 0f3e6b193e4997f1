// Title entries of the collection registry: finding, adding, removing and enumerating
// them, their values, the default collection's number, and backups.
#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

using DocInfoTest = CollectionTest;

TEST_F(DocInfoTest, EntriesAreFoundAddedAndEnumeratedInDocumentOrder) {
  // An entry outside DocCompilations, at any depth, counts as well.
  unsigned long r = openRegistry("<R><X>" + Entry("a") + "</X><DocCompilations>" + Entry("B") + "</DocCompilations></R>");
  unsigned long d1 = 0, d2 = 0, e = 0;
  EXPECT_EQ(QuilletFindDoc(r, "b", &d1), QUILLET_E_NOT_FOUND);  // ids compare case-sensitively
  ASSERT_EQ(QuilletAddDoc(r, "c", &d1), 0);
  ASSERT_EQ(QuilletAddDoc(r, "c", &d2), 0);
  EXPECT_NE(d1, d2);
  EXPECT_EQ(Entries(r), "-|-|-|-|-|a;-|-|-|-|-|B;-|-|-|-|-|c;");  // added once, at the end
  QuilletCloseDocInfo(r);

  r = openRegistry("<HTMLHelpDocInfo/>");
  ASSERT_EQ(QuilletEnumDocCompilations(r, &e), 0);
  EXPECT_EQ(QuilletNextDocCompilation(e, &d1), QUILLET_E_NOT_FOUND);
  EXPECT_EQ(QuilletAddDoc(r, "x", &d1), QUILLET_E_STRUCTURE);
  EXPECT_EQ(lastError(), "");
  EXPECT_EQ(Entries(r), "");
  QuilletCloseDocInfo(r);
}

TEST_F(DocInfoTest, RemovedEntryHandlesAndEnumeration) {
  const unsigned long r = openRegistry(Registry(Entry("a") + Entry("b") + Entry("c")));
  unsigned long e = 0, d = 0, b = 0, b2 = 0;
  ASSERT_EQ(QuilletEnumDocCompilations(r, &e), 0);
  ASSERT_EQ(QuilletNextDocCompilation(e, &d), 0);
  ASSERT_EQ(QuilletFindDoc(r, "b", &b), 0);
  ASSERT_EQ(QuilletFindDoc(r, "b", &b2), 0);
  SetLastErrorText("before");
  EXPECT_EQ(QuilletRemoveDoc(0), QUILLET_E_NULL_HANDLE);
  EXPECT_EQ(lastError(), "before");  // a null handle changes nothing, the text included
  ASSERT_EQ(QuilletRemoveDoc(b), 0);
  // The snapshot stands: b is still handed out, and the handle on it reads it.
  unsigned long inSnapshot = 0;
  ASSERT_EQ(QuilletNextDocCompilation(e, &inSnapshot), 0);
  EXPECT_EQ(Values(inSnapshot), "-|-|-|-|-|b");
  ASSERT_EQ(QuilletNextDocCompilation(e, &d), 0);
  EXPECT_EQ(Values(d), "-|-|-|-|-|c");
  EXPECT_EQ(QuilletNextDocCompilation(e, &d), QUILLET_E_NOT_FOUND);
  char buffer[64];
  for (unsigned long removed : {b, b2}) {
    SetLastErrorText("");
    EXPECT_EQ(QuilletGetDocValue(removed, 6, buffer), QUILLET_E_NULL_HANDLE);
    EXPECT_EQ(lastError(), "Invalid handle");
    EXPECT_EQ(QuilletRemoveDoc(removed), QUILLET_E_NULL_HANDLE);
  }
  QuilletCloseDoc(b);  // its release still takes it
  EXPECT_EQ(QuilletFindDoc(r, "b", &d), QUILLET_E_NOT_FOUND);
  ASSERT_EQ(QuilletSaveDocInfo(r), 0);
  QuilletCloseDocInfo(r);
  EXPECT_EQ(QuilletNextDocCompilation(e, &d), QUILLET_E_NULL_HANDLE);  // ended with the registry
  const unsigned long again = openRegistry(sandbox->readFile(kRegistryFile));
  EXPECT_EQ(Entries(again), "-|-|-|-|-|a;-|-|-|-|-|c;");
  QuilletCloseDocInfo(again);
}

TEST_F(DocInfoTest, DefaultCollectionNumber) {
  auto col = [](const std::string& children) { return "<Collection>" + children + "</Collection>"; };
  const std::string match = "<ColName value=\"C:\\WINDOWS\\HELP\\QUILLET.COL\"/>";
  const struct {
    std::string collections;  // "" for none at all
    int code;
    const char* number;
    const char* lastError;
  } cases[] = {
      {col(match + "<ColNum value=\"3\"/>"), 0, "3", "Error locating elements in XML document"},
      {"", 5, "", "Collections element not found under root"},
      {"<Other/>", 5, "", "Error locating first child collection"},
      {col("") + col("<ColName value=\"x\"/>") + col("<ColNum value=\"4\"/>" + match), 0, "4",
       "Error locating ColName within Collection"},
      {col(match) + col("<ColName value=\"y\"/>"), 9, "", "Error locating ColNum within Collection"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.collections);
    const unsigned long r =
        openRegistry(c.collections.empty() ? "<R/>" : "<R><Collections>" + c.collections + "</Collections></R>");
    char buffer[64] = "";
    EXPECT_EQ(QuilletGetDefaultCollectionNumber(r, buffer), c.code);
    EXPECT_STREQ(buffer, c.number);
    EXPECT_EQ(lastError(), c.lastError);
    QuilletCloseDocInfo(r);
  }
  sandbox->writeSystemReg("");
  const unsigned long r = openRegistry(Registry(""));
  char buffer[64];
  EXPECT_EQ(QuilletGetDefaultCollectionNumber(r, buffer), QUILLET_E_REGISTRY);
  EXPECT_EQ(lastError(), "Error getting default collection");
  QuilletCloseDocInfo(r);
}

TEST_F(DocInfoTest, OpenChoosesTheRegistryListingTheDefaultCollection) {
  const std::string allUsers = "drive_c/Documents and Settings/All Users/Application Data/Microsoft/HTML Help/";
  unsigned long h = 0;
  EXPECT_EQ(QuilletOpenDocInfo("C:\\windows\\Help\\missing.dat", &h), QUILLET_E_NOT_FOUND);
  EXPECT_EQ(lastError(), "File does not exist");
  sandbox->writeFile(kRegistryFile, Registry(Entry("help-dir")));
  sandbox->writeFile(allUsers + "hhcolreg.dat", Registry(Entry("all-users")));
  ASSERT_EQ(QuilletOpenDocInfo(&h), 0);
  EXPECT_EQ(Entries(h), "-|-|-|-|-|help-dir;");
  QuilletCloseDocInfo(h);

  sandbox->writeFile(kRegistryFile, "<R><Collections>");  // not loadable: the All Users one is taken
  ASSERT_EQ(QuilletOpenDocInfo(&h), 0);
  EXPECT_EQ(Entries(h), "-|-|-|-|-|all-users;");
  QuilletCloseDocInfo(h);

  sandbox->nameDefaultCollection("C:\\nowhere.col");
  EXPECT_EQ(QuilletOpenDocInfo(&h), QUILLET_E_NO_COLLECTION);
  EXPECT_EQ(QuilletOpenDocInfo(kRegistryPath, &h), QUILLET_E_PARSE);
  EXPECT_EQ(lastError().rfind("Error Message : ", 0), 0u) << lastError();
}

TEST_F(DocInfoTest, BackupsReplaceTheOlderOnes) {
  EXPECT_EQ(QuilletBackupDocInfo(), QUILLET_E_NOT_FOUND);
  EXPECT_EQ(QuilletBackupDefaultCollection(), QUILLET_E_BACKUP);  // no collection file to copy
  for (const char* content : {"first", "second"}) {
    sandbox->writeFile(kRegistryFile, content);
    sandbox->writeFile(kCollectionFile, content);
    ASSERT_EQ(QuilletBackupDocInfo(), 0);
    ASSERT_EQ(QuilletBackupDefaultCollection(), 0);
  }
  EXPECT_EQ(sandbox->readFile("drive_c/windows/Help/HHCOLREG.BAK"), "second");
  EXPECT_EQ(sandbox->readFile("drive_c/windows/Help/quillet.bak"), "second");
  sandbox->writeSystemReg("");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletBackupDefaultCollection(), QUILLET_E_DEFAULT_COLLECTION);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to get collection filename\n");
}


using ValuesTest = CollectionTest;

TEST_F(ValuesTest, IdsMapToTheirElementsAndOnlyTheFirstLocationHistoryCounts) {
  const unsigned long r = openRegistry(Registry(
      "<DocCompilation><DocCompId value=\"t\"/><DocCompLanguage/><LocationHistory><TitleLocation value=\"a.chm\"/>"
      "<IndexLocation value=\"a.chi\"/><LocationRef value=\"loc\"/><ColNum value=\"4\"/></LocationHistory>"
      "<LocationHistory><TitleLocation value=\"second\"/></LocationHistory></DocCompilation>"));
  unsigned long d = 0;
  ASSERT_EQ(QuilletFindDoc(r, "t", &d), 0);
  EXPECT_EQ(Values(d), "a.chm|a.chi||4|loc|t");
  char buffer[16] = "unchanged", value[] = "v";
  for (long id : {0L, 7L, -1L}) {
    EXPECT_EQ(QuilletGetDocValue(d, id, buffer), QUILLET_E_NOT_FOUND) << id;
    EXPECT_EQ(QuilletSetDocValue(d, id, value), QUILLET_E_NOT_FOUND) << id;
  }
  EXPECT_EQ(QuilletSetDocValue(d, 6, value), QUILLET_E_NOT_FOUND);
  ASSERT_EQ(QuilletSetDocValue(d, 1, value), 0);
  EXPECT_EQ(Values(d) + buffer, "v|a.chi||4|loc|tunchanged");
  QuilletCloseDocInfo(r);
}

TEST_F(ValuesTest, WritingAppendsMissingElementsInCallOrder) {
  const unsigned long r = openRegistry("<R><DocCompilations/></R>");
  unsigned long d = 0;
  ASSERT_EQ(QuilletAddDoc(r, "new", &d), 0);
  EXPECT_EQ(Values(d), "-|-|-|-|-|new");
  char chi[] = "x.chi", chm[] = "x.chm", first[] = "1", second[] = "2";
  for (auto [id, value] : {std::pair{2L, chi}, {1L, chm}, {4L, first}, {4L, second}})
    ASSERT_EQ(QuilletSetDocValue(d, id, value), 0);
  ASSERT_EQ(QuilletSaveDocInfo(r), 0);
  QuilletCloseDocInfo(r);
  EXPECT_EQ(sandbox->readFile(kRegistryFile),
            "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n<R>\r\n\t<DocCompilations>\r\n\t\t<DocCompilation>\r\n"
            "\t\t\t<DocCompId value=\"new\"/>\r\n\t\t\t<LocationHistory>\r\n\t\t\t\t<IndexLocation value=\"x.chi\"/>\r\n"
            "\t\t\t\t<TitleLocation value=\"x.chm\"/>\r\n\t\t\t\t<ColNum value=\"2\"/>\r\n\t\t\t</LocationHistory>\r\n"
            "\t\t</DocCompilation>\r\n\t</DocCompilations>\r\n</R>\r\n");
}

}  // namespace
}  // namespace quillet::test
