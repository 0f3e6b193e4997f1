// Where a document's nodes live: blocks cut from 64 KiB chunks, one after another, so
// that a node costs its own size and nothing more (no allocator header, no rounding up)
// and a load makes one system call per chunk instead of one allocation per node.
//
// A chunk is aligned to its size, so a node finds its chunk from its own address, and
// each chunk counts the nodes still alive in it. Freeing a node only counts down; the
// chunk goes back to the system when its count reaches 0 and the chunk is no longer
// the one being filled, or once the document is gone. Nodes therefore may outlive
// their document (a node taken out of the tree belongs to whoever holds it), and the
// memory of a freed node is not reused until its whole chunk is free.
#ifndef QUILLET_XML_DOM_NODEARENA_H
#define QUILLET_XML_DOM_NODEARENA_H

#include <cstddef>
#include <cstdint>

namespace quillet::xml {

class CNodeArena {
 public:
  static constexpr size_t kChunkBytes = 65536;
  // The most a node and its text may take together; a longer text is kept apart.
  static constexpr size_t kMaxBlockBytes = 4096;

  CNodeArena() = default;
  ~CNodeArena();
  CNodeArena(const CNodeArena&) = delete;
  CNodeArena& operator=(const CNodeArena&) = delete;

  // A block of `bytes` (at most kMaxBlockBytes), aligned for any node. Throws
  // std::bad_alloc when the system has no memory.
  void* allocate(size_t bytes);
  // Counts the node at `block` out of its chunk.
  static void free(void* block);
  // Whether two addresses lie in one chunk: a node's text stored with it does.
  static bool sameChunk(const void* a, const void* b) {
    return (reinterpret_cast<uintptr_t>(a) ^ reinterpret_cast<uintptr_t>(b)) < kChunkBytes;
  }

 private:
  struct Chunk;
  void release(Chunk* chunk);

  Chunk* chunks_ = nullptr;  // every chunk with live nodes, and the one being filled
  Chunk* current_ = nullptr;
  unsigned char* next_ = nullptr;  // free space of current_
  unsigned char* end_ = nullptr;
};

}  // namespace quillet::xml

#endif
