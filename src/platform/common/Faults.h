// The fault injection shared by both backends: tests make file operations fail at a
// chosen call to prove that a failed save never damages the old file and is reported.
#ifndef QUILLET_PLATFORM_COMMON_FAULTS_H
#define QUILLET_PLATFORM_COMMON_FAULTS_H

#include <cstddef>

#include "platform/Platform.h"

namespace quillet::platform::detail {

// Counts one call of `point`; true when this call must fail.
bool ShouldFail(FaultPoint point);

// How many of the `size` bytes of a write may still go out. `fail` becomes true
// when the write must report failure after writing (only) that many bytes, as a
// full disk would.
size_t BytesAllowedToWrite(size_t size, bool& fail);

}  // namespace quillet::platform::detail

#endif
