// The registry of a Wine prefix, read from its text file system.reg (the format is
// described in platform/common/WineRegistryText.h).
//
// Reading is lazy: parse() only indexes where each key's lines are; a key's values
// are parsed the first time one of them is asked for. Lines that cannot be
// understood are skipped. Key and value names compare ignoring the case of ASCII
// letters, and subkeys are kept in the order Windows enumerates them: by name,
// compared in upper case.
#ifndef QUILLET_PLATFORM_PORTABLE_WINEREGISTRY_H
#define QUILLET_PLATFORM_PORTABLE_WINEREGISTRY_H

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/WineRegistryText.h"

namespace quillet::platform {

class WineRegistry {
 public:
  class Key {
   public:
    const std::string& name() const { return name_; }
    // Subkeys in Windows' enumeration order.
    const std::vector<const Key*>& subkeys() const { return subkeys_; }
    const Key* subkey(const std::string& name) const;
    // The value `name` ("" for the default value), or null.
    const WineRegistryValue* value(const std::string& name) const;

   private:
    friend class WineRegistry;
    void parseValues() const;

    const WineRegistry* owner_ = nullptr;
    std::string name_;
    std::string folded_;  // name_ in upper case, for comparing and sorting
    std::vector<const Key*> subkeys_;
    std::vector<std::pair<size_t, size_t>> sections_;  // [begin, end) of each "[key]" block's lines
    mutable bool parsed_ = false;
    mutable std::vector<WineRegistryValue> values_;
  };

  // Indexes the text of a registry file; null when the text does not start with the
  // header line.
  static std::unique_ptr<WineRegistry> parse(std::string text);

  const Key& root() const { return keys_.front(); }
  // The key at a backslash-separated path below the root, or null. Empty components
  // (a doubled or trailing backslash) are ignored.
  const Key* find(const std::string& path) const;

 private:
  WineRegistry() = default;
  std::string text_;
  std::deque<Key> keys_;  // the root first; a deque keeps Key addresses stable
};

// The bytes that RegQueryValueExA delivers for `value`: the string kinds converted to
// the ANSI code page and ending in a NUL, every other kind as stored.
std::string AnsiValueData(const WineRegistryValue& value);

// How many times the prefix's system.reg has been read and indexed in this process;
// opening keys of an unchanged file reads it only once.
size_t SystemRegistryLoadCount();

}  // namespace quillet::platform

#endif
