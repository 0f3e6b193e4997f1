#include "xml/common/U16String.h"

#include <cstdio>

namespace quillet::xml {

std::u16string U16FromAscii(const char* text) {
  std::u16string out;
  if (text == nullptr) return out;
  for (const char* p = text; *p; ++p) out.push_back(static_cast<unsigned char>(*p));
  return out;
}

std::string U16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned long c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string Utf8ToU16(const std::string& text) {
  // Strict UTF-8: a byte that does not start a well-formed, shortest-form sequence of
  // a scalar value becomes U+FFFD and decoding goes on at the next byte.
  std::u16string out;
  out.reserve(text.size());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    size_t extra = 0;
    unsigned long c = 0, minimum = 0;
    if ((b & 0xE0) == 0xC0) { extra = 1; c = b & 0x1F; minimum = 0x80; }
    else if ((b & 0xF0) == 0xE0) { extra = 2; c = b & 0x0F; minimum = 0x800; }
    else if ((b & 0xF8) == 0xF0) { extra = 3; c = b & 0x07; minimum = 0x10000; }
    bool ok = extra > 0;
    for (size_t k = 1; ok && k <= extra; ++k) {
      if (i + k >= n) { ok = false; break; }
      const unsigned char t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) { ok = false; break; }
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.push_back(char16_t{0xFFFD});
      ++i;
      continue;
    }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

namespace {
template <class S>
bool equalsIgnoreAsciiCase(const S& a, const S& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<decltype(x)>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<decltype(y)>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}
}  // namespace

bool EqualsIgnoreAsciiCase(const std::u16string& a, const std::u16string& b) { return equalsIgnoreAsciiCase(a, b); }
bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b) { return equalsIgnoreAsciiCase(a, b); }

char32_t CharacterAt(const std::u16string& text, size_t index) {
  if (index >= text.size()) return 0;
  const char32_t c = text[index];
  if (c >= 0xD800 && c <= 0xDBFF && index + 1 < text.size() && text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF)
    return 0x10000 + ((c - 0xD800) << 10) + (text[index + 1] - 0xDC00);
  return c;
}

std::string DescribeCharacter(char32_t c) {
  char number[16];
  std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
  const bool shown = c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c <= 0xDFFF);
  if (!shown) return number;
  std::u16string unit;
  if (c >= 0x10000) {
    unit.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    unit.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    unit.push_back(static_cast<char16_t>(c));
  }
  return "'" + U16ToUtf8(unit) + "' (" + number + ")";
}

}  // namespace quillet::xml
