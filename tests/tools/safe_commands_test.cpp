// The tool on real installs: text in the prefix's code page, both files changed or
// neither, files kept as they were, init that checks what it finds, and answers that
// say which file is wrong and why.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

class SafeCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(box.initRun.exitCode, 0) << Describe(box.initRun); }

  ToolRun install(const std::string& id, const std::string& folder, const std::vector<std::string>& more = {}) {
    return box.install(id, folder, more);
  }
  std::string registry() const { return box.registry(); }
  std::string collection() const { return box.collection(); }

  ToolSandbox box;
};

TEST_F(SafeCommands, TextTheCodePageCannotHoldIsRefusedBeforeAnythingIsWritten) {
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

TEST_F(SafeCommands, ACyrillicPrefixTakesCyrillicTitlesAndReadsThemBack) {
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
TEST_F(SafeCommands, BrokenFilesStopInstallAndRemoveBeforeEitherChanges) {
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

TEST_F(SafeCommands, SavesKeepLinksOwnersAndPermissionsAndRefuseWhatIsNotAFile) {
  // The registry lives elsewhere and the Help folder links to it.
  const fs::path real = box.host("elsewhere/hhcolreg.dat");
  box.writeFile("elsewhere/hhcolreg.dat", registry());
  fs::remove(box.host(ToolSandbox::kRegistry));
  fs::create_symlink(real, box.host(ToolSandbox::kRegistry));
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(real.c_str(), 1234, 5678), 0);
  }
  ASSERT_EQ(install("Linked", "").exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(box.host(ToolSandbox::kRegistry)));
  EXPECT_NE(box.readFile("elsewhere/hhcolreg.dat").find("Linked"), std::string::npos);
  struct stat info;
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(info.st_uid, 1234u);
    EXPECT_EQ(info.st_gid, 5678u);
  }
  EXPECT_EQ(box.names("elsewhere"), (std::set<std::string>{"hhcolreg.dat"}));

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
TEST_F(SafeCommands, InitReportsBrokenFilesWithAHint) {
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

TEST_F(SafeCommands, TheCommandLineAnswersAsPeopleExpect) {
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
