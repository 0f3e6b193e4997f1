// What the reader's and the writer's scanning loops ask of an ASCII character, one bit
// a question, in one table (as pugixml's chartype tables do): a loop takes a run of
// characters while their bit is set, with one lookup a character. Every code unit
// from 0x80 up has none of these bits; the loops treat such units on their own.
#ifndef QUILLET_XML_COMMON_ASCIICLASSES_H
#define QUILLET_XML_COMMON_ASCIICLASSES_H

#include <initializer_list>

namespace quillet::xml {

enum AsciiClass : unsigned char {
  // Printable ASCII and tab, less "<", "&", "]" and ">": plain text of element
  // content (line ends are not in it either).
  kAsciiPlainText = 1,
  // Printable ASCII and tab, less "<", "&" and both quotes: plain text of a quoted
  // attribute value.
  kAsciiPlainAttribute = 2,
  // Name characters other than the colon, which splits qualified names.
  kAsciiNamePart = 4,
  // Name characters, the colon included.
  kAsciiNameChar = 16,
  // Where the writer's copy of a text stops: what it writes as a reference (tab, line
  // feed, carriage return, '"', "&", "<" and ">") and the terminating NUL.
  kAsciiEndsOutputRun = 8,
};

namespace detail {
// Indexed by byte: every byte from 0x80 up has no bits, so a scanning loop over raw
// bytes needs no range test.
struct AsciiClassTable {
  unsigned char bits[256] = {};
  constexpr AsciiClassTable() {
    for (int c = 0x20; c < 0x7F; ++c) bits[c] = kAsciiPlainText | kAsciiPlainAttribute;
    bits[static_cast<unsigned char>('\t')] = kAsciiPlainText | kAsciiPlainAttribute;
    for (const char c : {'<', '&', ']', '>'}) bits[static_cast<int>(c)] &= ~kAsciiPlainText;
    for (const char c : {'<', '&', '"', '\''}) bits[static_cast<int>(c)] &= ~kAsciiPlainAttribute;
    for (int c = 0; c < 128; ++c) {
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
          c == '_')
        bits[c] |= kAsciiNamePart | kAsciiNameChar;
    }
    bits[static_cast<unsigned char>(':')] |= kAsciiNameChar;
    for (const char c : {'\t', '\n', '\r', '"', '&', '<', '>'}) {
      bits[static_cast<int>(c)] |= kAsciiEndsOutputRun;
    }
    bits[0] |= kAsciiEndsOutputRun;
  }
};
inline constexpr AsciiClassTable kAsciiClassTable;
}  // namespace detail

// Whether `c` is an ASCII character with any of the bits of `mask`.
constexpr bool IsAsciiOf(char16_t c, unsigned char mask) {
  return c < 128 && (detail::kAsciiClassTable.bits[c] & mask) != 0;
}

// The same for a byte: false for every byte from 0x80 up.
constexpr bool IsByteOf(unsigned char b, unsigned char mask) { return (detail::kAsciiClassTable.bits[b] & mask) != 0; }

}  // namespace quillet::xml

#endif
