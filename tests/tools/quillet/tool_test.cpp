// The quillet program, run as a user runs it, on prefixes the tests build.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "support/RunTool.h"

namespace {

namespace fs = std::filesystem;

using quillet::test::ToolRun;

// Wine's key lines carry the time they were written.
std::string WithoutTimestamps(const std::string& text) {
  return std::regex_replace(text, std::regex("\\] [0-9]+(\r?\n)"), "] T$1");
}

const char kRegistryText[] =
    "<XML>\r\n<HTMLHelpDocInfo>\r\n<NextCollectionId value=2/>\r\n<Collections>\r\n<Collection>\r\n"
    "\t<ColNum value=1/>\r\n\t<ColName value=\"C:\\windows\\Help\\quillet.col\"/>\r\n</Collection>\r\n"
    "</Collections>\r\n<Locations>\r\n</Locations>\r\n<DocCompilations>\r\n</DocCompilations>\r\n"
    "</HTMLHelpDocInfo>\r\n</XML>\r\n";
const char kCollectionText[] =
    "<XML>\r\n<HTMLHelpCollection>\r\n<masterchm value=\"\"/>\r\n<masterlangid value=1033/>\r\n"
    "<samplelocation value=\"\"/>\r\n<collectionnum value=1/>\r\n<refcount value=0/>\r\n<version value=1/>\r\n"
    "<findmergedchms value=0/>\r\n<Folders>\r\n</Folders>\r\n</HTMLHelpCollection>\r\n</XML>\r\n";
const char kWarning[] = "warning: Wine must not be running while system.reg is edited";
const char kWhereDefault[] = "registry: C:\\windows\\Help\\HHCOLREG.DAT\ncollection: C:\\windows\\Help\\quillet.col\n";

class ToolTest : public quillet::test::ToolFolderTest {
 protected:
  void SetUp() override {
    ToolFolderTest::SetUp();
    prefix_ = dir / "prefix";
  }

  // Runs the tool with `args` after `environment` assignments, the prefix given with
  // --prefix unless `withPrefix` is false.
  ToolRun run(std::initializer_list<std::string> args, bool withPrefix = true, const std::string& environment = "") {
    std::vector<std::string> arguments;
    if (withPrefix) arguments = {"--prefix", prefix_.string()};
    arguments.insert(arguments.end(), args.begin(), args.end());
    return tool(arguments, environment);
  }

  fs::path drive(const std::string& rest) const { return prefix_ / "drive_c" / rest; }
  // A file below the prefix ("system.reg"), read or written.
  std::string file(const std::string& rest) const { return read("prefix/" + rest); }
  void put(const std::string& rest, const std::string& bytes) const { write("prefix/" + rest, bytes); }

  fs::path prefix_;
};

TEST_F(ToolTest, VersionAndWhereOnAnEmptyPrefix) {
  ToolRun r = run({"version"});
  EXPECT_EQ(std::make_tuple(r.exitCode, r.out, r.err),
            std::make_tuple(0, std::string("Tessaly QUILLET Version 1.0.0 - Build 002\n"), std::string()));
  r = run({"where"});
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_EQ(r.out, "registry: not found\ncollection: not found\n");
  EXPECT_EQ(r.err, "quillet: where: HHCOLREG.DAT in %windows%\\HELP not found\n"
                   "quillet: where: HTML Help's registry settings name no default collection\n");
  EXPECT_FALSE(fs::exists(prefix_));
}

TEST_F(ToolTest, UsageErrorsExitWithTwoAndTouchNothing) {
  struct Row {
    std::initializer_list<std::string> args;
    const char* message;
  };
  const Row rows[] = {
      {{}, "a command is needed: one of backup, folders, init, install, remove, titles, version, where, xml, help"},
      {{"frobnicate"}, "unknown command 'frobnicate'\nRun 'quillet --help' for the usage."},
      {{"where", "--bogus"}, "--bogus"},
      {{"init", "--name"}, "--name"},
      {{"init", "--name", ""}, "the collection name must not be empty"},
      {{"init", "--file", "quillet.col"}, "must be a Windows path"},
      {{"instal"}, "quillet: unknown command 'instal'; did you mean 'install'?\n"},
      {{"xml", "tre"}, "quillet: unknown command 'xml tre'; did you mean 'tree'?\n"},
      {{"install", "--iid", "x"}, "quillet: unknown option '--iid' for 'install'; did you mean '--id'?\n"},
      {{"--prefix", "/a", "where"}, "quillet: --prefix is given more than once; give it once\n"},
  };
  for (const auto& row : rows) {
    const ToolRun r = run(row.args);
    SCOPED_TRACE(r.err);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(row.message), std::string::npos);
    EXPECT_FALSE(fs::exists(prefix_));
  }
  for (const char* command : {"version", "where", "init"}) EXPECT_EQ(run({command, "--help"}).exitCode, 0) << command;
  const ToolRun r = run({"--prefix", "", "where"}, false);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("--prefix: needs a directory"), std::string::npos) << r.err;
}

TEST_F(ToolTest, InitMakesAWorkingEnvironmentOnAnEmptyPrefix) {
  ToolRun r = run({"init"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find(kWarning), std::string::npos) << r.err;
  EXPECT_EQ(file("drive_c/windows/Help/hhcolreg.dat"), kRegistryText);
  EXPECT_EQ(file("drive_c/windows/Help/quillet.col"), kCollectionText);
  const std::string registry = file("system.reg");
  const std::string dc = "[SOFTWARE\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections";
  EXPECT_EQ(WithoutTimestamps(registry),
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n" + dc +
                "] T\n\"Language\"=\"0x0409\"\n\n" + dc + "\\\\0x0409] T\n\"Preferred\"=\"Quillet\"\n\n" + dc +
                "\\\\0x0409\\\\Quillet] T\n\"Filename\"=\"C:\\\\windows\\\\Help\\\\quillet.col\"\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(drive("windows/Help")), fs::directory_iterator()), 2);

  // The prefix may come from the environment; --prefix wins over it, also after the command.
  EXPECT_EQ(run({"where"}, false, "QUILLET_PREFIX='" + prefix_.string() + "'").out, kWhereDefault);
  r = run({"where", "--prefix", prefix_.string()}, false, "QUILLET_PREFIX='" + (dir / "none").string() + "'");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, kWhereDefault);

  // A second run finds everything and changes nothing.
  r = run({"init"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("nothing to do"), std::string::npos) << r.out;
  EXPECT_EQ(r.err.find(kWarning), std::string::npos) << r.err;
  EXPECT_EQ(file("system.reg"), registry);
  EXPECT_EQ(file("drive_c/windows/Help/hhcolreg.dat"), kRegistryText);
}

TEST_F(ToolTest, InitTakesTheCollectionsNameAndFile) {
  ToolRun r = run({"init", "--name", "My Help", "--file", "D:\\Docs & Notes\\my.col"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(file("drive_d/Docs & Notes/my.col"), kCollectionText);
  std::string expected = kRegistryText;
  expected.replace(expected.find("C:\\windows\\Help\\quillet.col"), 27, "D:\\Docs &amp; Notes\\my.col");
  EXPECT_EQ(file("drive_c/windows/Help/hhcolreg.dat"), expected);
  EXPECT_NE(file("system.reg").find("\\\\0x0409\\\\My Help] "), std::string::npos);

  r = run({"where"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "registry: C:\\windows\\Help\\HHCOLREG.DAT\ncollection: D:\\Docs & Notes\\my.col\n");

  // What it finds wins over what it is asked for.
  const std::string registry = file("system.reg");
  r = run({"init", "--name", "Second", "--file", "C:\\other.col"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("--name \"Second\" ignored: Preferred already is \"My Help\""), std::string::npos) << r.err;
  EXPECT_EQ(file("system.reg"), registry);
  EXPECT_FALSE(fs::exists(drive("other.col")));
}

TEST_F(ToolTest, InitOnAPartlySetUpPrefixAddsOnlyWhatIsMissing) {
  const std::string dc = "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections";
  const std::string before =
      "WINE REGISTRY Version 2\r\n;; All keys relative to \\\\Machine\r\n\r\n#arch=win32\r\n\r\n" + dc +
      "] 1600000000\r\n#time=1d6b5e3b2c4a1f0\r\n\"Language\"=\"0x0407\"\r\n\r\n" + dc +
      "\\\\0x0407] 1600000000\r\n\"Note\"=\"kept\"\r\n\r\n"
      "[Software\\\\Wine] 1600000000\r\n\"Version\"=\"win10\"\r\n\"Blob\"=hex:00,01,\\\r\n  02\r\n";
  put("system.reg", before);
  const std::string oldRegistry =
      "<XML>\r\n<HTMLHelpDocInfo>\r\n<Collections>\r\n<Collection>\r\n<ColNum value=7/>\r\n"
      "<ColName value=\"c:\\WINDOWS\\help\\quillet.col\"/>\r\n</Collection>\r\n</Collections>\r\n"
      "</HTMLHelpDocInfo>\r\n</XML>\r\n";
  put("drive_c/Windows/help/HHCOLREG.DAT", oldRegistry);

  ToolRun r = run({"init"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find(kWarning), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("found: Language = \"0x0407\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("found: collection registry C:\\windows\\Help\\HHCOLREG.DAT"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("made: Preferred = \"Quillet\""), std::string::npos) << r.out;

  std::string expected = before;
  expected.insert(expected.find("\r\n\r\n[Software\\\\Wine]") + 2, "\"Preferred\"=\"Quillet\"\r\n");
  expected +=
      "\r\n"
      "[SOFTWARE\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections\\\\0x0407\\\\Quillet] T\r\n"
      "\"Filename\"=\"C:\\\\windows\\\\Help\\\\quillet.col\"\r\n";
  EXPECT_EQ(WithoutTimestamps(file("system.reg")), WithoutTimestamps(expected));
  EXPECT_EQ(file("drive_c/Windows/help/HHCOLREG.DAT"), oldRegistry);
  EXPECT_EQ(file("drive_c/Windows/help/quillet.col"), kCollectionText);
  EXPECT_EQ(std::distance(fs::directory_iterator(prefix_ / "drive_c"), fs::directory_iterator()), 1);
  EXPECT_EQ(run({"where"}).out, kWhereDefault);
}

TEST_F(ToolTest, InitRefusesARegistryItCannotTrust) {
  const std::string key = "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections";
  const std::string dc = "WINE REGISTRY Version 2\n\n" + key;
  const std::string hklm = "[HKLM\\SOFTWARE\\Microsoft\\HTML Help Collections\\Developer Collections";
  struct Row {
    std::string systemReg, message;
  };
  const Row rows[] = {
      {"REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n",
       "is not a Wine registry file (its first line is not \"WINE REGISTRY Version 2\")"},
      {dc + "] 1\n\"Language\"=dword:00000409\n",
       "the value \"Language\" of " + hklm + "] is dword:00000409, not a string"},
      {dc + "] 1\n\"Language\"=\"0x0409\"\n\n" + key + "\\\\0x0409] 1\n\"Preferred\"=\"\"\n",
       "the value \"Preferred\" of " + hklm + "\\0x0409] is empty, so it names nothing"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    fs::remove_all(prefix_);
    put("system.reg", row.systemReg);
    const ToolRun r = run({"init"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
    EXPECT_EQ(file("system.reg"), row.systemReg);
    EXPECT_EQ(std::distance(fs::directory_iterator(prefix_), fs::directory_iterator()), 1);
  }
}

TEST_F(ToolTest, InitThatCannotWriteSaysSoAndLeavesNoFile) {
  write("prefix", "a file where the prefix should be");
  const ToolRun r = run({"init"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("quillet: cannot create the directory " + prefix_.string()), std::string::npos) << r.err;
  EXPECT_EQ(read("prefix"), "a file where the prefix should be");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // prefix, out, err
}

}  // namespace
