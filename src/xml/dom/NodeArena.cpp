#include "xml/dom/NodeArena.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

// Under the address sanitizer regions come from its heap: its leak check does not look
// into mappings of our own, and would take a text that only a node points to for lost.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLET_REGIONS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLET_REGIONS_ON_HEAP 1
#endif
#endif

namespace quillet::xml {

struct CNodeArena::Region {
  CNodeArena* arena;  // null once the arena is gone
  Region* previous;
  Region* next;
  size_t live;  // nodes allocated here and not yet freed
  void* mapping;
  size_t mappedBytes;
};

namespace {

std::atomic<size_t> gMappedBytes{0};

constexpr size_t RoundUp(size_t n, size_t to) { return (n + to - 1) & ~(to - 1); }

// What every chunk starts with: its region.
constexpr size_t kChunkHeaderBytes = RoundUp(sizeof(void*), alignof(std::max_align_t) > 8 ? 16 : 8);

// `bytes` of memory at *mapping, of which `usable` bytes from the returned address on
// are aligned to the chunk size.
unsigned char* MapRegion(size_t usable, void** mapping, size_t* bytes) {
#if defined(QUILLET_REGIONS_ON_HEAP)
  void* p = std::aligned_alloc(CNodeArena::kChunkBytes, usable);
  if (p == nullptr) throw std::bad_alloc();
  *mapping = p;
  *bytes = usable;
  gMappedBytes.fetch_add(usable, std::memory_order_relaxed);
  return static_cast<unsigned char*>(p);
#elif defined(_WIN32)
  // Windows places every allocation on its 64 KiB allocation granularity.
  static_assert(CNodeArena::kChunkBytes == 65536, "the allocation granularity of Windows");
  void* p = VirtualAlloc(nullptr, usable, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (p == nullptr) throw std::bad_alloc();
  *mapping = p;
  *bytes = usable;
  gMappedBytes.fetch_add(usable, std::memory_order_relaxed);
  return static_cast<unsigned char*>(p);
#else
  // One chunk more than needed, so that an aligned run of chunks lies inside; the slack
  // before and after it is never touched, so it takes address space, not memory, and
  // stays mapped: unmapping it would cost two more flushes.
  const size_t size = usable + CNodeArena::kChunkBytes;
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  *mapping = p;
  *bytes = size;
  gMappedBytes.fetch_add(usable, std::memory_order_relaxed);
  auto* aligned = reinterpret_cast<unsigned char*>(RoundUp(reinterpret_cast<uintptr_t>(p), CNodeArena::kChunkBytes));
#if defined(MADV_POPULATE_WRITE)
  // The region will be filled: its pages in one call rather than one fault each (the
  // call fails harmlessly on kernels without it).
  madvise(aligned, usable, MADV_POPULATE_WRITE);
#endif
  return aligned;
#endif
}

void UnmapRegion(void* mapping, size_t bytes) {
#if defined(QUILLET_REGIONS_ON_HEAP)
  gMappedBytes.fetch_sub(bytes, std::memory_order_relaxed);
  std::free(mapping);
#elif defined(_WIN32)
  gMappedBytes.fetch_sub(bytes, std::memory_order_relaxed);
  VirtualFree(mapping, 0, MEM_RELEASE);
#else
  gMappedBytes.fetch_sub(bytes - CNodeArena::kChunkBytes, std::memory_order_relaxed);
  munmap(mapping, bytes);
#endif
}

}  // namespace

CNodeArena::Region*& CNodeArena::RegionOf(const void* address) {
  return *reinterpret_cast<Region**>(reinterpret_cast<uintptr_t>(address) & ~(uintptr_t{kChunkBytes} - 1));
}

size_t CNodeArena::MappedBytes() { return gMappedBytes.load(std::memory_order_relaxed); }

CNodeArena::~CNodeArena() {
  // Regions without live nodes go now; the others when their last node is freed.
  for (Region* region = regions_; region != nullptr;) {
    Region* next = region->next;
    region->arena = nullptr;
    if (region->live == 0) UnmapRegion(region->mapping, region->mappedBytes);
    region = next;
  }
}

void CNodeArena::nextChunk() {
  if (end_ != regionEnd_) {
    RegionOf(end_) = current_;
    next_ = end_ + kChunkHeaderBytes;
    end_ += kChunkBytes;
    return;
  }
  const size_t chunks = nextRegionChunks_;
  if (nextRegionChunks_ < kMaxRegionChunks) nextRegionChunks_ *= 2;
  void* mapping = nullptr;
  size_t mappedBytes = 0;
  unsigned char* start = MapRegion(chunks * kChunkBytes, &mapping, &mappedBytes);
  RegionOf(start) = reinterpret_cast<Region*>(start + kChunkHeaderBytes);
  Region* region = RegionOf(start);
  *region = Region{this, nullptr, regions_, 0, mapping, mappedBytes};
  if (regions_ != nullptr) regions_->previous = region;
  regions_ = region;
  Region* filled = current_;
  current_ = region;
  currentLive_ = &region->live;
  next_ = start + kChunkHeaderBytes + RoundUp(sizeof(Region), kBlockAlign);
  end_ = start + kChunkBytes;
  regionEnd_ = start + chunks * kChunkBytes;
  // A region whose nodes were all freed while it was being filled can go now.
  if (filled != nullptr && filled->live == 0) release(filled);
}

void CNodeArena::free(void* block) {
  Region* region = RegionOf(block);
  if (--region->live != 0) return;
  if (region->arena == nullptr) {
    UnmapRegion(region->mapping, region->mappedBytes);
  } else if (region != region->arena->current_) {
    region->arena->release(region);
  }
}

void CNodeArena::release(Region* region) {
  if (region->previous != nullptr) region->previous->next = region->next;
  else regions_ = region->next;
  if (region->next != nullptr) region->next->previous = region->previous;
  UnmapRegion(region->mapping, region->mappedBytes);
}

}  // namespace quillet::xml
