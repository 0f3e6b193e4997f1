#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

// Both files in HTML Help's form: the "<XML>" wrapper, bare numbers, tabs and CR LF,
// Windows-1252 bytes, and entries with children this library never touches. They are
// laid out as the library writes them (one tab a level), so every byte that install
// and remove do not change must come back as it was.
std::string Crlf(const std::string& lines) {
  std::string text;
  for (char c : lines) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return text;
}

const std::string kRegistryHead = Crlf(
    "<XML>\n<HTMLHelpDocInfo>\n\t<NextCollectionId value=2/>\n\t<Collections>\n\t\t<Collection>\n"
    "\t\t\t<ColNum value=1/>\n\t\t\t<ColName value=\"C:\\windows\\Help\\quillet.col\"/>\n\t\t</Collection>\n"
    "\t</Collections>\n\t<Locations>\n\t\t<Location>\n\t\t\t<LocName value=\"TESSALY-10-Local\"/>\n"
    "\t\t\t<Title value=\"Caf\xE9 d\xE9j\xE0 vu\"/>\n\t\t</Location>\n\t</Locations>\n\t<DocCompilations>\n"
    "\t\t<DocCompilation>\n\t\t\t<DocCompId value=\"old\"/>\n\t\t\t<DocCompLanguage value=1033/>\n"
    "\t\t\t<LocationHistory>\n\t\t\t\t<ColNum value=1/>\n\t\t\t\t<TitleLocation value=\"C:\\help\\old.chm\"/>\n"
    "\t\t\t\t<IndexLocation value=\"C:\\help\\old.chi\"/>\n\t\t\t\t<QueryLocation value=\"\"/>\n"
    "\t\t\t\t<LocationRef value=\"TESSALY-10-Local\"/>\n\t\t\t\t<Version value=3/>\n"
    "\t\t\t\t<LastPromptedVersion value=0/>\n\t\t\t\t<TitleSampleLocation value=\"\"/>\n"
    "\t\t\t\t<SupportsMerge value=0/>\n\t\t\t</LocationHistory>\n\t\t</DocCompilation>\n");
const std::string kNewEntry = Crlf(
    "\t\t<DocCompilation>\n\t\t\t<DocCompId value=\"new\"/>\n\t\t\t<DocCompLanguage value=1033/>\n"
    "\t\t\t<LocationHistory>\n\t\t\t\t<TitleLocation value=\"C:\\help\\new.chm\"/>\n"
    "\t\t\t\t<IndexLocation value=\"C:\\help\\new.chi\"/>\n\t\t\t\t<LocationRef value=\"TESSALY-10-Local\"/>\n"
    "\t\t\t\t<ColNum value=1/>\n\t\t\t</LocationHistory>\n\t\t</DocCompilation>\n");
const std::string kRegistryTail = Crlf("\t</DocCompilations>\n</HTMLHelpDocInfo>\n</XML>\n");

const std::string kCollectionHead = Crlf(
    "<XML>\n<HTMLHelpCollection>\n\t<masterchm value=\"\"/>\n\t<masterlangid value=1033/>\n"
    "\t<samplelocation value=\"\"/>\n\t<collectionnum value=1/>\n\t<refcount value=0/>\n\t<version value=1/>\n"
    "\t<findmergedchms value=0/>\n\t<Folders>\n\t\t<Folder>\n\t\t\t<TitleString value=\"R\xE9sum\xE9\"/>\n"
    "\t\t\t<FolderOrder value=1/>\n\t\t\t<Folder>\n\t\t\t\t<TitleString value=\"=old\"/>\n"
    "\t\t\t\t<FolderOrder value=1/>\n\t\t\t\t<LangId value=1033/>\n\t\t\t</Folder>\n");
const std::string kNewFolders = Crlf(
    "\t\t\t<Folder>\n\t\t\t\t<TitleString value=\"Tools\"/>\n\t\t\t\t<Folder>\n"
    "\t\t\t\t\t<TitleString value=\"=new\"/>\n\t\t\t\t</Folder>\n\t\t\t</Folder>\n");
const std::string kCollectionTail = Crlf("\t\t</Folder>\n\t</Folders>\n</HTMLHelpCollection>\n</XML>\n");

using HtmlHelpFormTest = CollectionTest;

TEST_F(HtmlHelpFormTest, InstallAndRemoveKeepWhatTheyDoNotTouch) {
  sandbox->writeFile("drive_c/help/new.chm", "chm");
  sandbox->writeFile("drive_c/help/new.chi", "chi");
  sandbox->writeFile(kRegistryFile, kRegistryHead + kRegistryTail);
  sandbox->writeFile(kCollectionFile, kCollectionHead + kCollectionTail);
  // The caller's texts are UTF-8 here; the files keep their Windows-1252 bytes.
  const char* path = "R\xC3\xA9sum\xC3\xA9\\Tools";
  ASSERT_EQ(QuilletInstall(path, "C:\\help\\new.chm", "C:\\help\\new.chi", "new"), 0) << lastError();
  EXPECT_EQ(sandbox->readFile(kRegistryFile), kRegistryHead + kNewEntry + kRegistryTail);
  EXPECT_EQ(sandbox->readFile(kCollectionFile), kCollectionHead + kNewFolders + kCollectionTail);

  ASSERT_EQ(QuilletRemove(path, "new"), 0);
  EXPECT_EQ(sandbox->readFile(kRegistryFile), kRegistryHead + kRegistryTail);
  EXPECT_EQ(sandbox->readFile(kCollectionFile), kCollectionHead + kCollectionTail);
}

}  // namespace
}  // namespace quillet::test
