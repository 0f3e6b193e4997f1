#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

class InstallTest : public CollectionTest {
 protected:
  static constexpr const char* kChm = "C:\\titles\\t.chm";
  static constexpr const char* kChi = "C:\\titles\\t.chi";

  void SetUp() override {
    CollectionTest::SetUp();
    sandbox().writeFile("drive_c/titles/t.chm", "chm");
    sandbox().writeFile("drive_c/titles/t.chi", "chi");
    writeRegistry(Registry(""));
    writeCollection(Collection(""));
  }

  std::string tree() {
    unsigned long c = 0;
    if (QuilletLoadCollection(kCollectionPath, &c) != 0) return "#";
    const std::string text = Tree(c);
    QuilletReleaseCollection(c);
    return text;
  }
  // The registered entries as "id:values;..." in document order.
  std::string entries() {
    unsigned long r = 0, e = 0, d = 0;
    if (QuilletOpenDocInfo(kRegistryPath, &r) != 0) return "#";
    std::string text;
    if (QuilletEnumDocCompilations(r, &e) == 0)
      while (QuilletNextDocCompilation(e, &d) == 0) text += Values(d) + ";";
    QuilletCloseDocInfo(r);
    return text;
  }
};

TEST_F(InstallTest, InstallCreatesTheEntryAndTheFolderPathOnce) {
  ASSERT_EQ(QuilletInstall("Tools\\Editors", kChm, kChi, "ed"), 0) << lastError();
  EXPECT_EQ(entries(), "C:\\titles\\t.chm|C:\\titles\\t.chi|1033|7|TESSALY-10-Local|ed;");
  EXPECT_EQ(tree(), "Tools(Editors(=ed))");

  // Again, with a changed entry: its values are rewritten, its other children kept.
  unsigned long r = 0, d = 0;
  ASSERT_EQ(QuilletOpenDocInfo(kRegistryPath, &r), 0);
  ASSERT_EQ(QuilletFindDoc(r, "ed", &d), 0);
  char old[] = "old";
  ASSERT_EQ(QuilletSetDocValue(d, 3, old), 0);
  ASSERT_EQ(QuilletSaveDocInfo(r), 0);
  QuilletCloseDocInfo(r);
  ASSERT_EQ(QuilletInstall("Tools\\Editors\\", kChm, kChi, "ed"), 0);
  EXPECT_EQ(entries(), "C:\\titles\\t.chm|C:\\titles\\t.chi|1033|7|TESSALY-10-Local|ed;");
  EXPECT_EQ(tree(), "Tools(Editors(=ed))");
}

TEST_F(InstallTest, FirstFolderIsFoundAnywhereInTheTree) {
  writeCollection(Collection(Folder("Top", Folder("Tools"))));
  ASSERT_EQ(QuilletInstall("Tools\\Editors", kChm, kChi, "ed"), 0);
  EXPECT_EQ(tree(), "Top(Tools(Editors(=ed)))");
}

TEST_F(InstallTest, PathsWithoutFoldersLeaveTheCollectionAlone) {
  writeCollection("not even xml");
  for (const char* path : {"", "\\", "\\\\\\", "\\Tools"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(QuilletInstall(path, kChm, kChi, "x"), 0);
  }
  EXPECT_EQ(QuilletInstall(nullptr, kChm, kChi, "y"), 0);
  EXPECT_EQ(sandbox().readFile(kCollectionFile), "not even xml");
  EXPECT_EQ(entries(), "C:\\titles\\t.chm|C:\\titles\\t.chi|1033|7|TESSALY-10-Local|x;"
                       "C:\\titles\\t.chm|C:\\titles\\t.chi|1033|7|TESSALY-10-Local|y;");
}

TEST_F(InstallTest, FailuresOfInstall) {
  struct Case {
    const char* label;
    std::string registry, collection, systemReg;
    const char *chm, *chi, *path;
    int code;
    const char* lastError;
    const char* stdoutText;
  };
  const std::string reg = Registry(""), col = Collection("");
  const std::string named = SandboxPrefix::DeveloperCollections("0x0409", "Main", "Main", kCollectionPath);
  const std::string otherName = SandboxPrefix::DeveloperCollections("0x0409", "Main", "Main", "C:\\x.col");
  const std::string longPath(1024, 'a');
  const Case cases[] = {
      {"CHM missing", reg, col, named, "C:\\none.chm", kChi, "A", 7, "CHM file does not exist", ""},
      {"CHI missing", reg, col, named, kChm, "C:\\none.chi", "A", 8, "CHI file does not exist", ""},
      {"no registry lists the collection", reg, col, otherName, kChm, kChi, "A", 9, "", ""},
      {"registry not loadable", "<broken", col, named, kChm, kChi, "A", 9, "", ""},
      {"no DocCompilations",
       "<R><Collections><Collection><ColNum value=\"7\"/><ColName value=\"C:\\windows\\Help\\quillet.col\"/>"
       "</Collection></Collections></R>",
       col, named, kChm, kChi, "A", 120, "", "Failed to add new doc\n"},
      {"collection not loadable", reg, "<HTMLHelpCollection>", named, kChm, kChi, "A", 10,
       "Failed to load collection", ""},
      {"no Folders for a root folder", reg, "<HTMLHelpCollection/>", named, kChm, kChi, "A", 150,
       "Failed to locate Folders element", ""},
      {"path too long", reg, col, named, kChm, kChi, longPath.c_str(), 150,
       "Folder path longer than 1023 characters", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    writeRegistry(c.registry);
    writeCollection(c.collection);
    sandbox().writeSystemReg(c.systemReg);
    SetLastErrorText("");
    testing::internal::CaptureStdout();
    const int code = QuilletInstall(c.path, c.chm, c.chi, "t");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.stdoutText);
    EXPECT_EQ(code, c.code);
    if (*c.lastError) {
      EXPECT_EQ(lastError(), c.lastError);
    }
    EXPECT_EQ(sandbox().readFile(kCollectionFile), c.collection) << "the collection is never half-changed";
  }
}

TEST_F(InstallTest, RemoveUndoesInstall) {
  ASSERT_EQ(QuilletInstall("Tools\\Editors", kChm, kChi, "ed"), 0);
  ASSERT_EQ(QuilletInstall("Tools\\Viewers", kChm, kChi, "view"), 0);
  const std::string registryBefore = sandbox().readFile(kRegistryFile);
  const std::string collectionBefore = sandbox().readFile(kCollectionFile);

  // An id that is not registered changes nothing, even with a folder path.
  EXPECT_EQ(QuilletRemove("Tools", "unknown"), 0);
  EXPECT_EQ(sandbox().readFile(kRegistryFile), registryBefore);
  EXPECT_EQ(sandbox().readFile(kCollectionFile), collectionBefore);

  // A missing folder: the entry goes, no folder does.
  EXPECT_EQ(QuilletRemove("Tools\\Nothing", "ed"), 0);
  EXPECT_EQ(entries().find("|ed;"), std::string::npos);
  EXPECT_EQ(tree(), "Tools(Editors(=ed),Viewers(=view))");

  // No id: the folder only.
  EXPECT_EQ(QuilletRemove("Tools\\Editors", nullptr), 0);
  EXPECT_EQ(tree(), "Tools(Viewers(=view))");
  EXPECT_NE(entries().find("|view;"), std::string::npos);

  // One component: the whole subtree.
  EXPECT_EQ(QuilletRemove("Tools", "view"), 0);
  EXPECT_EQ(tree(), "");
  EXPECT_EQ(entries(), "");
  EXPECT_EQ(QuilletRemove(nullptr, nullptr), 0);
}

TEST_F(InstallTest, FailuresOfRemove) {
  ASSERT_EQ(QuilletInstall("", kChm, kChi, "t"), 0);
  writeCollection("<broken");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletRemove("A", "t"), QUILLET_E_REMOVE_LOAD_FAILED);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to load collection, error = 110\n");
  EXPECT_EQ(entries(), "");  // the registry part was done before

  sandbox().writeSystemReg("");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletRemove("A", nullptr), QUILLET_E_REMOVE_LOAD_FAILED);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Failed to get collection filename\nFailed to load collection, error = 10\n");
  EXPECT_EQ(QuilletRemove("A", "t"), QUILLET_E_NO_COLLECTION);
}

}  // namespace
}  // namespace quillet::test
