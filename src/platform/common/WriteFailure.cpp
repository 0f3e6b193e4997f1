#include "platform/common/WriteFailure.h"

#include "platform/Platform.h"

namespace quillet::platform {
namespace {
// Bytes left before writes start failing; negative while the hook is off.
long remainingBeforeFailure = -1;
}  // namespace

void InjectWriteFailureAfter(long bytes) { remainingBeforeFailure = bytes < 0 ? -1 : bytes; }

namespace detail {

size_t BytesAllowedToWrite(size_t size, bool& fail) {
  fail = false;
  if (remainingBeforeFailure < 0) return size;
  const size_t left = static_cast<size_t>(remainingBeforeFailure);
  if (size <= left) {
    remainingBeforeFailure -= static_cast<long>(size);
    return size;
  }
  // Once the budget is spent every later write fails too, until the hook is reset.
  remainingBeforeFailure = 0;
  fail = true;
  return left;
}

}  // namespace detail
}  // namespace quillet::platform
