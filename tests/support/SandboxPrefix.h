// A throw-away Wine-style prefix for tests: a fresh directory with drive_c/windows/Help
// and a system.reg with no keys, made the platform layer's prefix for the fixture's
// lifetime and removed afterwards.
#ifndef QUILLET_TESTS_SUPPORT_SANDBOXPREFIX_H
#define QUILLET_TESTS_SUPPORT_SANDBOXPREFIX_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

#include "platform/Platform.h"

namespace quillet::test {

class SandboxPrefix {
 public:
  SandboxPrefix() {
    std::filesystem::path base = QUILLET_TEST_WORK_DIR;
    std::filesystem::create_directories(base);
    std::string pattern = (base / "prefix-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a sandbox prefix in " + base.string());
    root_ = pattern;
    std::filesystem::create_directories(root_ / "drive_c" / "windows" / "Help");
    writeSystemReg("");
    platform::SetPrefix(root_.string());
  }
  ~SandboxPrefix() {
    platform::SetPrefix("");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  SandboxPrefix(const SandboxPrefix&) = delete;
  SandboxPrefix& operator=(const SandboxPrefix&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // A host path below the prefix ("drive_c/windows/Help/hhcolreg.dat").
  std::filesystem::path host(const std::string& relative) const { return root_ / relative; }

  // Writes a file below the prefix, making its directories; bytes as given.
  void writeFile(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path path = host(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
  }

  // The names in a folder below the prefix, to see that nothing (a temporary file, say)
  // was left behind.
  std::set<std::string> names(const std::string& relative) const {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(host(relative))) {
      found.insert(entry.path().filename().string());
    }
    return found;
  }

  // The whole content of a file below the prefix ("" when it cannot be read).
  std::string readFile(const std::string& relative) const { return ReadHostFile(host(relative)); }

  // Writes system.reg: the header line, then `body` (key sections in Wine's format).
  void writeSystemReg(const std::string& body) const {
    writeFile("system.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n" + body);
  }

  // Makes the prefix's ANSI code page `codePage`, as Wine records it, after the keys
  // system.reg holds.
  void setCodePage(int codePage) const {
    writeFile("system.reg", readFile("system.reg") + "\n[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\CodePage] "
                                                     "1700000000\n\"ACP\"=\"" + std::to_string(codePage) + "\"\n");
  }

  // Makes `windowsPath` the developer's default collection file in system.reg (the
  // language "0x0409", its preferred collection "Developer"), replacing the registry
  // written before. The file itself is not made.
  void nameDefaultCollection(const std::string& windowsPath = "C:\\windows\\Help\\quillet.col") const {
    writeSystemReg(DeveloperCollections("0x0409", "Developer", "Developer", windowsPath));
  }

  // Key sections naming a default collection file: a "Language", that language's
  // key with a "Preferred" collection (left out when `preferred` is empty) and the
  // collection's key with its "Filename".
  static std::string DeveloperCollections(const std::string& language, const std::string& preferred,
                                          const std::string& collection, const std::string& filename) {
    const std::string base = "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections]";
    std::string text = base + " 1700000000\n#time=1d9a0c0a1b2c3d4\n\"Language\"=\"" + language + "\"\n\n";
    text += base.substr(0, base.size() - 1) + "\\\\" + language + "] 1700000000\n";
    if (!preferred.empty()) text += "\"Preferred\"=\"" + preferred + "\"\n";
    text += "\n" + base.substr(0, base.size() - 1) + "\\\\" + language + "\\\\" + collection + "] 1700000000\n";
    text += "\"Filename\"=\"" + Escape(filename) + "\"\n\n";
    return text;
  }

  // A key section of system.reg below HTML Help's developer collections (`below` as
  // "\\\\0x0409"), with `values` lines.
  static std::string Section(const std::string& below, const std::string& values) {
    return "[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections" + below + "] 1\n" + values;
  }

  // A text as a quoted string of system.reg needs it: backslashes and quotes escaped.
  static std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '\\' || c == '"') out += '\\';
      out += c;
    }
    return out;
  }

  static std::string ReadHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path root_;
};

}  // namespace quillet::test

#endif
