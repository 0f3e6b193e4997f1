#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/portable/WineRegistry.h"
#include "support/SandboxPrefix.h"

namespace {

namespace platform = quillet::platform;
using platform::WineRegistry;
using quillet::test::SandboxPrefix;

// What RegQueryValueExA would deliver for a value of a parsed file, or "<none>".
std::string delivered(const WineRegistry& registry, const char* key, const char* value) {
  const WineRegistry::Key* k = registry.find(key);
  if (k == nullptr) return "<no key>";
  const platform::WineRegistryValue* v = k->value(value);
  return v != nullptr ? platform::AnsiValueData(*v) : "<none>";
}

// A literal's bytes, NULs included (its own terminating NUL left out).
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

std::vector<std::string> subkeyNames(const WineRegistry::Key& key) {
  std::vector<std::string> names;
  for (const WineRegistry::Key* k : key.subkeys()) names.push_back(k->name());
  return names;
}

constexpr char kValues[] =
    "WINE REGISTRY Version 2\r\n"
    ";; All keys relative to \\\\Machine\r\n"
    "#arch=win32\r\n"
    "\r\n"
    "[Software\\\\Test] 1700000000\r\n"
    "#time=1d9a0c0a1b2c3d4\r\n"
    "\"Plain\"=\"a\\\\b\\\"c\\nd\\x41\\x20ac\\t\"\r\n"
    "@=\"the default\"\r\n"
    "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\r\n"
    "\"Multi\"=str(7):\"one\\0two\\0\"\r\n"
    "\"Number\"=dword:0000040a\r\n"
    "\"Blob\"=hex:01,02,\\\r\n"
    "  ff,00\r\n"
    "\"WideHex\"=hex(2):41,00,42,00,00,00\r\n"
    "\"NoNulHex\"=hex(1):43,00\r\n"
    "\"Octal\"=\"\\101\\60\\0619\"\r\n"
    "\"Unknown\"=\"\\q\\x\"\r\n"
    "\"Utf8\"=\"\xC3\xA9t\xC3\xA9\"\r\n"
    "\"Quoted \\\"name\\\"\" = \"spaced\"\r\n"
    "\"Dup\"=\"first\"\r\n"
    "\"DUP\"=\"second\"\r\n";

constexpr char kMalformed[] =
    "garbage line\n"
    "\"NoEquals\" \"x\"\n"
    "\"BadDword\"=dword:xyz\n"
    "\"LongDword\"=dword:123456789\n"
    "\"TrailingDword\"=dword:1 2\n"
    "\"Unterminated\"=\"abc\n"
    "\"BadHex\"=hex:1,2g\n"
    "\"BadType\"=hex(zz):01\n"
    "\"Trailing\"=\"a\" junk\n"
    "\"Number2\"=dword:7\n"
    "=\"no name\"\n"
    "[Software\\\\Test\\\\b] 1\n"
    "[Software\\\\Test\\\\_x] 1\n"
    "[Software\\\\Test\\\\A] 1\n"
    "[SOFTWARE\\\\test] 2\n"
    "\"Later\"=\"merged\"\n"
    "[Software\\\\Broken 1\n"
    "\"Orphan\"=\"lost\"\n"
    "[] 1\n"
    "\"Rootless\"=\"lost\"\n"
    "[Software\\\\Deep\\\\Implied\\\\Key] 1\n"
    "\"Cut\"=hex:01,\\\n";

TEST(WineRegistry, ValueKindsAndEscapesAndMalformedLinesSkipped) {
  auto registry = WineRegistry::parse(std::string(kValues) + kMalformed);
  ASSERT_NE(registry, nullptr);
  const char* key = "Software\\Test";
  struct Case {
    const char* value;
    std::string bytes;
  } cases[] = {
      {"Plain", Bytes("a\\b\"c\ndA\xE2\x82\xAC\t\0")},
      {"", Bytes("the default\0")},
      {"Expand", Bytes("%SystemRoot%\\x\0")},
      {"Multi", Bytes("one\0two\0\0")},
      {"Number", Bytes("\x0a\x04\x00\x00")},
      {"Blob", Bytes("\x01\x02\xff\x00")},
      {"WideHex", Bytes("AB\0")},
      {"NoNulHex", Bytes("C\0")},  // a NUL is added to a string stored without one
      {"Octal", Bytes("A01" "9\0")},
      {"Unknown", Bytes("qx\0")},
      {"Utf8", Bytes("\xC3\xA9t\xC3\xA9\0")},
      {"Quoted \"name\"", Bytes("spaced\0")},
      {"dup", Bytes("second\0")},  // the last of two writes wins
      {"number2", Bytes("\x07\0\0\0")},
      {"Later", Bytes("merged\0")},  // a key listed twice keeps both blocks
  };
  for (const Case& c : cases) EXPECT_EQ(delivered(*registry, key, c.value), c.bytes) << c.value;
  EXPECT_EQ(registry->find(key)->value("Number")->type, platform::kRegDword);
  EXPECT_EQ(registry->find(key)->value("Expand")->type, platform::kRegExpandSz);
  EXPECT_EQ(registry->find(key)->value("Blob")->type, platform::kRegBinary);
  // Malformed lines are skipped.
  for (const char* name : {"NoEquals", "BadDword", "LongDword", "TrailingDword", "Unterminated", "BadHex", "BadType",
                           "Trailing", "Orphan", "Rootless"}) {
    EXPECT_EQ(delivered(*registry, "Software\\Test", name), "<none>") << name;
  }
  // The value cut off by the end of the file is dropped; its key is still there.
  EXPECT_EQ(delivered(*registry, "Software\\Deep\\Implied\\Key", "Cut"), "<none>");
  EXPECT_EQ(registry->find("Software\\Broken"), nullptr);
}

TEST(WineRegistry, KeysIgnoreCaseAndEnumerateInWindowsOrder) {
  auto registry = WineRegistry::parse(std::string(kValues) + kMalformed);
  ASSERT_NE(registry, nullptr);
  const WineRegistry::Key* test = registry->find("sOFTWARE\\TEST");
  ASSERT_NE(test, nullptr);
  EXPECT_EQ(test, registry->find("\\Software\\\\Test\\"));  // empty components are ignored
  EXPECT_EQ(test->name(), "Test");                          // the first spelling is kept
  // Upper-case order puts "_" (0x5F) after the letters.
  EXPECT_EQ(subkeyNames(*test), (std::vector<std::string>{"A", "b", "_x"}));
  // Parents the file never lists are there all the same.
  EXPECT_EQ(subkeyNames(*registry->find("software")), (std::vector<std::string>{"Deep", "Test"}));
  EXPECT_NE(registry->find("Software\\Deep\\Implied"), nullptr);
  EXPECT_EQ(registry->find("Software\\Deep\\Implied\\Key\\More"), nullptr);
  EXPECT_EQ(registry->find("Software\\Tes"), nullptr);
}

TEST(WineRegistry, OnlyFilesWithTheHeaderAreRead) {
  EXPECT_EQ(WineRegistry::parse("REGEDIT4\n[Software\\\\X]\n"), nullptr);  // a cut header: see the truncation test
  auto bom = WineRegistry::parse("\xEF\xBB\xBFWINE REGISTRY Version 2\n[X] 1\n\"v\"=\"1\"");
  ASSERT_NE(bom, nullptr);
  EXPECT_EQ(delivered(*bom, "x", "V"), Bytes("1\0"));  // last line without a line end
  auto headerOnly = WineRegistry::parse("WINE REGISTRY Version 2");
  ASSERT_NE(headerOnly, nullptr);
  EXPECT_TRUE(headerOnly->root().subkeys().empty());
}

TEST(WineRegistry, EveryTruncationOfAFileParsesSafely) {
  // A file cut at any byte (a crash mid-write) still parses, and text values and
  // key boundaries come out as they were or not at all.
  const std::string whole = std::string(kValues) + kMalformed;
  const auto complete = WineRegistry::parse(whole);
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    auto registry = WineRegistry::parse(whole.substr(0, cut));
    if (cut < std::strlen("WINE REGISTRY Version 2")) {
      EXPECT_EQ(registry, nullptr);
      continue;
    }
    ASSERT_NE(registry, nullptr) << cut;
    const WineRegistry::Key* test = registry->find("Software\\Test");
    if (test == nullptr) continue;
    // A quoted text is there whole or not at all.
    for (const char* name : {"Plain", "Expand", "Utf8"}) {
      const std::string value = delivered(*registry, "Software\\Test", name);
      if (value != "<none>") {
        EXPECT_EQ(value, delivered(*complete, "Software\\Test", name)) << cut;
      }
    }
    for (const char* name : {"Orphan", "Rootless"}) EXPECT_EQ(test->value(name), nullptr) << cut;
  }
}

class PrefixRegistry : public ::testing::Test {
 protected:
  SandboxPrefix sandbox;
};

TEST_F(PrefixRegistry, KeysQueryValuesAndSubkeysWithinTheBuffer) {
  sandbox.writeSystemReg(
      "[Software\\\\Vendor] 1\n\"Name\"=\"abcd\"\n@=\"dflt\"\n\"Word\"=dword:01020304\n"
      "[Software\\\\Vendor\\\\Second] 1\n[Software\\\\Vendor\\\\first] 1\n");
  auto key = platform::OpenLocalMachineKey("SOFTWARE\\vendor");
  ASSERT_NE(key, nullptr);

  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_TRUE(key->queryValue("NAME", buffer, 5));  // "abcd" and its NUL fit exactly
  EXPECT_EQ(std::string(buffer, 6), Bytes("abcd\0x"));
  EXPECT_FALSE(key->queryValue("Name", buffer, 4));  // one byte short
  EXPECT_FALSE(key->queryValue("Missing", buffer, sizeof buffer));
  EXPECT_TRUE(key->queryValue(nullptr, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_TRUE(key->queryValue("", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_TRUE(key->queryValue("word", buffer, 4));
  EXPECT_EQ(std::string(buffer, 4), "\x04\x03\x02\x01");

  EXPECT_TRUE(key->subkeyName(0, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "first");
  EXPECT_TRUE(key->subkeyName(1, buffer, 7));  // "Second" and its NUL
  EXPECT_STREQ(buffer, "Second");
  EXPECT_FALSE(key->subkeyName(1, buffer, 6));
  EXPECT_FALSE(key->subkeyName(2, buffer, sizeof buffer));

  EXPECT_EQ(platform::OpenLocalMachineKey("Software\\Nobody"), nullptr);
}

TEST_F(PrefixRegistry, UnchangedFileIsReadOnceAndChangesAreSeen) {
  sandbox.writeSystemReg("[A] 1\n\"v\"=\"one\"\n");
  const size_t before = platform::SystemRegistryLoadCount();
  auto first = platform::OpenLocalMachineKey("A");
  auto second = platform::OpenLocalMachineKey("a");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(platform::SystemRegistryLoadCount(), before + 1);

  sandbox.writeSystemReg("[A] 1\n\"v\"=\"three\"\n");
  auto third = platform::OpenLocalMachineKey("A");
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(platform::SystemRegistryLoadCount(), before + 2);
  char buffer[16];
  EXPECT_TRUE(third->queryValue("v", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "three");
  // A key opened before the change still reads the file as it was.
  EXPECT_TRUE(first->queryValue("v", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "one");
}

TEST_F(PrefixRegistry, MissingOrForeignFileOpensNoKey) {
  sandbox.writeFile("system.reg", "REGEDIT4\n[A]\n");
  EXPECT_EQ(platform::OpenLocalMachineKey("A"), nullptr);
  std::filesystem::remove(sandbox.host("system.reg"));
  EXPECT_EQ(platform::OpenLocalMachineKey("A"), nullptr);
  std::filesystem::create_directory(sandbox.host("system.reg"));
  EXPECT_EQ(platform::OpenLocalMachineKey("A"), nullptr);
}

}  // namespace
