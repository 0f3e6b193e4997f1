// Windows code pages through the C library's iconv, and the prefix's ANSI code page.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"

namespace quillet::platform {
namespace {

constexpr unsigned kDefaultAnsiCodePage = 1252;
const char kCodePageKey[] = "System\\CurrentControlSet\\Control\\Nls\\CodePage";

// One iconv conversion, closed when it ends.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from `in` on as far as it can into `out`. Returns 0 when all of the
  // input went, else the errno that stopped it (EILSEQ, EINVAL); `in` is moved past
  // what was taken.
  int run(const char*& in, size_t& inLeft, std::string& out) {
    char buffer[4096];
    for (;;) {
      char* source = const_cast<char*>(in);
      char* target = buffer;
      size_t targetLeft = sizeof buffer;
      const size_t r = iconv(handle_, &source, &inLeft, &target, &targetLeft);
      out.append(buffer, sizeof buffer - targetLeft);
      in = source;
      if (r != static_cast<size_t>(-1)) return inLeft == 0 ? 0 : EINVAL;
      if (errno != E2BIG) return errno;
    }
  }

  void reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t handle_;
};

// The iconv name of a Windows code page, or "" when this system knows none.
std::string FindIconvName(unsigned codePage) {
  switch (codePage) {
    case 65001: return "UTF-8";
    case 20127: return "ASCII";
    default: break;
  }
  std::vector<std::string> candidates;
  if (codePage >= 28591 && codePage <= 28606) candidates.push_back("ISO-8859-" + std::to_string(codePage - 28590));
  candidates.push_back("CP" + std::to_string(codePage));
  candidates.push_back("WINDOWS-" + std::to_string(codePage));
  candidates.push_back("IBM" + std::to_string(codePage));
  if (codePage == 950) candidates.push_back("BIG5");
  for (const std::string& name : candidates) {
    Converter probe("UTF-16LE", name.c_str());
    if (probe.ok()) return name;
  }
  return "";
}

// FindIconvName, remembered: finding a name opens a converter for each candidate, and
// a tree of texts in a code page converts text by text.
std::string IconvName(unsigned codePage) {
  static std::mutex guard;
  static std::unordered_map<unsigned, std::string> names;
  const std::lock_guard<std::mutex> hold(guard);
  const auto known = names.find(codePage);
  if (known != names.end()) return known->second;
  return names[codePage] = FindIconvName(codePage);
}

// Whether the single byte `b` is a character of the code page.
bool Defines(Converter& decoder, unsigned char b) {
  decoder.reset();
  const char byte = static_cast<char>(b);
  const char* in = &byte;
  size_t left = 1;
  std::string out;
  const bool defined = decoder.run(in, left, out) == 0 && !out.empty();
  decoder.reset();
  return defined;
}

std::u16string FromUtf16Le(const std::string& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return text;
}

}  // namespace

unsigned AnsiCodePage() {
  std::unique_ptr<RegistryKey> key = OpenLocalMachineKey(kCodePageKey);
  char value[32];
  if (!key || !key->queryValue("ACP", value, sizeof value)) return kDefaultAnsiCodePage;
  char* end = nullptr;
  const unsigned long number = std::strtoul(value, &end, 10);
  if (end == value || *end != '\0' || number == 0 || number > 65535) return kDefaultAnsiCodePage;
  return static_cast<unsigned>(number);
}

bool CodePageSupported(unsigned codePage) { return !IconvName(codePage).empty(); }

bool DecodeCodePage(unsigned codePage, const std::string& bytes, std::u16string& text) {
  const std::string name = IconvName(codePage);
  if (name.empty()) return false;
  Converter decoder("UTF-16LE", name.c_str());
  std::string utf16;
  const char* in = bytes.data();
  size_t left = bytes.size();
  while (decoder.run(in, left, utf16) != 0) {
    // A byte the code page leaves undefined, or a lead byte without its partner,
    // reads as the character of the same number.
    const unsigned char b = static_cast<unsigned char>(*in);
    utf16.push_back(static_cast<char>(b));
    utf16.push_back('\0');
    ++in;
    --left;
    decoder.reset();
  }
  text = FromUtf16Le(utf16);
  return true;
}

bool EncodeCodePage(unsigned codePage, const std::u16string& text, std::string& bytes, size_t& failedAt) {
  bytes.clear();
  const std::string name = IconvName(codePage);
  if (name.empty()) {
    failedAt = text.size();
    return false;
  }
  Converter encoder(name.c_str(), "UTF-16LE");
  Converter decoder("UTF-16LE", name.c_str());
  std::string utf16(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    utf16[2 * i] = static_cast<char>(text[i] & 0xFF);
    utf16[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  const char* in = utf16.data();
  size_t left = utf16.size();
  while (encoder.run(in, left, bytes) != 0) {
    const size_t index = static_cast<size_t>(in - utf16.data()) / 2;
    const char16_t c = text[index];
    // What DecodeCodePage made of an undefined byte goes back to that byte.
    if (c < 0x80 || c > 0xFF || Defines(decoder, static_cast<unsigned char>(c))) {
      failedAt = index;
      return false;
    }
    bytes.push_back(static_cast<char>(c));
    in += 2;
    left -= 2;
    encoder.reset();
  }
  return true;
}

}  // namespace quillet::platform
