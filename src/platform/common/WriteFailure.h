// The write-failure hook shared by both backends' WriteFile: tests make writes fail
// part-way through a file to prove that a failed save never damages the old file.
#ifndef QUILLET_PLATFORM_COMMON_WRITEFAILURE_H
#define QUILLET_PLATFORM_COMMON_WRITEFAILURE_H

#include <cstddef>

namespace quillet::platform::detail {

// How many of the `size` bytes of a write may still go out. `fail` becomes true
// when the write must report failure after writing (only) that many bytes, as a
// full disk would.
size_t BytesAllowedToWrite(size_t size, bool& fail);

}  // namespace quillet::platform::detail

#endif
