#include "platform/common/Faults.h"

namespace quillet::platform {
namespace {

constexpr int kPoints = static_cast<int>(FaultPoint::kCount);

// One plain set of counters: the library is used by one thread at a time.
struct Faults {
  int calls[kPoints] = {};
  int failAt[kPoints] = {};  // 0: no fault; else the call number that fails
  long bytesBeforeFailure = -1;
};

Faults& faults() {
  static Faults state;
  return state;
}

}  // namespace

void InjectFault(FaultPoint point, int n) {
  Faults& f = faults();
  const int i = static_cast<int>(point);
  f.failAt[i] = n <= 0 ? 0 : f.calls[i] + n;
}

void ClearFaults() { faults() = Faults{}; }

int FaultPointCalls(FaultPoint point) { return faults().calls[static_cast<int>(point)]; }

void InjectWriteFailureAfter(long bytes) { faults().bytesBeforeFailure = bytes < 0 ? -1 : bytes; }

namespace detail {

bool ShouldFail(FaultPoint point) {
  Faults& f = faults();
  const int i = static_cast<int>(point);
  return ++f.calls[i] == f.failAt[i];
}

size_t BytesAllowedToWrite(size_t size, bool& fail) {
  fail = ShouldFail(FaultPoint::kWrite);
  if (fail) return 0;
  long& remaining = faults().bytesBeforeFailure;
  if (remaining < 0) return size;
  const size_t left = static_cast<size_t>(remaining);
  if (size <= left) {
    remaining -= static_cast<long>(size);
    return size;
  }
  // Once the budget is spent every later write fails too, until the hook is reset.
  remaining = 0;
  fail = true;
  return left;
}

}  // namespace detail
}  // namespace quillet::platform
