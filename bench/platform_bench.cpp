// The costs of the Wine-prefix backend that every exported call pays: indexing a
// prefix's system.reg, opening a key of an unchanged file, and mapping a Windows path
// whose components differ in case from the host's.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Platform.h"
#include "platform/portable/WineRegistry.h"

namespace {

namespace platform = quillet::platform;

// A system.reg about the size of a fresh Wine prefix's (some 20000 keys), with HTML
// Help's keys among them.
std::string syntheticSystemReg() {
  std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n";
  for (int i = 0; i < 20000; ++i) {
    const std::string n = std::to_string(i);
    text += "[Software\\\\Classes\\\\CLSID\\\\{" + n + "-0000-0000-C000-000000000046}] 1700000000\n";
    text += "#time=1d9a0c0a1b2c3d4\n@=\"Component " + n + "\"\n\"ThreadingModel\"=\"Both\"\n";
    text += "\"Flags\"=dword:0000000" + std::to_string(i % 10) + "\n\n";
  }
  text += "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections] 1700000000\n";
  text += "\"Language\"=\"0x0409\"\n";
  return text;
}

class Prefix {
 public:
  Prefix() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    std::filesystem::create_directories(root_ / "drive_c" / "windows" / "Help");
    std::ofstream(root_ / "drive_c" / "windows" / "Help" / "hhcolreg.dat") << "x";
    std::ofstream(root_ / "system.reg", std::ios::binary) << syntheticSystemReg();
    platform::SetPrefix(root_.string());
  }
  ~Prefix() {
    platform::SetPrefix("");
    std::filesystem::remove_all(root_);
  }

 private:
  std::filesystem::path root_;
};

void BM_IndexSystemReg(benchmark::State& state) {
  const std::string text = syntheticSystemReg();
  for (auto _ : state) benchmark::DoNotOptimize(platform::WineRegistry::parse(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_IndexSystemReg)->Unit(benchmark::kMillisecond);

void BM_OpenKeyOfUnchangedFile(benchmark::State& state) {
  Prefix prefix;
  char language[1024];
  for (auto _ : state) {
    auto key = platform::OpenLocalMachineKey("SOFTWARE\\Microsoft\\HTML Help Collections\\Developer Collections");
    benchmark::DoNotOptimize(key && key->queryValue("Language", language, sizeof language));
  }
}
BENCHMARK(BM_OpenKeyOfUnchangedFile)->Unit(benchmark::kMicrosecond);

void BM_HostPathIgnoringCase(benchmark::State& state) {
  Prefix prefix;
  for (auto _ : state) benchmark::DoNotOptimize(platform::HostPath("C:\\WINDOWS\\HELP\\HHCOLREG.DAT"));
}
BENCHMARK(BM_HostPathIgnoringCase)->Unit(benchmark::kMicrosecond);

}  // namespace
