// Fuzz target: the exported interface driven by a sequence of calls on a sandbox
// prefix, with live handles, ended handles and made-up numbers mixed. Whatever the
// order, every call returns a code and no handle ever reaches freed memory.
//
// Each input starts from the same two files; each byte then picks a call, and the
// bytes after it pick its handle and text from small pools.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "quillet/quillet_c.h"

namespace {

const char kRegistry[] =
    "<XML>\r\n<HTMLHelpDocInfo>\r\n<Collections>\r\n<Collection>\r\n<ColNum value=1/>\r\n"
    "<ColName value=\"C:\\windows\\Help\\quillet.col\"/>\r\n</Collection>\r\n</Collections>\r\n<DocCompilations>\r\n"
    "<DocCompilation><DocCompId value=\"A\"/><LocationHistory><TitleLocation value=\"C:\\t.chm\"/></LocationHistory>"
    "</DocCompilation>\r\n</DocCompilations>\r\n</HTMLHelpDocInfo>\r\n</XML>\r\n";
const char kCollection[] =
    "<XML>\r\n<HTMLHelpCollection>\r\n<Folders>\r\n<Folder><TitleString value=\"A\"/><Folder><TitleString "
    "value=\"=A\"/></Folder></Folder>\r\n</Folders>\r\n</HTMLHelpCollection>\r\n</XML>\r\n";

std::string& Prefix() {
  static std::string prefix;
  return prefix;
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A prefix made once per process; its files are put back before every input.
void ResetPrefix() {
  if (Prefix().empty()) {
    char pattern[] = "/tmp/quillet-api-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    Prefix() = pattern;
    ::mkdir((Prefix() + "/drive_c").c_str(), 0700);
    ::mkdir((Prefix() + "/drive_c/windows").c_str(), 0700);
    ::mkdir((Prefix() + "/drive_c/windows/Help").c_str(), 0700);
    WriteFile(Prefix() + "/system.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer Collections] 1\n"
              "\"Language\"=\"0x0409\"\n\n[Software\\\\Microsoft\\\\HTML Help Collections\\\\Developer "
              "Collections\\\\0x0409] 1\n\"Preferred\"=\"Q\"\n\n[Software\\\\Microsoft\\\\HTML Help "
              "Collections\\\\Developer Collections\\\\0x0409\\\\Q] 1\n\"Filename\"=\"C:\\\\windows\\\\Help\\\\quillet.col\"\n");
    WriteFile(Prefix() + "/drive_c/t.chm", "x");
    quillet::platform::SetPrefix(Prefix());
  }
  WriteFile(Prefix() + "/drive_c/windows/Help/hhcolreg.dat", kRegistry);
  WriteFile(Prefix() + "/drive_c/windows/Help/quillet.col", kCollection);
}

const char* const kTexts[] = {"A", "=A", "", "B\\C", "\xD0\x94", "C:\\t.chm", "C:\\windows\\Help\\quillet.col",
                              "C:\\windows\\Help\\hhcolreg.dat", "C:\\none", "\\\\"};

class Calls {
 public:
  Calls(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool more() const { return at_ < size_; }
  uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
  const char* text() { return kTexts[next() % std::size(kTexts)]; }
  // A handle that was handed out (live or ended), or a number that never was.
  unsigned long handle() {
    const uint8_t b = next();
    if (handles_.empty() || b >= 240) return b >= 250 ? 0 : 0x7fff0000UL + b;
    return handles_[b % handles_.size()];
  }
  unsigned long* place() { return &scratch_; }
  const std::vector<unsigned long>& handed() const { return handles_; }
  void keep(int code) {
    if (code == QUILLET_OK && scratch_ != 0) handles_.push_back(scratch_);
    scratch_ = 0;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  std::vector<unsigned long> handles_;
  unsigned long scratch_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetPrefix();
  QuilletSetSafeMode(size > 0 && (data[0] & 1) != 0);
  Calls calls(data, size);
  char buffer[4096];
  for (int steps = 0; calls.more() && steps < 64; ++steps) {
    switch (calls.next() % 30) {
      case 0: calls.keep(QuilletLoadCollection(calls.text(), calls.place())); break;
      case 1: calls.keep(QuilletLoadDefaultCollection(calls.place())); break;
      case 2: calls.keep(QuilletOpenDocInfo(calls.place())); break;
      case 3: calls.keep(QuilletOpenDocInfo(calls.text(), calls.place())); break;
      case 4: calls.keep(QuilletEnumCollectionRootFolders(calls.handle(), calls.place())); break;
      case 5: calls.keep(QuilletNextCollectionFolder(calls.handle(), calls.place())); break;
      case 6: calls.keep(QuilletEnumSubFolders(calls.handle(), calls.place())); break;
      case 7: QuilletCGetFolderNameSized(calls.handle(), buffer, sizeof buffer); break;
      case 8: calls.keep(QuilletAddFolder(calls.handle(), calls.text(), calls.place())); break;
      case 9: calls.keep(QuilletAddSubFolder(calls.handle(), calls.text(), calls.place())); break;
      case 10: calls.keep(QuilletFindFolder(calls.handle(), calls.text(), calls.place())); break;
      case 11: calls.keep(QuilletFindSubFolder(calls.handle(), calls.text(), calls.place())); break;
      case 12: QuilletDeleteFolder(calls.handle()); break;
      case 13: calls.keep(QuilletEnumDocCompilations(calls.handle(), calls.place())); break;
      case 14: calls.keep(QuilletNextDocCompilation(calls.handle(), calls.place())); break;
      case 15: calls.keep(QuilletFindDoc(calls.handle(), calls.text(), calls.place())); break;
      case 16: calls.keep(QuilletAddDoc(calls.handle(), calls.text(), calls.place())); break;
      case 17: QuilletRemoveDoc(calls.handle()); break;
      case 18: QuilletCGetDocValueSized(calls.handle(), static_cast<long>(calls.next() % 9) - 1, buffer, sizeof buffer); break;
      case 19: {
        const unsigned long doc = calls.handle();
        const long id = static_cast<long>(calls.next() % 9) - 1;
        QuilletCSetDocValue(doc, id, calls.text());
        break;
      }
      case 20: QuilletSaveCollection(calls.handle()); break;
      case 21: QuilletSaveDocInfo(calls.handle()); break;
      case 22: QuilletReleaseCollection(calls.handle()); break;
      case 23: QuilletCloseDocInfo(calls.handle()); break;
      case 24: QuilletCloseDoc(calls.handle()); break;
      case 25: QuilletCGetDefaultCollectionNumberSized(calls.handle(), buffer, sizeof buffer); break;
      case 26: calls.next() % 2 ? QuilletBackupDocInfo() : QuilletBackupDefaultCollection(); break;
      case 27: QuilletInstall(calls.text(), "C:\\t.chm", "C:\\t.chm", calls.text()); break;
      case 28: {
        const char* folder = calls.text();
        QuilletRemove(calls.next() % 4 == 0 ? nullptr : folder, calls.next() % 4 == 0 ? nullptr : calls.text());
        break;
      }
      default: QuilletGetLastError(buffer, sizeof buffer); break;
    }
  }
  // Every file handle is released, ending the rest: the next input starts clean.
  for (unsigned long h : calls.handed()) QuilletReleaseCollection(h);
  QuilletSetSafeMode(0);
  return 0;
}
