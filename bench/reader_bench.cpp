// Throughput of the reader with handlers that do nothing, on generated documents:
// a large collection registry (many small elements with attributes) and a text-heavy
// document (long runs of character data with line ends and references).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXReader.h"

namespace {

using namespace quillet::xml;

// About `megabytes` MB of a registry shaped like hhcolreg.dat.
std::string RegistryDocument(std::size_t megabytes) {
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HTMLHelpDocInfo>\r\n<Collections>\r\n"
                    "\t<Collection>\r\n\t\t<ColNum value=\"1\"/>\r\n\t\t<ColName value=\"C:\\windows\\Help\\x.col\"/>"
                    "\r\n\t</Collection>\r\n</Collections>\r\n<DocCompilations>\r\n";
  char entry[1024];
  for (unsigned n = 0; doc.size() < megabytes * 1000000; ++n) {
    std::snprintf(entry, sizeof entry,
                  "\t<DocCompilation>\r\n\t\t<DocCompId value=\"title_%u\"/>\r\n"
                  "\t\t<DocCompLanguage value=\"1033\"/>\r\n\t\t<LocationHistory>\r\n"
                  "\t\t\t<ColNum value=\"1\"/>\r\n"
                  "\t\t\t<TitleLocation value=\"C:\\Program Files\\Vendor\\Help\\title_%u.chm\"/>\r\n"
                  "\t\t\t<IndexLocation value=\"C:\\Program Files\\Vendor\\Help\\title_%u.chi\"/>\r\n"
                  "\t\t\t<QueryLocation value=\"\"/>\r\n\t\t\t<LocationRef value=\"\"/>\r\n"
                  "\t\t\t<Version value=\"%u\"/>\r\n\t\t\t<LastPromptedVersion value=\"0\"/>\r\n"
                  "\t\t\t<TitleSampleLocation value=\"\"/>\r\n\t\t\t<TitleQueryLocation value=\"\"/>\r\n"
                  "\t\t\t<SupportsMerge value=\"0\"/>\r\n\t\t</LocationHistory>\r\n\t</DocCompilation>\r\n",
                  n, n, n, 1000000u + n);
    doc += entry;
  }
  doc += "</DocCompilations>\r\n</HTMLHelpDocInfo>\r\n";
  return doc;
}

// About `megabytes` MB of paragraphs of prose.
std::string TextDocument(std::size_t megabytes) {
  std::string doc = "<?xml version=\"1.0\"?>\n<book>\n";
  const std::string sentence =
      "The quick brown fox jumps over the lazy dog &amp; keeps running\n    across the field, "
      "past the barn and the old mill, until the sun goes down. ";
  while (doc.size() < megabytes * 1000000) {
    doc += "  <p>";
    for (int i = 0; i < 20; ++i) doc += sentence;
    doc += "</p>\n";
  }
  doc += "</book>\n";
  return doc;
}

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
