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

}  // namespace quillet::test

#endif
