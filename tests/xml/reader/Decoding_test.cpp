// Byte-order marks, decoding, encoding switches, and line and column counting.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ReaderTestSupport.h"
#include "support/XmlTestSupport.h"

namespace quillet::xml::test {
namespace {

using quillet::test::Utf16LeBytes;

TEST(Decoding, ByteOrderMarks) {
  const Outcome le = Parse(Utf16LeBytes(u"<a>x</a>", true));
  EXPECT_TRUE(le.ok);
  EXPECT_EQ(le.events, "start(|a|a) text(x) end(|a|a)");
  EXPECT_EQ(le.encoding, "UTF-16");
  EXPECT_FALSE(le.encodingGiven);

  const Outcome be = Parse(std::string("\xFE\xFF\0<\0a\0>\0x\0<\0/\0a\0>", 18));
  EXPECT_EQ(be.events, "start(|a|a) text(x) end(|a|a)");
  EXPECT_EQ(be.encoding, "UTF-16");

  // A surrogate pair arrives as two code units.
  const Outcome pair = Parse(Utf16LeBytes(u"<a>\U0001F600</a>", true));
  EXPECT_EQ(pair.events, "start(|a|a) text(\\uD83D\\uDE00) end(|a|a)");

  // No byte-order mark: the input starts over at its first byte.
  Options unicode;
  unicode.unicodeDefault = true;
  const Outcome plain = Parse(Utf16LeBytes(u"<a/>"), unicode);
  EXPECT_TRUE(plain.ok);
  EXPECT_EQ(plain.encoding, "UNICODE");
  EXPECT_EQ(Parse("<a/>").encoding, "UTF-8");

  // 0xFF without 0xFE: rewound, so the 0xFF leads a four-byte UTF-8 sequence.
  const Outcome ff = Parse("\xFFxyz<a/>");
  EXPECT_EQ(ff.code, 180);
  EXPECT_EQ(ff.message, "Unexpected character '\\u8E7A' - expecting element start.");
  EXPECT_EQ(ff.encoding, "UTF-8");
}

TEST(Decoding, Utf8Sequences) {
  struct Row {
    const char* bytes;
    const char* shown;
  };
  const Row rows[] = {
      {"\xC3\xA9", "\\u00E9"}, {"\xD0\x96", "\\u0416"}, {"\xE2\x82\xAC", "\\u20AC"},
      {"\xF0\x9F\x98\x80", "\\uF600"},  // only the low 16 bits of U+1F600
      {"\x80\x80", "\\u0000"},          // a stray continuation byte leads two bytes
      {"\xC3(", "\\u00E8"},             // continuation bytes are not checked
  };
  for (const Row& row : rows) {
    const Outcome out = Parse(std::string("<a>") + row.bytes + "</a>");
    EXPECT_EQ(out.events, std::string("start(|a|a) text(") + row.shown + ") end(|a|a)") << row.shown;
  }
}

TEST(Decoding, DeclaredEncoding) {
  // Names compare exactly: lower case switches nothing, but is still recorded.
  using Row = std::pair<std::string, std::string>;  // the declared name, the text "\xC3\xA9" gives
  for (const auto& [name, text] : {Row{"ISO-8859-1", "\\u00C3\\u00A9"}, Row{"ASCII", "\\u00C3\\u00A9"},
                                   Row{"iso-8859-1", "\\u00E9"}}) {
    SCOPED_TRACE(name);
    const Outcome out = Parse("<?xml version='1.0' encoding='" + name + "'?><a>\xC3\xA9</a>");
    EXPECT_EQ(out.events, "pi(xml|version='1.0' encoding='" + name + "') start(|a|a) text(" + text + ") end(|a|a)");
    EXPECT_EQ(out.encoding, name);
    EXPECT_TRUE(out.encodingGiven);
  }
  // Switched off, the declaration shows only in the PI data.
  Options off;
  off.inlineEncoding = false;
  const Outcome ignored = Parse("<?xml version='1.0' encoding='ISO-8859-1'?><a>\xC3\xA9</a>", off);
  EXPECT_EQ(ignored.events, "pi(xml|version='1.0' encoding='ISO-8859-1') start(|a|a) text(\\u00E9) end(|a|a)");
  EXPECT_EQ(ignored.encoding, "UTF-8");
  EXPECT_FALSE(ignored.encodingGiven);

  // A UTF-16 document that switches to single bytes reads the high byte of its next
  // character as a character of its own, so "?" is followed by a NUL instead of ">".
  const Outcome wide = Parse(Utf16LeBytes(u"<?xml version='1.0' encoding='ISO-8859-1'?><a/>", true));
  EXPECT_EQ(wide.code, 80);
  EXPECT_EQ(wide.encoding, "ISO-8859-1");
}

// Records where the reader is at each start tag.
struct PositionRecorder : Recorder {
  std::vector<std::pair<int, int>> positions;
  void startElement(const std::u16string&, const std::u16string&, const std::u16string&,
                    const CSAXAttributes&) override {
    positions.emplace_back(locator->getLineNumber(), locator->getColumnNumber());
  }
};

TEST(Decoding, LineEndsAndColumns) {
  // CR LF, a lone CR and a lone LF each end one line.
  const std::string input = "<a>\r\n<b/>\r<c/>\n<d/>\r\r<e/></a>";
  CMemoryByteSource source(input.data(), input.size());
  PositionRecorder recorder;
  CSAXReader reader;
  reader.setContentHandler(&recorder);
  reader.parse(source, false);
  // The column is that of the next character to read; characters that the reader
  // looked at and stepped back over count each time they are read (on the first
  // line the prolog looks at "<a" for a declaration, a comment or PI and a document
  // type declaration before the element reader reads it).
  const std::vector<std::pair<int, int>> expected = {{1, 14}, {2, 8}, {3, 8}, {4, 8}, {6, 8}};
  EXPECT_EQ(recorder.positions, expected);

  // Every line end reaches the handler as one line feed.
  Options keep;
  keep.preserveSpace = true;
  EXPECT_EQ(Parse("<a>x\r\ny\rz\n</a>", keep).events, "start(|a|a) text(x\\u000Ay\\u000Az\\u000A) end(|a|a)");
}

TEST(Decoding, ErrorPositions) {
  struct Row {
    const char* input;
    int code;
    int line;
    int column;
  };
  const Row rows[] = {
      {"<a>\n  <b>&foo;</b></a>", 170, 2, 15},
      {"<a>\r\n</b>", 150, 2, 5},
      {"<?xml version='1.0'?>\n<a>\n\n  x]]>", 250, 4, 7},
      {"<a b='1'\nc>", 50, 2, 5},
  };
  for (const Row& row : rows) {
    const Outcome out = Parse(row.input);
    EXPECT_EQ(out.code, row.code) << row.input;
    EXPECT_EQ(out.line, row.line) << row.input;
    EXPECT_EQ(out.column, row.column) << row.input;
  }
}

}  // namespace
}  // namespace quillet::xml::test
