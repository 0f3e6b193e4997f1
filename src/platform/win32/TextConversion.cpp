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

// The file names these convert end up in the C runtime's and Windows' narrow file
// functions (_open, CreateFileA), which read them in the ANSI code page whatever the C
// locale says. The C runtime's "C" locale converts byte for character instead (0x80
// to U+0080, not to the euro sign of code page 1252), so a name that came in through
// AnsiToWide would go out changed and name another file, or none. Converting through
// the ANSI code page both ways gives every name back as the caller wrote it, and the
// texts made of them (the parse-error text) in the same code page as every other text
// of the library.
std::u16string MultiByteToWide(const std::string& text) { return AnsiToWide(text); }

std::string WideToMultiByte(const std::u16string& text) { return WideToAnsi(text); }

}  // namespace quillet::platform
