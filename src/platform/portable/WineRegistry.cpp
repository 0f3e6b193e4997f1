#include "platform/portable/WineRegistry.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "platform/Platform.h"

namespace quillet::platform {
namespace {

constexpr char kHeader[] = "WINE REGISTRY Version 2";

std::string upperAscii(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

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
bool unescape(const std::string& line, size_t& pos, char terminator, std::u16string& out) {
  std::string run;  // plain bytes not yet decoded
  auto flush = [&] {
    out += AnsiToWide(run);
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

// One logical value line (hex continuations already joined) into `value`.
bool parseValueLine(const std::string& line, WineRegistryValue& value) {
  size_t pos = skipBlanks(line, 0);
  std::u16string name;
  if (pos < line.size() && line[pos] == '@') {
    ++pos;
  } else if (pos < line.size() && line[pos] == '"') {
    ++pos;
    if (!unescape(line, pos, '"', name)) return false;
  } else {
    return false;
  }
  pos = skipBlanks(line, pos);
  if (pos >= line.size() || line[pos] != '=') return false;
  pos = skipBlanks(line, pos + 1);
  value.name = WideToAnsi(name);

  if (startsWith(line, pos, "\"") || startsWith(line, pos, "str(")) {
    value.type = kRegSz;
    if (line[pos] == 's') {
      pos += 3;
      if (!parseTypeNumber(line, pos, value.type) || pos >= line.size() || line[pos] != '"') return false;
    }
    ++pos;
    std::u16string text;
    if (!unescape(line, pos, '"', text) || !onlyBlanksFrom(line, pos)) return false;
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

// Whether a value line goes on past its end: a hex list whose last non-blank
// character is a backslash.
bool continues(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && isBlank(line[end - 1])) --end;
  return end > 0 && line[end - 1] == '\\';
}

bool isHexValue(const std::string& line) {
  return line.find("=hex") != std::string::npos || line.find("= hex") != std::string::npos;
}

std::string lineAt(const std::string& text, size_t begin, size_t end, size_t& next) {
  size_t stop = text.find('\n', begin);
  if (stop == std::string::npos || stop > end) stop = end;
  next = stop < end ? stop + 1 : end;
  std::string line = text.substr(begin, stop - begin);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

const WineRegistry::Key* WineRegistry::Key::subkey(const std::string& name) const {
  const std::string folded = upperAscii(name);
  for (const Key* key : subkeys_) {
    if (key->folded_ == folded) return key;
  }
  return nullptr;
}

const WineRegistryValue* WineRegistry::Key::value(const std::string& name) const {
  if (!parsed_) parseValues();
  const std::string folded = upperAscii(name);
  for (const WineRegistryValue& v : values_) {
    if (upperAscii(v.name) == folded) return &v;
  }
  return nullptr;
}

void WineRegistry::Key::parseValues() const {
  parsed_ = true;
  const std::string& text = owner_->text_;
  for (const auto& [begin, end] : sections_) {
    size_t pos = begin;
    while (pos < end) {
      std::string line = lineAt(text, pos, end, pos);
      const size_t first = skipBlanks(line, 0);
      if (first == line.size() || line[first] == ';' || line[first] == '#') continue;
      bool complete = true;
      if (isHexValue(line)) {
        while (continues(line)) {
          line.erase(line.find_last_of('\\'));
          if (pos >= end) {
            complete = false;  // the file ends inside the list
            break;
          }
          const std::string more = lineAt(text, pos, end, pos);
          line += more.substr(skipBlanks(more, 0));
        }
      }
      WineRegistryValue value;
      if (!complete || !parseValueLine(line, value)) continue;
      // A value given twice keeps its last data, as a later write would leave it.
      const std::string folded = upperAscii(value.name);
      auto same = std::find_if(values_.begin(), values_.end(),
                               [&](const WineRegistryValue& v) { return upperAscii(v.name) == folded; });
      if (same != values_.end()) {
        same->type = value.type;
        same->data = std::move(value.data);
      } else {
        values_.push_back(std::move(value));
      }
    }
  }
}

std::unique_ptr<WineRegistry> WineRegistry::parse(std::string text) {
  size_t pos = 0;
  if (startsWith(text, 0, "\xEF\xBB\xBF")) pos = 3;
  if (!startsWith(text, pos, kHeader)) return nullptr;

  std::unique_ptr<WineRegistry> registry(new WineRegistry());
  registry->text_ = std::move(text);
  const std::string& all = registry->text_;
  registry->keys_.emplace_back();
  registry->keys_.front().owner_ = registry.get();

  std::unordered_map<std::string, Key*> byPath;  // upper-cased full path -> key
  Key* current = nullptr;
  pos = all.find('\n', pos);
  pos = pos == std::string::npos ? all.size() : pos + 1;
  while (pos < all.size()) {
    const size_t lineStart = pos;
    const std::string line = lineAt(all, pos, all.size(), pos);
    size_t at = skipBlanks(line, 0);
    if (at == line.size() || line[at] != '[') continue;
    if (current != nullptr) current->sections_.back().second = lineStart;
    current = nullptr;

    ++at;
    std::u16string wide;
    if (!unescape(line, at, ']', wide)) continue;  // its lines belong to no key
    const std::string path = WideToAnsi(wide);
    // Create the key and any parent the file does not list itself.
    Key* key = &registry->keys_.front();
    std::string foldedPath;
    size_t i = 0;
    while (i < path.size()) {
      size_t end = path.find('\\', i);
      if (end == std::string::npos) end = path.size();
      if (end > i) {
        const std::string name = path.substr(i, end - i);
        foldedPath += '\\';
        foldedPath += upperAscii(name);
        Key*& child = byPath[foldedPath];
        if (child == nullptr) {
          Key& made = registry->keys_.emplace_back();
          made.owner_ = registry.get();
          made.name_ = name;
          made.folded_ = upperAscii(name);
          key->subkeys_.push_back(&made);
          child = &made;
        }
        key = child;
      }
      i = end + 1;
    }
    if (key == &registry->keys_.front()) continue;  // "[]" names no key
    current = key;
    current->sections_.emplace_back(pos, all.size());
  }

  for (Key& key : registry->keys_) {
    std::stable_sort(key.subkeys_.begin(), key.subkeys_.end(),
                     [](const Key* a, const Key* b) { return a->folded_ < b->folded_; });
  }
  return registry;
}

const WineRegistry::Key* WineRegistry::find(const std::string& path) const {
  const Key* key = &root();
  size_t i = 0;
  while (key != nullptr && i < path.size()) {
    size_t end = path.find('\\', i);
    if (end == std::string::npos) end = path.size();
    if (end > i) key = key->subkey(path.substr(i, end - i));
    i = end + 1;
  }
  return key;
}

std::string AnsiValueData(const WineRegistryValue& value) {
  if (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegMultiSz) return value.data;
  std::u16string text;
  for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                         (static_cast<unsigned char>(value.data[i + 1]) << 8)));
  }
  std::string ansi = WideToAnsi(text);
  if (ansi.empty() || ansi.back() != '\0') ansi.push_back('\0');
  return ansi;
}

}  // namespace quillet::platform
