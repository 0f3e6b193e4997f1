// Numbers of the path language: 32-bit floats, read from and written as text.
#ifndef QUILLET_XML_PATH_PATHNUMBERS_H
#define QUILLET_XML_PATH_PATHNUMBERS_H

#include <string>
#include <string_view>

namespace quillet::xml {

// The number that a failed conversion gives (the language's stand-in for not-a-number).
constexpr float kPathNoNumber = -1.0f;

// value as a float; beyond the float range, an infinity of its sign.
float PathFloat(double value);

// The longest prefix of text that reads as a decimal number (white space, an optional
// sign, digits with an optional fraction, an optional exponent), or kPathNoNumber when
// no prefix does. Only the ASCII digits count; there are no hexadecimal numbers,
// infinities or NaNs, and the host's locale plays no part.
float PathTextToNumber(std::u16string_view text);

// The text of a number as "=" compares it: an integral value without a point ("5",
// "-12", "0" for -0 too), others in the fewest digits that read back to the same float
// ("0.5"), never with an exponent; "NaN", "Infinity" and "-Infinity".
std::u16string PathNumberText(float value);

}  // namespace quillet::xml

#endif
