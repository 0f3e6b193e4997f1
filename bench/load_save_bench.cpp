// Loading a file into a tree and saving a tree to a file, on the generated registry
// and text documents: throughput (bytes of the file per second) and the peak of
// memory a load takes, as a counter per byte of input. Saving is measured in each
// encoding the writer has a loop of its own for: UTF-8, UTF-16 and the "<XML>" form.
//
// Heap use is counted by replacing the global operator new of this program; the
// document's node arena, which only grows during a load, is counted at its end.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "BenchDocuments.h"
#include "quillet/xml/DOM.h"
#include "quillet/xml/XMLDeclInfo.h"
#include "xml/dom/NodeArena.h"
#include "xml/dom/loader/LoadDocument.h"
#include "xml/output/XMLSave.h"

namespace {

// Each block carries its size in front of it, so that frees can be counted too.
constexpr size_t kHeader = alignof(std::max_align_t);
std::atomic<size_t> gLive{0};
std::atomic<size_t> gPeak{0};

void* CountedAlloc(size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block) = size;
  const size_t live = gLive.fetch_add(size, std::memory_order_relaxed) + size;
  size_t peak = gPeak.load(std::memory_order_relaxed);
  while (live > peak && !gPeak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
  return block + kHeader;
}

void CountedFree(void* p) noexcept {
  if (p == nullptr) return;
  unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
  gLive.fetch_sub(*reinterpret_cast<size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

void* operator new(size_t size) { return CountedAlloc(size); }
void* operator new[](size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, size_t) noexcept { CountedFree(p); }

namespace {

using namespace quillet::xml;

constexpr size_t kMegabytes = 20;

// A generated document written once to a file in the temporary folder.
class BenchFile {
 public:
  BenchFile(const char* name, const std::string& bytes)
      : path_(std::filesystem::temp_directory_path() / name), size_(bytes.size()) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~BenchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::u16string path() const {
    const std::string text = path_.string();
    return std::u16string(text.begin(), text.end());  // the temporary folder's name is ASCII
  }
  size_t size() const { return size_; }

 private:
  std::filesystem::path path_;
  size_t size_;
};

const BenchFile& Registry() {
  static const BenchFile file("quillet_bench_registry.xml", quillet::bench::RegistryDocument(kMegabytes));
  return file;
}

const BenchFile& Text() {
  static const BenchFile file("quillet_bench_text.xml", quillet::bench::TextDocument(kMegabytes));
  return file;
}

void Load(benchmark::State& state, const BenchFile& file) {
  size_t peak = 0;
  for (auto _ : state) {
    const size_t before = gLive.load();
    const size_t arenaBefore = CNodeArena::MappedBytes();
    gPeak.store(before);
    XMLDeclInfo info;
    CDOMDocument* doc = LoadDocument(file.path(), info);
    if (doc == nullptr) {
      state.SkipWithError("the generated document did not load");
      return;
    }
    peak = gPeak.load() - before + CNodeArena::MappedBytes() - arenaBefore;
    doc->release();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
  state.counters["PeakMB"] = static_cast<double>(peak) / 1e6;
  state.counters["PeakPerInputByte"] = static_cast<double>(peak) / static_cast<double>(file.size());
}

// Saves the loaded `file` in `encoding` (empty: the file's own).
void Save(benchmark::State& state, const BenchFile& file, const char16_t* encoding = u"") {
  XMLDeclInfo info;
  CDOMDocument* doc = LoadDocument(file.path(), info);
  if (doc == nullptr) {
    state.SkipWithError("the generated document did not load");
    return;
  }
  if (*encoding != 0) info.encoding = encoding;
  const std::filesystem::path out = std::filesystem::temp_directory_path() / "quillet_bench_saved.xml";
  const std::string outText = out.string();
  const std::u16string outPath(outText.begin(), outText.end());
  for (auto _ : state) {
    if (!WriteDocumentFile(doc, outPath, info).ok()) {
      state.SkipWithError("the save failed");
      break;
    }
  }
  std::error_code ignored;
  const auto written = std::filesystem::file_size(out, ignored);
  std::filesystem::remove(out, ignored);
  doc->release();
  // Bytes of the file written, which the layout makes larger than the input.
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}

// One element with state.range(0) attributes, each declaring a namespace prefix that
// the next one uses: the time per attribute must not grow with their number.
void BM_LoadManyAttributes(benchmark::State& state) {
  const auto count = static_cast<size_t>(state.range(0));
  std::string text = "<r";
  for (size_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    text += " xmlns:p" + n + "=\"u" + n + "\" " + (i > 0 ? "p" + std::to_string(i - 1) : std::string("q")) +
            ":a" + n + "=\"v\"";
  }
  text += " a0=\"repeated\" a0=\"last wins\"/>";
  const BenchFile file("quillet_bench_attributes.xml", text);
  for (auto _ : state) {
    XMLDeclInfo info;
    CDOMDocument* doc = LoadDocument(file.path(), info);
    if (doc == nullptr) {
      state.SkipWithError("the generated document did not load");
      return;
    }
    doc->release();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count * 2));  // attributes read
}

void BM_LoadRegistry(benchmark::State& state) { Load(state, Registry()); }
void BM_LoadText(benchmark::State& state) { Load(state, Text()); }
void BM_SaveRegistry(benchmark::State& state) { Save(state, Registry()); }
void BM_SaveText(benchmark::State& state) { Save(state, Text()); }
void BM_SaveRegistryUtf16(benchmark::State& state) { Save(state, Registry(), u"UTF-16"); }
void BM_SaveTextUtf16(benchmark::State& state) { Save(state, Text(), u"UTF-16"); }
void BM_SaveRegistryXmlForm(benchmark::State& state) { Save(state, Registry(), kCompatibilityEncoding); }

BENCHMARK(BM_LoadManyAttributes)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRegistry)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveRegistry)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveRegistryUtf16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveTextUtf16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveRegistryXmlForm)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
