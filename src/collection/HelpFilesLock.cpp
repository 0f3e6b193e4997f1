#include "collection/HelpFilesLock.h"

#include <cstdlib>
#include <ctime>

#include "collection/Location.h"
#include "platform/Platform.h"

namespace quillet {
namespace {

constexpr long kDefaultTimeout = 30 * 1000;
constexpr char kLockFileName[] = "hhcolreg.lck";

struct ProcessLock {
  platform::FileLock lock;
  int holders = 0;
  long long since = -1;
};

ProcessLock& processLock() {
  static ProcessLock state;
  return state;
}

// The folder the lock file goes in: the registry's own, or, before there is one, the
// Help directory under the Windows directory. Empty when neither exists (then there
// is no file to protect).
std::string LockFolder() {
  std::string directory;
  if (LocateCollectionDir(directory)) return directory;
  std::string windows;
  if (platform::WindowsDirectory(windows) && platform::FileExists(windows + "\\Help")) return windows + "\\Help\\";
  return "";
}

}  // namespace

long LockTimeoutMilliseconds() {
  const char* text = std::getenv("QUILLET_LOCK_TIMEOUT");
  if (text == nullptr || *text == '\0') return kDefaultTimeout;
  char* end = nullptr;
  const double seconds = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(seconds >= 0) || seconds > 24 * 3600) return kDefaultTimeout;
  return static_cast<long>(seconds * 1000);
}

HelpFilesLock::HelpFilesLock() {
  ProcessLock& state = processLock();
  if (state.holders > 0) {
    ++state.holders;
    held_ = true;
    return;
  }
  const std::string folder = LockFolder();
  if (folder.empty()) {
    // Nothing to lock against: the files the caller is after do not exist, and the
    // call fails on that with its own code.
    held_ = true;
    ++state.holders;
    return;
  }
  if (!state.lock.acquire(folder + kLockFileName, LockTimeoutMilliseconds(), error_)) return;
  state.since = static_cast<long long>(std::time(nullptr));
  ++state.holders;
  held_ = true;
}

HelpFilesLock::~HelpFilesLock() {
  if (!held_) return;
  ProcessLock& state = processLock();
  if (--state.holders > 0) return;
  state.lock.release();
  state.since = -1;
}

long long HelpFilesLock::heldSince() {
  const ProcessLock& state = processLock();
  return state.lock.held() ? state.since : -1;
}

}  // namespace quillet
