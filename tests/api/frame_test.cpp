#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/HandleTable.h"
#include "api/LastError.h"
#include "quillet/quillet.h"

namespace {

TEST(Version, WritesExactlyFortyTwoBytes) {
  char buffer[64];
  std::memset(buffer, 'x', sizeof buffer);
  QuilletGetVersion(buffer);
  EXPECT_STREQ(buffer, "Tessaly QUILLET Version 1.0.0 - Build 002");
  EXPECT_EQ(buffer[42], 'x');  // nothing past the NUL
}

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
struct OtherRecord : quillet::HandleRecord {};

TEST(HandleTable, InvalidHandlesAreRecognised) {
  auto& table = quillet::HandleTable::instance();
  int alive = 0;
  const unsigned long h = table.issue(std::make_unique<Probe>(&alive));
  ASSERT_NE(h, 0u);
  EXPECT_NE(table.lookup<Probe>(h), nullptr);
  EXPECT_EQ(table.lookup<OtherRecord>(h), nullptr);  // wrong record type
  EXPECT_EQ(table.find(0), nullptr);
  EXPECT_EQ(table.find(h + 1000000), nullptr);  // never issued

  table.end(h);
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(table.find(h), nullptr);
  table.end(h);  // ending twice is ignored
  table.end(0);

  // A later handle never reuses an ended number.
  const unsigned long h2 = table.issue(std::make_unique<Probe>(&alive));
  EXPECT_GT(h2, h);
  quillet::SetLastErrorText("");
  EXPECT_EQ(quillet::RequireHandle<Probe>(h), nullptr);
  EXPECT_EQ(quillet::LastErrorText(), "Invalid handle");
  EXPECT_NE(quillet::RequireHandle<Probe>(h2), nullptr);
  table.end(h2);
}

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
  EXPECT_EQ(table.find(c), nullptr);
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(table.size(), before);

  // Nothing can be made from an ended handle.
  EXPECT_EQ(table.issue(std::make_unique<Probe>(&alive), owner), 0u);
  EXPECT_EQ(alive, 0);
}

}  // namespace
