#include "xml/path/PathNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quillet::xml {

namespace {

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The white space the C library's number conversions skip.
bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

float PathFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

float PathTextToNumber(std::u16string_view text) {
  const size_t size = text.size();
  size_t i = 0;
  while (i < size && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < size && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  std::string integer;
  for (; i < size && IsAsciiDigit(text[i]); ++i) integer.push_back(static_cast<char>(text[i]));
  std::string fraction;
  if (i < size && text[i] == u'.') {
    for (++i; i < size && IsAsciiDigit(text[i]); ++i) fraction.push_back(static_cast<char>(text[i]));
  }
  if (integer.empty() && fraction.empty()) return kPathNoNumber;

  long exponent = 0;
  if (i + 1 < size && (text[i] == u'e' || text[i] == u'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (text[j] == u'+' || text[j] == u'-') negativeExponent = text[j++] == u'-';
    // An exponent without digits is not part of the number ("1e" reads as 1).
    for (; j < size && IsAsciiDigit(text[j]); ++j) {
      if (exponent < 100000) exponent = exponent * 10 + (text[j] - u'0');  // far past any float
    }
    exponent = negativeExponent ? -exponent : exponent;
  }

  // The power of ten of the first significant digit decides overflow and underflow
  // before the conversion, which then only sees numbers well inside a double's range.
  const size_t integerZeros = std::min(integer.find_first_not_of('0'), integer.size());
  const size_t fractionZeros = std::min(fraction.find_first_not_of('0'), fraction.size());
  float value = 0;
  if (integerZeros < integer.size() || fractionZeros < fraction.size()) {
    const long magnitude = integerZeros < integer.size() ? static_cast<long>(integer.size() - integerZeros) + exponent
                                                         : exponent - static_cast<long>(fractionZeros);
    if (magnitude > 40) {
      value = std::numeric_limits<float>::infinity();
    } else if (magnitude >= -50) {
      // from_chars reads "int.fraction" with a digit before the point.
      std::string number = integer.empty() ? "0" : integer;
      if (!fraction.empty()) number += "." + fraction;
      number += "e" + std::to_string(exponent);
      double parsed = 0;
      std::from_chars(number.data(), number.data() + number.size(), parsed);
      value = PathFloat(parsed);
    }
  }
  return negative ? -value : value;
}

std::u16string PathNumberText(float value) {
  if (std::isnan(value)) return u"NaN";
  if (std::isinf(value)) return value > 0 ? u"Infinity" : u"-Infinity";
  if (value == 0) return u"0";  // -0 too
  char buffer[64];  // the longest, the smallest subnormal, takes 47 characters
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::u16string(buffer, written.ptr);
}

}  // namespace quillet::xml
