// The sized calls of the C interface at their boundaries: a text that fits exactly,
// one byte short, no room at all, and failures that come before the size matters.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "quillet/quillet_c.h"
#include "support/ToolSandbox.h"

namespace {

using SizedCall = std::function<int(char*, unsigned long)>;

// Checks one sized call that should yield `text`.
void ExpectBoundaries(const SizedCall& call, const std::string& text, const char* what) {
  SCOPED_TRACE(what);
  const unsigned long exact = static_cast<unsigned long>(text.size() + 1);
  char buffer[256];

  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(call(buffer, exact), QUILLET_OK);
  EXPECT_EQ(std::string(buffer), text);
  EXPECT_EQ(buffer[exact], 'x');  // nothing past the NUL

  if (exact > 1) {
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(call(buffer, exact - 1), QUILLET_E_BUFFER_TOO_SMALL);
    EXPECT_EQ(buffer[0], '\0');  // never a cut text that looks whole
    EXPECT_EQ(buffer[1], 'x');
  }

  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(call(buffer, 0), QUILLET_E_BUFFER_TOO_SMALL);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(call(nullptr, 100), QUILLET_E_BUFFER_TOO_SMALL);
}

class SizedCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(box.initRun.exitCode, 0) << box.initRun.err;
    box.writeFile("sized.col",
                  "<HTMLHelpCollection><Folders><Folder><TitleString value=\"Editors\"/></Folder>"
                  "<Folder/></Folders></HTMLHelpCollection>");
    ASSERT_EQ(QuilletCLoadCollection(box.host("sized.col").string().c_str(), &collection), QUILLET_OK);
    ASSERT_EQ(QuilletCOpenDocInfoDefault(&docInfo), QUILLET_OK);
    ASSERT_EQ(QuilletCAddDoc(docInfo, "Sized", &doc), QUILLET_OK);
  }
  void TearDown() override {
    QuilletCReleaseCollection(collection);
    QuilletCCloseDocInfo(docInfo);
  }

  quillet::test::ToolSandbox box;  // also the library's prefix in this process
  unsigned long collection = 0, docInfo = 0, doc = 0;
};

TEST_F(SizedCalls, CopyWholeTextsOnlyWhenTheyFit) {
  unsigned long cursor = 0, folder = 0;
  ASSERT_EQ(QuilletCEnumCollectionRootFolders(collection, &cursor), QUILLET_OK);
  ASSERT_EQ(QuilletCNextCollectionFolder(cursor, &folder), QUILLET_OK);
  ASSERT_EQ(QuilletCSetDocValue(doc, 1, "C:\\titles\\a.chm"), QUILLET_OK);
  ASSERT_EQ(QuilletCSetDocValue(doc, 5, ""), QUILLET_OK);

  ExpectBoundaries([](char* b, unsigned long n) { return QuilletCGetVersionSized(b, n); },
                   "Tessaly QUILLET Version 1.0.0 - Build 002", "version");
  ExpectBoundaries([&](char* b, unsigned long n) { return QuilletCGetFolderNameSized(folder, b, n); }, "Editors",
                   "folder name");
  ExpectBoundaries([&](char* b, unsigned long n) { return QuilletCGetDocValueSized(doc, 1, b, n); },
                   "C:\\titles\\a.chm", "doc value");
  ExpectBoundaries([&](char* b, unsigned long n) { return QuilletCGetDocValueSized(doc, 6, b, n); }, "Sized",
                   "title id");
  ExpectBoundaries([&](char* b, unsigned long n) { return QuilletCGetDocValueSized(doc, 5, b, n); }, "",
                   "empty value: room for its NUL only");
  ExpectBoundaries([&](char* b, unsigned long n) { return QuilletCGetDefaultCollectionNumberSized(docInfo, b, n); },
                   "1", "collection number");
}

TEST_F(SizedCalls, FailuresOfTheCallComeBeforeTheSize) {
  unsigned long cursor = 0, first = 0, untitled = 0;
  ASSERT_EQ(QuilletCEnumCollectionRootFolders(collection, &cursor), QUILLET_OK);
  ASSERT_EQ(QuilletCNextCollectionFolder(cursor, &first), QUILLET_OK);
  ASSERT_EQ(QuilletCNextCollectionFolder(cursor, &untitled), QUILLET_OK);
  struct Case {
    const char* what;
    std::function<int(char*, unsigned long)> call;
    int code;
  } cases[] = {
      {"folder without a title", [&](char* b, unsigned long n) { return QuilletCGetFolderNameSized(untitled, b, n); },
       QUILLET_E_NOT_FOUND},
      {"value not set", [&](char* b, unsigned long n) { return QuilletCGetDocValueSized(doc, 2, b, n); },
       QUILLET_E_NOT_FOUND},
      {"unknown value id", [&](char* b, unsigned long n) { return QuilletCGetDocValueSized(doc, 7, b, n); },
       QUILLET_E_NOT_FOUND},
      {"ended folder handle", [&](char* b, unsigned long n) { return QuilletCGetFolderNameSized(0, b, n); },
       QUILLET_E_NULL_HANDLE},
      {"invalid doc handle", [&](char* b, unsigned long n) { return QuilletCGetDocValueSized(docInfo, 6, b, n); },
       QUILLET_E_NULL_HANDLE},
      {"invalid doc-info handle",
       [&](char* b, unsigned long n) { return QuilletCGetDefaultCollectionNumberSized(doc, b, n); },
       QUILLET_E_NULL_HANDLE},
  };
  for (const Case& c : cases) {
    char buffer[8] = "abcdefg";
    for (unsigned long size : {0ul, 1ul, 8ul}) {
      EXPECT_EQ(c.call(buffer, size), c.code) << c.what << ", size " << size;
      EXPECT_STREQ(buffer, "abcdefg") << c.what << ": nothing written";
    }
  }
}

}  // namespace
