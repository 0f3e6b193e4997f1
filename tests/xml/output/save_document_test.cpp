#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/Platform.h"
#include "quillet/xml/DOM.h"
#include "support/XmlTestSupport.h"
#include "support/SandboxPrefix.h"
#include "xml/output/XMLSave.h"

namespace quillet::xml {
namespace {

using quillet::test::DocumentPtr;
using quillet::test::SandboxPrefix;

class SaveDocumentToFile : public ::testing::Test {
 protected:
  void TearDown() override { platform::InjectWriteFailureAfter(-1); }

  std::set<std::string> helpFolder() const { return sandbox.names("drive_c/windows/Help"); }

  // <root><item>...</item> x count</root>, large enough to need several flushes.
  static DocumentPtr Registry(int count) {
    DocumentPtr doc(new CDOMDocument);
    CDOMElement* root = doc->createElement(u"root");
    doc->appendChild(root);
    for (int i = 0; i < count; ++i) {
      CDOMElement* item = doc->createElement(u"item");
      root->appendChild(item);
      item->setAttribute(u"value", u"a value long enough to fill the buffer quickly");
    }
    return doc;
  }

  SandboxPrefix sandbox;
  const std::u16string path = u"C:\\windows\\Help\\reg.xml";
  const std::string relative = "drive_c/windows/Help/reg.xml";
  const std::string old = "<old/>\r\n";
};

TEST_F(SaveDocumentToFile, AFailingWriteLeavesTheOldFileUntouched) {
  DocumentPtr doc = Registry(5000);  // several buffers' worth
  sandbox.writeFile(relative, old);
  for (long budget : {0L, 100L, 65535L, 70000L}) {
    platform::InjectWriteFailureAfter(budget);
    EXPECT_EQ(WriteDocumentFile(doc.get(), path, XMLDeclInfo{}).outcome, SaveOutcome::kWriteFailed) << budget;
    EXPECT_TRUE(saveDocumentToFile(doc.get(), path, XMLDeclInfo{})) << budget;
    platform::InjectWriteFailureAfter(-1);
    EXPECT_EQ(sandbox.readFile(relative), old) << budget;
    EXPECT_EQ(helpFolder(), std::set<std::string>{"reg.xml"}) << budget;
  }
}

TEST_F(SaveDocumentToFile, NothingToWriteLeavesTheOldFileOrNoFile) {
  DocumentPtr empty(new CDOMDocument);
  sandbox.writeFile(relative, old);
  EXPECT_EQ(WriteDocumentFile(empty.get(), path, XMLDeclInfo{}).outcome, SaveOutcome::kNothingToWrite);
  EXPECT_TRUE(saveDocumentToFile(empty.get(), path, XMLDeclInfo{}));
  EXPECT_EQ(sandbox.readFile(relative), old);

  DocumentPtr broken = Registry(1);
  broken->insertBefore(broken->createProcessingInstruction(u"xml", u"encoding='UTF-8'"), broken->getFirstChild());
  EXPECT_EQ(WriteDocumentFile(broken.get(), path, XMLDeclInfo{}).outcome, SaveOutcome::kNothingToWrite);
  EXPECT_EQ(sandbox.readFile(relative), old);

  EXPECT_TRUE(saveDocumentToFile(empty.get(), u"C:\\windows\\Help\\new.xml", XMLDeclInfo{}));
  EXPECT_EQ(helpFolder(), std::set<std::string>{"reg.xml"});
}

TEST_F(SaveDocumentToFile, AnUnwritableFolderIsNotAnError) {
  DocumentPtr doc = Registry(1);
  EXPECT_EQ(WriteDocumentFile(doc.get(), u"C:\\missing\\reg.xml", XMLDeclInfo{}).outcome, SaveOutcome::kCannotCreate);
  EXPECT_TRUE(saveDocumentToFile(doc.get(), u"C:\\missing\\reg.xml", XMLDeclInfo{}));
  EXPECT_FALSE(std::filesystem::exists(sandbox.host("drive_c/missing")));
}

}  // namespace
}  // namespace quillet::xml
