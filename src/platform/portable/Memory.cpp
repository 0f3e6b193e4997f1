#include <sys/mman.h>

#include <cstdint>

#include "platform/Platform.h"

namespace quillet::platform {

namespace {
// The huge page of x86-64 and of most arm64 kernels.
constexpr size_t kHugePageBytes = size_t{2} << 20;
}  // namespace

unsigned char* MapAlignedMemory(size_t size, size_t alignment, void*& mapping, size_t& mappedBytes) {
  // A large run goes on a huge page boundary, so the kernel can back it with huge
  // pages where it gives them on request: the first touch of fresh memory then costs
  // one fault per 2 MiB instead of one per 4 KiB, which in virtual machines is most of
  // the cost of filling a large tree.
  const bool huge = size >= kHugePageBytes;
  if (huge && alignment < kHugePageBytes) alignment = kHugePageBytes;
  // One alignment more than asked for, so that an aligned run of `size` bytes lies
  // inside; the slack before and after it stays mapped: unmapping it would cost two
  // more calls and TLB flushes for no memory.
  const size_t bytes = size + alignment;
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  mapping = p;
  mappedBytes = bytes;
  const uintptr_t at = (reinterpret_cast<uintptr_t>(p) + alignment - 1) & ~(uintptr_t{alignment} - 1);
  auto* aligned = reinterpret_cast<unsigned char*>(at);
#if defined(MADV_HUGEPAGE)
  const bool hugePages = huge && madvise(aligned, size, MADV_HUGEPAGE) == 0;  // refused where unsupported
#else
  const bool hugePages = false;
#endif
#if defined(MADV_POPULATE_WRITE)
  // The memory is about to be filled: its small pages in one call rather than one
  // fault each (the call fails harmlessly on kernels without it). Huge pages fault in
  // rarely enough, and past the first huge page a run is left untouched where it is
  // not used yet: the last run of a tree is half empty on average.
  if (!hugePages) madvise(aligned, size, MADV_POPULATE_WRITE);
#else
  (void)hugePages;
#endif
  return aligned;
}

void UnmapMemory(void* mapping, size_t mappedBytes) { munmap(mapping, mappedBytes); }

}  // namespace quillet::platform
