#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string>

#include "xml/common/AsciiBlocks.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#include <unistd.h>
#define QUILLET_TEST_GUARD_PAGE 1
#endif

namespace {

using quillet::xml::CopyOutputRun;
using quillet::xml::kAsciiUnitBlock;
using quillet::xml::NarrowAsciiUnits;

// The writer's run copy reads whole blocks past a text's NUL. Here every text ends
// right before a page the process may not touch, at every distance from the page
// edge, with the unit that ends the run at every place in its block: a block loaded
// across the edge faults, and a wrong count or copy shows against a unit-by-unit scan.
TEST(AsciiBlocks, OutputRunsStopAtEveryEndingUnitAndNeverCrossIntoTheNextPage) {
#if QUILLET_TEST_GUARD_PAGE
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  void* map = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(map, MAP_FAILED);
  ASSERT_EQ(mprotect(static_cast<char*>(map) + page, page, PROT_NONE), 0);
  char16_t* const pageEnd = reinterpret_cast<char16_t*>(static_cast<char*>(map) + page);

  const std::u16string enders = u"\t\n\r\"&<>";
  // Neighbours of the ending units under the block test's bit tricks: none ends a run.
  const std::u16string plain = u"a\x08\x0B\x0C\x0E !#$%'\x3B=?\x7F\xE9\x20AC\xD83D\xFFFF\x0109\x010D";
  std::mt19937 random(7);
  char16_t out[64];
  for (size_t length = 1; length <= 40; ++length) {  // units, the NUL included
    char16_t* const text = pageEnd - length;
    for (size_t at = 0; at < length; ++at) {  // where the run ends
      for (const char16_t ender : enders + std::u16string(1, u'\0')) {
        for (size_t i = 0; i + 1 < length; ++i) text[i] = plain[random() % plain.size()];
        text[length - 1] = 0;
        text[at] = ender;
        for (size_t max : {size_t{0}, at / 2, at, at + 1, size_t{64}}) {
          std::memset(out, 0xCC, sizeof out);
          const size_t expected = std::min(at, max);
          ASSERT_EQ(CopyOutputRun(text, out, max), expected) << "length " << length << ", ends at " << at;
          ASSERT_EQ(std::u16string(out, expected), std::u16string(text, expected));
          for (size_t i = max; i < std::size(out); ++i) ASSERT_EQ(out[i], 0xCCCC) << "wrote past the room at " << i;
        }
      }
    }
  }
  munmap(map, 2 * page);
#else
  GTEST_SKIP() << "no guard page on this system";
#endif
}

// The encoders narrow the ASCII units that open a block and encode the rest one by
// one: a non-ASCII unit at each place of a block must cut the prefix there.
TEST(AsciiBlocks, NarrowingStopsAtTheFirstUnitOutsideAscii) {
  for (const char16_t wide : {u'\x80', u'\xFF', u'\x100', u'\x7F80', u'\x8000', u'\xFFFF'}) {
    for (size_t at = 0; at <= kAsciiUnitBlock; ++at) {
      char16_t units[kAsciiUnitBlock];
      for (size_t i = 0; i < kAsciiUnitBlock; ++i) units[i] = static_cast<char16_t>(u'a' + i);
      if (at < kAsciiUnitBlock) units[at] = wide;
      unsigned char bytes[kAsciiUnitBlock] = {};
      ASSERT_EQ(NarrowAsciiUnits(units, bytes), at) << "unit " << static_cast<unsigned>(wide);
      for (size_t i = 0; i < at; ++i) EXPECT_EQ(bytes[i], 'a' + i);
    }
  }
}

}  // namespace
