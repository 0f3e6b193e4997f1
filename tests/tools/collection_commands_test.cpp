// The tool's collection commands end to end on sandbox prefixes: what they print, the
// files they leave, and their exit codes and error texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ToolSandbox.h"

namespace {

using quillet::test::ToolRun;
using quillet::test::ToolSandbox;

using quillet::test::Describe;
constexpr const char* kChm = ToolSandbox::kChm;
constexpr const char* kChi = ToolSandbox::kChi;

class CollectionCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(box.initRun.exitCode, 0) << Describe(box.initRun); }

  void install(const std::string& id, const std::string& folder) {
    const ToolRun r = box.install(id, folder);
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
  }

  static std::string expectedTitle(const std::string& id) {
    return "{\"id\":\"" + id +
           R"(","language":"1033","chm":"C:\\titles\\sample.chm","chi":"C:\\titles\\sample.chi",)"
           R"("colnum":"1","locationRef":"TESSALY-10-Local"})"
           "\n";
  }

  ToolSandbox box;
};

TEST_F(CollectionCommands, InstallListsTheTitleAndItsFoldersThenRemoveTakesThemAway) {
  install("Sample", "Tools\\Editors");
  install("Other", "Tools\\Viewers");

  const ToolRun titles = box.run({"titles"});
  EXPECT_EQ(titles.exitCode, 0) << Describe(titles);
  EXPECT_EQ(titles.out, expectedTitle("Sample") + expectedTitle("Other"));

  const ToolRun folders = box.run({"folders"});
  EXPECT_EQ(folders.exitCode, 0) << Describe(folders);
  EXPECT_EQ(folders.out, "Tools\n  Editors\n    =Sample\n  Viewers\n    =Other\n");

  // Installing again rewrites the entry and finds the folders already there.
  install("Sample", "Tools\\Editors");
  EXPECT_EQ(box.run({"titles"}).out, titles.out);
  EXPECT_EQ(box.run({"folders"}).out, folders.out);

  const ToolRun removed = box.run({"remove", "--id", "Sample", "--folder", "Tools\\Editors"});
  EXPECT_EQ(removed.exitCode, 0) << Describe(removed);
  EXPECT_EQ(box.run({"titles"}).out, expectedTitle("Other"));
  EXPECT_EQ(box.run({"folders"}).out, "Tools\n  Viewers\n    =Other\n");

  // Without an id only the folder goes; without a folder only the entry.
  EXPECT_EQ(box.run({"remove", "--folder", "Tools"}).exitCode, 0);
  EXPECT_EQ(box.run({"titles"}).out, expectedTitle("Other"));
  EXPECT_EQ(box.run({"folders"}).out, "");
  EXPECT_EQ(box.run({"remove", "--id", "Other"}).exitCode, 0);
  EXPECT_EQ(box.run({"titles"}).out, "");
}

TEST_F(CollectionCommands, TitlesShowsMissingValuesAsNullAndReadsAnotherRegistry) {
  const std::string longPath = "C:\\" + std::string(700, 'p') + ".chm";  // past the first buffer
  box.writeFile("other.dat",
                "<HTMLHelpDocInfo><DocCompilations>"
                "<DocCompilation><DocCompId value=\"Long\"/><LocationHistory><TitleLocation value=\"" +
                    longPath + "\"/></LocationHistory></DocCompilation>"
                "<DocCompilation><DocCompId value=\"Caf\xC3\xA9\"/></DocCompilation>"
                "<DocCompilation><DocCompId value=\"Half\"/><DocCompLanguage value=\"1031\"/>"
                "<LocationHistory><ColNum value=\"3\"/><TitleLocation/></LocationHistory></DocCompilation>"
                "</DocCompilations></HTMLHelpDocInfo>");
  const ToolRun r = box.run({"titles", "--registry", box.host("other.dat").string()});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out,
            "{\"id\":\"Long\",\"language\":null,\"chm\":\"C:\\\\" + std::string(700, 'p') +
                ".chm\",\"chi\":null,\"colnum\":null,\"locationRef\":null}\n"
            "{\"id\":\"Caf\xC3\xA9\",\"language\":null,\"chm\":null,\"chi\":null,\"colnum\":null,\"locationRef\":null}\n"
            "{\"id\":\"Half\",\"language\":\"1031\",\"chm\":\"\",\"chi\":null,\"colnum\":\"3\","
            "\"locationRef\":null}\n");
}

TEST_F(CollectionCommands, FoldersIndentsEachLevelAndReadsAnotherCollection) {
  box.writeFile("deep.col",
                "<HTMLHelpCollection><Folders>"
                "<Folder><TitleString value=\"A\"/>"
                "<Folder><TitleString value=\"B\"/><Folder><TitleString value=\"C\"/></Folder></Folder>"
                "<Folder><TitleString value=\"D\xC3\xA9\"/></Folder></Folder>"
                "<Note/><folder><TitleString value=\"E\"/></folder><Folder/>"
                "</Folders></HTMLHelpCollection>");
  const ToolRun r = box.run({"folders", "--collection", box.host("deep.col").string()});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out, "A\n  B\n    C\n  D\xC3\xA9\nE\n\n");  // the last folder has no title
}

// Every failure names the file it concerns (the Windows path and, in parentheses, the
// file on this machine) and what was expected of it.
TEST_F(CollectionCommands, FailuresExitWithTheResultCodeAndSayWhy) {
  box.writeFile("broken.col", "<HTMLHelpCollection>\n<Folders>\n</HTMLHelpCollection>\n");
  box.writeFile("other.col", "<Folders/>");
  const std::string host = box.root().string();
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string err;  // the whole first line of standard error
  } cases[] = {
      {{"install", "--id", "X", "--chm", "C:\\titles\\none.chm", "--chi", kChi},
       7,
       "quillet: install: the CHM file does not exist: C:\\titles\\none.chm (" + host +
           "/drive_c/titles/none.chm)"},
      {{"install", "--id", "X", "--chm", kChm, "--chi", "C:\\titles\\none.chi"},
       8,
       "quillet: install: the CHI file does not exist: C:\\titles\\none.chi (" + host +
           "/drive_c/titles/none.chi)"},
      {{"titles", "--registry", host + "/none.dat"}, 5, "quillet: titles: " + host + "/none.dat does not exist"},
      {{"titles", "--registry", host}, 1, "quillet: titles: " + host + " is a directory, not a file"},
      {{"titles", "--registry", host + "/other.col"},
       1,
       "quillet: titles: " + host +
           "/other.col is not a collection registry: its root element Folders has neither Collections nor "
           "DocCompilations"},
      {{"folders", "--collection", host + "/none.col"}, 110, "quillet: folders: " + host + "/none.col does not exist"},
      {{"folders", "--collection", host + "/broken.col"},
       110,
       "quillet: folders: " + host +
           "/broken.col is not well-formed XML (line 3, column 22: End tag does not match start tag, code 150)"},
      {{"folders", "--collection", host + "/other.col"},
       1,
       "quillet: folders: " + host + "/other.col is not a collection file: its root element is Folders, not "
                                     "HTMLHelpCollection"},
      {{"install", "--id", "X", "--chm", kChm}, 2, "--chi is required"},
      {{"remove"}, 2, "quillet: remove: --id or --folder is needed: there is nothing to remove"},
  };
  for (const Case& c : cases) {
    const ToolRun r = box.run(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << Describe(r);
    EXPECT_NE(r.err.substr(0, r.err.find('\n')).find(c.err), std::string::npos) << Describe(r);
  }
}

TEST_F(CollectionCommands, BackupsCopyTheFiles) {
  const std::string registryBackup = "drive_c/windows/Help/HHCOLREG.BAK";
  const std::string collectionBackup = "drive_c/windows/Help/quillet.bak";
  ASSERT_EQ(box.run({"backup", "registry"}).exitCode, 0);
  EXPECT_EQ(box.readFile(registryBackup), box.readFile(ToolSandbox::kRegistry));
  ASSERT_EQ(box.run({"backup", "collection"}).exitCode, 0);
  EXPECT_EQ(box.readFile(collectionBackup), box.readFile(ToolSandbox::kCollection));
  EXPECT_EQ(box.run({"backup"}).exitCode, 2);  // which file: a usage error
}

// Without HTML Help's files the commands fail with the library's code and say what
// they looked for.
TEST(CollectionCommandsWithoutSetup, APrefixWithoutHtmlHelpFailsWithClearTexts) {
  quillet::test::SandboxPrefix empty;
  const auto dir = empty.host("runs");
  std::filesystem::create_directories(dir);
  const std::string none = "there is no collection registry: neither C:\\windows\\Help\\HHCOLREG.DAT (" +
                           empty.root().string() + "/drive_c/windows/Help/HHCOLREG.DAT) nor C:\\Documents";
  const std::string unnamed = "HTML Help's registry settings name no default collection";
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string err;  // found in the first line of standard error
  } cases[] = {
      {{"titles"}, 9, "quillet: titles: no collection registry lists the default collection: " + none},
      {{"folders"}, 10, "quillet: folders: " + unnamed},
      {{"backup", "registry"}, 5, "quillet: backup registry: HHCOLREG.DAT in %windows%\\HELP not found"},
      {{"backup", "collection"}, 10, "quillet: backup collection: " + unnamed},
      {{"install", "--id", "X", "--chm", "C:\\windows\\Help", "--chi", "C:\\windows\\Help"},
       9,
       "quillet: install: No collection registry lists the default collection: " + none},
      {{"remove", "--folder", "A"}, 1, "quillet: remove: " + unnamed},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"--prefix", empty.root().string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun r = quillet::test::RunTool(args, dir);
    EXPECT_EQ(r.exitCode, c.exitCode) << Describe(r);
    EXPECT_EQ(r.out, "") << Describe(r);
    EXPECT_NE(r.err.substr(0, r.err.find('\n')).find(c.err), std::string::npos) << Describe(r);
  }
}

// The tool saves in HTML Help's readable form unless told otherwise. A fresh
// registry's Locations element is empty, which is where the two forms differ.
TEST_F(CollectionCommands, EmptyContainersAreWrittenSafelyUnlessPlainOutputIsAsked) {
  install("Sample", "");
  std::string registry = box.readFile(ToolSandbox::kRegistry);
  EXPECT_NE(registry.find("\r\n\t<Locations></Locations>\r\n"), std::string::npos) << registry;
  EXPECT_EQ(registry.find("<Locations/>"), std::string::npos) << registry;

  const ToolRun r = box.run({"install", "--id", "Other", "--chm", kChm, "--chi", kChi, "--self-closing-empty-tags"});
  ASSERT_EQ(r.exitCode, 0) << Describe(r);
  registry = box.readFile(ToolSandbox::kRegistry);
  EXPECT_NE(registry.find("\r\n\t<Locations/>\r\n"), std::string::npos) << registry;
  EXPECT_EQ(registry.find("<Locations></Locations>"), std::string::npos) << registry;
}

}  // namespace
