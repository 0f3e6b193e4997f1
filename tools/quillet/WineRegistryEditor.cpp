#include "WineRegistryEditor.h"

#include <cstdio>

#include "xml/common/U16String.h"

namespace quillet::tool {

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }
unsigned HexValue(char c) {
  if (c <= '9') return static_cast<unsigned>(c - '0');
  return static_cast<unsigned>((c | 0x20) - 'a' + 10);
}

// Resolves the escapes of a quoted text that starts at `pos` (just after its opening
// delimiter) and runs to the first unescaped `delimiter` before `end`. Returns the
// offset just past the closing delimiter, or npos when the text is not closed (a
// malformed line, which callers skip). Escaped code units and raw bytes (Wine writes
// only ASCII, but a hand-edited file may hold UTF-8) both end up in UTF-8.
size_t Unescape(const std::string& s, size_t pos, size_t end, char delimiter, std::string& out) {
  std::u16string units;
  std::string rawRun;  // consecutive raw bytes beyond ASCII, decoded together
  auto flushRaw = [&] {
    if (rawRun.empty()) return;
    units += xml::Utf8ToU16(rawRun);
    rawRun.clear();
  };
  while (pos < end) {
    const char c = s[pos];
    if (c == delimiter) {
      flushRaw();
      out = xml::U16ToUtf8(units);
      return pos + 1;
    }
    if (static_cast<unsigned char>(c) >= 0x80) {
      rawRun.push_back(c);
      ++pos;
      continue;
    }
    flushRaw();
    if (c != '\\' || pos + 1 >= end) {
      units.push_back(static_cast<unsigned char>(c));
      ++pos;
      continue;
    }
    const char e = s[pos + 1];
    pos += 2;
    switch (e) {
      case 'a': units.push_back(7); break;
      case 'b': units.push_back(8); break;
      case 'e': units.push_back(27); break;
      case 'f': units.push_back(12); break;
      case 'n': units.push_back(10); break;
      case 'r': units.push_back(13); break;
      case 't': units.push_back(9); break;
      case 'v': units.push_back(11); break;
      case 'x': {
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && pos < end && IsHexDigit(s[pos])) value = value * 16 + HexValue(s[pos++]), ++digits;
        units.push_back(digits ? static_cast<char16_t>(value) : u'x');
        break;
      }
      default:
        if (IsOctalDigit(e)) {
          unsigned value = static_cast<unsigned>(e - '0');
          for (int digits = 1; digits < 3 && pos < end && IsOctalDigit(s[pos]); ++digits) value = value * 8 + (s[pos++] - '0');
          units.push_back(static_cast<char16_t>(value));
        } else {
          units.push_back(static_cast<unsigned char>(e));  // \\, \" and \] stand for themselves
        }
    }
  }
  return std::string::npos;
}

bool SameName(const std::string& a, const std::string& b) { return xml::EqualsIgnoreAsciiCase(a, b); }

// The key path of a "[path] timestamp" line, or false when the line is not one.
bool ParseKeyLine(const std::string& s, size_t begin, size_t end, std::string& path) {
  if (begin >= end || s[begin] != '[') return false;
  return Unescape(s, begin + 1, end, ']', path) != std::string::npos;
}

// The name of a value line ('"name"=...' or '@=...') and the offset of what follows
// the '='; false for any other line.
bool ParseValueLine(const std::string& s, size_t begin, size_t end, std::string& name, size_t& valueStart) {
  size_t pos;
  if (begin < end && s[begin] == '@') {
    name.clear();
    pos = begin + 1;
  } else if (begin < end && s[begin] == '"') {
    pos = Unescape(s, begin + 1, end, '"', name);
    if (pos == std::string::npos) return false;
  } else {
    return false;
  }
  if (pos >= end || s[pos] != '=') return false;
  valueStart = pos + 1;
  return true;
}

WineRegistryValue ParseValue(const std::string& s, size_t begin, size_t end) {
  WineRegistryValue value;
  value.raw = s.substr(begin, end - begin);
  static const std::string kExpandPrefix = "str(2):\"";
  size_t quote = std::string::npos;
  if (begin < end && s[begin] == '"') quote = begin;
  else if (s.compare(begin, kExpandPrefix.size(), kExpandPrefix) == 0 && begin + kExpandPrefix.size() <= end)
    quote = begin + kExpandPrefix.size() - 1;
  if (quote != std::string::npos) value.isString = Unescape(s, quote + 1, end, '"', value.text) != std::string::npos;
  if (!value.isString) value.text.clear();
  return value;
}

bool IsBlank(const std::string& s, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i)
    if (s[i] != ' ' && s[i] != '\t') return false;
  return true;
}

}  // namespace

const char* const WineRegistryEditor::kHeader = "WINE REGISTRY Version 2";

std::string WineRegistryEditor::EmptyFileText() {
  return std::string(kHeader) + "\n;; All keys relative to \\\\Machine\n";
}

WineRegistryEditor::WineRegistryEditor(std::string text) : text_(std::move(text)) {}

bool WineRegistryEditor::hasHeader() const {
  Line line;
  if (!nextLine(0, line)) return false;
  return text_.compare(line.begin, line.end - line.begin, kHeader) == 0;
}

bool WineRegistryEditor::nextLine(size_t offset, Line& line) const {
  if (offset >= text_.size()) return false;
  const size_t newline = text_.find('\n', offset);
  line.begin = offset;
  if (newline == std::string::npos) {
    line.end = line.next = text_.size();
    return true;
  }
  line.end = (newline > offset && text_[newline - 1] == '\r') ? newline - 1 : newline;
  line.next = newline + 1;
  return true;
}

std::string WineRegistryEditor::lineEnd() const {
  Line line;
  if (nextLine(0, line) && line.next > line.end + 1) return "\r\n";
  return "\n";
}

size_t WineRegistryEditor::findKeyBlock(const std::string& keyPath, size_t from) const {
  Line line;
  std::string path;
  for (size_t offset = from; nextLine(offset, line); offset = line.next) {
    if (ParseKeyLine(text_, line.begin, line.end, path) && SameName(path, keyPath)) return line.begin;
  }
  return std::string::npos;
}

bool WineRegistryEditor::hasKey(const std::string& keyPath) const {
  return findKeyBlock(keyPath, 0) != std::string::npos;
}

std::optional<WineRegistryValue> WineRegistryEditor::findValue(const std::string& keyPath,
                                                              const std::string& name) const {
  Line line;
  std::string valueName;
  for (size_t block = findKeyBlock(keyPath, 0); block != std::string::npos;) {
    nextLine(block, line);
    size_t offset = line.next;
    block = std::string::npos;
    for (; nextLine(offset, line); offset = line.next) {
      if (text_[line.begin] == '[') {  // the next block starts; it may be this key again
        block = findKeyBlock(keyPath, line.begin);
        break;
      }
      size_t valueStart = 0;
      if (ParseValueLine(text_, line.begin, line.end, valueName, valueStart) && SameName(valueName, name))
        return ParseValue(text_, valueStart, line.end);
    }
  }
  return std::nullopt;
}

void WineRegistryEditor::addStringValue(const std::string& keyPath, const std::string& name,
                                        const std::string& value, std::uint64_t timestamp) {
  const std::string le = lineEnd();
  const std::string valueLine =
      (name.empty() ? std::string("@") : "\"" + Escape(name, '"') + "\"") + "=\"" + Escape(value, '"') + "\"";

  const size_t block = findKeyBlock(keyPath, 0);
  if (block != std::string::npos) {
    // After the block's last non-blank line, so that the blank line that separates
    // blocks stays where it is.
    Line line;
    nextLine(block, line);
    Line last = line;
    for (size_t offset = line.next; nextLine(offset, line) && text_[line.begin] != '['; offset = line.next)
      if (!IsBlank(text_, line.begin, line.end)) last = line;
    if (last.next == last.end) {  // the file ends without a line end
      text_.insert(last.end, le + valueLine + le);
    } else {
      text_.insert(last.next, valueLine + le);
    }
    return;
  }

  if (!text_.empty() && text_.back() != '\n') text_ += le;
  Line line;
  size_t lastBegin = std::string::npos;
  for (size_t offset = 0; nextLine(offset, line); offset = line.next) lastBegin = line.begin;
  if (lastBegin != std::string::npos) {
    nextLine(lastBegin, line);
    if (!IsBlank(text_, line.begin, line.end)) text_ += le;
  }
  text_ += "[" + Escape(keyPath, ']') + "] " + std::to_string(timestamp) + le + valueLine + le;
}

std::string WineRegistryEditor::Escape(const std::string& utf8, char delimiter) {
  // C escapes of the control characters, by code; '.' where an octal escape is used.
  static const char kControlEscapes[] = "\0......abtnvfr.............e....";
  static_assert(sizeof kControlEscapes == 33, "one entry per control character");
  const std::u16string units = xml::Utf8ToU16(utf8);
  std::string out;
  out.reserve(units.size());
  char buffer[16];
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    const char16_t next = i + 1 < units.size() ? units[i + 1] : 0;
    if (c > 127) {
      // A shorter \x escape would swallow a following hex digit when read back.
      const bool pad = next < 128 && IsHexDigit(static_cast<char>(next));
      std::snprintf(buffer, sizeof buffer, pad ? "\\x%04x" : "\\x%x", static_cast<unsigned>(c));
      out += buffer;
    } else if (c < 32) {
      if (kControlEscapes[c] != '.' && c != 0) {
        out += '\\';
        out += kControlEscapes[c];
      } else {
        const bool pad = next < 128 && IsOctalDigit(static_cast<char>(next));
        std::snprintf(buffer, sizeof buffer, pad ? "\\%03o" : "\\%o",
                      static_cast<unsigned>(c));
        out += buffer;
      }
    } else {
      if (c == '\\' || c == static_cast<unsigned char>(delimiter)) out += '\\';
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace quillet::tool
