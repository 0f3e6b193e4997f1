#include "platform/common/WineRegistryText.h"

#include <cstdio>

#include "xml/common/U16String.h"

namespace quillet::platform {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

size_t skipBlanks(const std::string& line, size_t pos) {
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  return pos;
}

bool onlyBlanksFrom(const std::string& line, size_t pos) { return skipBlanks(line, pos) == line.size(); }

// Reads an escaped text from `pos` up to the unescaped `terminator` and leaves `pos`
// just past it. Plain bytes are UTF-8; an escape gives one UTF-16 unit. False when
// the terminator never comes (a truncated or broken line).
bool unescapeText(const std::string& line, size_t& pos, char terminator, std::u16string& out) {
  std::string run;  // plain bytes not yet decoded
  auto flush = [&] {
    out += xml::Utf8ToU16(run);
    run.clear();
  };
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == terminator) {
      ++pos;
      flush();
      return true;
    }
    if (c != '\\') {
      run.push_back(c);
      ++pos;
      continue;
    }
    if (pos + 1 >= line.size()) return false;
    flush();
    const char e = line[pos + 1];
    pos += 2;
    switch (e) {
      case 'a': out.push_back(u'\a'); break;
      case 'b': out.push_back(u'\b'); break;
      case 'e': out.push_back(0x1B); break;
      case 'f': out.push_back(u'\f'); break;
      case 'n': out.push_back(u'\n'); break;
      case 'r': out.push_back(u'\r'); break;
      case 't': out.push_back(u'\t'); break;
      case 'v': out.push_back(u'\v'); break;
      case 'x': {
        unsigned unit = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0) {
          unit = unit * 16 + static_cast<unsigned>(hexDigit(line[pos++]));
          ++digits;
        }
        out.push_back(digits > 0 ? static_cast<char16_t>(unit) : u'x');
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          unsigned unit = static_cast<unsigned>(e - '0');
          for (int digits = 1; digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits) {
            unit = unit * 8 + static_cast<unsigned>(line[pos++] - '0');
          }
          out.push_back(static_cast<char16_t>(unit));
        } else {
          run.push_back(e);  // any other escaped character stands for itself
        }
    }
  }
  return false;
}

std::string utf16leBytes(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2 + 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  bytes.append(2, '\0');
  return bytes;
}

// "(N):" after "str" or "hex": the type number in hexadecimal.
bool parseTypeNumber(const std::string& line, size_t& pos, unsigned long& type) {
  if (pos >= line.size() || line[pos] != '(') return false;
  ++pos;
  unsigned long n = 0;
  int digits = 0;
  while (pos < line.size() && hexDigit(line[pos]) >= 0) {
    if (++digits > 8) return false;
    n = n * 16 + static_cast<unsigned long>(hexDigit(line[pos++]));
  }
  if (digits == 0 || pos + 1 >= line.size() || line[pos] != ')' || line[pos + 1] != ':') return false;
  pos += 2;
  type = n;
  return true;
}

// "aa,bb,cc" with blanks allowed around the bytes and one trailing comma.
bool parseHexBytes(const std::string& list, std::string& bytes) {
  size_t pos = skipBlanks(list, 0);
  while (pos < list.size()) {
    int value = 0, digits = 0;
    while (pos < list.size() && hexDigit(list[pos]) >= 0) {
      if (++digits > 2) return false;
      value = value * 16 + hexDigit(list[pos++]);
    }
    if (digits == 0) return false;
    bytes.push_back(static_cast<char>(value));
    pos = skipBlanks(list, pos);
    if (pos == list.size()) break;
    if (list[pos] != ',') return false;
    pos = skipBlanks(list, pos + 1);
  }
  return true;
}

bool startsWith(const std::string& line, size_t pos, const char* word) {
  return line.compare(pos, std::char_traits<char>::length(word), word) == 0;
}

bool parseValueLine(const std::string& line, WineRegistryValue& value) {
  size_t pos = skipBlanks(line, 0);
  std::u16string name;
  if (pos < line.size() && line[pos] == '@') {
    ++pos;
  } else if (pos < line.size() && line[pos] == '"') {
    ++pos;
    if (!unescapeText(line, pos, '"', name)) return false;
  } else {
    return false;
  }
  pos = skipBlanks(line, pos);
  if (pos >= line.size() || line[pos] != '=') return false;
  pos = skipBlanks(line, pos + 1);
  value.name = xml::U16ToUtf8(name);
  value.raw = line.substr(pos);

  if (startsWith(line, pos, "\"") || startsWith(line, pos, "str(")) {
    value.type = kRegSz;
    if (line[pos] == 's') {
      pos += 3;
      if (!parseTypeNumber(line, pos, value.type) || pos >= line.size() || line[pos] != '"') return false;
    }
    ++pos;
    std::u16string text;
    if (!unescapeText(line, pos, '"', text) || !onlyBlanksFrom(line, pos)) return false;
    value.data = utf16leBytes(text);
    return true;
  }
  if (startsWith(line, pos, "dword:")) {
    pos += 6;
    unsigned long n = 0;
    int digits = 0;
    while (pos < line.size() && hexDigit(line[pos]) >= 0) {
      if (++digits > 8) return false;
      n = n * 16 + static_cast<unsigned long>(hexDigit(line[pos++]));
    }
    if (digits == 0 || !onlyBlanksFrom(line, pos)) return false;
    value.type = kRegDword;
    value.data.clear();
    for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return true;
  }
  if (startsWith(line, pos, "hex")) {
    pos += 3;
    value.type = kRegBinary;
    if (startsWith(line, pos, ":")) {
      ++pos;
    } else if (!parseTypeNumber(line, pos, value.type)) {
      return false;
    }
    value.data.clear();
    return parseHexBytes(line.substr(pos), value.data);
  }
  return false;
}


}  // namespace

std::u16string WineRegistryValue::units() const {
  std::u16string out(data.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(data[2 * i]) |
                                   (static_cast<unsigned char>(data[2 * i + 1]) << 8));
  return out;
}

std::string WineRegistryValue::text() const {
  if (!isString()) return "";
  std::u16string wide = units();
  while (!wide.empty() && wide.back() == 0) wide.pop_back();
  return xml::U16ToUtf8(wide);
}

bool ParseRegistryKeyLine(const std::string& line, std::string& path) {
  size_t at = skipBlanks(line, 0);
  if (at == line.size() || line[at] != '[') return false;
  ++at;
  std::u16string wide;
  if (!unescapeText(line, at, ']', wide)) return false;
  path = xml::U16ToUtf8(wide);
  return true;
}

bool ParseRegistryValueLine(const std::string& line, WineRegistryValue& value) { return parseValueLine(line, value); }

namespace {

std::string physicalLine(const std::string& text, size_t& pos, size_t end) {
  size_t stop = text.find('\n', pos);
  if (stop == std::string::npos || stop > end) stop = end;
  std::string line = text.substr(pos, stop - pos);
  pos = stop < end ? stop + 1 : end;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool continues(const std::string& line) {
  const size_t first = skipBlanks(line, 0);
  if (first == line.size() || line[first] == ';' || line[first] == '#') return false;  // a comment never does
  if (line.find("=hex") == std::string::npos && line.find("= hex") == std::string::npos) return false;
  size_t end = line.size();
  while (end > 0 && isBlank(line[end - 1])) --end;
  return end > 0 && line[end - 1] == '\\';
}

}  // namespace

bool ReadRegistryLine(const std::string& text, size_t& pos, size_t end, std::string& line) {
  line = physicalLine(text, pos, end);
  while (continues(line)) {
    line.erase(line.find_last_of('\\'));
    if (pos >= end) return false;
    const std::string more = physicalLine(text, pos, end);
    line += more.substr(skipBlanks(more, 0));
  }
  return true;
}

std::string EscapeRegistryText(const std::u16string& units, char delimiter) {
  // C escapes of the control characters, by code; '.' where an octal escape is used.
  static const char kControlEscapes[] = "\0......abtnvfr.............e....";
  static_assert(sizeof kControlEscapes == 33, "one entry per control character");
  std::string out;
  out.reserve(units.size());
  char buffer[16];
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    const char16_t next = i + 1 < units.size() ? units[i + 1] : 0;
    if (c > 127) {
      // A shorter \x escape would swallow a following hex digit when read back.
      const bool pad = next < 128 && hexDigit(static_cast<char>(next)) >= 0;
      std::snprintf(buffer, sizeof buffer, pad ? "\\x%04x" : "\\x%x", static_cast<unsigned>(c));
      out += buffer;
    } else if (c < 32) {
      if (kControlEscapes[c] != '.' && c != 0) {
        out += '\\';
        out += kControlEscapes[c];
      } else {
        const bool pad = next < 128 && (next >= u'0' && next <= u'7');
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

}  // namespace quillet::platform
