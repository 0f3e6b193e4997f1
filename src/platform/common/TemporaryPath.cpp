#include <chrono>
#include <cstdint>
#include <cstdio>

#include "platform/Platform.h"

namespace quillet::platform {

std::string TemporaryPathBeside(const std::string& target) {
  // The temporary lives in the target's own folder so that the final rename stays on
  // one volume and is a single step. Names differ by a per-process counter mixed with
  // the clock, so two processes saving the same file do not collide; a name already
  // taken is skipped.
  static std::uint32_t counter = 0;
  const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::uint32_t tag = static_cast<std::uint32_t>(now * 2654435761u) ^ (++counter * 40503u);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08lx.qtmp", static_cast<unsigned long>(tag));
    std::string candidate = target + suffix;
    if (!FileExists(candidate)) return candidate;
  }
  return target + ".qtmp";
}

}  // namespace quillet::platform
