// A sandbox prefix whose registry settings name C:\windows\Help\quillet.col as the
// default collection; each test writes the registry and collection file it needs.
// The helpers read trees back through the exports, so a wrong walk shows as a wrong text.
#ifndef QUILLET_TESTS_COLLECTION_COLLECTIONFIXTURE_H
#define QUILLET_TESTS_COLLECTION_COLLECTIONFIXTURE_H

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "api/LastError.h"
#include "quillet/quillet.h"
#include "support/SandboxPrefix.h"

namespace quillet::test {

class CollectionTest : public ::testing::Test {
 protected:
  static constexpr const char* kRegistryFile = "drive_c/windows/Help/hhcolreg.dat";
  static constexpr const char* kCollectionFile = "drive_c/windows/Help/quillet.col";
  static constexpr const char* kRegistryPath = "C:\\windows\\Help\\hhcolreg.dat";
  static constexpr const char* kCollectionPath = "C:\\windows\\Help\\quillet.col";

  void SetUp() override {
    sandbox.emplace();
    sandbox->nameDefaultCollection(kCollectionPath);
    SetLastErrorText("");
  }
  void TearDown() override { sandbox.reset(); }

  // A registry listing the default collection as number 7, with `entries` inside DocCompilations.
  static std::string Registry(const std::string& entries) {
    return "<R><Collections><Collection><ColNum value=\"7\"/><ColName value=\"C:\\windows\\Help\\quillet.col\"/>"
           "</Collection></Collections><DocCompilations>" + entries + "</DocCompilations></R>";
  }
  static std::string Entry(const std::string& id) {
    return "<DocCompilation><DocCompId value=\"" + id + "\"/></DocCompilation>";
  }
  static std::string Collection(const std::string& folders) {
    return "<?xml version=\"1.0\"?>\r\n<HTMLHelpCollection><Folders>" + folders + "</Folders></HTMLHelpCollection>";
  }
  static std::string Folder(const std::string& title, const std::string& inside = "") {
    return "<Folder><TitleString value=\"" + title + "\"/>" + inside + "</Folder>";
  }

  unsigned long loadCollection(const std::string& text) {
    sandbox->writeFile(kCollectionFile, text);
    unsigned long handle = 0;
    EXPECT_EQ(QuilletLoadCollection(kCollectionPath, &handle), 0) << lastError();
    return handle;
  }
  unsigned long openRegistry(const std::string& text) {
    sandbox->writeFile(kRegistryFile, text);
    unsigned long handle = 0;
    EXPECT_EQ(QuilletOpenDocInfo(kRegistryPath, &handle), 0) << lastError();
    return handle;
  }

  static std::string lastError() {
    char buffer[4096];
    QuilletGetLastError(buffer, sizeof buffer);
    return buffer;
  }
  // A folder's title, or "#" and the result code.
  static std::string FolderName(unsigned long folder) {
    char buffer[1024];
    const int code = QuilletGetFolderName(folder, buffer);
    return code == 0 ? std::string(buffer) : "#" + std::to_string(code);
  }
  // The folder tree as "A(B,C(=id))", walked with the enumeration exports.
  static std::string Tree(unsigned long collection) {
    unsigned long cursor = 0;
    return QuilletEnumCollectionRootFolders(collection, &cursor) == 0 ? Siblings(cursor) : "";
  }
  static std::string Siblings(unsigned long cursor) {
    std::string text;
    for (unsigned long folder = 0, sub = 0; QuilletNextCollectionFolder(cursor, &folder) == 0;) {
      text += (text.empty() ? "" : ",") + FolderName(folder);
      if (QuilletEnumSubFolders(folder, &sub) == 0) text += "(" + Siblings(sub) + ")";
    }
    return text;
  }
  // The six values of an entry, "-" for one that is missing.
  static std::string Values(unsigned long doc) {
    std::string text;
    for (long id = 1; id <= 6; ++id) {
      char buffer[1024];
      text += (id > 1 ? "|" : "") + std::string(QuilletGetDocValue(doc, id, buffer) == 0 ? buffer : "-");
    }
    return text;
  }
  // The values of every entry, in enumeration order, each followed by ";".
  static std::string Entries(unsigned long docInfo) {
    unsigned long enumeration = 0;
    std::string text;
    if (QuilletEnumDocCompilations(docInfo, &enumeration) != 0) return "#";
    for (unsigned long doc = 0; QuilletNextDocCompilation(enumeration, &doc) == 0;) text += Values(doc) + ";";
    return text;
  }

  std::optional<SandboxPrefix> sandbox;
};

}  // namespace quillet::test

#endif
