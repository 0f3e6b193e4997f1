// The XML character classes (XML 1.0, Appendix B) over every 16-bit code unit.
#ifndef QUILLET_XML_COMMON_XMLCHARCLASSES_H
#define QUILLET_XML_COMMON_XMLCHARCLASSES_H

namespace quillet::xml {

// One byte per code unit, one bit per class. A code unit outside every listed range
// has no bit set. Char covers only the 16-bit part of the production (tab, line feed,
// carriage return, 0x20-0xD7FF, 0xE000-0xFFFD): surrogates are not Chars.
//
// Every instance reads one immutable table that is filled on first use and shared by
// the whole process, so a reader or writer "holding its own instance" costs a pointer.
class CXMLCharClasses {
 public:
  enum Class : unsigned char {
    kBaseChar = 1,
    kIdeographic = 2,
    kCombiningChar = 4,
    kDigit = 8,
    kExtender = 16,
    kChar = 32,
  };
  static constexpr unsigned char kLetter = kBaseChar | kIdeographic;

  CXMLCharClasses();

  // The class bits of `c`.
  unsigned char classesOf(char16_t c) const { return table_[c]; }
  // Whether `c` is in any of the classes of `mask`.
  bool is(char16_t c, unsigned char mask) const { return (table_[c] & mask) != 0; }

  bool isBaseChar(char16_t c) const { return is(c, kBaseChar); }
  bool isIdeographic(char16_t c) const { return is(c, kIdeographic); }
  bool isCombiningChar(char16_t c) const { return is(c, kCombiningChar); }
  bool isDigit(char16_t c) const { return is(c, kDigit); }
  bool isExtender(char16_t c) const { return is(c, kExtender); }
  bool isChar(char16_t c) const { return is(c, kChar); }
  bool isLetter(char16_t c) const { return is(c, kLetter); }
  // Letter, Digit, ".", "-", "_", ":", CombiningChar or Extender.
  bool isNameChar(char16_t c) const {
    return is(c, kLetter | kDigit | kCombiningChar | kExtender) || c == u'.' || c == u'-' || c == u'_' ||
           c == u':';
  }
  // What may open a name: Letter, "_" or ":".
  bool isNameStartChar(char16_t c) const { return is(c, kLetter) || c == u'_' || c == u':'; }

  // Space, tab, carriage return or line feed.
  static bool isWhiteSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

 private:
  const unsigned char* table_;
};

}  // namespace quillet::xml

#endif
