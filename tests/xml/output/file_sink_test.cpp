#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "quillet/xml/ByteSink.h"
#include "support/SandboxPrefix.h"

namespace quillet::xml {
namespace {

using quillet::test::SandboxPrefix;

class FileByteSinkTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sink.open(path)); }
  void TearDown() override { platform::InjectWriteFailureAfter(-1); }

  // Size of the file on disk now (what has been flushed), -1 when absent.
  long onDisk() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(sandbox.host("drive_c/windows/Help/out.bin"), error);
    return error ? -1 : static_cast<long>(size);
  }
  std::string written() const { return sandbox.readFile("drive_c/windows/Help/out.bin"); }
  void write(const std::string& bytes) {
    sink.writeBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  }

  SandboxPrefix sandbox;
  const std::u16string path = u"C:\\windows\\Help\\out.bin";
  CFileByteSink sink;
};

// The buffer holds 65,534 bytes: the byte or block that would make 65,535 flushes it
// (putByte after storing the byte, writeBytes before storing the block).
TEST_F(FileByteSinkTest, FlushesExactlyWhenTheBufferWouldBeFull) {
  EXPECT_EQ(onDisk(), 0);  // created empty
  for (uint32_t i = 0; i < CFileByteSink::kBufferSize - 1; ++i) sink.putByte(static_cast<unsigned char>(i));
  EXPECT_EQ(onDisk(), 0);
  EXPECT_EQ(sink.pending(), 65534u);
  sink.putByte(0xAB);  // the 65,535th
  EXPECT_EQ(onDisk(), 65535);
  EXPECT_EQ(sink.pending(), 0u);

  write(std::string(65532, 'x'));
  write("yz");  // 65,534: still below the limit, stays buffered
  EXPECT_EQ(onDisk(), 65535);
  write("y");  // 65,535 would be reached: the waiting bytes go first
  EXPECT_EQ(onDisk(), 2 * 65535 - 1);
  EXPECT_EQ(sink.pending(), 1u);
  write("yz");
  sink.close();
  EXPECT_EQ(onDisk(), 2 * 65535 + 2);
  EXPECT_EQ(written().substr(65533, 4), "\xFD\xABxx");  // 65,533 % 256 = 0xFD: in order, none lost
  EXPECT_EQ(written().substr(2 * 65535 - 5), "xxyzyyz");
  EXPECT_FALSE(sink.failed());
}

TEST_F(FileByteSinkTest, BlocksLargerThanTheBufferGoStraightThroughInOrder) {
  sink.putByte('<');
  write(std::string(200000, 'b'));
  sink.putByte('>');
  sink.close();
  EXPECT_EQ(written(), "<" + std::string(200000, 'b') + ">");
  EXPECT_FALSE(sink.failed());
}

TEST_F(FileByteSinkTest, ReopeningFlushesAndClosesTheFirstFile) {
  sink.putByte('1');
  ASSERT_TRUE(sink.open(std::u16string(u"C:\\windows\\Help\\second.bin")));
  sink.putByte('2');
  sink.close();
  sink.close();  // a second close is harmless
  EXPECT_EQ(written(), "1");
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/second.bin"), "2");
}

TEST_F(FileByteSinkTest, FailedOpensAndShortWritesAreRemembered) {
  platform::InjectWriteFailureAfter(10);
  for (int i = 0; i < 20; ++i) sink.putByte('a');
  EXPECT_FALSE(sink.failed());  // still buffered
  sink.flush();
  EXPECT_TRUE(sink.failed());
  platform::InjectWriteFailureAfter(-1);
  sink.close();
  EXPECT_TRUE(sink.failed());

  // A new open starts with a clean record.
  ASSERT_TRUE(sink.open(path));
  sink.putByte('b');
  sink.close();
  EXPECT_FALSE(sink.failed());
  EXPECT_EQ(written(), "b");

  // A file that cannot be opened receives nothing, however much is written.
  EXPECT_FALSE(sink.open(std::u16string(u"C:\\no\\such\\folder\\out.bin")));
  EXPECT_TRUE(sink.failed());
  write(std::string(70000, 'x'));
  sink.putByte('x');
  sink.close();
  EXPECT_TRUE(sink.failed());
  EXPECT_FALSE(std::filesystem::exists(sandbox.host("drive_c/no")));
}

}  // namespace
}  // namespace quillet::xml
