#include "xml/dom/NodeArena.h"

#include <new>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace quillet::xml {

struct CNodeArena::Chunk {
  CNodeArena* arena;  // null once the arena is gone
  Chunk* previous;
  Chunk* next;
  size_t live;  // nodes allocated here and not yet freed
};

namespace {

constexpr size_t kBlockAlign = alignof(std::max_align_t) > 8 ? 16 : 8;

constexpr size_t RoundUp(size_t n, size_t to) { return (n + to - 1) & ~(to - 1); }

// kChunkBytes of memory aligned to kChunkBytes, straight from the system.
void* MapChunk() {
#if defined(_WIN32)
  // Windows places every allocation on its 64 KiB allocation granularity.
  static_assert(CNodeArena::kChunkBytes == 65536, "the allocation granularity of Windows");
  void* p = VirtualAlloc(nullptr, CNodeArena::kChunkBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (p == nullptr) throw std::bad_alloc();
  return p;
#else
  // Twice the size, then the parts before and after the aligned chunk go back.
  const size_t size = CNodeArena::kChunkBytes;
  void* mapped = mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto* start = static_cast<unsigned char*>(mapped);
  auto* aligned = reinterpret_cast<unsigned char*>(RoundUp(reinterpret_cast<uintptr_t>(start), size));
  if (aligned != start) munmap(start, static_cast<size_t>(aligned - start));
  if (aligned + size != start + 2 * size) munmap(aligned + size, static_cast<size_t>(start + size - aligned));
  return aligned;
#endif
}

void UnmapChunk(void* chunk) {
#if defined(_WIN32)
  VirtualFree(chunk, 0, MEM_RELEASE);
#else
  munmap(chunk, CNodeArena::kChunkBytes);
#endif
}

}  // namespace

CNodeArena::~CNodeArena() {
  // Chunks without live nodes go now; the others when their last node is freed.
  for (Chunk* chunk = chunks_; chunk != nullptr;) {
    Chunk* next = chunk->next;
    chunk->arena = nullptr;
    if (chunk->live == 0) UnmapChunk(chunk);
    chunk = next;
  }
}

void* CNodeArena::allocate(size_t bytes) {
  bytes = RoundUp(bytes, kBlockAlign);
  if (static_cast<size_t>(end_ - next_) < bytes) {
    auto* chunk = static_cast<Chunk*>(MapChunk());
    chunk->arena = this;
    chunk->previous = nullptr;
    chunk->next = chunks_;
    chunk->live = 0;
    if (chunks_ != nullptr) chunks_->previous = chunk;
    chunks_ = chunk;
    Chunk* filled = current_;
    current_ = chunk;
    next_ = reinterpret_cast<unsigned char*>(chunk) + RoundUp(sizeof(Chunk), kBlockAlign);
    end_ = reinterpret_cast<unsigned char*>(chunk) + kChunkBytes;
    // A chunk whose nodes were all freed while it was being filled can go now.
    if (filled != nullptr && filled->live == 0) release(filled);
  }
  void* block = next_;
  next_ += bytes;
  ++current_->live;
  return block;
}

void CNodeArena::free(void* block) {
  auto* chunk = reinterpret_cast<Chunk*>(reinterpret_cast<uintptr_t>(block) & ~(uintptr_t{kChunkBytes} - 1));
  if (--chunk->live != 0) return;
  if (chunk->arena == nullptr) {
    UnmapChunk(chunk);
  } else if (chunk != chunk->arena->current_) {
    chunk->arena->release(chunk);
  }
}

void CNodeArena::release(Chunk* chunk) {
  if (chunk->previous != nullptr) chunk->previous->next = chunk->next;
  else chunks_ = chunk->next;
  if (chunk->next != nullptr) chunk->next->previous = chunk->previous;
  UnmapChunk(chunk);
}

}  // namespace quillet::xml
