// Every save, backup, install and remove, failed at every point where the system can
// fail it: each file on disk is then exactly the old one or exactly the new one, no
// temporary is left, and in safe mode the result and the last-error text say so.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CollectionFixture.h"
#include "platform/Platform.h"
#include "quillet/quillet_c.h"

namespace quillet::test {
namespace {

using platform::FaultPoint;

constexpr FaultPoint kPoints[] = {FaultPoint::kOpen,   FaultPoint::kWrite, FaultPoint::kFlush,
                                  FaultPoint::kRename, FaultPoint::kCopy,  FaultPoint::kLock};
const char* const kPointNames[] = {"open", "write", "flush", "rename", "copy", "lock"};

class FaultInjection : public CollectionTest {
 protected:
  static constexpr const char* kRegistryBackup = "drive_c/windows/Help/HHCOLREG.BAK";
  static constexpr const char* kCollectionBackup = "drive_c/windows/Help/quillet.bak";

  void SetUp() override {
    CollectionTest::SetUp();
    QuilletSetSafeMode(1);
    sandbox->writeFile("drive_c/t.chm", "x");
  }
  void TearDown() override {
    platform::ClearFaults();
    QuilletSetSafeMode(0);
    CollectionTest::TearDown();
  }

  // The files an operation may touch, as they start every run.
  void restore() {
    sandbox->writeFile(kRegistryFile, Registry(Entry("old")));
    sandbox->writeFile(kCollectionFile, Collection(Folder("Old", Folder("=old"))));
    sandbox->writeFile(kRegistryBackup, "previous registry backup");
    sandbox->writeFile(kCollectionBackup, "previous collection backup");
  }
  std::vector<std::string> files() const {
    return {sandbox->readFile(kRegistryFile), sandbox->readFile(kCollectionFile),
            sandbox->readFile(kRegistryBackup), sandbox->readFile(kCollectionBackup)};
  }

  // Runs `operation` once to learn what it writes and how often it reaches each fault
  // point, then once for every single call of every point made to fail.
  void failEveryPoint(const char* name, const std::function<int()>& operation) {
    SCOPED_TRACE(name);
    restore();
    const std::vector<std::string> before = files();
    platform::ClearFaults();
    ASSERT_EQ(operation(), 0) << lastError();
    const std::vector<std::string> after = files();
    ASSERT_NE(after, before);
    int calls[std::size(kPoints)];
    for (size_t p = 0; p < std::size(kPoints); ++p) calls[p] = platform::FaultPointCalls(kPoints[p]);

    int failures = 0;
    for (size_t p = 0; p < std::size(kPoints); ++p) {
      for (int n = 1; n <= calls[p]; ++n) {
        SCOPED_TRACE(std::string(kPointNames[p]) + " #" + std::to_string(n));
        restore();
        SetLastErrorText("");
        platform::ClearFaults();
        platform::InjectFault(kPoints[p], n);
        const int code = operation();
        const std::vector<std::string> now = files();
        for (size_t f = 0; f < now.size(); ++f)
          EXPECT_TRUE(now[f] == before[f] || now[f] == after[f]) << "file " << f << ":\n" << now[f];
        if (code == 0) {
          EXPECT_EQ(now, after) << "a failure that was not reported";
        } else {
          ++failures;
          EXPECT_NE(lastError(), "") << "code " << code;
        }
        std::set<std::string> names = sandbox->names("drive_c/windows/Help");
        names.erase("hhcolreg.lck");  // the lock's file stays, empty, once made
        EXPECT_EQ(names, (std::set<std::string>{"hhcolreg.dat", "quillet.col", "HHCOLREG.BAK", "quillet.bak"}));
      }
    }
    EXPECT_GT(failures, 0);
  }
};

TEST_F(FaultInjection, SavesBackupsInstallsAndRemoves) {
  failEveryPoint("save collection", [&] {
    unsigned long c = 0, folder = 0;
    if (const int code = QuilletLoadCollection(kCollectionPath, &c)) return code;
    QuilletAddFolder(c, "New", &folder);
    const int code = QuilletSaveCollection(c);
    QuilletReleaseCollection(c);
    return code;
  });
  failEveryPoint("save registry", [&] {
    unsigned long r = 0, doc = 0;
    if (const int code = QuilletOpenDocInfo(kRegistryPath, &r)) return code;
    QuilletAddDoc(r, "new", &doc);
    const int code = QuilletSaveDocInfo(r);
    QuilletCloseDocInfo(r);
    return code;
  });
  failEveryPoint("backup collection", [] { return QuilletBackupDefaultCollection(); });
  failEveryPoint("backup registry", [] { return QuilletBackupDocInfo(); });
  failEveryPoint("install", [] { return QuilletInstall("Old\\New", "C:\\t.chm", "C:\\t.chm", "new"); });
  failEveryPoint("remove", [] { return QuilletRemove("Old", "old"); });
}

}  // namespace
}  // namespace quillet::test
