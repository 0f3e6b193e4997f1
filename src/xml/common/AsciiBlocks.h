// Sixteen bytes at a time through the reader's longest runs (plain text of element
// content and of quoted attribute values), and eight code units at a time through the
// writer's encoders. Where SSE2 is there (every x86-64 build),
// one block costs a handful of vector instructions instead of sixteen table lookups
// and branches; elsewhere the scanning loops go byte by byte as before.
#ifndef QUILLET_XML_COMMON_ASCIIBLOCKS_H
#define QUILLET_XML_COMMON_ASCIIBLOCKS_H

#include <cstddef>
#include <cstdint>

#include "xml/common/AddressSanitizer.h"
#include "xml/common/AsciiClasses.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define QUILLET_ASCII_BLOCKS 1
#include <emmintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#else
#define QUILLET_ASCII_BLOCKS 0
#endif

namespace quillet::xml {

constexpr std::size_t kAsciiBlockSize = 16;
// Code units in one 16-byte block.
constexpr std::size_t kAsciiUnitBlock = 8;

#if QUILLET_ASCII_BLOCKS
// The index of the lowest set bit of a block's mask (not 0).
inline std::size_t FirstSetBit(unsigned mask) {
#if defined(_MSC_VER) && !defined(__clang__)
  unsigned long first = 0;
  _BitScanForward(&first, mask);
  return first;
#else
  return static_cast<std::size_t>(__builtin_ctz(mask));
#endif
}
#endif

// The four printable characters that end a run of the class, besides everything below
// a space, DEL and every byte from 0x80 up. Tab belongs to both classes but ends a
// block: the byte-by-byte loop takes it.
struct AsciiBlockStops {
  bool usable = false;  // false: the class has no block form (names)
  char stops[4] = {};
};

constexpr AsciiBlockStops BlockStopsOf(unsigned char asciiClass) {
  if (asciiClass == kAsciiPlainText) return {QUILLET_ASCII_BLOCKS != 0, {'<', '&', ']', '>'}};
  if (asciiClass == kAsciiPlainAttribute) return {QUILLET_ASCII_BLOCKS != 0, {'<', '&', '"', '\''}};
  return {};
}

// Scans blocks for one class, its stop characters made into vectors once.
class CAsciiBlockScanner {
 public:
  explicit CAsciiBlockScanner(const AsciiBlockStops& s) : usable_(s.usable) {
#if QUILLET_ASCII_BLOCKS
    for (int i = 0; i < 4; ++i) stops_[i] = _mm_set1_epi8(s.stops[i]);
#endif
  }
  bool usable() const { return usable_; }

  // Widens the kAsciiBlockSize bytes at `p` into `out` (room for all of them) and
  // returns how many of them, from the first, belong to the run. Only when usable().
  std::size_t widen(const unsigned char* p, char16_t* out) const {
#if QUILLET_ASCII_BLOCKS
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Signed bytes: everything from 0x80 up is negative and so "below a space" too.
    __m128i ends = _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20)), _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
    ends = _mm_or_si128(ends, _mm_or_si128(_mm_cmpeq_epi8(v, stops_[0]), _mm_cmpeq_epi8(v, stops_[1])));
    ends = _mm_or_si128(ends, _mm_or_si128(_mm_cmpeq_epi8(v, stops_[2]), _mm_cmpeq_epi8(v, stops_[3])));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(v, zero));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
    return mask == 0 ? kAsciiBlockSize : FirstSetBit(mask);
#else
    (void)p;
    (void)out;
    return 0;
#endif
  }

 private:
  bool usable_;
#if QUILLET_ASCII_BLOCKS
  __m128i stops_[4];
#endif
};

// The writer's copy of a text: copies to `out` the first of at most `max` code units at
// `s` that go out as they are, up to the first unit that ends an output run (an
// escaped character or the terminating NUL; kAsciiEndsOutputRun), and returns how many
// it copied. `out` has room for `max` units. The text has no length, only its NUL, so a
// block may read past the NUL, though never into another page: as the C library's
// strlen does, only blocks that lie inside the page of their first unit are loaded
// whole, and the rest goes unit by unit. The address sanitizer would take those
// harmless reads for overflows, so it does not look inside.
QUILLET_NO_SANITIZE_ADDRESS
inline std::size_t CopyOutputRun(const char16_t* s, char16_t* out, std::size_t max) {
  std::size_t n = 0;
#if QUILLET_ASCII_BLOCKS
  constexpr std::uintptr_t kPage = 4096;
  // Two escaped characters a test: c | 4 is 13 for tab and carriage return and 38 for
  // '"' and "&"; c | 2 is 62 for "<" and ">".
  const __m128i four = _mm_set1_epi16(4), two = _mm_set1_epi16(2), zero = _mm_setzero_si128();
  const __m128i tabOrCr = _mm_set1_epi16(13), quotOrAmp = _mm_set1_epi16(38), ltOrGt = _mm_set1_epi16(62);
  const __m128i lf = _mm_set1_epi16('\n');
  while (n != max) {
    // A block that would cross into the next page goes unit by unit, and the blocks
    // start again after it.
    if (max - n >= kAsciiUnitBlock &&
        (reinterpret_cast<std::uintptr_t>(s + n) & (kPage - 1)) <= kPage - kAsciiUnitBlock * sizeof(char16_t)) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + n));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n), v);
      const __m128i v4 = _mm_or_si128(v, four);
      __m128i ends = _mm_or_si128(_mm_cmpeq_epi16(v, zero), _mm_cmpeq_epi16(v, lf));
      ends = _mm_or_si128(ends, _mm_or_si128(_mm_cmpeq_epi16(v4, tabOrCr), _mm_cmpeq_epi16(v4, quotOrAmp)));
      ends = _mm_or_si128(ends, _mm_cmpeq_epi16(_mm_or_si128(v, two), ltOrGt));
      const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
      if (mask != 0) return n + FirstSetBit(mask) / sizeof(char16_t);
      n += kAsciiUnitBlock;
      continue;
    }
    if (IsAsciiOf(s[n], kAsciiEndsOutputRun)) return n;
    out[n] = s[n];
    ++n;
  }
#else
  for (; n != max && !IsAsciiOf(s[n], kAsciiEndsOutputRun); ++n) out[n] = s[n];
#endif
  return n;
}

// The writer's side: stores the low bytes of the kAsciiUnitBlock code units at `s` at
// `out` (room for all of them) and returns how many of them, from the first, are
// ASCII; only those bytes are meant. Without SSE2 a plain loop does the same.
inline std::size_t NarrowAsciiUnits(const char16_t* s, unsigned char* out) {
#if QUILLET_ASCII_BLOCKS
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i high = _mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80)));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(v, v));
  const unsigned notAscii = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())));
  return (notAscii & 0xFFFF) == 0 ? kAsciiUnitBlock : FirstSetBit(notAscii) / sizeof(char16_t);
#else
  std::size_t n = 0;
  while (n != kAsciiUnitBlock && s[n] < 0x80) {
    out[n] = static_cast<unsigned char>(s[n]);
    ++n;
  }
  return n;
#endif
}

}  // namespace quillet::xml

#endif
