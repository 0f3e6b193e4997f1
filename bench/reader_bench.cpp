// Throughput of the reader with handlers that do nothing, on generated documents:
// a large collection registry (many small elements with attributes) and a text-heavy
// document (long runs of character data with line ends and references).
#include <benchmark/benchmark.h>

#include <string>

#include "BenchDocuments.h"
#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXReader.h"

namespace {

using namespace quillet::xml;
using quillet::bench::RegistryDocument;
using quillet::bench::TextDocument;

void RunReader(benchmark::State& state, const std::string& doc) {
  CSAXContentHandler content;  // every operation does nothing
  CSAXReader reader;
  reader.setContentHandler(&content);
  for (auto _ : state) {
    CMemoryByteSource source(doc.data(), doc.size());
    reader.parse(source, false);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.size()));
}

void BM_ReadRegistry(benchmark::State& state) {
  static const std::string doc = RegistryDocument(30);
  RunReader(state, doc);
}
BENCHMARK(BM_ReadRegistry)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadText(benchmark::State& state) {
  static const std::string doc = TextDocument(30);
  RunReader(state, doc);
}
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
