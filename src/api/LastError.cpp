#include "api/LastError.h"

#include <cstring>

#include "quillet/quillet.h"

namespace quillet {
namespace {
// Constructed on first use so that it exists before any static initializer of a
// caller could fail, and lives until the library is unloaded.
std::string& lastErrorStorage() {
  static std::string text;
  return text;
}
}  // namespace

void SetLastErrorText(const char* text) { lastErrorStorage() = text ? text : ""; }

const std::string& LastErrorText() { return lastErrorStorage(); }

void CopyTextBounded(const std::string& text, char* buffer, unsigned long size) {
  if (buffer == nullptr || size == 0) return;
  size_t n = text.size();
  if (n > size - 1) n = size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace quillet

void QuilletGetLastError(char* buffer, unsigned long size) {
  quillet::CopyTextBounded(quillet::LastErrorText(), buffer, size);
}
