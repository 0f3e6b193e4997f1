// Small, careful edits of a Wine registry file (system.reg) held as text.
//
// The editor only ever adds: a value line inside the block of the key it belongs to,
// or a new key block at the end of the file. Every byte it does not add stays as it
// was, including line ends (a file written with CR LF gets CR LF lines), comments,
// value kinds it does not understand and lines it cannot parse.
//
// The format, as Wine writes it (read and written through platform/common/
// WineRegistryText.h, as the library reads it):
//
//   WINE REGISTRY Version 2
//   ;; All keys relative to \\Machine
//
//   [Software\\Microsoft\\HTML Help Collections\\Developer Collections] 1733412345
//   #time=1db4a7c2e0f1a2b
//   "Language"="0x0409"
//   @="default value"
//
// Key paths are relative to HKEY_LOCAL_MACHINE and escaped like strings (so each
// separator is written as a doubled backslash). Key and value names compare without
// regard to letter case, as in Windows. Key paths and value names given to the editor
// are plain text (single backslashes between key names, UTF-8).
#ifndef QUILLET_TOOL_WINEREGISTRYEDITOR_H
#define QUILLET_TOOL_WINEREGISTRYEDITOR_H

#include <cstdint>
#include <optional>
#include <string>

#include "platform/common/WineRegistryText.h"

namespace quillet::tool {

class WineRegistryEditor {
 public:
  // The first line of every Wine registry file.
  static const char* const kHeader;

  // The text of a registry file that holds no key yet.
  static std::string EmptyFileText();

  explicit WineRegistryEditor(std::string text);

  // True when the text starts with the header line. Editing a text without it is
  // refused by the caller: it is not a file Wine would read.
  bool hasHeader() const;

  bool hasKey(const std::string& keyPath) const;

  // The value `name` of the key (an empty name is the key's default value "@"), or
  // nothing when the key or the value is absent. When a key appears in several
  // blocks, the first block that holds the value wins.
  std::optional<platform::WineRegistryValue> findValue(const std::string& keyPath, const std::string& name) const;

  // Adds the string value `name` = `value` to the key: as a line after the last line
  // of the key's first block when the key exists, else as a new block
  // "[path] <timestamp>" at the end. Does not look for an existing value of that
  // name: the caller decides whether one may be added.
  void addStringValue(const std::string& keyPath, const std::string& name, const std::string& value,
                      std::uint64_t timestamp);

  const std::string& text() const { return text_; }

  // Escapes a text as Wine writes it between `delimiter`s: backslash and the
  // delimiter get a backslash, control characters their C escape or an octal one,
  // characters beyond ASCII a \x escape of each UTF-16 code unit.
  static std::string Escape(const std::string& utf8, char delimiter);

 private:
  struct Line {
    size_t begin = 0;  // offset of the line's first byte
    size_t end = 0;    // offset just past its content (before CR LF or LF)
    size_t next = 0;   // offset of the following line
  };
  bool nextLine(size_t offset, Line& line) const;
  // Offset of the header line of the key's first block, or npos.
  size_t findKeyBlock(const std::string& keyPath, size_t from) const;
  // The line end the file uses: CR LF when its first line ends so, else LF.
  std::string lineEnd() const;

  std::string text_;
};

}  // namespace quillet::tool

#endif
