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

std::u16string AnsiToWide(const std::string& text) { return xml::Utf8ToU16(text); }

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

}  // namespace quillet::platform
