#include <gtest/gtest.h>

#include <string>

#include "quillet/xml/ByteSink.h"
#include "xml/output/OutputEncoder.h"

namespace quillet::xml {
namespace {

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
