// Where the reader's bytes come from.
#ifndef QUILLET_XML_BYTESOURCE_H
#define QUILLET_XML_BYTESOURCE_H

#include <cstddef>

#include "quillet/export.h"

namespace quillet::xml {

// Result codes of byte sources (0 is success).
enum ByteSourceResult : int {
  kByteSourceOk = 0,
  kByteSourceSeekFailed = 20,      // a seek did not land where asked
  kByteSourceEndOfInput = 70,      // no more bytes (also: reading failed)
  kByteSourceCannotStepBack = 75,  // stepping back before the first byte
};

// A sequence of bytes read forwards, with one-byte push-back and repositioning. The
// reader decodes characters straight from it and steps it back to push a character
// back. Positions count bytes from the start of the input.
class QUILLET_API CByteSource {
 public:
  virtual ~CByteSource() = default;
  // The next byte without consuming it.
  virtual int peekByte(unsigned char& byte) = 0;
  // The next byte, consumed.
  virtual int readByte(unsigned char& byte) = 0;
  // Steps back one byte.
  virtual int unreadByte() = 0;
  // Consumes one byte.
  virtual int skipByte() = 0;
  // The position of the next byte.
  virtual int tell(long& position) = 0;
  // Makes `position` the next byte.
  virtual int seek(long position) = 0;

  // The fast path for decoders: a source that holds its next bytes in memory keeps
  // [next_, end_) pointing at them (both null otherwise), and taking a byte from there
  // is the same as readByte. Neither call ever refills: false means "ask readByte".
  bool peekBuffered(unsigned char& byte) const {
    if (next_ == end_) return false;
    byte = *next_;
    return true;
  }
  void skipBuffered() { ++next_; }  // only after peekBuffered returned true
  // The same for runs: the buffered bytes are [bufferedBegin(), bufferedEnd()), and
  // skipping `n` of them (no more than there are) is the same as n calls of skipByte.
  const unsigned char* bufferedBegin() const { return next_; }
  const unsigned char* bufferedEnd() const { return end_; }
  void skipBuffered(std::size_t n) { next_ += n; }
  // Steps back over `n` bytes just taken from the buffer, with no refill since.
  void stepBackBuffered(std::size_t n) { next_ -= n; }

 protected:
  const unsigned char* next_ = nullptr;
  const unsigned char* end_ = nullptr;
};

}  // namespace quillet::xml

#endif
