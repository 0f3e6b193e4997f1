// JSON string literals for 16-bit text, as the tool's XML commands print them.
#ifndef QUILLET_TOOL_JSONTEXT_H
#define QUILLET_TOOL_JSONTEXT_H

#include <cstddef>
#include <string>

namespace quillet::tool {

// A quoted JSON string. Every code unit outside the printable ASCII range 0x20-0x7E is
// written as \uXXXX with the code unit itself (lower-case hex), so lone surrogates and
// control characters survive unchanged; '"' and '\' become \" and \\. The result is
// pure ASCII.
std::string JsonString(const char16_t* text, std::size_t length);
std::string JsonString(const std::u16string& text);
// Null gives an empty string literal.
std::string JsonString(const char16_t* text);

}  // namespace quillet::tool

#endif
