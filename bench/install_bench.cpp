// QuilletInstall and QuilletRemove against a registry of 10,000 titles and a default
// collection of 10,000 folders, in a Wine-style prefix made for the run. Each call
// reads both files whole, changes them and writes them back, so the time per call is
// dominated by loading and saving files of this size: BM_LoadAndSaveBothFiles is that
// cost alone, for comparison (a call should cost no more than 1.2 times it).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "quillet/xml/DOMDocument.h"
#include "xml/dom/loader/LoadDocument.h"
#include "xml/output/XMLSave.h"

namespace {

constexpr int kTitles = 10000;
constexpr int kRootFolders = 100;  // each with 99 sub-folders: 10,000 folders in all

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Registry() {
  std::string text =
      "<?xml version=\"1.0\"?>\r\n<HTMLHelpDocInfo>\r\n<NextCollectionId value=\"2\"/>\r\n<Collections>\r\n"
      "<Collection><ColNum value=\"1\"/><ColName value=\"C:\\windows\\Help\\bench.col\"/></Collection>\r\n"
      "</Collections>\r\n<DocCompilations>\r\n";
  for (int i = 0; i < kTitles; ++i) {
    const std::string id = "title" + std::to_string(i);
    text += "<DocCompilation><DocCompId value=\"" + id + "\"/><DocCompLanguage value=\"1033\"/><LocationHistory>"
            "<ColNum value=\"1\"/><TitleLocation value=\"C:\\help\\" + id + ".chm\"/><IndexLocation value=\"C:\\help\\" +
            id + ".chi\"/><LocationRef value=\"TESSALY-10-Local\"/></LocationHistory></DocCompilation>\r\n";
  }
  return text + "</DocCompilations>\r\n</HTMLHelpDocInfo>\r\n";
}

std::string Collection() {
  std::string text = "<?xml version=\"1.0\"?>\r\n<HTMLHelpCollection>\r\n<Folders>\r\n";
  for (int i = 0; i < kRootFolders; ++i) {
    text += "<Folder><TitleString value=\"Group" + std::to_string(i) + "\"/>";
    for (int j = 1; j < kTitles / kRootFolders; ++j)
      text += "<Folder><TitleString value=\"Sub" + std::to_string(j) + "\"/></Folder>";
    text += "</Folder>\r\n";
  }
  return text + "</Folders>\r\n</HTMLHelpCollection>\r\n";
}

// A prefix holding the registry settings, both files and a title's CHM and CHI files.
class BenchPrefix {
 public:
  BenchPrefix() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a prefix");
    root_ = pattern;
    WriteFile(root_ / "system.reg",
              "WINE REGISTRY Version 2\n\n"
              "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections] 1700000000\n"
              "\"Language\"=\"0x0409\"\n\n"
              "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections\\\\0x0409] 1700000000\n"
              "\"Preferred\"=\"Bench\"\n\n"
              "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections\\\\0x0409\\\\Bench] 1700000000\n"
              "\"Filename\"=\"C:\\\\windows\\\\Help\\\\bench.col\"\n");
    WriteFile(root_ / "drive_c/windows/Help/hhcolreg.dat", Registry());
    WriteFile(root_ / "drive_c/windows/Help/bench.col", Collection());
    WriteFile(root_ / "drive_c/help/new.chm", "chm");
    WriteFile(root_ / "drive_c/help/new.chi", "chi");
    quillet::platform::SetPrefix(root_.string());
  }
  ~BenchPrefix() {
    quillet::platform::SetPrefix("");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::filesystem::path helpFile(const char* name) const { return root_ / "drive_c/windows/Help" / name; }

 private:
  std::filesystem::path root_;
};

constexpr const char* kChm = "C:\\help\\new.chm";
constexpr const char* kChi = "C:\\help\\new.chi";

// Installing a title that is already there: the entry is found and rewritten, the
// folder path found, and both files saved; their size stays the same call after call.
void BM_InstallIntoLargeFiles(benchmark::State& state) {
  BenchPrefix prefix;
  if (QuilletInstall("Group50\\Sub50", kChm, kChi, "new") != QUILLET_OK) state.SkipWithError("install failed");
  for (auto _ : state) {
    const int code = QuilletInstall("Group50\\Sub50", kChm, kChi, "new");
    if (code != QUILLET_OK) state.SkipWithError("install failed");
  }
}
BENCHMARK(BM_InstallIntoLargeFiles)->Unit(benchmark::kMillisecond);

// Removing a title and its leaf folder; the title is put back outside the timing.
void BM_RemoveFromLargeFiles(benchmark::State& state) {
  BenchPrefix prefix;
  for (auto _ : state) {
    state.PauseTiming();
    if (QuilletInstall("Group50\\Sub50\\Bench", kChm, kChi, "new") != QUILLET_OK) state.SkipWithError("install failed");
    state.ResumeTiming();
    const int code = QuilletRemove("Group50\\Sub50\\Bench", "new");
    if (code != QUILLET_OK) state.SkipWithError("remove failed");
  }
}
BENCHMARK(BM_RemoveFromLargeFiles)->Unit(benchmark::kMillisecond);

// Loading both files and saving each back in place, once: what a call cannot avoid.
void BM_LoadAndSaveBothFiles(benchmark::State& state) {
  BenchPrefix prefix;
  std::u16string paths[2];
  int i = 0;
  for (const char* name : {"hhcolreg.dat", "bench.col"}) {
    const std::string path = prefix.helpFile(name).string();
    paths[i++] = std::u16string(path.begin(), path.end());  // the temporary folder's name is ASCII
  }
  for (auto _ : state) {
    for (const std::u16string& path : paths) {
      quillet::xml::XMLDeclInfo info;
      quillet::xml::LoadResult loaded = quillet::xml::LoadDocumentFile(path, info);
      if (!loaded || !quillet::xml::WriteDocumentFile(loaded.document.get(), path, info).ok()) {
        state.SkipWithError("load or save failed");
      }
    }
  }
}
BENCHMARK(BM_LoadAndSaveBothFiles)->Unit(benchmark::kMillisecond);

}  // namespace
