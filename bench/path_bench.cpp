// Path queries on the generated collection registry: finding a title entry by its id
// the way callers do (//DocCompilation[DocCompId/@value = 'x']), with and without the
// leading "//", through a deeper predicate, and plain selections and tests. The
// registry is loaded once; items are the title entries a query filters.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchDocuments.h"
#include "quillet/xml/DOM.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/LoadDocument.h"

namespace {

using namespace quillet::xml;

constexpr size_t kMegabytes = 10;

struct Registry {
  Registry() {
    const std::string bytes = quillet::bench::RegistryDocument(kMegabytes);
    XMLDeclInfo info;
    doc = LoadDocumentFromMemory(bytes.data(), bytes.size(), info).document.release();
    CDOMNodeList* list = doc->getElementsByTagName(u"DocCompilation");
    entries = list->getLength();
    list->release();
  }
  ~Registry() { doc->release(); }

  CDOMDocument* doc = nullptr;
  size_t entries = 0;
};

const Registry& TheRegistry() {
  static const Registry registry;
  return registry;
}

// Selects path from the document each iteration; expects `expected` nodes.
void RunSelect(benchmark::State& state, const std::u16string& path, size_t expected) {
  const Registry& registry = TheRegistry();
  for (auto _ : state) {
    CDOMNodeList* list = registry.doc->selectNodes(path.c_str());
    if (list == nullptr || list->getLength() != expected) {
      state.SkipWithError("the query did not select what it should");
      if (list != nullptr) list->release();
      break;
    }
    list->release();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * registry.entries));
}

// The id of the entry in the middle of the registry.
std::u16string MiddleId() { return U16FromAscii(("title_" + std::to_string(TheRegistry().entries / 2)).c_str()); }

void BM_FindTitleById(benchmark::State& state) {
  RunSelect(state, u"//DocCompilation[DocCompId/@value = '" + MiddleId() + u"']", 1);
}
BENCHMARK(BM_FindTitleById)->Unit(benchmark::kMillisecond);

void BM_FindTitleByIdFromTheRoot(benchmark::State& state) {
  RunSelect(state, u"/HTMLHelpDocInfo/DocCompilations/DocCompilation[DocCompId/@value = '" + MiddleId() + u"']", 1);
}
BENCHMARK(BM_FindTitleByIdFromTheRoot)->Unit(benchmark::kMillisecond);

void BM_FindTitleByLocation(benchmark::State& state) {
  const std::string chm = "C:\\Program Files\\Vendor\\Help\\title_" + std::to_string(TheRegistry().entries / 2) + ".chm";
  RunSelect(state, u"//DocCompilation[LocationHistory/TitleLocation/@value = '" + U16FromAscii(chm.c_str()) + u"']", 1);
}
BENCHMARK(BM_FindTitleByLocation)->Unit(benchmark::kMillisecond);

void BM_FindTitlesByLanguageAndPosition(benchmark::State& state) {
  RunSelect(state, u"//DocCompilation[DocCompLanguage/@value = 1033 and position() > last() - 10]", 10);
}
BENCHMARK(BM_FindTitlesByLanguageAndPosition)->Unit(benchmark::kMillisecond);

void BM_SelectEveryTitleId(benchmark::State& state) {
  RunSelect(state, u"//DocCompilation/DocCompId/@value", TheRegistry().entries);
}
BENCHMARK(BM_SelectEveryTitleId)->Unit(benchmark::kMillisecond);

// One title entry tested against an expression, as a caller walking the entries does
// (with the position given: testExpression would count the thousands of siblings).
void BM_TestOneTitle(benchmark::State& state) {
  CDOMNode* entry = TheRegistry().doc->selectSingleNode(u"//DocCompilation[2]");
  const int size = static_cast<int>(TheRegistry().entries);
  bool result = false;
  for (auto _ : state) {
    const int status = entry->testExpressionAt(
        u"DocCompId/@value = 'title_1' and DocCompLanguage/@value = 1033 and position() = 2", result, size, 2);
    if (status < 0 || !result) {
      state.SkipWithError("the test failed");
      break;
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_TestOneTitle);

}  // namespace
