// Running the quillet program from a test, as a user runs it from a shell.
#ifndef QUILLET_TESTS_SUPPORT_RUNTOOL_H
#define QUILLET_TESTS_SUPPORT_RUNTOOL_H

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/SandboxPrefix.h"

namespace quillet::test {

struct ToolRun {
  int exitCode;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs the program with `arguments` (each quoted for the shell) after the shell
// assignments in `environment`; its standard output and error go through the files
// `dir`/out and `dir`/err.
inline ToolRun RunTool(const std::vector<std::string>& arguments, const std::filesystem::path& dir,
                       const std::string& environment = "") {
  std::string command = environment + " '" + std::string(QUILLET_TOOL_PATH) + "'";
  for (const auto& a : arguments) command += " '" + a + "'";
  command += " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, SandboxPrefix::ReadHostFile(dir / "out"),
          SandboxPrefix::ReadHostFile(dir / "err")};
}

}  // namespace quillet::test

#endif
