#include "api/SafeMode.h"

namespace quillet {
namespace {
// Plain flags: the library is used by one thread at a time.
bool safeMode = false;
bool lockFiles = false;
bool selfClosingEmptyTags = false;
}  // namespace

void SetSafeMode(bool on) { safeMode = on; }
bool SafeMode() { return safeMode; }

void SetSelfClosingEmptyTags(bool on) { selfClosingEmptyTags = on; }
bool SelfClosingEmptyTags() { return selfClosingEmptyTags; }

void SetLockFiles(bool on) { lockFiles = on; }
bool LockFiles() { return lockFiles; }

}  // namespace quillet
