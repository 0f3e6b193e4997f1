#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/HandleTable.h"
#include "api/LastError.h"
#include "quillet/quillet.h"

namespace {

TEST(LastError, CopyIsBoundedAndReplaced) {
  quillet::SetLastErrorText("");
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  QuilletGetLastError(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "");

  quillet::SetLastErrorText("Root element not present");
  std::memset(buffer, 'x', sizeof buffer);
  QuilletGetLastError(buffer, 5);
  EXPECT_STREQ(buffer, "Root");
  EXPECT_EQ(buffer[5], 'x');

  buffer[0] = 'x';
  QuilletGetLastError(buffer, 0);  // no room: nothing written
  EXPECT_EQ(buffer[0], 'x');
  QuilletGetLastError(nullptr, 100);

  quillet::SetLastErrorText("File does not exist");
  char big[64];
  QuilletGetLastError(big, sizeof big);
  EXPECT_STREQ(big, "File does not exist");  // replaced, not appended
}

struct Probe : quillet::HandleRecord {
  explicit Probe(int* alive) : alive(alive) { ++*alive; }
  ~Probe() override { --*alive; }
  int* alive;
};

TEST(HandleTable, EndingAnOwnerEndsWhatWasMadeFromIt) {
  auto& table = quillet::HandleTable::instance();
  const size_t before = table.size();
  int alive = 0;
  const unsigned long owner = table.issue(std::make_unique<Probe>(&alive));
  const unsigned long a = table.issue(std::make_unique<Probe>(&alive), owner);
  const unsigned long b = table.issue(std::make_unique<Probe>(&alive), owner);
  EXPECT_EQ(table.ownerOf(a), owner);
  EXPECT_EQ(alive, 3);

  table.end(b);  // a made handle can end alone
  EXPECT_EQ(table.find(b), nullptr);
  EXPECT_NE(table.find(a), nullptr);
  const unsigned long c = table.issue(std::make_unique<Probe>(&alive), owner);
  table.end(owner);
  table.end(owner);  // a second end is ignored
  EXPECT_EQ(table.find(c), nullptr);
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(table.size(), before);

  // Nothing can be made from an ended handle.
  EXPECT_EQ(table.issue(std::make_unique<Probe>(&alive), owner), 0u);
  EXPECT_EQ(alive, 0);
}

}  // namespace
