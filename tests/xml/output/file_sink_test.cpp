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
  void TearDown() override { platform::InjectWriteFailureAfter(-1); }

  // Size of the file on disk now (what has been flushed), -1 when absent.
  long onDisk() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(sandbox.host("drive_c/windows/Help/out.bin"), error);
    return error ? -1 : static_cast<long>(size);
  }

  std::string written() const { return sandbox.readFile("drive_c/windows/Help/out.bin"); }

  SandboxPrefix sandbox;
  const std::u16string path = u"C:\\windows\\Help\\out.bin";
};

TEST_F(FileByteSinkTest, PutByteFlushesExactlyWhenTheBufferIsFull) {
  CFileByteSink sink;
  ASSERT_TRUE(sink.open(path));
  EXPECT_EQ(onDisk(), 0);  // created empty
  for (uint32_t i = 0; i < CFileByteSink::kBufferSize - 1; ++i) sink.putByte(static_cast<unsigned char>(i));
  EXPECT_EQ(onDisk(), 0);
  EXPECT_EQ(sink.pending(), 65534u);
  sink.putByte(0xAB);  // the 65,535th
  EXPECT_EQ(onDisk(), 65535);
  EXPECT_EQ(sink.pending(), 0u);
  sink.putByte(0xCD);
  sink.close();
  const std::string bytes = written();
  ASSERT_EQ(bytes.size(), 65536u);
  EXPECT_EQ(bytes.substr(65533), "\xFD\xAB\xCD");  // 65,533 % 256 = 0xFD: in order, none lost
  EXPECT_FALSE(sink.failed());
}

TEST_F(FileByteSinkTest, WriteBytesFlushesFirstWhenItWouldReachTheLimit) {
  CFileByteSink sink;
  ASSERT_TRUE(sink.open(path));
  const std::vector<unsigned char> block(65532, 'x');
  sink.writeBytes(block.data(), block.size());
  const unsigned char two[] = {'y', 'z'};
  sink.writeBytes(two, 2);  // 65,534: still below the limit, stays buffered
  EXPECT_EQ(onDisk(), 0);
  EXPECT_EQ(sink.pending(), 65534u);
  sink.writeBytes(two, 1);  // 65,535 would be reached: the waiting bytes go first
  EXPECT_EQ(onDisk(), 65534);
  EXPECT_EQ(sink.pending(), 1u);
  sink.writeBytes(two, 2);
  sink.close();
  EXPECT_EQ(onDisk(), 65537);
  EXPECT_EQ(written().substr(65530), "xxyzyyz");
}

TEST_F(FileByteSinkTest, BlocksLargerThanTheBufferGoStraightThroughInOrder) {
  CFileByteSink sink;
  ASSERT_TRUE(sink.open(path));
  sink.putByte('<');
  const std::vector<unsigned char> big(200000, 'b');
  sink.writeBytes(big.data(), big.size());
  sink.putByte('>');
  sink.close();
  EXPECT_EQ(written(), "<" + std::string(200000, 'b') + ">");
  EXPECT_FALSE(sink.failed());
}

TEST_F(FileByteSinkTest, ReopeningFlushesAndClosesTheFirstFile) {
  CFileByteSink sink;
  ASSERT_TRUE(sink.open(path));
  sink.putByte('1');
  ASSERT_TRUE(sink.open(std::u16string(u"C:\\windows\\Help\\second.bin")));
  sink.putByte('2');
  sink.close();
  sink.close();  // a second close is harmless
  EXPECT_EQ(written(), "1");
  EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/second.bin"), "2");
}

TEST_F(FileByteSinkTest, AFileThatCannotBeOpenedReceivesNothingAndIsReported) {
  CFileByteSink sink;
  EXPECT_FALSE(sink.open(std::u16string(u"C:\\no\\such\\folder\\out.bin")));
  EXPECT_TRUE(sink.failed());
  const std::vector<unsigned char> block(70000, 'x');
  sink.writeBytes(block.data(), block.size());
  sink.putByte('x');
  sink.close();
  EXPECT_TRUE(sink.failed());
  EXPECT_FALSE(std::filesystem::exists(sandbox.host("drive_c/no")));
}

TEST_F(FileByteSinkTest, FailedAndShortWritesAreRemembered) {
  CFileByteSink sink;
  ASSERT_TRUE(sink.open(path));
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
}

}  // namespace
}  // namespace quillet::xml
