// Running the quillet program from a test, as a user runs it from a shell.
#ifndef QUILLET_TESTS_SUPPORT_RUNTOOL_H
#define QUILLET_TESTS_SUPPORT_RUNTOOL_H

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/SandboxPrefix.h"

namespace quillet::test {

struct ToolRun {
  int exitCode;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// A run as a failure message shows it.
inline std::string Describe(const ToolRun& r) {
  return "exit " + std::to_string(r.exitCode) + "\nstdout:\n" + r.out + "\nstderr:\n" + r.err;
}

// Quotes one argument for the shell, single quotes inside it included.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `program` with `arguments` (each quoted for the shell) after the shell
// assignments in `environment`; its standard output and error go through the files
// `dir`/out and `dir`/err.
inline ToolRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& dir, const std::string& environment = "") {
  std::string command = environment + " " + ShellQuote(program);
  for (const auto& a : arguments) command += " " + ShellQuote(a);
  command += " >" + ShellQuote((dir / "out").string()) + " 2>" + ShellQuote((dir / "err").string()) + " </dev/null";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, SandboxPrefix::ReadHostFile(dir / "out"),
          SandboxPrefix::ReadHostFile(dir / "err")};
}

// The quillet program, run as RunProgram runs a program.
inline ToolRun RunTool(const std::vector<std::string>& arguments, const std::filesystem::path& dir,
                       const std::string& environment = "") {
  return RunProgram(QUILLET_TOOL_PATH, arguments, dir, environment);
}

// A fresh folder of the test's own below the work directory: the files it writes and
// the runs' captured output.
class ToolFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::path(QUILLET_TEST_WORK_DIR) / "tool" / (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }

  std::string path(const std::string& name) const { return (dir / name).string(); }
  std::string read(const std::string& name) const { return SandboxPrefix::ReadHostFile(dir / name); }
  void write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories((dir / name).parent_path());
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  ToolRun tool(const std::vector<std::string>& arguments, const std::string& environment = "") const {
    return RunTool(arguments, dir, environment);
  }

  std::filesystem::path dir;
};

}  // namespace quillet::test

#endif
