// Text conversion where the ANSI code page and the C library's multibyte encoding
// are both UTF-8.
#include "platform/Platform.h"
#include "xml/common/U16String.h"

namespace quillet::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isHighSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(unsigned long c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string AnsiToWide(const std::string& text) {
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
      out.push_back(kReplacement);
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

std::string WideToAnsi(const std::u16string& text) {
  // A surrogate without its partner has no UTF-8 form; it becomes U+FFFD, as Windows'
  // own UTF-8 conversion does, so the result is always valid UTF-8.
  std::u16string paired = text;
  for (size_t i = 0; i < paired.size(); ++i) {
    if (isHighSurrogate(paired[i]) && i + 1 < paired.size() && isLowSurrogate(paired[i + 1])) {
      ++i;
    } else if (isHighSurrogate(paired[i]) || isLowSurrogate(paired[i])) {
      paired[i] = kReplacement;
    }
  }
  return xml::U16ToUtf8(paired);
}

std::u16string MultiByteToWide(const std::string& text) { return AnsiToWide(text); }

std::string WideToMultiByte(const std::u16string& text) { return WideToAnsi(text); }

}  // namespace quillet::platform
