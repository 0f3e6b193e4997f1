// What init checks and writes: its arguments, the host files and the edits of system.reg.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "HelpSetup.h"
#include "HostFiles.h"
#include "WineRegistryEditor.h"
#include "platform/Platform.h"
#include "support/SandboxPrefix.h"

namespace {

using namespace quillet::tool;

// An empty name and a relative file: the tool's usage-error tests.
TEST(HelpSetup, ChecksTheCommandsArguments) {
  const std::string longName(256, 'n');
  const std::string longPath = "C:\\" + std::string(256, 'p') + ".col";
  struct Row {
    const char* label;
    std::string (*check)(const std::string&);
    std::string value;
    std::string why;  // empty: accepted
  };
  const Row rows[] = {
      {"plain name", CheckCollectionName, "Quillet", ""},
      {"name with a backslash", CheckCollectionName, "a\\b", "the collection name names a registry key: no backslash in it"},
      {"name with a tab", CheckCollectionName, "a\tb", "the collection name must not hold control characters"},
      {"long name", CheckCollectionName, longName, "the collection name is longer than 255 bytes"},
      {"default file", CheckCollectionFile, "C:\\windows\\Help\\quillet.col", ""},
      {"other drive, lower case", CheckCollectionFile, "d:\\Docs & Notes\\my.col", ""},
      {"drive without a backslash", CheckCollectionFile, "C:quillet.col",
       "the collection file must be a Windows path such as C:\\windows\\Help\\quillet.col"},
      {"directory", CheckCollectionFile, "C:\\windows\\Help\\", "the collection file's path names a directory"},
      {"quote", CheckCollectionFile, "C:\\a\"b.col",
       "the collection file's path holds a character Windows does not allow in file names"},
      {"forward slash", CheckCollectionFile, "C:\\a/b.col",
       "the collection file's path holds a character Windows does not allow in file names"},
      {"empty folder name", CheckCollectionFile, "C:\\a\\\\b.col", "the collection file's path has an empty folder name"},
      {"long path", CheckCollectionFile, longPath, "the collection file's path is longer than 259 bytes"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(row.check(row.value), row.why);
  }
}

TEST(HostFiles, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  quillet::test::SandboxPrefix sandbox;
  sandbox.writeFile("drive_c/system.reg", "old bytes");
  const std::string target = sandbox.host("drive_c/system.reg").string();
  quillet::platform::InjectWriteFailureAfter(3);
  std::string error;
  const bool written = WriteWholeFile(target, "new bytes that do not fit", error);
  quillet::platform::InjectWriteFailureAfter(-1);
  EXPECT_FALSE(written);
  EXPECT_EQ(error, "cannot write " + target + ": No space left on device (it was left as it was)");
  EXPECT_EQ(sandbox.readFile("drive_c/system.reg"), "old bytes");
  EXPECT_EQ(sandbox.names("drive_c"), (std::set<std::string>{"system.reg", "windows"}));
}

const std::string kKey = "SOFTWARE\\Microsoft\\HTML Help Collections\\Developer Collections";

struct EscapeCase {
  const char* label;
  std::string plain;
  char delimiter;
  std::string escaped;
};

TEST(WineRegistryEditor, EscapesAsWineWritesAndReadsBack) {
  const EscapeCase cases[] = {
      {"backslash", "C:\\windows", '"', "C:\\\\windows"},
      {"quote", "say \"hi\"", '"', "say \\\"hi\\\""},
      {"quote outside a string", "a\"b]", ']', "a\"b\\]"},
      {"C escapes", "a\tb\nc\x1b", '"', "a\\tb\\nc\\e"},
      {"octal", "\x01x", '"', "\\1x"},
      {"octal before a digit", "\x01" "5", '"', "\\0015"},
      {"beyond ASCII", "caf\xc3\xa9", '"', "caf\\xe9"},
      {"beyond ASCII before a hex digit", "\xc3\xa9" "a", '"', "\\x00e9a"},
      {"surrogate pair", "\xf0\x9f\x98\x80", '"', "\\xd83d\\xde00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(WineRegistryEditor::Escape(c.plain, c.delimiter), c.escaped);
    if (c.delimiter != '"') continue;
    WineRegistryEditor editor(WineRegistryEditor::EmptyFileText());
    editor.addStringValue("K", c.plain, c.plain, 1);
    const auto value = editor.findValue("K", c.plain);
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(value->isString());
    EXPECT_EQ(value->text(), c.plain);
  }
}

// Value kinds and escapes are the platform's reading (WineRegistry tests); the editor
// finds keys and values in the text, across blocks and continuation lines.
TEST(WineRegistryEditor, FindsKeysAndValuesAcrossBlocks) {
  const std::string text =
      "WINE REGISTRY Version 2\n"
      ";; All keys relative to \\\\Machine\n"
      "\n"
      "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections] 1733412345\n"
      "#time=1db4a7c2e0f1a2b\n"
      "\"Language\"=\"0x0407\"\n"
      "\"Blob\"=hex:01,02,03,\\\n"
      "  04,05\n"
      "@=\"default\"\n"
      "\"Broken=\"no closing quote\n"
      "garbage line\n"
      "\n"
      "[Other] 1\n"
      "\"Language\"=\"wrong key\"\n"
      "\n"
      "[software\\\\microsoft\\\\html help collections\\\\developer collections] 2\n"
      "\"Second\"=\"from a later block\"\n";
  const WineRegistryEditor editor(text);
  EXPECT_TRUE(editor.hasHeader());
  EXPECT_TRUE(editor.hasKey(kKey));
  EXPECT_TRUE(editor.hasKey("OTHER"));
  EXPECT_FALSE(editor.hasKey("Software\\Microsoft"));  // a parent that has no block

  const std::pair<const char*, const char*> rows[] = {
      {"language", "\"0x0407\""},                 // names ignore letter case
      {"Blob", "hex:01,02,03,04,05"},              // continuation lines joined, as the library reads it
      {"", "\"default\""},
      {"Second", "\"from a later block\""},
  };
  for (const auto& [name, raw] : rows) {
    const auto value = editor.findValue(kKey, name);
    ASSERT_TRUE(value.has_value()) << name;
    EXPECT_EQ(value->raw, raw);
  }
  EXPECT_EQ(editor.findValue(kKey, "Second")->text(), "from a later block");
  EXPECT_FALSE(editor.findValue(kKey, "Broken").has_value());  // malformed lines are skipped
  EXPECT_FALSE(editor.findValue(kKey, "Preferred").has_value());
  EXPECT_FALSE(editor.findValue(kKey + "\\0x0407", "Language").has_value());
  EXPECT_EQ(editor.findValue("Other", "Language")->text(), "wrong key");
}

TEST(WineRegistryEditor, RecognisesTheHeaderOnly) {
  EXPECT_TRUE(WineRegistryEditor("WINE REGISTRY Version 2\r\n[A] 1\r\n").hasHeader());
  EXPECT_FALSE(WineRegistryEditor("REGEDIT4\n").hasHeader());
  EXPECT_FALSE(WineRegistryEditor("WINE REGISTRY Version 20\n").hasHeader());
  EXPECT_FALSE(WineRegistryEditor("\nWINE REGISTRY Version 2\n").hasHeader());
}

struct AddCase {
  const char* label;
  std::string before;
  std::string key;
  std::string after;
};

// CR LF files: init's tests on a partly set-up prefix.
TEST(WineRegistryEditor, AddsOnlyTheNewLineAndKeepsEveryOtherByte) {
  const std::string head = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
  const AddCase cases[] = {
      {"inside an existing block, before the blank line that ends it",
       head + "[A] 1\n\"x\"=\"1\"\n\n[B] 2\n\"y\"=\"2\"\n", "a",
       head + "[A] 1\n\"x\"=\"1\"\n\"N\"=\"v\"\n\n[B] 2\n\"y\"=\"2\"\n"},
      {"inside a block that has no value yet", head + "[A] 1\n#time=1d\n[B] 2\n", "A",
       head + "[A] 1\n#time=1d\n\"N\"=\"v\"\n[B] 2\n"},
      {"after a value continued over several lines", head + "[A] 1\n\"h\"=hex:01,\\\n  02\n\n", "A",
       head + "[A] 1\n\"h\"=hex:01,\\\n  02\n\"N\"=\"v\"\n\n"},
      {"inside the last block of a file without a final line end", head + "[A] 1\n\"x\"=\"1\"", "A",
       head + "[A] 1\n\"x\"=\"1\"\n\"N\"=\"v\"\n"},
      {"a new block at the end", head + "[A] 1\n\"x\"=\"1\"\n", "New\\Key",
       head + "[A] 1\n\"x\"=\"1\"\n\n[New\\\\Key] 77\n\"N\"=\"v\"\n"},
      {"a new block after a blank last line", head, "K", head + "[K] 77\n\"N\"=\"v\"\n"},
      {"a new block in a file without a final line end", head + "[A] 1", "K",
       head + "[A] 1\n\n[K] 77\n\"N\"=\"v\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WineRegistryEditor editor(c.before);
    editor.addStringValue(c.key, "N", "v", 77);
    EXPECT_EQ(editor.text(), c.after);
    ASSERT_TRUE(editor.findValue(c.key, "n").has_value());
    EXPECT_EQ(editor.findValue(c.key, "n")->text(), "v");
  }
}

}  // namespace
