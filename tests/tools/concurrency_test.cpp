// Many installers and removers at once, and installers killed at any moment: no change is lost,
// no file is damaged, and nothing is left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "support/ToolSandbox.h"

namespace {

using quillet::test::ShellQuote;
using quillet::test::ToolRun;
using quillet::test::ToolSandbox;

class Concurrency : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(box.initRun.exitCode, 0) << box.initRun.err; }

  // The shell command that runs the tool on the sandbox with `arguments`.
  std::string tool(const std::string& arguments) const {
    return ShellQuote(QUILLET_TOOL_PATH) + " --prefix " + ShellQuote(box.root().string()) + " " + arguments;
  }
  std::string install(const std::string& id, const std::string& folder) const {
    return tool("install --quiet --id " + id + " --chm 'C:\\titles\\sample.chm' --chi 'C:\\titles\\sample.chi'"
                " --folder " + folder);
  }

  // Runs the shell `script`; its standard error goes to the test's output.
  static int Shell(const std::string& script) { return std::system(("/bin/sh -c " + ShellQuote(script)).c_str()); }

  // The ids the registry lists, and the titles ("=id") the collection holds.
  std::set<std::string> registryIds() const {
    std::set<std::string> ids;
    std::istringstream lines(box.run({"titles"}).out);
    for (std::string line; std::getline(lines, line);) {
      const size_t start = line.find("\"id\":\"") + 6;
      ids.insert(line.substr(start, line.find('"', start) - start));
    }
    return ids;
  }
  std::set<std::string> collectionIds() const {
    std::set<std::string> ids;
    std::istringstream lines(box.run({"folders"}).out);
    for (std::string line; std::getline(lines, line);) {
      const size_t equals = line.find('=');
      if (equals != std::string::npos) ids.insert(line.substr(equals + 1));
    }
    return ids;
  }

  ToolSandbox box;
};

// Installers race each other into one folder while removers take other titles away.
TEST_F(Concurrency, InstallersAndRemoversTogetherLoseNothing) {
  std::string setup;
  std::set<std::string> old, fresh;
  for (int p = 0; p < 4; ++p)
    for (int i = 0; i < 25; ++i) old.insert("Old" + std::to_string(p) + "_" + std::to_string(i));
  for (const std::string& id : old) setup += install(id, "Old\\\\" + id) + " && ";
  ASSERT_EQ(Shell(setup + "true"), 0);
  ASSERT_EQ(registryIds(), old);

  std::string script;
  for (int p = 0; p < 4; ++p) {
    std::string installs, removes;
    for (int i = 0; i < 25; ++i) {
      const std::string n = std::to_string(p) + "_" + std::to_string(i);
      installs += install("New" + n, "New") + " || echo FAILED >&2; ";
      removes += tool("remove --quiet --id Old" + n + " --folder 'Old\\Old" + n + "'") + " || echo FAILED >&2; ";
      fresh.insert("New" + n);
    }
    script += "( " + installs + ") & ( " + removes + ") & ";
  }
  ASSERT_EQ(Shell(script + "wait"), 0);
  EXPECT_EQ(registryIds(), fresh);
  EXPECT_EQ(collectionIds(), fresh);
}

// SIGKILL at random moments of an install and remove loop: each file is always
// whole and loads, and the temporaries the killed saves left are cleaned up by the
// next save of their file.
TEST_F(Concurrency, KilledInstallersDamageNothing) {
  std::string loop = "while true; do ";
  for (int i = 0; i < 4; ++i) {
    const std::string id = "K" + std::to_string(i);
    loop += install(id, "Kill\\\\" + id) + "; " + tool("remove --quiet --id " + id + " --folder Kill") + "; ";
  }
  loop += "done";
  std::mt19937 random(20261206);
  for (int kill = 0; kill < 50; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      setpgid(0, 0);
      execl("/bin/sh", "sh", "-c", (loop + " >/dev/null 2>&1").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    setpgid(child, child);
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 120));
    ::kill(-child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    // Whatever was killed where, both files load.
    const ToolRun titles = box.run({"titles"});
    const ToolRun folders = box.run({"folders"});
    ASSERT_EQ(titles.exitCode, 0) << "after kill " << kill << ": " << titles.err;
    ASSERT_EQ(folders.exitCode, 0) << "after kill " << kill << ": " << folders.err;
  }
  // A save cleans up what is older than its lock: wait past the clock's second.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  ASSERT_EQ(Shell(install("After", "After")), 0);
  for (const std::string& name : box.names("drive_c/windows/Help"))
    EXPECT_EQ(name.find(".qtmp"), std::string::npos) << name;
  EXPECT_EQ(registryIds().count("After"), 1u);
}

}  // namespace
