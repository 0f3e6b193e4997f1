// Sixteen bytes at a time through the reader's longest runs (plain text of element
// content and of quoted attribute values), and eight code units at a time through the
// writer's encoders. Where SSE2 is there (every x86-64 build),
// one block costs a handful of vector instructions instead of sixteen table lookups
// and branches; elsewhere the scanning loops go byte by byte as before.
#ifndef QUILLET_XML_COMMON_ASCIIBLOCKS_H
#define QUILLET_XML_COMMON_ASCIIBLOCKS_H

#include <cstddef>

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
    if (mask == 0) return kAsciiBlockSize;
#if defined(_MSC_VER) && !defined(__clang__)
    unsigned long first = 0;
    _BitScanForward(&first, mask);
    return first;
#else
    return static_cast<std::size_t>(__builtin_ctz(mask));
#endif
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

// The writer's side: whether the kAsciiUnitBlock code units at `s` are all ASCII, and
// if so their bytes stored at `out`. Without SSE2 a plain loop does the same.
constexpr std::size_t kAsciiUnitBlock = 8;

inline bool NarrowAsciiUnits(const char16_t* s, unsigned char* out) {
#if QUILLET_ASCII_BLOCKS
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i high = _mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80)));
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF) return false;
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(v, v));
  return true;
#else
  for (std::size_t i = 0; i < kAsciiUnitBlock; ++i) {
    if (s[i] >= 0x80) return false;
  }
  for (std::size_t i = 0; i < kAsciiUnitBlock; ++i) out[i] = static_cast<unsigned char>(s[i]);
  return true;
#endif
}

}  // namespace quillet::xml

#endif
