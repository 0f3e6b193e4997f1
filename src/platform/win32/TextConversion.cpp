// Text conversion through the system's ANSI code page.
#include <windows.h>

#include <climits>

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

}  // namespace quillet::platform
