// HKEY_LOCAL_MACHINE through the Windows registry functions, read only.
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/Platform.h"

namespace quillet::platform {
namespace {

// KEY_READ: standard read rights, query values, enumerate subkeys, notify.
constexpr REGSAM kReadAccess = 0x20019;

bool isStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}
  ~Win32RegistryKey() override { RegCloseKey(key_); }
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

  bool queryValue(const char* name, char* buffer, unsigned long size) override {
    // Sized first, then read into a buffer of our own: after a value that does not
    // fit, Windows leaves the buffer's contents undefined, and the caller's must stay
    // as they were.
    DWORD type = 0;
    DWORD length = 0;
    if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &length) != ERROR_SUCCESS || length > size) return false;
    std::vector<char> data(static_cast<size_t>(length) + 1);
    if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<LPBYTE>(data.data()), &length) != ERROR_SUCCESS ||
        length > size) {
      return false;  // changed in between
    }
    // A string stored without its NUL arrives without one; add it where there is
    // room, and refuse the value where there is not, so callers always get a
    // terminated text.
    if (isStringType(type) && (length == 0 || data[length - 1] != '\0')) {
      if (length >= size) return false;
      data[length++] = '\0';
    }
    if (length > 0) std::memcpy(buffer, data.data(), length);
    return true;
  }

  bool subkeyName(unsigned long index, char* buffer, unsigned long size) override {
    return RegEnumKeyA(key_, index, buffer, size) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, kReadAccess, &key) != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace quillet::platform
