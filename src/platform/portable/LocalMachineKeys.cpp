// HKEY_LOCAL_MACHINE of the prefix, from <prefix>/system.reg.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Platform.h"
#include "platform/portable/WineRegistry.h"

namespace quillet::platform {
namespace {

// A real prefix's system.reg is a few megabytes; anything far larger is not one,
// and is refused rather than read into memory.
constexpr off_t kLargestRegistryFile = 256L * 1024 * 1024;

size_t loadCount = 0;

// The last file read, and what identified its version: reading it again is only
// needed when it was replaced or changed.
struct CachedRegistry {
  std::string file;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = -1;
  struct timespec modified = {};
  std::shared_ptr<const WineRegistry> registry;
};

CachedRegistry& cache() {
  static CachedRegistry cached;
  return cached;
}

bool readWhole(const std::string& file, off_t size, std::string& text) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  text.resize(static_cast<size_t>(size));
  size_t done = 0;
  bool ok = true;
  while (done < text.size()) {
    const ssize_t n = ::read(fd, &text[done], text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A file that shrank while being read is taken as far as it goes.
      ok = n == 0;
      break;
    }
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  text.resize(done);
  return ok;
}

struct timespec modifiedTime(const struct stat& info) {
#if defined(__APPLE__)
  return info.st_mtimespec;
#else
  return info.st_mtim;
#endif
}

std::shared_ptr<const WineRegistry> currentRegistry() {
  const std::string prefix = Prefix();
  if (prefix.empty()) return nullptr;
  const std::string file = prefix + "/system.reg";
  struct stat info;
  if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestRegistryFile) {
    return nullptr;
  }
  const struct timespec modified = modifiedTime(info);
  CachedRegistry& cached = cache();
  if (cached.registry && cached.file == file && cached.device == info.st_dev && cached.inode == info.st_ino &&
      cached.size == info.st_size && cached.modified.tv_sec == modified.tv_sec &&
      cached.modified.tv_nsec == modified.tv_nsec) {
    return cached.registry;
  }
  std::string text;
  if (!readWhole(file, info.st_size, text)) return nullptr;
  ++loadCount;
  std::shared_ptr<const WineRegistry> registry = WineRegistry::parse(std::move(text));
  if (!registry) return nullptr;
  cached = CachedRegistry{file, info.st_dev, info.st_ino, info.st_size, modified, registry};
  return registry;
}

class PrefixRegistryKey : public RegistryKey {
 public:
  PrefixRegistryKey(std::shared_ptr<const WineRegistry> registry, const WineRegistry::Key* key)
      : registry_(std::move(registry)), key_(key) {}

  bool queryValue(const char* name, char* buffer, unsigned long size) override {
    const WineRegistryValue* value = key_->value(name != nullptr ? name : "");
    if (value == nullptr) return false;
    const std::string data = AnsiValueData(*value);
    if (data.size() > size || (buffer == nullptr && !data.empty())) return false;
    if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
    return true;
  }

  bool subkeyName(unsigned long index, char* buffer, unsigned long size) override {
    const auto& subkeys = key_->subkeys();
    if (index >= subkeys.size() || buffer == nullptr) return false;
    const std::string& name = subkeys[index]->name();
    if (name.size() + 1 > size) return false;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return true;
  }

 private:
  // Keeps the parsed file alive while the key is open, even if the file changes.
  std::shared_ptr<const WineRegistry> registry_;
  const WineRegistry::Key* key_;
};

}  // namespace

size_t SystemRegistryLoadCount() { return loadCount; }

std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) {
  std::shared_ptr<const WineRegistry> registry = currentRegistry();
  if (!registry) return nullptr;
  const WineRegistry::Key* key = registry->find(path);
  if (key == nullptr) return nullptr;
  return std::make_unique<PrefixRegistryKey>(std::move(registry), key);
}

}  // namespace quillet::platform
