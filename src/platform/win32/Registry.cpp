// HKEY_LOCAL_MACHINE through the Windows registry functions, read only.
#include <windows.h>

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
    DWORD type = 0;
    DWORD length = size;
    if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &length) != ERROR_SUCCESS) {
      return false;
    }
    // A string stored without its NUL arrives without one; add it where there is
    // room, and refuse the value where there is not, so callers always get a
    // terminated text.
    if (isStringType(type) && (length == 0 || buffer[length - 1] != '\0')) {
      if (length >= size) return false;
      buffer[length] = '\0';
    }
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
