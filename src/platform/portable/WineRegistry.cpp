#include "platform/portable/WineRegistry.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "platform/Platform.h"
#include "platform/common/WineRegistryText.h"

namespace quillet::platform {
namespace {

std::string upperAscii(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
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
      std::string line;
      WineRegistryValue value;
      if (!ReadRegistryLine(text, pos, end, line) || !ParseRegistryValueLine(line, value)) continue;
      // A value given twice keeps its last data, as a later write would leave it.
      const std::string folded = upperAscii(value.name);
      auto same = std::find_if(values_.begin(), values_.end(),
                               [&](const WineRegistryValue& v) { return upperAscii(v.name) == folded; });
      if (same != values_.end()) {
        same->type = value.type;
        same->data = std::move(value.data);
        same->raw = std::move(value.raw);
      } else {
        values_.push_back(std::move(value));
      }
    }
  }
}

std::unique_ptr<WineRegistry> WineRegistry::parse(std::string text) {
  size_t pos = 0;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  if (text.compare(pos, sizeof kWineRegistryHeader - 1, kWineRegistryHeader) != 0) return nullptr;

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
    std::string line;
    ReadRegistryLine(all, pos, all.size(), line);
    const size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '[') continue;
    if (current != nullptr) current->sections_.back().second = lineStart;
    current = nullptr;

    std::string path;
    if (!ParseRegistryKeyLine(line, path)) continue;  // its lines belong to no key
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
  std::string ansi = WideToAnsi(value.units());
  if (ansi.empty() || ansi.back() != '\0') ansi.push_back('\0');
  return ansi;
}

}  // namespace quillet::platform
