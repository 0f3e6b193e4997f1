#include "WineRegistryEditor.h"

#include "platform/common/WineRegistryText.h"

#include "xml/common/U16String.h"

namespace quillet::tool {

namespace {

bool SameName(const std::string& a, const std::string& b) { return xml::EqualsIgnoreAsciiCase(a, b); }

// The key path of a "[path] timestamp" line, or false when the line is not one.
bool ParseKeyLine(const std::string& s, size_t begin, size_t end, std::string& path) {
  return begin < end && s[begin] == '[' && platform::ParseRegistryKeyLine(s.substr(begin, end - begin), path);
}

bool IsBlank(const std::string& s, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i)
    if (s[i] != ' ' && s[i] != '\t') return false;
  return true;
}

}  // namespace

const char* const WineRegistryEditor::kHeader = platform::kWineRegistryHeader;

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

std::optional<platform::WineRegistryValue> WineRegistryEditor::findValue(const std::string& keyPath,
                                                                        const std::string& name) const {
  // Read as the library reads it: a hex list's continuation lines join its first.
  Line line;
  for (size_t block = findKeyBlock(keyPath, 0); block != std::string::npos;) {
    nextLine(block, line);
    size_t offset = line.next;
    block = std::string::npos;
    for (; nextLine(offset, line); offset = line.next) {
      if (text_[line.begin] == '[') {  // the next block starts; it may be this key again
        block = findKeyBlock(keyPath, line.begin);
        break;
      }
      std::string logical;
      size_t after = line.begin;
      const bool complete = platform::ReadRegistryLine(text_, after, text_.size(), logical);
      line.next = after;  // the loop goes on past the last line taken
      platform::WineRegistryValue value;
      if (complete && platform::ParseRegistryValueLine(logical, value) && SameName(value.name, name)) return value;
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
  return platform::EscapeRegistryText(xml::Utf8ToU16(utf8), delimiter);
}

}  // namespace quillet::tool
