#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillet/xml/ByteSink.h"
#include "xml/output/OutputEncoder.h"

namespace quillet::xml {
namespace {

using Bytes = std::vector<unsigned char>;

// Keeps every call it receives, so tests see how bytes were grouped.
class RecordingSink : public CByteSink {
 public:
  void putByte(unsigned char b) override { calls.push_back({b}); }
  void writeBytes(const unsigned char* p, size_t n) override { calls.emplace_back(p, p + n); }
  Bytes all() const {
    Bytes out;
    for (const Bytes& c : calls) out.insert(out.end(), c.begin(), c.end());
    return out;
  }
  std::vector<Bytes> calls;
};

struct EncodeCase {
  const char* label;
  const char16_t* encoding;
  std::u16string text;
  Bytes expected;  // begin(), the text, end()
};

class EncodeBytes : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeBytes, Exact) {
  const EncodeCase& c = GetParam();
  RecordingSink sink;
  auto encoder = CreateOutputEncoder(c.encoding, &sink);
  ASSERT_NE(encoder, nullptr);
  encoder->begin();
  encoder->write(c.text);
  encoder->end();
  EXPECT_EQ(sink.all(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, EncodeBytes,
    ::testing::Values(
        EncodeCase{"utf16_bom", u"UTF-16", u"A", {0xFF, 0xFE, 0x41, 0x00}},
        EncodeCase{"utf16_short_name", u"UTF16", u"\u20AC", {0xFF, 0xFE, 0xAC, 0x20}},
        EncodeCase{"unicode_no_bom", u"UNICODE", u"A\u00E9", {0x41, 0x00, 0xE9, 0x00}},
        EncodeCase{"utf8_two_byte_edges", u"UTF8", u"\u0080\u07FF", {0xC2, 0x80, 0xDF, 0xBF}},
        EncodeCase{"utf8_three_byte_edges", u"UTF-8", u"\u0800\uFFFF", {0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF}},
        EncodeCase{"utf8_surrogates_unpaired", u"UTF-8", u"\xD83D\xDE00",
                   {0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}},
        EncodeCase{"utf8_nul", u"UTF-8", std::u16string(1, u'\0'), {0x00}},
        EncodeCase{"latin1", u"ISO-8859-1", u"\u00E9\u20AC", {0xE9, 0xAC}},
        EncodeCase{"ascii_keeps_high_bytes", u"ASCII", u"\u00E9\u20ACa", {0xE9, 0xAC, 0x61}}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.label); });

// The exact names are those of the table above; any other spelling selects nothing.
TEST(EncoderNames, OnlyExactNamesSelectAnEncoder) {
  RecordingSink sink;
  for (const char16_t* name : {u"utf-8", u"Unicode", u"UTF-8 ", u"", u"MSXML_IE4", u"UTF-16LE", u"ISO-8859-2"}) {
    EXPECT_EQ(CreateOutputEncoder(name, &sink), nullptr) << std::string(name, name + std::char_traits<char16_t>::length(name));
  }
}


TEST(StringByteSink, JoinsBytePairsDropsAnOddByteAndEndsAtZero) {
  CStringByteSink sink;
  sink.putByte('x');
  const unsigned char pairs[] = {0x41, 0x00, 0xAC, 0x20, 0x7F};
  sink.writeBytes(pairs, 5);  // two characters; the fifth byte has no partner
  sink.writeBytes(pairs, 1);  // fewer than two bytes: nothing
  EXPECT_EQ(sink.size(), 3u);
  EXPECT_EQ(sink.text(), u"xA\u20AC");
  // The text ends at the first zero character.
  for (unsigned char b : {'\0', 'b'}) sink.putByte(b);
  EXPECT_EQ(sink.size(), 5u);
  EXPECT_EQ(sink.text(), u"xA\u20AC");
}

TEST(StringByteSink, DoublesWhenFullAndKeepsEveryCharacter) {
  CStringByteSink sink;
  std::u16string expected;
  auto put = [&](size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const char16_t c = static_cast<char16_t>(u'a' + expected.size() % 26);
      sink.putByte(static_cast<unsigned char>(c));
      expected.push_back(c);
    }
  };
  put(1023);
  EXPECT_EQ(sink.capacity(), 1024u);
  put(1);  // the 1,024th character fills the buffer
  EXPECT_EQ(sink.capacity(), 2048u);
  put(1023);
  EXPECT_EQ(sink.capacity(), 2048u);
  put(1);
  EXPECT_EQ(sink.capacity(), 4096u);
  EXPECT_EQ(sink.text(), expected);
}

TEST(StringByteSink, UnicodeEncoderRoundTripsCodeUnitsAndUtf16DropsItsMark) {
  const std::u16string text = u"a\u00E9\u20AC\xD83D\xDE00";
  CStringByteSink unicodeSink;
  CreateOutputEncoder(u"UNICODE", &unicodeSink)->write(text);
  EXPECT_EQ(unicodeSink.text(), text);

  CStringByteSink utf16Sink;
  auto utf16 = CreateOutputEncoder(u"UTF-16", &utf16Sink);
  utf16->begin();  // the mark's single bytes have no partners
  utf16->write(text);
  EXPECT_EQ(utf16Sink.text(), text);
}

}  // namespace
}  // namespace quillet::xml
