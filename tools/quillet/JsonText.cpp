#include "JsonText.h"

namespace quillet::tool {

std::string JsonString(const char16_t* text, std::size_t length) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(length + 2);
  out.push_back('"');
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t c = text[i];
    if (c == u'"' || c == u'\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c >= 0x20 && c <= 0x7E) {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\u";
      out.push_back(kHex[(c >> 12) & 0xF]);
      out.push_back(kHex[(c >> 8) & 0xF]);
      out.push_back(kHex[(c >> 4) & 0xF]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  out.push_back('"');
  return out;
}

std::string JsonString(const std::u16string& text) { return JsonString(text.data(), text.size()); }

std::string JsonString(const char16_t* text) {
  std::size_t n = 0;
  if (text != nullptr) {
    while (text[n] != 0) ++n;
  }
  return JsonString(text, n);
}

}  // namespace quillet::tool
