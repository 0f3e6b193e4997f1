// The byte sources, and the reader over files read in blocks of every small size.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>

#include "ReaderTestSupport.h"
#include "platform/Platform.h"
#include "quillet/xml/FileByteSource.h"

namespace quillet::xml::test {
namespace {

std::string WriteTestFile(const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(QUILLET_TEST_WORK_DIR);
  const std::string path = std::string(QUILLET_TEST_WORK_DIR) + "/" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// The next byte, or "#" and the result code when there is none.
std::string Next(CByteSource& source) {
  unsigned char b = 0;
  const int result = source.readByte(b);
  return result == 0 ? std::string(1, static_cast<char>(b)) : "#" + std::to_string(result);
}

// The memory source and file sources read in blocks of several sizes step back and
// seek alike, across every block boundary.
TEST(ByteSource, SourcesStepBackAndSeekAlike) {
  const std::string bytes = "0123456789";
  const std::string path = WriteTestFile("steps.bin", bytes);
  for (std::size_t block : {0u, 1u, 3u, 4u, 64000u}) {
    SCOPED_TRACE(block);
    CMemoryByteSource memory(bytes.data(), bytes.size());
    CFileByteSource file(block == 0 ? 1 : block);
    if (block != 0) {
      ASSERT_EQ(file.attach(platform::OpenForReading(path)), 0);
    }
    CByteSource& source = block == 0 ? static_cast<CByteSource&>(memory) : file;
    unsigned char b = 0;
    long position = -1;
    EXPECT_EQ(source.unreadByte(), kByteSourceCannotStepBack);
    EXPECT_EQ(source.skipByte(), 0);
    for (char expected : bytes.substr(1)) EXPECT_EQ(Next(source), std::string(1, expected));
    EXPECT_EQ(Next(source), "#70");
    EXPECT_EQ(source.peekByte(b), kByteSourceEndOfInput);
    for (int i = 9; i >= 0; --i) {
      ASSERT_EQ(source.unreadByte(), 0) << i;
      ASSERT_EQ(source.peekByte(b), 0);
      EXPECT_EQ(b, '0' + i);
      source.tell(position);
      EXPECT_EQ(position, i);
    }
    EXPECT_EQ(source.unreadByte(), kByteSourceCannotStepBack);
    for (long to : {7L, 2L, 10L}) {
      EXPECT_EQ(source.seek(to), 0);
      EXPECT_EQ(Next(source), to == 10 ? "#70" : std::string(1, static_cast<char>('0' + to)));
    }
    if (block == 0) {
      EXPECT_EQ(source.seek(11), kByteSourceSeekFailed);
    }
  }
  CFileByteSource unattached;  // an unattached file source is empty
  EXPECT_EQ(Next(unattached), "#70");
  EXPECT_EQ(unattached.unreadByte(), kByteSourceCannotStepBack);
}

// Documents whose parse looks ahead and steps back often: declarations, names
// pushed back, multi-byte characters, UTF-16 and the compatibility form.
// Sizes come from the literals, since some hold NUL bytes.
#define DOCUMENT(text) std::string(text, sizeof(text) - 1)
const std::string kDocuments[] = {
    DOCUMENT("<?xml version='1.0' encoding='UTF-8'?>\r\n<!-- c --><r a='1' b=\"x\ny\">t\xC3\xA9xt&amp;"
             "<![CDATA[c]]><e/><?p d?>\xE2\x82\xAC</r>\n"),
    DOCUMENT("\xFF\xFE<\0r\0>\0x\0<\0/\0r\0>\0"),
    // Big-endian, with runs of names, a value and text that blocks cut between the
    // bytes of a unit, and U+0141, whose low byte alone would be 'A'.
    DOCUMENT("\xFE\xFF\0<\0r\0o\0o\0t\0 \0a\0=\0'\0v\0a\0l\0u\0e\0'\0>\0t\0e\0x\0t\x01\x41\0m\0o\0r\0e"
             "\0<\0/\0r\0o\0o\0t\0>"),
    DOCUMENT("<XML><r a=1>\xC3\xA9</r></XML>"),
    DOCUMENT("<?xml version='1.0' encoding='ISO-8859-1'?><r>\xE9</r>"),
    DOCUMENT("<r>&undefined;</r>"),
    DOCUMENT("<r><a></b></r>"),
    DOCUMENT("<!DOCTYPE r PUBLIC 'p' 's' [\r\n<!ENTITY e 'v\xC3\xA9&amp;'><!ELEMENT r (#PCDATA|a)*>%p;\n"
             "<!ATTLIST r a CDATA #IMPLIED b (x|y) 'x'><!NOTATION n SYSTEM 'x'><!-- c -->]><r a='&e;'>&e;</r>"),
    // Overlong forms of "<" and of a space inside a run of text and of a value are
    // markup and white space, not text; a name ends at a line end.
    DOCUMENT("<r a='v\xC0\xA0w'>x\xC0\xBC/r>"),
    DOCUMENT("<r\n a\r\n=\n'1'\n/>"),
    // A carriage return before a line feed in an overlong form ends one line, not two.
    DOCUMENT("<a>\r\xC0\x8A</b>"),
    DOCUMENT("<a\r\xC0\x8A" "b='1'/>"),
};
#undef DOCUMENT

// Parses `bytes` from a file read in blocks of each size and from memory: events,
// verdict and position must agree.
void ExpectSameFromFile(const std::string& bytes, const std::string& name, std::initializer_list<std::size_t> blocks) {
  const Outcome expected = Parse(bytes);
  const std::string path = WriteTestFile(name, bytes);
  for (std::size_t block : blocks) {
    CFileByteSource source(block);
    ASSERT_EQ(source.attach(platform::OpenForReading(path)), 0);
    SCOPED_TRACE(bytes + " block " + std::to_string(block));
    const Outcome got = Parse(source);
    EXPECT_EQ(got.ok, expected.ok);
    EXPECT_EQ(got.events, expected.events);
    EXPECT_EQ(std::make_tuple(got.code, got.line, got.column), std::make_tuple(expected.code, expected.line, expected.column));
  }
}

TEST(ByteSource, PushBackAtTheDefaultBlockBoundary) {
  // A start tag ends at byte 63,998 and an "\u00E9" (two bytes) straddles the end of the
  // first 64,000-byte block. Skipping white space after the tag peeks that character,
  // reading into the second block, and then steps back over it into the first.
  std::string bytes = "<r>";
  while (bytes.size() < 64000 - 40) bytes += "<e>x</e>";
  const std::size_t nameLength = 63999 - bytes.size() - 2;
  const std::string name(nameLength, 'n');
  bytes += "<" + name + ">";
  ASSERT_EQ(bytes.size(), 63999u);
  bytes += "\xC3\xA9</" + name + "></r>";
  const std::string path = WriteTestFile("boundary.xml", bytes);
  CFileByteSource source;
  ASSERT_EQ(source.attach(platform::OpenForReading(path)), 0);
  const Outcome got = Parse(source);
  EXPECT_TRUE(got.ok) << got.code;
  EXPECT_EQ(got.events, Parse(bytes).events);
  EXPECT_NE(got.events.find("start(|" + name + "|" + name + ") text(\\u00E9)"), std::string::npos);
}

// The same document in UTF-16 (little-endian, with a byte-order mark): every byte
// one code unit.
std::string Utf16Units(const std::string& bytes) {
  std::string units = "\xFF\xFE";
  for (const char b : bytes) units += {b, '\0'};
  return units;
}

TEST(ByteSource, DocumentsReadAlikeFromMemoryAndEveryBlockSize) {
  // The fixed documents above; then well-formed and broken documents alike, built
  // from pieces that make the reader look ahead, step back and decode several bytes,
  // and that end its runs, names and white space in every way: in UTF-8, one byte
  // per character and UTF-16. In memory every run is in the buffer; in small blocks
  // none is, and the reader must come to the same events, errors and positions.
  const char* const pieces[] = {"<a>", "</a>", "<b x='1' y=\"&amp;\">", "</b>", "<c/>", "text", "\r\n", " ",
                                "&amp;", "&#65;", "<![CDATA[z]]>", "<!--k-->", "<?p q?>", "\xC3\xA9",
                                "\xE2\x82\xAC", "]]>", "<", "&", "'", "<?xml version='1.0'?>",
                                "<d\n/>", "<e\r\nf='2'/>", "\xC0\xBC", "\xC0\xA0", "\xF0\x9F\x98\x80", "\t",
                                "a run of plain text longer than a block", "<p:q xmlns:p='u' p:r='\xC3\xA9t\xC3\xA9 \t'/>",
                                "&lt;&gt;&quot;&apos;&ampx;", "<ns:>", "<:x/>", "&#x20AC;&#;&#x;",
                                "&#99999999999;", "&#6a;", "&#\xC0\xB1;"};
  const std::string singleByte = "<?xml version='1.0' encoding='ISO-8859-1'?>";
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(1, 24);
  int index = 0;
  for (const std::string& bytes : kDocuments) {
    ExpectSameFromFile(bytes, "doc" + std::to_string(index++) + ".xml", {1, 2, 3, 5, 7, 64000});
  }
  for (int n = 0; n < 300; ++n) {
    std::string bytes = "<a>";
    for (int i = length(random); i > 0; --i) bytes += pieces[pick(random)];
    if (n % 2 == 0) bytes += "</a>";
    if (n % 3 == 1) bytes = singleByte + bytes;
    if (n % 3 == 2) bytes = Utf16Units(bytes);
    ExpectSameFromFile(bytes, "generated.xml", {1, 2, 3});
  }
}

}  // namespace
}  // namespace quillet::xml::test
