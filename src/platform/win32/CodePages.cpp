// Windows code pages through MultiByteToWideChar and WideCharToMultiByte.
#include <windows.h>

#include <climits>

#include "platform/Platform.h"

namespace quillet::platform {
namespace {

UINT Target(unsigned codePage) { return codePage == GetACP() ? CP_ACP : static_cast<UINT>(codePage); }

// Whether the conversion of `text` to the code page needs no substitute character.
bool Fits(UINT codePage, const wchar_t* text, int length, std::string* bytes) {
  // Best-fit mappings (an "A" for an "Ä") would change the text silently; the flags
  // that report the default character are not allowed for UTF-8 and UTF-7.
  const bool utf = codePage == CP_UTF8 || codePage == CP_UTF7;
  const DWORD flags = utf ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, utf ? nullptr : &usedDefault);
  if (n <= 0 || usedDefault) return length == 0;
  if (bytes != nullptr) {
    bytes->assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text, length, &(*bytes)[0], n, nullptr, nullptr);
  }
  return true;
}

}  // namespace

unsigned AnsiCodePage() { return GetACP(); }

bool CodePageSupported(unsigned codePage) { return IsValidCodePage(static_cast<UINT>(codePage)) != 0; }

bool DecodeCodePage(unsigned codePage, const std::string& bytes, std::u16string& text) {
  if (!CodePageSupported(codePage)) return false;
  text.clear();
  if (bytes.empty()) return true;
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return false;
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(Target(codePage), 0, bytes.data(), length, nullptr, 0);
  if (units <= 0) return false;
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(Target(codePage), 0, bytes.data(), length, &wide[0], units);
  text.assign(wide.begin(), wide.end());
  return true;
}

bool EncodeCodePage(unsigned codePage, const std::u16string& text, std::string& bytes, size_t& failedAt) {
  bytes.clear();
  if (!CodePageSupported(codePage) || text.size() > static_cast<size_t>(INT_MAX)) {
    failedAt = text.size();
    return false;
  }
  const std::wstring wide(text.begin(), text.end());
  const UINT target = Target(codePage);
  if (Fits(target, wide.data(), static_cast<int>(wide.size()), &bytes)) return true;
  // Find the first character that does not fit, a surrogate pair taken whole.
  for (size_t i = 0; i < wide.size(); ++i) {
    const bool pair = i + 1 < wide.size() && wide[i] >= 0xD800 && wide[i] <= 0xDBFF && wide[i + 1] >= 0xDC00 &&
                      wide[i + 1] <= 0xDFFF;
    if (!Fits(target, wide.data() + i, pair ? 2 : 1, nullptr)) {
      failedAt = i;
      return false;
    }
    if (pair) ++i;
  }
  failedAt = text.size();
  return false;
}

}  // namespace quillet::platform
