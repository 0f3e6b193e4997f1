#include <gtest/gtest.h>

#include <string>

#include "OutputTestSupport.h"
#include "xml/common/U16String.h"
#include "xml/output/OutputEncoder.h"

namespace quillet::xml {
namespace {

using namespace std::string_literals;

TEST(Encoders, ExactBytesOfEachName) {
  const struct {
    const char16_t* encoding;
    std::u16string text;
    std::string expected;  // begin(), the text, end()
  } rows[] = {
      {u"UTF-16", u"A", "\xFF\xFE\x41\x00"s}, {u"UTF16", u"\u20AC", "\xFF\xFE\xAC\x20"s},
      {u"UNICODE", u"A\u00E9", "\x41\x00\xE9\x00"s},  // no mark
      {u"UTF8", u"\u0080\u07FF", "\xC2\x80\xDF\xBF"s}, {u"UTF-8", u"\u0800\uFFFF", "\xE0\xA0\x80\xEF\xBF\xBF"s},
      {u"UTF-8", u"\xD83D\xDE00", "\xED\xA0\xBD\xED\xB8\x80"s},  // surrogates each on their own
      {u"UTF-8", std::u16string(1, u'\0'), "\0"s}, {u"ISO-8859-1", u"\u00E9\u20AC", "\xE9\xAC"s},
      {u"ASCII", u"\u00E9\u20ACa", "\xE9\xAC\x61"s},  // high bytes kept
  };
  for (const auto& row : rows) {
    VectorSink sink;
    auto encoder = CreateOutputEncoder(row.encoding, &sink);
    ASSERT_NE(encoder, nullptr);
    encoder->begin();
    encoder->write(row.text);
    encoder->end();
    EXPECT_EQ(sink.bytes, row.expected) << U16ToUtf8(row.encoding) << " " << U16ToUtf8(row.text);
  }
}

// The exact names are those of the table above; any other spelling selects nothing.
TEST(Encoders, OnlyExactNamesSelectAnEncoder) {
  VectorSink sink;
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

TEST(StringByteSink, GrowsPastItsFirstBufferAndKeepsEveryCharacter) {
  CStringByteSink sink;
  std::u16string expected;
  for (char16_t i = 0; i < 5000; ++i) {
    expected.push_back(static_cast<char16_t>(u'a' + i % 26));
    sink.putByte(static_cast<unsigned char>(expected.back()));
  }
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
