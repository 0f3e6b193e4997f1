#include "platform/common/TemporaryNames.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <random>

namespace quillet::platform::detail {
namespace {
constexpr size_t kTagDigits = 16;
const char kSuffix[] = ".qtmp";
constexpr size_t kSuffixLength = sizeof kSuffix - 1;
}  // namespace

std::string NewTemporaryName(const std::string& path) {
  // Seeded once from the system's entropy and the clock (some random_device
  // implementations are weak); a name that is taken after all is refused by the
  // exclusive create, and the caller asks again.
  static std::mt19937_64 generator = [] {
    std::random_device device;
    const auto now = static_cast<unsigned long long>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), static_cast<unsigned>(now), static_cast<unsigned>(now >> 32)};
    return std::mt19937_64(seed);
  }();
  char tag[kTagDigits + 1];
  std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(generator()));
  return path + "." + tag + kSuffix;
}

bool IsTemporaryName(const std::string& name, const std::string& base) {
  if (name.size() != base.size() + 1 + kTagDigits + kSuffixLength) return false;
  if (name.compare(0, base.size(), base) != 0 || name[base.size()] != '.') return false;
  if (name.compare(name.size() - kSuffixLength, kSuffixLength, kSuffix) != 0) return false;
  for (size_t i = base.size() + 1; i < base.size() + 1 + kTagDigits; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

}  // namespace quillet::platform::detail
