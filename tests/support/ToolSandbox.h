// A sandbox prefix made a working HTML Help environment by the tool's own `init`, as a
// user would make one, with two placeholder title files: C:\titles\sample.chm and
// C:\titles\sample.chi. Like every SandboxPrefix it is also the library's prefix in
// this process while it lives.
#ifndef QUILLET_TESTS_SUPPORT_TOOLSANDBOX_H
#define QUILLET_TESTS_SUPPORT_TOOLSANDBOX_H

#include <filesystem>
#include <string>
#include <vector>

#include "support/RunTool.h"
#include "support/SandboxPrefix.h"

namespace quillet::test {

class ToolSandbox : public SandboxPrefix {
 public:
  ToolSandbox() {
    std::filesystem::create_directories(runDir());
    initRun = run({"init"});
    writeFile("drive_c/titles/sample.chm", "placeholder CHM");
    writeFile("drive_c/titles/sample.chi", "placeholder CHI");
  }

  // Runs the tool on this prefix.
  ToolRun run(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"--prefix", root().string()});
    return RunTool(arguments, runDir());
  }

  // Installs the sample title as `id` below `folder`, with `more` options.
  ToolRun install(const std::string& id, const std::string& folder, const std::vector<std::string>& more = {}) const {
    std::vector<std::string> args{"install", "--id", id, "--chm", kChm, "--chi", kChi, "--folder", folder};
    args.insert(args.end(), more.begin(), more.end());
    return run(args);
  }

  // A program that loads the library, run with this prefix in its environment.
  ToolRun runWithPrefix(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& moreEnvironment = "") const {
    return RunProgram(program, arguments, runDir(),
                      "QUILLET_PREFIX=" + ShellQuote(root().string()) + " " + moreEnvironment);
  }

  // Where the tool's output is caught; not a part of the Windows file system.
  std::filesystem::path runDir() const { return host("runs"); }

  std::string registry() const { return readFile(kRegistry); }
  std::string collection() const { return readFile(kCollection); }

  // The files init made, as host paths relative to the prefix, and the sample title.
  static constexpr const char* kRegistry = "drive_c/windows/Help/hhcolreg.dat";
  static constexpr const char* kCollection = "drive_c/windows/Help/quillet.col";
  static constexpr const char* kChm = "C:\\titles\\sample.chm";
  static constexpr const char* kChi = "C:\\titles\\sample.chi";

  ToolRun initRun;
};

}  // namespace quillet::test

#endif
