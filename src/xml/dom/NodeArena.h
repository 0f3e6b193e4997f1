// Where a document's nodes live: blocks cut one after another from 64 KiB chunks, so
// that a node costs its own size and nothing more (no allocator header, no rounding up)
// and a load asks the system for memory a few times instead of once per node.
//
// Chunks come in regions, one mapping of the system's each, whose size doubles from one
// chunk up to kMaxRegionChunks: a small document maps little, a large one makes few
// system calls (each mapping and unmapping costs a flush of the address translations).
// Every chunk starts with a pointer to its region and is aligned to its size, so a node
// finds its region from its own address. A region counts the nodes still alive in it.
// Freeing a node only counts down; the region goes back to the system when its count
// reaches 0 and it is no longer the one being filled, or once the document is gone.
// Nodes therefore may outlive their document (a node taken out of the tree belongs to
// whoever holds it), and the memory of a freed node is not reused until its whole
// region is free.
#ifndef QUILLET_XML_DOM_NODEARENA_H
#define QUILLET_XML_DOM_NODEARENA_H

#include <cstddef>
#include <cstdint>

namespace quillet::xml {

class CNodeArena {
 public:
  static constexpr size_t kChunkBytes = 65536;
  static constexpr size_t kMaxRegionChunks = 64;
  // The most a node and its text may take together; a longer text is kept apart.
  static constexpr size_t kMaxBlockBytes = 4096;

  // `owner` is what ownerOf answers for every block of this arena (the document).
  explicit CNodeArena(void* owner) : owner_(owner) {}
  ~CNodeArena();
  CNodeArena(const CNodeArena&) = delete;
  CNodeArena& operator=(const CNodeArena&) = delete;

  // A block of `bytes` (at most kMaxBlockBytes), aligned for any node. Throws
  // std::bad_alloc when the system has no memory.
  void* allocate(size_t bytes) {
    bytes = (bytes + kBlockAlign - 1) & ~(kBlockAlign - 1);
    if (static_cast<size_t>(end_ - next_) < bytes) nextChunk();
    void* block = next_;
    next_ += bytes;
    ++*currentLive_;
    return block;
  }
  // Counts the node at `block` out of its region.
  static void free(void* block);
  // The owner of the arena that made `block`; null once that arena is gone.
  static void* ownerOf(const void* block);
  // The bytes every arena of the process holds from the system right now (for the
  // benchmarks, which count the heap otherwise).
  static size_t MappedBytes();
  // Whether two addresses lie in one chunk: a node's text stored with it does.
  static bool sameChunk(const void* a, const void* b) {
    return (reinterpret_cast<uintptr_t>(a) ^ reinterpret_cast<uintptr_t>(b)) < kChunkBytes;
  }

 private:
  // Nodes hold pointers and texts 16-bit units: pointer alignment serves them all,
  // and a block rounded up no further wastes nothing on the variable-sized ones.
  static constexpr size_t kBlockAlign = alignof(void*);
  struct Region;
  // Moves on to the next chunk of the current region, or to a new region.
  void nextChunk();
  void release(Region* region);
  // The region pointer at the start of the chunk that holds `address`.
  static Region*& RegionOf(const void* address);

  void* const owner_;
  Region* regions_ = nullptr;  // every region with live nodes, and the one being filled
  Region* current_ = nullptr;
  size_t* currentLive_ = nullptr;     // current_'s count of live nodes
  unsigned char* next_ = nullptr;     // free space of the chunk being filled
  unsigned char* end_ = nullptr;
  unsigned char* regionEnd_ = nullptr;  // the end of current_'s chunks
  size_t nextRegionChunks_ = 1;
};

}  // namespace quillet::xml

#endif
