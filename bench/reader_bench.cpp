// Throughput of the reader with handlers that do nothing, on generated documents:
// a large collection registry (many small elements with attributes) and a text-heavy
// document (long runs of character data with line ends and references), in UTF-8 and,
// as the registry may be saved, in UTF-16.
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

// `doc`, ASCII with a UTF-8 declaration, as UTF-16 little-endian with a byte-order mark.
std::string Utf16(const std::string& doc) {
  std::string wide = "\xFF\xFE";
  const std::string from = "encoding=\"UTF-8\"";
  std::string text = doc;
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), "encoding=\"UTF-16\"");
  for (char c : text) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

void BM_ReadRegistryUtf16(benchmark::State& state) {
  static const std::string doc = Utf16(RegistryDocument(30));
  RunReader(state, doc);
}
BENCHMARK(BM_ReadRegistryUtf16)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadTextUtf16(benchmark::State& state) {
  static const std::string doc = Utf16(TextDocument(30));
  RunReader(state, doc);
}
BENCHMARK(BM_ReadTextUtf16)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
