#include <functional>
#include <vector>

#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

using HandleTest = CollectionTest;

TEST_F(HandleTest, LoadFailuresWriteNoHandle) {
  struct Case {
    const char* label;
    std::string text;
    int code;
    std::string lastError;
  };
  const Case cases[] = {
      {"wrong root", "<Folders/>", 120, "HTMLHelpCollection root element not found"},
      {"not well-formed", "<HTMLHelpCollection>\n  <Folders>", 110, "Error Message : "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    writeCollection(c.text);
    unsigned long h = 0;
    EXPECT_EQ(QuilletLoadCollection(kCollectionPath, &h), c.code);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(lastError().substr(0, c.lastError.size()), c.lastError);
  }
  // The parse-error text has three lines, and the next failure replaces it.
  const std::string text = lastError();
  EXPECT_NE(text.find("\nError Code    : "), std::string::npos) << text;
  EXPECT_NE(text.find("\nError occurred near line "), std::string::npos) << text;
  unsigned long h = 0;
  EXPECT_EQ(QuilletLoadCollection("C:\\windows\\Help\\missing.col", &h), QUILLET_E_PARSE);
  EXPECT_EQ(lastError(), "NO LAST ERROR");
  EXPECT_EQ(QuilletLoadCollection(("C:\\" + std::string(258, 'n')).c_str(), &h), QUILLET_E_PARSE);
  EXPECT_EQ(lastError(), "File name longer than 260 characters");
  EXPECT_EQ(QuilletLoadCollection(kCollectionPath, nullptr), QUILLET_E_NULL_HANDLE);
  EXPECT_EQ(lastError(), "Null handle pointer");

  sandbox().writeSystemReg("");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletLoadDefaultCollection(&h), QUILLET_E_DEFAULT_COLLECTION);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to get collection filename\n");
  EXPECT_EQ(lastError(), "Null handle pointer");  // unchanged
}

TEST_F(HandleTest, EveryExportRefusesInvalidHandles) {
  const unsigned long c = loadCollection(Collection(Folder("A")));
  const unsigned long r = openRegistry(Registry(Entry("x")));
  unsigned long folder = 0, doc = 0, list = 0, out = 0;
  ASSERT_EQ(QuilletFindFolder(c, "A", &folder), 0);
  ASSERT_EQ(QuilletFindDoc(r, "x", &doc), 0);
  ASSERT_EQ(QuilletEnumDocCompilations(r, &list), 0);
  unsigned long ended = 0;
  ASSERT_EQ(QuilletFindDoc(r, "x", &ended), 0);
  QuilletCloseDoc(ended);

  char buffer[64];
  char value[] = "v";
  enum Kind { File, Folder, Doc, List };
  struct Use {
    const char* name;
    Kind kind;
    std::function<int(unsigned long)> call;
  };
  const Use uses[] = {
      {"SaveCollection", File, [](unsigned long h) { return QuilletSaveCollection(h); }},
      {"EnumRoot", File, [&](unsigned long h) { return QuilletEnumCollectionRootFolders(h, &out); }},
      {"AddFolder", File, [&](unsigned long h) { return QuilletAddFolder(h, "n", &out); }},
      {"FindFolder", File, [&](unsigned long h) { return QuilletFindFolder(h, "A", &out); }},
      {"EnumDocs", File, [&](unsigned long h) { return QuilletEnumDocCompilations(h, &out); }},
      {"FindDoc", File, [&](unsigned long h) { return QuilletFindDoc(h, "x", &out); }},
      {"AddDoc", File, [&](unsigned long h) { return QuilletAddDoc(h, "x", &out); }},
      {"SaveDocInfo", File, [](unsigned long h) { return QuilletSaveDocInfo(h); }},
      {"Number", File, [&](unsigned long h) { return QuilletGetDefaultCollectionNumber(h, buffer); }},
      {"NextFolder", Folder, [&](unsigned long h) { return QuilletNextCollectionFolder(h, &out); }},
      {"EnumSub", Folder, [&](unsigned long h) { return QuilletEnumSubFolders(h, &out); }},
      {"FolderName", Folder, [&](unsigned long h) { return QuilletGetFolderName(h, buffer); }},
      {"AddSub", Folder, [&](unsigned long h) { return QuilletAddSubFolder(h, "n", &out); }},
      {"FindSub", Folder, [&](unsigned long h) { return QuilletFindSubFolder(h, "n", &out); }},
      {"RemoveDoc", Doc, [](unsigned long h) { return QuilletRemoveDoc(h); }},
      {"GetValue", Doc, [&](unsigned long h) { return QuilletGetDocValue(h, 6, buffer); }},
      {"SetValue", Doc, [&](unsigned long h) { return QuilletSetDocValue(h, 1, value); }},
      {"NextDoc", List, [&](unsigned long h) { return QuilletNextDocCompilation(h, &out); }},
  };
  const unsigned long live[] = {c, folder, doc, list};  // indexed by Kind
  for (const Use& use : uses) {
    SCOPED_TRACE(use.name);
    std::vector<unsigned long> invalid = {0, ended, 0x7ffffff0};
    for (int kind = File; kind <= List; ++kind)
      if (kind != use.kind) invalid.push_back(live[kind]);
    for (unsigned long h : invalid) {
      SetLastErrorText("");
      out = 0;
      EXPECT_EQ(use.call(h), QUILLET_E_NULL_HANDLE) << h;
      EXPECT_EQ(lastError(), "Invalid handle") << h;
      EXPECT_EQ(out, 0u);
    }
  }
  // The release functions ignore what is not theirs.
  QuilletReleaseCollection(folder);
  QuilletCloseDocInfo(doc);
  QuilletCloseDoc(folder);
  QuilletCloseDoc(0);
  QuilletReleaseCollection(0);
  QuilletDeleteFolder(doc);
  EXPECT_EQ(FolderName(folder), "A");
  EXPECT_EQ(Values(doc), "-|-|-|-|-|x");
  QuilletReleaseCollection(c);
  QuilletCloseDocInfo(r);
  EXPECT_EQ(FolderName(folder), "#6");
  EXPECT_EQ(Values(doc), "-|-|-|-|-|-");
}

}  // namespace
}  // namespace quillet::test
