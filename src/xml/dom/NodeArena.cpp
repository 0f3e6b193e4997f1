#include "xml/dom/NodeArena.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/Platform.h"
#include "xml/common/AddressSanitizer.h"

// Under the address sanitizer regions come from its heap: its leak check does not look
// into mappings of our own, and would take a text that only a node points to for lost.
#if defined(QUILLET_ADDRESS_SANITIZER)
#define QUILLET_REGIONS_ON_HEAP 1
#endif

namespace quillet::xml {

struct CNodeArena::Region {
  CNodeArena* arena;  // null once the arena is gone
  Region* previous;
  Region* next;
  size_t live;  // nodes allocated here and not yet freed
  void* mapping;
  size_t mappedBytes;
  size_t usable;  // the chunks' bytes, as MappedBytes counts them
};

namespace {

std::atomic<size_t> gMappedBytes{0};

constexpr size_t RoundUp(size_t n, size_t to) { return (n + to - 1) & ~(to - 1); }

// What every chunk starts with: its region.
constexpr size_t kChunkHeaderBytes = RoundUp(sizeof(void*), alignof(void*));

// `usable` bytes aligned to the chunk size, from a mapping of `bytes` at *mapping.
unsigned char* MapRegion(size_t usable, void** mapping, size_t* bytes) {
#if defined(QUILLET_REGIONS_ON_HEAP)
  void* p = std::aligned_alloc(CNodeArena::kChunkBytes, usable);
  *mapping = p;
  *bytes = usable;
  auto* start = static_cast<unsigned char*>(p);
#else
  unsigned char* start = platform::MapAlignedMemory(usable, CNodeArena::kChunkBytes, *mapping, *bytes);
#endif
  if (start == nullptr) throw std::bad_alloc();
  gMappedBytes.fetch_add(usable, std::memory_order_relaxed);
  return start;
}

void UnmapRegion(void* mapping, size_t bytes, size_t usable) {
  gMappedBytes.fetch_sub(usable, std::memory_order_relaxed);
#if defined(QUILLET_REGIONS_ON_HEAP)
  (void)bytes;
  std::free(mapping);
#else
  platform::UnmapMemory(mapping, bytes);
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
    if (region->live == 0) UnmapRegion(region->mapping, region->mappedBytes, region->usable);
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
  *region = Region{this, nullptr, regions_, 0, mapping, mappedBytes, chunks * kChunkBytes};
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

void* CNodeArena::ownerOf(const void* block) {
  const Region* region = RegionOf(block);
  return region->arena != nullptr ? region->arena->owner_ : nullptr;
}

void CNodeArena::free(void* block) {
  Region* region = RegionOf(block);
  if (--region->live != 0) return;
  if (region->arena == nullptr) {
    UnmapRegion(region->mapping, region->mappedBytes, region->usable);
  } else if (region != region->arena->current_) {
    region->arena->release(region);
  }
}

void CNodeArena::release(Region* region) {
  if (region->previous != nullptr) region->previous->next = region->next;
  else regions_ = region->next;
  if (region->next != nullptr) region->next->previous = region->previous;
  UnmapRegion(region->mapping, region->mappedBytes, region->usable);
}

}  // namespace quillet::xml
