// Where the portable backend finds the Windows installation it works on.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/Platform.h"

namespace quillet::platform {
namespace {
// Set by the tool's --prefix option (or by tests); empty means "ask the environment".
std::string& explicitPrefix() {
  static std::string prefix;
  return prefix;
}

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string homeDirectory() {
  std::string home = environmentValue("HOME");
  if (!home.empty()) return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? std::string(entry->pw_dir) : std::string();
}
}  // namespace

void SetPrefix(const std::string& directory) { explicitPrefix() = directory; }

std::string Prefix() {
  // The environment is read again on every call while no prefix is set, so that a
  // caller who changes QUILLET_PREFIX or WINEPREFIX is followed at once.
  if (!explicitPrefix().empty()) return explicitPrefix();
  std::string prefix = environmentValue("QUILLET_PREFIX");
  if (prefix.empty()) prefix = environmentValue("WINEPREFIX");
  if (prefix.empty()) {
    const std::string home = homeDirectory();
    if (!home.empty()) prefix = home + "/.wine";
  }
  return prefix;
}

bool WindowsDirectory(std::string& directory) {
  // Wine always installs Windows in the same place on drive C.
  directory = "C:\\windows";
  return true;
}

}  // namespace quillet::platform
