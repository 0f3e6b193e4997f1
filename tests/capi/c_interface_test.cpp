// The C interface as its callers use it: a C program and Python's ctypes, each
// loading the shared library against a sandbox prefix with one installed title.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/ToolSandbox.h"

namespace {

using quillet::test::SandboxPrefix;
using quillet::test::ToolRun;
using quillet::test::ToolSandbox;

// Installs the title "Sample" below the folder Tools.
void InstallSample(const ToolSandbox& box) {
  ASSERT_EQ(box.initRun.exitCode, 0) << box.initRun.err;
  const ToolRun r = box.run({"install", "--id", "Sample", "--chm", "C:\\titles\\sample.chm", "--chi",
                             "C:\\titles\\sample.chi", "--folder", "Tools"});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
}

// In sanitizer builds a program that is not instrumented itself (Python) needs the
// sanitizer runtime preloaded before it loads the instrumented library.
std::string SanitizerEnvironment() {
  const std::string runtime = QUILLET_ASAN_RUNTIME;
  if (runtime.empty()) return "";
  // The interpreter's own leaks are not ours.
  return "LD_PRELOAD=" + quillet::test::ShellQuote(runtime) + " ASAN_OPTIONS=detect_leaks=0";
}

TEST(CInterface, ACProgramUsesEveryKindOfCall) {
  ToolSandbox box;
  InstallSample(box);
  // The C program is built with the sanitizers itself; it needs only the prefix.
  const ToolRun r = box.runWithPrefix(QUILLET_C_CALLER_PATH, {box.root().string(), "Sample"});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "all checks passed\n") << r.err;
}

class PythonCtypes : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v python3 >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "python3 is not installed: the ctypes example is not run";
  }
  const std::string script = std::string(QUILLET_SOURCE_DIR) + "/tests/capi/ctypes_example.py";
};

TEST_F(PythonCtypes, TheReadmeExampleListsTheInstalledTitleOrSaysWhatIsMissing) {
  {
    SandboxPrefix empty;
    std::filesystem::create_directories(empty.host("runs"));
    const ToolRun r = quillet::test::RunProgram(
        "python3", {script, QUILLET_SHARED_LIBRARY_PATH}, empty.host("runs"),
        "QUILLET_PREFIX=" + quillet::test::ShellQuote(empty.root().string()) + " " + SanitizerEnvironment());
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_EQ(r.err.rfind("cannot open the collection registry: code 9", 0), 0u) << r.err;
  }
  ToolSandbox box;
  InstallSample(box);
  const ToolRun r = box.runWithPrefix("python3", {script, QUILLET_SHARED_LIBRARY_PATH}, SanitizerEnvironment());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Tessaly QUILLET Version 1.0.0 - Build 002\nSample C:\\titles\\sample.chm\n") << r.err;
}

TEST(Readme, ShowsTheCtypesExampleAsTested) {
  const std::string readme = SandboxPrefix::ReadHostFile(std::string(QUILLET_SOURCE_DIR) + "/README.md");
  const std::string example =
      SandboxPrefix::ReadHostFile(std::string(QUILLET_SOURCE_DIR) + "/tests/capi/ctypes_example.py");
  ASSERT_FALSE(example.empty());
  EXPECT_NE(readme.find("```python\n" + example + "```\n"), std::string::npos)
      << "README.md must hold tests/capi/ctypes_example.py verbatim in a python block";
}

}  // namespace
