// Helpers for the toolkit's 16-bit (UTF-16 code unit) text.
#ifndef QUILLET_XML_COMMON_U16STRING_H
#define QUILLET_XML_COMMON_U16STRING_H

#include <cstddef>
#include <string>

namespace quillet::xml {

// Length of a NUL-terminated 16-bit text; 0 for null.
inline size_t U16Length(const char16_t* text) {
  if (text == nullptr) return 0;
  const char16_t* p = text;
  while (*p) ++p;
  return static_cast<size_t>(p - text);
}

// A 16-bit text from ASCII (each byte widened; for literals and tests).
std::u16string U16FromAscii(const char* text);

// UTF-8 <-> UTF-16. Surrogate pairs become one 4-byte sequence; a lone surrogate is
// encoded on its own (3 bytes) so that no code unit is lost. Decoding is strict: a
// byte that does not start a well-formed, shortest-form sequence of a scalar value
// becomes U+FFFD and decoding goes on at the next byte.
std::string U16ToUtf8(const std::u16string& text);
std::u16string Utf8ToU16(const std::string& text);

// The character at `index`: a surrogate pair read whole, any other code unit as it is.
char32_t CharacterAt(const std::u16string& text, size_t index);

// A character for a message: "'Д' (U+0414)" (the quoted character in UTF-8; a
// control character or lone surrogate is shown by its number alone).
std::string DescribeCharacter(char32_t c);

// Equality ignoring the case of the ASCII letters A to Z only.
bool EqualsIgnoreAsciiCase(const std::u16string& a, const std::u16string& b);
bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b);

}  // namespace quillet::xml

#endif
