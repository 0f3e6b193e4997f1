// Decoders that turn the bytes of a byte source into 16-bit characters.
#ifndef QUILLET_XML_READER_CHARSOURCE_H
#define QUILLET_XML_READER_CHARSOURCE_H

#include <algorithm>
#include <cstddef>
#include <string>

#include "quillet/xml/ByteSource.h"
#include "xml/common/AsciiClasses.h"

namespace quillet::xml {

// Appends to `out` the run of bytes of `asciiClass` at the start of `bytes`' buffer,
// each one character, and consumes them; returns their number. Runs of ASCII read so
// in UTF-8 and in one byte per character alike.
inline std::size_t ReadBufferedAsciiRun(CByteSource* bytes, unsigned char asciiClass, std::u16string& out) {
  const unsigned char* const begin = bytes->bufferedBegin();
  const unsigned char* const end = bytes->bufferedEnd();
  const unsigned char* p = begin;
  while (p != end && IsAsciiOf(*p, asciiClass)) ++p;
  const std::size_t n = static_cast<std::size_t>(p - begin);
  if (n == 0) return 0;
  const std::size_t old = out.size();
  out.resize(old + n);
  std::copy(begin, p, &out[old]);
  bytes->skipBuffered(n);
  return n;
}

// A decoder keeps no buffer of its own: it reads bytes as it needs them and steps the
// byte source back to push a character back. Every operation returns 0 or the byte
// source's nonzero code.
class CCharSource {
 public:
  // Answers of acceptByte while a byte-order mark is being looked for.
  enum Answer { kNeedMore = 0, kRecognised = 1, kNotThisEncoding = 2 };

  virtual ~CCharSource() = default;
  // Remembers the byte source and resets the decoder.
  virtual void attach(CByteSource* bytes) = 0;
  virtual int acceptByte(unsigned char byte) = 0;
  virtual int skipChar() = 0;
  // Pushes back the character just read.
  virtual int ungetChar() = 0;
  virtual int peekChar(char16_t& c) = 0;
  virtual int readChar(char16_t& c) = 0;

 protected:
  CByteSource* bytes_ = nullptr;
};

// UTF-8, decoded leniently: the lead byte alone decides how many bytes follow, and the
// continuation bytes are not checked. A four-byte sequence yields only the low 16 bits
// of its code point (without the lead byte's bits).
class CUTF8CharSource final : public CCharSource {
 public:
  // The common case without a call: a single-byte character already in the byte
  // source's buffer. False (nothing consumed) sends the caller to readChar.
  bool readBufferedAscii(char16_t& c) {
    unsigned char b = 0;
    if (!bytes_->peekBuffered(b) || b >= 0x80) return false;
    bytes_->skipBuffered();
    length_ = 1;
    c = b;
    return true;
  }
  // Appends the run of buffered single-byte characters of `asciiClass` and returns its
  // length; the run stops at anything else.
  std::size_t readBufferedRun(unsigned char asciiClass, std::u16string& out) {
    const std::size_t n = ReadBufferedAsciiRun(bytes_, asciiClass, out);
    if (n != 0) length_ = 1;
    return n;
  }

  void attach(CByteSource* bytes) override;
  int acceptByte(unsigned char byte) override;
  int skipChar() override;
  int ungetChar() override;
  int peekChar(char16_t& c) override;
  int readChar(char16_t& c) override;

 private:
  int length_ = 0;  // bytes of the character read last; 0 after a push-back
};

// UTF-16 of either byte order. Characters beyond the Basic Multilingual Plane arrive
// as two surrogate code units.
class CUTF16CharSource final : public CCharSource {
 public:
  enum State { kStart = 0, kSeenFF = 1, kSeenFE = 2, kLittleEndian = 3, kBigEndian = 4 };

  explicit CUTF16CharSource(State state = kStart) : state_(state) {}
  void attach(CByteSource* bytes) override;
  int acceptByte(unsigned char byte) override;
  int skipChar() override;
  int ungetChar() override;
  int peekChar(char16_t& c) override;
  int readChar(char16_t& c) override;
  // Attaches without looking for a byte-order mark: the byte order is known.
  void attachInState(CByteSource* bytes, State state) {
    bytes_ = bytes;
    state_ = state;
  }
  State state() const { return state_; }
  // Appends the run of buffered code units of `asciiClass` (ASCII characters) and
  // returns its length; the run stops at anything else, or at a unit only half there.
  std::size_t readBufferedRun(unsigned char asciiClass, std::u16string& out) {
    const unsigned char* const begin = bytes_->bufferedBegin();
    const unsigned char* const end = bytes_->bufferedEnd();
    // As readChar: anything but little-endian reads big-endian.
    const std::size_t high = state_ == kLittleEndian ? 1 : 0;
    const unsigned char* p = begin;
    while (end - p >= 2 && p[high] == 0 && IsAsciiOf(p[1 - high], asciiClass)) p += 2;
    const std::size_t n = static_cast<std::size_t>(p - begin) / 2;
    if (n == 0) return 0;
    const std::size_t old = out.size();
    out.resize(old + n);
    for (std::size_t i = 0; i < n; ++i) out[old + i] = begin[2 * i + 1 - high];
    bytes_->skipBuffered(2 * n);
    return n;
  }

 private:
  State state_;
};

}  // namespace quillet::xml

#endif
