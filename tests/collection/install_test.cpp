#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

constexpr const char* kChm = "C:\\titles\\t.chm";
constexpr const char* kChi = "C:\\titles\\t.chi";
constexpr const char* kInstalled = "C:\\titles\\t.chm|C:\\titles\\t.chi|1033|7|TESSALY-10-Local|";

class InstallTest : public CollectionTest {
 protected:
  void SetUp() override {
    CollectionTest::SetUp();
    sandbox->writeFile("drive_c/titles/t.chm", "chm");
    sandbox->writeFile("drive_c/titles/t.chi", "chi");
    sandbox->writeFile(kRegistryFile, Registry(""));
    sandbox->writeFile(kCollectionFile, Collection(""));
  }
  // Both files as the exports read them: "entries / folder tree".
  std::string state() {
    unsigned long r = 0, c = 0;
    std::string text = QuilletOpenDocInfo(kRegistryPath, &r) == 0 ? Entries(r) : "#";
    QuilletCloseDocInfo(r);
    text += " / " + (QuilletLoadCollection(kCollectionPath, &c) == 0 ? Tree(c) : "#");
    QuilletReleaseCollection(c);
    return text;
  }
};

TEST_F(InstallTest, InstallWritesTheEntryAndFindsOrAddsTheFolderPath) {
  ASSERT_EQ(QuilletInstall("Tools\\Editors", kChm, kChi, "ed"), 0) << lastError();
  EXPECT_EQ(state(), kInstalled + std::string("ed; / Tools(Editors(=ed))"));
  // Again, over a changed entry: the five values are rewritten, nothing is added.
  unsigned long r = 0, d = 0;
  char old[] = "old";
  ASSERT_EQ(QuilletOpenDocInfo(kRegistryPath, &r), 0);
  ASSERT_EQ(QuilletFindDoc(r, "ed", &d), 0);
  ASSERT_EQ(QuilletSetDocValue(d, 3, old), 0);
  ASSERT_EQ(QuilletSaveDocInfo(r), 0);
  QuilletCloseDocInfo(r);
  ASSERT_EQ(QuilletInstall("Tools\\Editors\\", kChm, kChi, "ed"), 0);
  EXPECT_EQ(state(), kInstalled + std::string("ed; / Tools(Editors(=ed))"));
  // The first folder is found anywhere in the tree.
  ASSERT_EQ(QuilletInstall("Editors\\More", kChm, kChi, "m"), 0);
  EXPECT_EQ(state(), kInstalled + std::string("ed;") + kInstalled + "m; / Tools(Editors(=ed,More(=m)))");
}

TEST_F(InstallTest, PathsWithoutFoldersLeaveTheCollectionAlone) {
  sandbox->writeFile(kCollectionFile, "not even xml");
  for (const char* path : {"", "\\", "\\\\\\", "\\Tools", static_cast<const char*>(nullptr)})
    EXPECT_EQ(QuilletInstall(path, kChm, kChi, "x"), 0) << (path ? path : "null");
  EXPECT_EQ(sandbox->readFile(kCollectionFile), "not even xml");
  EXPECT_EQ(state(), kInstalled + std::string("x; / #"));
}

TEST_F(InstallTest, FailuresOfInstall) {
  const std::string reg = Registry(""), col = Collection(""), longPath(1024, 'a');
  std::string deepPath = "a";
  for (int i = 0; i < 99; ++i) deepPath += "\\a";
  const struct {
    std::string registry, collection, defaultCollection;
    const char *chm, *chi, *path;
    int code;
    const char *lastError, *stdoutText;
  } cases[] = {
      {reg, col, kCollectionPath, "C:\\no.chm", kChi, "A", 7, "CHM file does not exist", ""},
      {reg, col, kCollectionPath, kChm, "C:\\no.chi", "A", 8, "CHI file does not exist", ""},
      {reg, col, "C:\\other.col", kChm, kChi, "A", 9, "Error locating elements in XML document", ""},
      {"<broken", col, kCollectionPath, kChm, kChi, "A", 9, "", ""},
      {reg.substr(0, reg.find("<DocCompilations>")) + "</R>", col,
       kCollectionPath, kChm, kChi, "A", 120, "Error locating elements in XML document", "Failed to add new doc\n"},
      {reg, "<HTMLHelpCollection>", kCollectionPath, kChm, kChi, "A", 10, "Failed to load collection", ""},
      {reg, "<HTMLHelpCollection/>", kCollectionPath, kChm, kChi, "A", 150, "Failed to locate Folders element", ""},
      {reg, col, kCollectionPath, kChm, kChi, longPath.c_str(), 150, "Folder path longer than 1023 characters", ""},
      {reg, col, kCollectionPath, kChm, kChi, deepPath.c_str(), 150, "Folder path has more than 99 folders", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lastError);
    sandbox->writeFile(kRegistryFile, c.registry);
    sandbox->writeFile(kCollectionFile, c.collection);
    sandbox->nameDefaultCollection(c.defaultCollection);
    SetLastErrorText("");
    testing::internal::CaptureStdout();
    EXPECT_EQ(QuilletInstall(c.path, c.chm, c.chi, "t"), c.code);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.stdoutText);
    if (*c.lastError) {
      EXPECT_EQ(lastError(), c.lastError);
    }
    EXPECT_EQ(sandbox->readFile(kCollectionFile), c.collection) << "the collection is never half-changed";
  }
}

TEST_F(InstallTest, RemoveUndoesInstall) {
  ASSERT_EQ(QuilletInstall("Tools\\Editors", kChm, kChi, "ed"), 0);
  ASSERT_EQ(QuilletInstall("Tools\\Viewers", kChm, kChi, "view"), 0);
  const std::string registry = sandbox->readFile(kRegistryFile), collection = sandbox->readFile(kCollectionFile);
  // An id that is not registered changes nothing, even with a folder path.
  EXPECT_EQ(QuilletRemove("Tools", "unknown"), 0);
  EXPECT_EQ(sandbox->readFile(kRegistryFile) + sandbox->readFile(kCollectionFile), registry + collection);
  // A missing folder: the entry goes, no folder does.
  EXPECT_EQ(QuilletRemove("Tools\\Nothing", "ed"), 0);
  EXPECT_EQ(state(), kInstalled + std::string("view; / Tools(Editors(=ed),Viewers(=view))"));
  // No id: the folder only.
  EXPECT_EQ(QuilletRemove("Tools\\Editors", nullptr), 0);
  EXPECT_EQ(state(), kInstalled + std::string("view; / Tools(Viewers(=view))"));
  // One component: the whole subtree.
  EXPECT_EQ(QuilletRemove("Tools", "view"), 0);
  EXPECT_EQ(state(), " / ");
  EXPECT_EQ(QuilletRemove(nullptr, nullptr), 0);
}

TEST_F(InstallTest, FailuresOfRemove) {
  ASSERT_EQ(QuilletInstall("", kChm, kChi, "t"), 0);
  sandbox->writeFile(kCollectionFile, "<broken");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletRemove("A", "t"), QUILLET_E_REMOVE_LOAD_FAILED);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to load collection, error = 110\n");
  EXPECT_EQ(state(), " / #");  // the registry part was done before
  sandbox->writeSystemReg("");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletRemove("A", nullptr), QUILLET_E_REMOVE_LOAD_FAILED);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Failed to get collection filename\nFailed to load collection, error = 10\n");
  EXPECT_EQ(QuilletRemove("A", "t"), QUILLET_E_NO_COLLECTION);
}

}  // namespace
}  // namespace quillet::test
