// Memory and time of the document tree: a document element with 999,999 child
// elements (1,000,000 elements in all), each with two attributes.
//
// Memory is counted by replacing the global operator new of this program: the bytes
// requested while a tree is built, plus what the document's node arena took from the
// system, divided by the number of nodes (the heap allocator's own overhead per block
// comes on top; the allocation counters show how many heap blocks).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "quillet/xml/DOM.h"
#include "xml/dom/NodeArena.h"

namespace {

std::atomic<size_t> gBytes{0};
std::atomic<size_t> gAllocations{0};

void* CountedAlloc(size_t size) {
  gBytes.fetch_add(size, std::memory_order_relaxed);
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t size) { return CountedAlloc(size); }
void* operator new[](size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

using namespace quillet::xml;

constexpr int kElements = 1000000;

// Builds the tree; attributes: 0 or 2 per element.
CDOMDocument* BuildTree(int attributes) {
  auto* doc = new CDOMDocument;
  CDOMElement* root = doc->createElement(u"root");
  doc->appendChild(root);
  if (attributes != 0) {
    root->setAttribute(u"id", u"12345");
    root->setAttribute(u"kind", u"folder");
  }
  for (int i = 1; i < kElements; ++i) {
    CDOMElement* element = doc->createElement(u"item");
    if (attributes != 0) {
      element->setAttribute(u"id", u"12345");
      element->setAttribute(u"kind", u"folder");
    }
    root->appendChild(element);
  }
  return doc;
}

struct Usage {
  size_t bytes;
  size_t allocations;
};

Usage Measure(int attributes) {
  const size_t bytes = gBytes.load() + CNodeArena::MappedBytes();
  const size_t allocations = gAllocations.load();
  CDOMDocument* doc = BuildTree(attributes);
  Usage usage{gBytes.load() + CNodeArena::MappedBytes() - bytes, gAllocations.load() - allocations};
  doc->release();
  return usage;
}

void BM_BytesPerNode(benchmark::State& state) {
  Usage bare{};
  Usage full{};
  for (auto _ : state) {
    bare = Measure(0);
    full = Measure(2);
  }
  state.counters["BytesPerElement"] = static_cast<double>(bare.bytes) / kElements;
  state.counters["AllocationsPerElement"] = static_cast<double>(bare.allocations) / kElements;
  state.counters["BytesPerAttribute"] = static_cast<double>(full.bytes - bare.bytes) / (2.0 * kElements);
  state.counters["AllocationsPerAttribute"] =
      static_cast<double>(full.allocations - bare.allocations) / (2.0 * kElements);
}
BENCHMARK(BM_BytesPerNode)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BuildAndRelease(benchmark::State& state) {
  for (auto _ : state) {
    CDOMDocument* doc = BuildTree(2);
    benchmark::DoNotOptimize(doc);
    doc->release();
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_BuildAndRelease)->Unit(benchmark::kMillisecond);

void BM_Release(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    CDOMDocument* doc = BuildTree(2);
    state.ResumeTiming();
    doc->release();
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_Release)->Unit(benchmark::kMillisecond);

}  // namespace
