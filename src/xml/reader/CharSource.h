// Decoders that turn the bytes of a byte source into 16-bit characters.
#ifndef QUILLET_XML_READER_CHARSOURCE_H
#define QUILLET_XML_READER_CHARSOURCE_H

#include <algorithm>
#include <cstddef>
#include <string>

#include "quillet/xml/ByteSource.h"
#include "xml/common/AsciiBlocks.h"
#include "xml/common/AsciiClasses.h"

namespace quillet::xml {

// Collects the characters of a run in a buffer on the stack and appends them to the
// string a piece at a time: one pass over the input, one copy into the string, and no
// zero-filled resize.
class CRunAppender {
 public:
  explicit CRunAppender(std::u16string& out) : out_(out) {}
  CRunAppender(const CRunAppender&) = delete;
  CRunAppender& operator=(const CRunAppender&) = delete;
  void put(char16_t c) {
    if (used_ == kSize) flush();
    chunk_[used_++] = c;
  }
  // Room for a block of kAsciiBlockSize characters, of which `take` keeps the first n.
  char16_t* blockSpace() {
    if (kSize - used_ < kAsciiBlockSize) flush();
    return chunk_ + used_;
  }
  void take(std::size_t n) { used_ += n; }
  // Appends what is left; returns the number of characters put.
  std::size_t finish() {
    flush();
    return count_;
  }

 private:
  static constexpr std::size_t kSize = 256;
  void flush() {
    out_.append(chunk_, used_);
    count_ += used_;
    used_ = 0;
  }
  std::u16string& out_;
  std::size_t used_ = 0;
  std::size_t count_ = 0;
  char16_t chunk_[kSize];
};

// One byte per character: appends to `out` the run of buffered bytes of `asciiClass`
// (with `wide`, bytes from 0x80 up as well) and consumes it; returns its length.
inline std::size_t ReadBufferedByteRun(CByteSource* bytes, unsigned char asciiClass, bool wide, std::u16string& out) {
  const unsigned char* const begin = bytes->bufferedBegin();
  const unsigned char* const end = bytes->bufferedEnd();
  const unsigned char* p = begin;
  CRunAppender run(out);
  while (p != end && (IsByteOf(*p, asciiClass) || (wide && *p >= 0x80))) run.put(*p++);
  bytes->skipBuffered(static_cast<std::size_t>(p - begin));
  return run.finish();
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
    noteBuffered(1);
    c = b;
    return true;
  }
  // Appends the run of buffered characters of `asciiClass`, with `wide` also every
  // whole sequence of a character from 0x80 up, and returns its length in characters.
  // The run stops at anything else, and at a sequence the buffer cuts off.
  std::size_t readBufferedRun(unsigned char asciiClass, bool wide, std::u16string& out);
  // Records that the caller consumed buffered bytes itself, the last character
  // `length` bytes long.
  void noteBuffered(int length) {
    length_ = length;
    buffered_ = true;
  }
  // Pushes back the character read last without a call to the byte source, when it
  // came from the buffer and so is still there; false sends the caller to ungetChar.
  bool ungetBuffered() {
    if (!buffered_ || length_ == 0) return false;
    bytes_->stepBackBuffered(static_cast<std::size_t>(length_));
    length_ = 0;
    buffered_ = false;
    return true;
  }
  // Records that the caller took a character from the buffer and pushed it back.
  void notePushedBack() {
    length_ = 0;
    buffered_ = false;
  }
  // The byte source was repositioned: the buffer may hold other bytes now.
  void forgetBuffered() { buffered_ = false; }

  void attach(CByteSource* bytes) override;
  int acceptByte(unsigned char byte) override;
  int skipChar() override;
  int ungetChar() override;
  int peekChar(char16_t& c) override;
  int readChar(char16_t& c) override;

 private:
  int length_ = 0;  // bytes of the character read last; 0 after a push-back
  bool buffered_ = false;  // the character read last came from the buffer
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
  // Appends the run of buffered code units of `asciiClass` (ASCII characters), with
  // `wide` also every unit from 0x80 up, and returns its length; the run stops at
  // anything else, or at a unit only half there.
  std::size_t readBufferedRun(unsigned char asciiClass, bool wide, std::u16string& out);

 private:
  State state_;
};

}  // namespace quillet::xml

#endif
