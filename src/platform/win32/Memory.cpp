#include <windows.h>

#include "platform/Platform.h"

namespace quillet::platform {

unsigned char* MapAlignedMemory(size_t size, size_t alignment, void*& mapping, size_t& mappedBytes) {
  // Windows places every allocation on its 64 KiB allocation granularity, which no
  // alignment asked for here exceeds.
  if (alignment > 65536) return nullptr;
  void* p = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (p == nullptr) return nullptr;
  mapping = p;
  mappedBytes = size;
  return static_cast<unsigned char*>(p);
}

void UnmapMemory(void* mapping, size_t) { VirtualFree(mapping, 0, MEM_RELEASE); }

}  // namespace quillet::platform
