// A sandbox prefix set up as a working HTML Help environment: the registry settings
// name C:\windows\Help\quillet.col as the default collection, and the tests write the
// collection registry and the collection file they need. Helpers read the trees back
// through the exports themselves, so a wrong walk shows up as a wrong text.
#ifndef QUILLET_TESTS_COLLECTION_COLLECTIONFIXTURE_H
#define QUILLET_TESTS_COLLECTION_COLLECTIONFIXTURE_H

#include <gtest/gtest.h>

#include <memory>
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
    sandbox_ = std::make_unique<SandboxPrefix>();
    nameDefaultCollection(kCollectionPath);
    SetLastErrorText("");
  }
  void TearDown() override { sandbox_.reset(); }

  SandboxPrefix& sandbox() { return *sandbox_; }
  void nameDefaultCollection(const std::string& file) {
    sandbox().writeSystemReg(SandboxPrefix::DeveloperCollections("0x0409", "Main", "Main", file));
  }

  // A registry listing the default collection as number `colNum`, holding `entries`
  // inside DocCompilations.
  static std::string Registry(const std::string& entries, const std::string& colNum = "7") {
    return "<?xml version=\"1.0\"?>\r\n<HTMLHelpDocInfo><Collections><Collection><ColNum value=\"" + colNum +
           "\"/><ColName value=\"C:\\windows\\Help\\quillet.col\"/></Collection></Collections>"
           "<DocCompilations>" + entries + "</DocCompilations></HTMLHelpDocInfo>";
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

  void writeRegistry(const std::string& text) { sandbox().writeFile(kRegistryFile, text); }
  void writeCollection(const std::string& text) { sandbox().writeFile(kCollectionFile, text); }

  unsigned long loadCollection(const std::string& text) {
    writeCollection(text);
    unsigned long handle = 0;
    EXPECT_EQ(QuilletLoadCollection(kCollectionPath, &handle), 0) << lastError();
    return handle;
  }
  unsigned long openRegistry(const std::string& text) {
    writeRegistry(text);
    unsigned long handle = 0;
    EXPECT_EQ(QuilletOpenDocInfo(kRegistryPath, &handle), 0) << lastError();
    return handle;
  }

  static std::string lastError() {
    char buffer[4096];
    QuilletGetLastError(buffer, sizeof buffer);
    return buffer;
  }

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
    unsigned long folder = 0;
    while (QuilletNextCollectionFolder(cursor, &folder) == 0) {
      if (!text.empty()) text += ",";
      text += FolderName(folder);
      unsigned long sub = 0;
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

  // Every entry's id, in enumeration order.
  static std::string Ids(unsigned long docInfo) {
    unsigned long enumeration = 0;
    if (QuilletEnumDocCompilations(docInfo, &enumeration) != 0) return "#";
    std::string text;
    unsigned long doc = 0;
    while (QuilletNextDocCompilation(enumeration, &doc) == 0) {
      char buffer[1024];
      text += (text.empty() ? "" : ",") + std::string(QuilletGetDocValue(doc, 6, buffer) == 0 ? buffer : "-");
    }
    return text;
  }

 private:
  std::unique_ptr<SandboxPrefix> sandbox_;
};

}  // namespace quillet::test

#endif
