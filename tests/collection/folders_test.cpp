#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

using FolderTest = CollectionTest;

TEST_F(FolderTest, EnumerationOrderAndTheCursor) {
  // Root folders match "Folder" in any letter case; a sub-folder enumeration starts at
  // the first child named exactly Folder, then moves through any-case siblings.
  const unsigned long c = loadCollection(Collection(
      "<x/>" + Folder("A") + "<!-- -->" + "<FOLDER><TitleString value=\"B\"/></FOLDER><Other/><Folder/>" +
      Folder("C", "<folder><TitleString/></folder>" + Folder("C1") + "<N/><FoLdEr><TitleString/></FoLdEr>")));
  EXPECT_EQ(Tree(c), "A,B,#5,C(C1,)");  // no TitleString: 5; TitleString without value: ""

  unsigned long cursor = 0, folder = 0;
  ASSERT_EQ(QuilletEnumCollectionRootFolders(c, &cursor), 0);
  EXPECT_EQ(FolderName(cursor), "A");  // the cursor stands on the first folder
  for (int i = 0; i < 4; ++i) ASSERT_EQ(QuilletNextCollectionFolder(cursor, &folder), 0);
  EXPECT_EQ(FolderName(folder), "C");
  EXPECT_EQ(QuilletNextCollectionFolder(cursor, &folder), QUILLET_E_NOT_FOUND);
  EXPECT_EQ(FolderName(cursor), "#5");  // a cursor that has run out stands on nothing
  EXPECT_EQ(lastError(), "Folder cursor has run out");
  EXPECT_EQ(QuilletAddSubFolder(cursor, "X", &folder), QUILLET_E_NOT_FOUND);
  QuilletReleaseCollection(c);

  const unsigned long empty = loadCollection(Collection("<Other/>"));
  SetLastErrorText("earlier");
  EXPECT_EQ(QuilletEnumCollectionRootFolders(empty, &cursor), QUILLET_E_NOT_FOUND);
  EXPECT_EQ(lastError(), "earlier");
  QuilletReleaseCollection(empty);
}

TEST_F(FolderTest, RootChecks) {
  // A lower-case root loads, but a lower-case Folders element is not found.
  const unsigned long c = loadCollection("<htmlhelpcollection><folders/></htmlhelpcollection>");
  unsigned long out = 0;
  EXPECT_EQ(QuilletEnumCollectionRootFolders(c, &out), QUILLET_E_STRUCTURE);
  EXPECT_EQ(lastError(), "Failed to locate Folders element");
  EXPECT_EQ(QuilletAddFolder(c, "A", &out), QUILLET_E_STRUCTURE);
  QuilletReleaseCollection(c);
  // Any well-formed file opens as a doc-info handle; the folder operations check its root.
  const unsigned long other = openRegistry("<Folders>" + Folder("A") + "</Folders>");
  EXPECT_EQ(QuilletAddFolder(other, "B", &out), QUILLET_E_STRUCTURE);
  EXPECT_EQ(lastError(), "HTMLHelpCollection root element not found");
  EXPECT_EQ(QuilletFindFolder(other, "A", &out), 0);  // the search does not
  EXPECT_EQ(Tree(other), "");
  QuilletCloseDocInfo(other);
}

TEST_F(FolderTest, FindSearchesDocumentOrderCaseSensitively) {
  const unsigned long c =
      loadCollection(Collection(Folder("Top", Folder("Tools", Folder("Deep"))) + Folder("Tools") + Folder("Case")));
  unsigned long found = 0, sub = 0;
  ASSERT_EQ(QuilletFindFolder(c, "Tools", &found), 0);
  EXPECT_EQ(QuilletFindSubFolder(found, "Deep", &sub), 0);  // the nested one came first
  EXPECT_EQ(QuilletFindFolder(c, "case", &found), QUILLET_E_NOT_FOUND);
  ASSERT_EQ(QuilletFindFolder(c, "Top", &found), 0);
  EXPECT_EQ(QuilletFindSubFolder(found, "Deep", &sub), QUILLET_E_NOT_FOUND);  // one level only
  EXPECT_EQ(QuilletFindSubFolder(found, "tools", &sub), QUILLET_E_NOT_FOUND);
  QuilletReleaseCollection(c);
}

TEST_F(FolderTest, AddAndDeleteReachTheFile) {
  unsigned long c = loadCollection(Collection(Folder("A", Folder("A1", Folder("A11"))) + Folder("B")));
  unsigned long a = 0, a1 = 0, a11 = 0, b = 0, cursor = 0;
  ASSERT_EQ(QuilletFindFolder(c, "A", &a), 0);
  ASSERT_EQ(QuilletFindFolder(c, "A1", &a1), 0);
  ASSERT_EQ(QuilletFindFolder(c, "A11", &a11), 0);
  ASSERT_EQ(QuilletEnumCollectionRootFolders(c, &cursor), 0);  // stands on A
  ASSERT_EQ(QuilletAddFolder(c, "B", &b), 0);                   // a second B all the same
  ASSERT_EQ(QuilletAddSubFolder(b, "B1", &b), 0);
  QuilletDeleteFolder(a1);
  // Handles on the deleted folder and on anything inside it end.
  EXPECT_EQ(FolderName(a1) + FolderName(a11), "#6#6");
  EXPECT_EQ(lastError(), "Invalid handle");
  QuilletDeleteFolder(a11);  // ignored
  EXPECT_EQ(Tree(c), "A,B,B(B1)");
  QuilletDeleteFolder(a);
  EXPECT_EQ(FolderName(cursor) + FolderName(b), "#6B1");
  ASSERT_EQ(QuilletSaveCollection(c), 0);
  QuilletReleaseCollection(c);
  EXPECT_EQ(FolderName(b), "#6");  // ended with its collection
  ASSERT_EQ(QuilletLoadCollection(kCollectionPath, &c), 0);
  EXPECT_EQ(Tree(c), "B,B(B1)");
  QuilletReleaseCollection(c);
}

}  // namespace
}  // namespace quillet::test
