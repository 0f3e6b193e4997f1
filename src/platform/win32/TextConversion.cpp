// Text conversion through the system's ANSI code page and the C runtime's locale.
#include <windows.h>

#include <climits>
#include <cstdlib>

#include "platform/Platform.h"

namespace quillet::platform {

std::u16string AnsiToWide(const std::string& text) {
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return std::u16string();
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return std::u16string();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], units);
  return std::u16string(wide.begin(), wide.end());
}

std::string WideToAnsi(const std::u16string& text) {
  // Characters the code page lacks, lone surrogates among them, become the code
  // page's default character ("?"), as Windows converts them.
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return std::string();
  const std::wstring wide(text.begin(), text.end());
  const int length = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &out[0], bytes, nullptr, nullptr);
  return out;
}

std::u16string MultiByteToWide(const std::string& text) {
  // One character at a time, so that a byte the locale rejects becomes U+FFFD and
  // the rest still converts.
  std::u16string out;
  std::mbtowc(nullptr, nullptr, 0);
  size_t i = 0;
  while (i < text.size()) {
    wchar_t unit = 0;
    const int n = std::mbtowc(&unit, text.data() + i, text.size() - i);
    if (n < 0) {
      out.push_back(0xFFFD);
      std::mbtowc(nullptr, nullptr, 0);
      ++i;
    } else {
      out.push_back(static_cast<char16_t>(unit));
      i += n == 0 ? 1 : static_cast<size_t>(n);
    }
  }
  return out;
}

std::string WideToMultiByte(const std::u16string& text) {
  std::string out;
  char bytes[MB_LEN_MAX];
  std::wctomb(nullptr, 0);
  for (char16_t unit : text) {
    const int n = std::wctomb(bytes, static_cast<wchar_t>(unit));
    if (n < 0) {
      out.push_back('?');
      std::wctomb(nullptr, 0);
    } else {
      out.append(bytes, static_cast<size_t>(n));
    }
  }
  return out;
}

}  // namespace quillet::platform
