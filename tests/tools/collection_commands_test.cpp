// The tool's collection commands end to end on sandbox prefixes, as on real installs:
// what they print, the files they leave, their exit codes and error texts (each names
// the file it concerns, the Windows path and, in parentheses, the file on this
// machine), text in the prefix's code page, both files changed or neither, and init
// that checks what it finds.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ToolSandbox.h"

namespace {

namespace fs = std::filesystem;
using quillet::test::Describe;
using quillet::test::ToolRun;
using quillet::test::ToolSandbox;

constexpr const char* kChm = ToolSandbox::kChm;
constexpr const char* kChi = ToolSandbox::kChi;
// "Документ" and "Справка" as code page 1251 has them, byte for byte: what HTML
// Help reads on a Cyrillic system.
const char kDocument1251[] = "\xC4\xEE\xEA\xF3\xEC\xE5\xED\xF2";
const char kHelp1251[] = "\xD1\xEF\xF0\xE0\xE2\xEA\xE0";

class CollectionCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(box.initRun.exitCode, 0) << Describe(box.initRun); }

  ToolRun install(const std::string& id, const std::string& folder, const std::vector<std::string>& more = {}) {
    return box.install(id, folder, more);
  }
  std::string registry() const { return box.registry(); }
  std::string collection() const { return box.collection(); }

  static std::string expectedTitle(const std::string& id) {
    return "{\"id\":\"" + id +
           R"(","language":"1033","chm":"C:\\titles\\sample.chm","chi":"C:\\titles\\sample.chi",)"
           R"("colnum":"1","locationRef":"TESSALY-10-Local"})"
           "\n";
  }

  ToolSandbox box;
};

TEST_F(CollectionCommands, InstallListsTheTitleAndItsFoldersThenRemoveTakesThemAway) {
  // Both files as titles and folders show them, each a run that must succeed.
  const auto state = [this] {
    const ToolRun titles = box.run({"titles"}), folders = box.run({"folders"});
    EXPECT_EQ(titles.exitCode + folders.exitCode, 0) << Describe(titles) << Describe(folders);
    return titles.out + "/\n" + folders.out;
  };
  ASSERT_EQ(install("Sample", "Tools\\Editors").exitCode, 0);
  ASSERT_EQ(install("Other", "Tools\\Viewers").exitCode, 0);
  const std::string both = expectedTitle("Sample") + expectedTitle("Other") + "/\n";
  EXPECT_EQ(state(), both + "Tools\n  Editors\n    =Sample\n  Viewers\n    =Other\n");
  // Installing again rewrites the entry and finds the folders already there.
  ASSERT_EQ(install("Sample", "Tools\\Editors").exitCode, 0);
  EXPECT_EQ(state(), both + "Tools\n  Editors\n    =Sample\n  Viewers\n    =Other\n");

  EXPECT_EQ(box.run({"remove", "--id", "Sample", "--folder", "Tools\\Editors"}).exitCode, 0);
  EXPECT_EQ(state(), expectedTitle("Other") + "/\nTools\n  Viewers\n    =Other\n");
  // Without an id only the folder goes; without a folder only the entry.
  EXPECT_EQ(box.run({"remove", "--folder", "Tools"}).exitCode, 0);
  EXPECT_EQ(state(), expectedTitle("Other") + "/\n");
  EXPECT_EQ(box.run({"remove", "--id", "Other"}).exitCode, 0);
  EXPECT_EQ(state(), "/\n");
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
  ASSERT_EQ(install("Sample", "").exitCode, 0);
  EXPECT_NE(registry().find("\r\n\t<Locations></Locations>\r\n"), std::string::npos) << registry();
  EXPECT_EQ(registry().find("<Locations/>"), std::string::npos) << registry();
  ASSERT_EQ(install("Other", "", {"--self-closing-empty-tags"}).exitCode, 0);
  EXPECT_NE(registry().find("\r\n\t<Locations/>\r\n"), std::string::npos) << registry();
  EXPECT_EQ(registry().find("<Locations></Locations>"), std::string::npos) << registry();
}


TEST_F(CollectionCommands, TextTheCodePageCannotHoldIsRefusedBeforeAnythingIsWritten) {
  const std::string before = registry() + collection();
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"install", "--id", "\xD0\x94oc", "--chm", kChm, "--chi", kChi},
       "quillet: install: --id: '\xD0\x94' (U+0414) cannot be written in code page 1252"},
      {{"install", "--id", "X", "--chm", kChm, "--chi", kChi, "--folder", "Tools\\\xE6\x97\xA5"},
       "quillet: install: --folder: '\xE6\x97\xA5' (U+65E5) cannot be written in code page 1252"},
      {{"install", "--id", "X", "--chm", "C:\\\xF0\x9F\x98\x80.chm", "--chi", kChi},
       "quillet: install: --chm: '\xF0\x9F\x98\x80' (U+1F600) cannot be written in code page 1252"},
      {{"install", "--id", "bad\xFF", "--chm", kChm, "--chi", kChi}, "quillet: install: --id is not valid UTF-8"},
      {{"remove", "--folder", "\xD0\x94"}, "quillet: remove: --folder: '\xD0\x94' (U+0414) cannot"},
      {{"init", "--file", "C:\\Help\\\xD0\x94.col"}, "quillet: init: --file: '\xD0\x94' (U+0414) cannot"},
  };
  for (const auto& c : cases) {
    const ToolRun r = box.run(c.args);
    EXPECT_EQ(r.exitCode, 2) << Describe(r);
    EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << Describe(r);
  }
  EXPECT_EQ(registry() + collection(), before);
  EXPECT_FALSE(fs::exists(box.host("drive_c/Help")));

  // Western text is at home in 1252, as one byte a character.
  ASSERT_EQ(install("Caf\xC3\xA9", "Men\xC3\xBC").exitCode, 0);
  EXPECT_NE(registry().find("<DocCompId value=\"Caf\xE9\"/>"), std::string::npos) << registry();
  EXPECT_NE(collection().find("<TitleString value=\"Men\xFC\"/>"), std::string::npos) << collection();
}

TEST_F(CollectionCommands, ACyrillicPrefixTakesCyrillicTitlesAndReadsThemBack) {
  box.setCodePage(1251);
  const std::string id = "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82";  // Документ
  const std::string folder = "\xD0\xA1\xD0\xBF\xD1\x80\xD0\xB0\xD0\xB2\xD0\xBA\xD0\xB0";     // Справка
  ToolRun r = install(id, folder + "\\Tools");
  ASSERT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out, "added entry " + id + "\nadded folder " + folder + "\nadded folder " + folder +
                       "\\Tools\nadded folder " + folder + "\\Tools\\=" + id + "\n");
  // On disk, the bytes HTML Help reads in code page 1251.
  EXPECT_NE(registry().find(std::string("<DocCompId value=\"") + kDocument1251 + "\"/>"), std::string::npos);
  EXPECT_NE(collection().find(std::string("<TitleString value=\"") + kHelp1251 + "\"/>"), std::string::npos);
  EXPECT_NE(collection().find(std::string("<TitleString value=\"=") + kDocument1251 + "\"/>"), std::string::npos);

  r = box.run({"titles"});
  EXPECT_EQ(r.out.rfind("{\"id\":\"" + id + "\"", 0), 0u) << Describe(r);
  EXPECT_EQ(box.run({"folders"}).out, folder + "\n  Tools\n    =" + id + "\n");
  // The toolkit's own reading, byte for character, unless told the code page.
  r = box.run({"xml", "tree", box.host(ToolSandbox::kRegistry).string()});
  EXPECT_NE(r.out.find("\\u00c4\\u00ee\\u00ea"), std::string::npos) << r.out;
  r = box.run({"xml", "tree", "--code-page", "1251", box.host(ToolSandbox::kRegistry).string()});
  EXPECT_NE(r.out.find("\\u0414\\u043e\\u043a"), std::string::npos) << r.out;
  r = box.run({"xml", "events", "--code-page", "1251", box.host(ToolSandbox::kRegistry).string()});
  EXPECT_NE(r.out.find("\"value\":\"\\u0414\\u043e\\u043a"), std::string::npos) << r.out;

  r = box.run({"remove", "--id", id, "--folder", folder});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out, "removed entry " + id + "\nremoved folder " + folder + " (1 title inside)\n");
  EXPECT_EQ(box.run({"titles"}).out, "");
  r = install("\xE6\x97\xA5", "");  // a CJK character is not in 1251 either
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("cannot be written in code page 1251"), std::string::npos) << r.err;
}

// Each file HTML Help keeps can be wrong in its own way; install and remove then say
// which and why, and change neither file.
TEST_F(CollectionCommands, BrokenFilesStopInstallAndRemoveBeforeEitherChanges) {
  ASSERT_EQ(install("Kept", "Tools").exitCode, 0);
  const std::string goodRegistry = registry();
  const std::string goodCollection = collection();
  const std::string registryName = "C:\\windows\\Help\\hhcolreg.dat (" + box.host("") .string();
  const std::string collectionName = "The default collection C:\\windows\\Help\\quillet.col (";
  const struct {
    const char* label;
    const char* file;  // ToolSandbox::kRegistry or kCollection
    std::string bytes;
    int installCode, removeCode;
    std::string message;
  } cases[] = {
      {"collection missing", ToolSandbox::kCollection, "", 10, 1, "does not exist"},
      {"collection not well-formed", ToolSandbox::kCollection, "<HTMLHelpCollection><Folders>", 10, 1,
       "is not well-formed XML (line 1, column "},
      {"collection of the wrong kind", ToolSandbox::kCollection, "<Other><Folders/></Other>", 10, 1,
       "is not a collection file: its root element is Other, not HTMLHelpCollection"},
      {"collection without Folders", ToolSandbox::kCollection, "<HTMLHelpCollection/>", 150, 1,
       "has no Folders element"},
      {"registry not well-formed", ToolSandbox::kRegistry, "garbage", 9, 9, "is not well-formed XML"},
      {"registry of another collection", ToolSandbox::kRegistry,
       "<XML><HTMLHelpDocInfo><Collections><Collection><ColNum value=1/><ColName value=\"C:\\other.col\"/>"
       "</Collection></Collections><DocCompilations/></HTMLHelpDocInfo></XML>",
       9, 9, "does not list the default collection C:\\windows\\Help\\quillet.col"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.bytes.empty()) fs::remove(box.host(c.file));
    else box.writeFile(c.file, c.bytes);
    const std::string registryBefore = registry(), collectionBefore = collection();
    for (const bool installing : {true, false}) {
      const ToolRun r = installing ? install("New", "Tools\\Sub") : box.run({"remove", "--id", "Kept", "--folder", "Tools"});
      EXPECT_EQ(r.exitCode, installing ? c.installCode : c.removeCode) << Describe(r);
      EXPECT_NE(r.err.find(c.message), std::string::npos) << Describe(r);
      EXPECT_NE(r.err.find(c.file == ToolSandbox::kRegistry ? registryName : collectionName), std::string::npos)
          << Describe(r);
      EXPECT_EQ(r.out, "") << Describe(r);
      EXPECT_EQ(registry(), registryBefore);
      EXPECT_EQ(collection(), collectionBefore);
    }
    box.writeFile(ToolSandbox::kRegistry, goodRegistry);
    box.writeFile(ToolSandbox::kCollection, goodCollection);
  }
  // A dry run checks the same and shows what would change, writing nothing.
  const ToolRun r = install("New", "Tools\\Sub", {"--dry-run"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out, "would add entry New\nwould add folder Tools\\Sub\nwould add folder Tools\\Sub\\=New\n");
  EXPECT_EQ(registry(), goodRegistry);
  EXPECT_EQ(collection(), goodCollection);
  EXPECT_EQ(install("New", "Tools\\Sub", {"--quiet"}).out, "");
  EXPECT_NE(registry(), goodRegistry);
}

// A save refuses what is not a file and leaves it as it is. (Links, owners and
// permissions of a replaced file: the platform's Files tests.)
TEST_F(CollectionCommands, SavesRefuseWhatIsNotAFile) {
  // A FIFO or a directory given to xml format stays what it is.
  const fs::path fifo = box.host("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& out : {fifo.string(), box.host("drive_c").string()}) {
    const ToolRun r = box.run({"xml", "format", box.host(ToolSandbox::kCollection).string(), out});
    EXPECT_EQ(r.exitCode, 1) << Describe(r);
    EXPECT_NE(r.err.find(out + " is a "), std::string::npos) << Describe(r);
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  const ToolRun r = box.run({"xml", "format", box.host(ToolSandbox::kCollection).string(), "-"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out.rfind("<XML>\r\n<HTMLHelpCollection>\r\n", 0), 0u) << r.out;

  // A registry that became a directory: the install refuses it and says so.
  fs::remove(box.host(ToolSandbox::kRegistry));
  fs::create_directories(box.host(ToolSandbox::kRegistry));
  const ToolRun dir = install("X", "");
  EXPECT_EQ(dir.exitCode, 9) << Describe(dir);
  EXPECT_NE(dir.err.find("hhcolreg.dat") , std::string::npos) << Describe(dir);
  EXPECT_NE(dir.err.find("is a directory, not a file"), std::string::npos) << Describe(dir);
}

// init never says "already set up" about files it could not use.
TEST_F(CollectionCommands, InitReportsBrokenFilesWithAHint) {
  const std::string goodRegistry = registry();
  const struct {
    const char* label;
    std::string bytes;  // "" makes the registry a directory
    std::string problem;
  } cases[] = {
      {"garbage", "garbage", "is not well-formed XML"},
      {"empty", " ", "is not a collection registry: it has no Collections element"},
      {"a directory", "", "is a directory, not a file"},
      {"another collection",
       "<XML><HTMLHelpDocInfo><Collections><Collection><ColNum value=1/><ColName value=\"C:\\other.col\"/>"
       "</Collection></Collections></HTMLHelpDocInfo></XML>",
       "does not list the collection C:\\windows\\Help\\quillet.col"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(box.host(ToolSandbox::kRegistry));
    if (c.bytes.empty()) fs::create_directories(box.host(ToolSandbox::kRegistry));
    else box.writeFile(ToolSandbox::kRegistry, c.bytes);
    const ToolRun r = box.run({"init"});
    EXPECT_EQ(r.exitCode, 1) << Describe(r);
    EXPECT_NE(r.err.find("quillet: init: problem: "), std::string::npos) << Describe(r);
    EXPECT_NE(r.err.find(c.problem), std::string::npos) << Describe(r);
    EXPECT_NE(r.err.find("\nhint: "), std::string::npos) << Describe(r);
    EXPECT_EQ(r.out.find("nothing to do"), std::string::npos) << Describe(r);
  }
  fs::remove_all(box.host(ToolSandbox::kRegistry));
  box.writeFile(ToolSandbox::kRegistry, goodRegistry);
  const ToolRun self = box.run({"init", "--file", "C:\\windows\\Help\\HHCOLREG.DAT"});
  EXPECT_EQ(self.exitCode, 1) << Describe(self);
  EXPECT_NE(self.err.find("is the collection registry itself"), std::string::npos) << Describe(self);
  EXPECT_EQ(registry(), goodRegistry);
}

TEST_F(CollectionCommands, TheCommandLineAnswersAsPeopleExpect) {
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;  // err: the start of standard error
  } cases[] = {
      {{"--version"}, 0, "Tessaly QUILLET Version 1.0.0 - Build 002\n", ""},
      {{"help", "remove"}, 0, "Remove a title's registry entry", ""},
      {{"remove", "--id", "Nobody"}, 0, "", "nothing to remove\n"},
  };
  for (const auto& c : cases) {
    const ToolRun r = box.run(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << Describe(r);
    EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << Describe(r);
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << Describe(r);
  }
  EXPECT_NE(box.run({"help", "remove"}).out.find("Usage: quillet remove [OPTIONS]"), std::string::npos);

  // A collection file that the registry settings name but that is missing is not found.
  fs::remove(box.host(ToolSandbox::kCollection));
  const ToolRun where = box.run({"where"});
  EXPECT_EQ(where.exitCode, 5);
  EXPECT_EQ(where.out, "registry: C:\\windows\\Help\\HHCOLREG.DAT\ncollection: not found\n");
  EXPECT_NE(where.err.find("C:\\windows\\Help\\quillet.col ("), std::string::npos) << where.err;
  EXPECT_NE(where.err.find("does not exist"), std::string::npos) << where.err;

  ASSERT_EQ(box.run({"init"}).exitCode, 0);
  const ToolRun json = (install("A", "Tools\\Ed"), box.run({"folders", "--json"}));
  EXPECT_EQ(json.out, "[{\"title\":\"Tools\",\"folders\":[{\"title\":\"Ed\",\"folders\":[{\"title\":\"=A\",\"folders\":[]}]}]}]\n");
}

}  // namespace
