// Handles and the last-error text: what every export does with a handle that is not
// (or no longer) valid, and what ending an owner ends.
#include <cstring>
#include <functional>
#include <vector>

#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

using HandleTest = CollectionTest;

TEST_F(HandleTest, FailedLoadsWriteNoHandle) {
  const struct {
    std::string text;
    int code;
    std::string lastError;
  } cases[] = {
      {"<Folders/>", 120, "HTMLHelpCollection root element not found"},
      {"<HTMLHelpCollection>\n  <Folders>", 110, "Error Message : "},
  };
  unsigned long h = 0;
  for (const auto& c : cases) {
    sandbox->writeFile(kCollectionFile, c.text);
    EXPECT_EQ(QuilletLoadCollection(kCollectionPath, &h), c.code);
    EXPECT_EQ(lastError().substr(0, c.lastError.size()), c.lastError);
  }
  EXPECT_EQ(h, 0u);
  // The parse-error text has three lines; the next failure replaces it.
  EXPECT_NE(lastError().find("\nError Code    : "), std::string::npos) << lastError();
  EXPECT_NE(lastError().find("\nError occurred near line 2, column "), std::string::npos) << lastError();
  EXPECT_EQ(QuilletLoadCollection("C:\\windows\\Help\\missing.col", &h), QUILLET_E_PARSE);
  EXPECT_EQ(lastError(), "NO LAST ERROR");
  EXPECT_EQ(QuilletLoadCollection(("C:\\" + std::string(258, 'n')).c_str(), &h), QUILLET_E_PARSE);
  EXPECT_EQ(lastError(), "File name longer than 260 characters");
  EXPECT_EQ(QuilletLoadCollection(kCollectionPath, nullptr), QUILLET_E_NULL_HANDLE);
  EXPECT_EQ(lastError(), "Null handle pointer");
  sandbox->writeSystemReg("");
  testing::internal::CaptureStdout();
  EXPECT_EQ(QuilletLoadDefaultCollection(&h), QUILLET_E_DEFAULT_COLLECTION);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to get collection filename\n");
  EXPECT_EQ(lastError(), "Null handle pointer");  // unchanged
}

TEST_F(HandleTest, EveryExportRefusesInvalidHandles) {
  const unsigned long c = loadCollection(Collection(Folder("A")));
  const unsigned long r = openRegistry(Registry(Entry("x")));
  unsigned long folder = 0, doc = 0, list = 0, ended = 0, out = 0;
  ASSERT_EQ(QuilletFindFolder(c, "A", &folder), 0);
  ASSERT_EQ(QuilletFindDoc(r, "x", &doc), 0);
  ASSERT_EQ(QuilletEnumDocCompilations(r, &list), 0);
  ASSERT_EQ(QuilletFindDoc(r, "x", &ended), 0);
  QuilletCloseDoc(ended);

  char buffer[64], value[] = "v";
  enum Kind { File, Folder, Doc, List };
  const struct {
    Kind kind;
    std::function<int(unsigned long)> call;
  } uses[] = {
      {File, [](unsigned long h) { return QuilletSaveCollection(h); }},
      {File, [&](unsigned long h) { return QuilletEnumCollectionRootFolders(h, &out); }},
      {File, [&](unsigned long h) { return QuilletAddFolder(h, "n", &out); }},
      {File, [&](unsigned long h) { return QuilletFindFolder(h, "A", &out); }},
      {File, [&](unsigned long h) { return QuilletEnumDocCompilations(h, &out); }},
      {File, [&](unsigned long h) { return QuilletFindDoc(h, "x", &out); }},
      {File, [&](unsigned long h) { return QuilletAddDoc(h, "x", &out); }},
      {File, [](unsigned long h) { return QuilletSaveDocInfo(h); }},
      {File, [&](unsigned long h) { return QuilletGetDefaultCollectionNumber(h, buffer); }},
      {Folder, [&](unsigned long h) { return QuilletNextCollectionFolder(h, &out); }},
      {Folder, [&](unsigned long h) { return QuilletEnumSubFolders(h, &out); }},
      {Folder, [&](unsigned long h) { return QuilletGetFolderName(h, buffer); }},
      {Folder, [&](unsigned long h) { return QuilletAddSubFolder(h, "n", &out); }},
      {Folder, [&](unsigned long h) { return QuilletFindSubFolder(h, "n", &out); }},
      {Doc, [](unsigned long h) { return QuilletRemoveDoc(h); }},
      {Doc, [&](unsigned long h) { return QuilletGetDocValue(h, 6, buffer); }},
      {Doc, [&](unsigned long h) { return QuilletSetDocValue(h, 1, value); }},
      {List, [&](unsigned long h) { return QuilletNextDocCompilation(h, &out); }},
  };
  const unsigned long live[] = {c, folder, doc, list};  // indexed by Kind
  const size_t kRemoveDoc = 14;
  for (size_t i = 0; i < std::size(uses); ++i) {
    std::vector<unsigned long> invalid = {0, ended, 0x7ffffff0};
    for (int kind = File; kind <= List; ++kind)
      if (kind != uses[i].kind) invalid.push_back(live[kind]);
    for (unsigned long h : invalid) {
      SetLastErrorText("");
      EXPECT_EQ(uses[i].call(h), QUILLET_E_NULL_HANDLE) << "use " << i << ", handle " << h;
      // QuilletRemoveDoc alone leaves the text: a null handle "changes nothing".
      EXPECT_EQ(lastError(), i == kRemoveDoc ? "" : "Invalid handle") << "use " << i << ", handle " << h;
      EXPECT_EQ(out, 0u);
    }
  }
  // The release functions ignore what is not theirs; releasing the owners ends the rest.
  QuilletReleaseCollection(folder);
  QuilletCloseDocInfo(doc);
  QuilletCloseDoc(folder);
  QuilletDeleteFolder(doc);
  EXPECT_EQ(FolderName(folder) + Values(doc), "A-|-|-|-|-|x");
  QuilletReleaseCollection(c);
  QuilletCloseDocInfo(r);
  EXPECT_EQ(FolderName(folder) + Values(doc), "#6-|-|-|-|-|-");
}

// An empty text and a text replaced by the next: the tests above.
TEST(LastError, CopyIsBounded) {
  quillet::SetLastErrorText("Root element not present");
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  QuilletGetLastError(buffer, 5);
  EXPECT_STREQ(buffer, "Root");
  EXPECT_EQ(buffer[5], 'x');
  buffer[0] = 'x';
  QuilletGetLastError(buffer, 0);  // no room: nothing written
  EXPECT_EQ(buffer[0], 'x');
  QuilletGetLastError(nullptr, 100);
}

}  // namespace
}  // namespace quillet::test
