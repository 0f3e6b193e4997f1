// The text of Wine's registry files (system.reg): one reading and one writing of its
// lines, shared by the portable backend, which reads keys and values from it, and the
// quillet tool, which adds values to it.
//
// The file starts with the line "WINE REGISTRY Version 2"; each key follows as a line
// "[Software\\Vendor\\Key] 1234567890" (named below HKEY_LOCAL_MACHINE, backslashes
// doubled, then a timestamp) and the key's values as lines such as
//   "Name"="text"     @="default value"     "Kind"=str(2):"%SystemRoot%"
//   "Size"=dword:0000040a                   "Blob"=hex:01,02,03,04
//   "Multi"=hex(7):61,00,00,00,00,00
// where a long hex list goes on over several lines, each but the last ending in a
// backslash. Strings use backslash escapes (\\ \" \n \t ... \xHHHH for a UTF-16 unit,
// \ooo in octal); plain bytes are UTF-8. Lines starting with ";" or "#" are comments
// or metadata.
#ifndef QUILLET_PLATFORM_COMMON_WINEREGISTRYTEXT_H
#define QUILLET_PLATFORM_COMMON_WINEREGISTRYTEXT_H

#include <cstddef>
#include <string>

namespace quillet::platform {

// The first line of every Wine registry file.
inline constexpr char kWineRegistryHeader[] = "WINE REGISTRY Version 2";

// Registry value types, numbered as Windows numbers them.
enum : unsigned long {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7
};

struct WineRegistryValue {
  std::string name;    // UTF-8; empty for the key's default value ("@")
  unsigned long type;  // kRegSz, kRegDword, ...
  std::string data;    // the bytes Windows keeps: strings as UTF-16LE with their NUL
  std::string raw;     // what follows the "=" on the value's line, as written

  // Whether the value is a string (REG_SZ or REG_EXPAND_SZ), and its text in UTF-8
  // ("" for the other kinds).
  bool isString() const { return type == kRegSz || type == kRegExpandSz; }
  std::string text() const;
  // The data as UTF-16 little-endian code units, any terminating NUL kept.
  std::u16string units() const;
};

// A text as Wine writes it between `delimiter`s: backslash and the delimiter get a
// backslash, control characters their C escape or an octal one, characters beyond
// ASCII a \x escape of each UTF-16 code unit.
std::string EscapeRegistryText(const std::u16string& text, char delimiter);

// The key path of a "[path] timestamp" line (blanks before it allowed), in UTF-8 with
// single backslashes; false for any other line.
bool ParseRegistryKeyLine(const std::string& line, std::string& path);

// One logical value line (a hex list's continuation lines already joined); false for
// a line that is not a value Wine would write.
bool ParseRegistryValueLine(const std::string& line, WineRegistryValue& value);

// Reads the logical line that starts at `pos` in `text` (which ends at `end`): the line
// without its line end, and for a value whose hex list goes on (its last non-blank
// character is a backslash) the continuation lines joined on, their leading blanks
// dropped. Leaves `pos` past the last line taken. False when the text ends inside the
// list: such a value is not read.
bool ReadRegistryLine(const std::string& text, size_t& pos, size_t end, std::string& line);

}  // namespace quillet::platform

#endif
