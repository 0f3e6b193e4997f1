// Where the XML writer's bytes go: a buffered file, or a growing 16-bit string in
// memory. A sink knows nothing of XML or of encodings; encoders hand it bytes.
#ifndef QUILLET_XML_BYTESINK_H
#define QUILLET_XML_BYTESINK_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "quillet/export.h"

namespace quillet::xml {

// A destination for bytes. Implementations decide where they end up.
class QUILLET_API CByteSink {
 public:
  virtual ~CByteSink();
  // Appends one byte.
  virtual void putByte(unsigned char b) = 0;
  // Appends `n` bytes from `p` (nothing for n 0).
  virtual void writeBytes(const unsigned char* p, size_t n) = 0;
};

// Writes bytes to a file through a buffer of 65,535 bytes.
//
// A file that cannot be opened receives nothing: later bytes are still buffered and
// flushed to no file. Failures never stop the caller; `failed()` tells afterwards
// whether every byte given since `open` reached the file, which is what a careful
// save checks before it replaces the old file.
class QUILLET_API CFileByteSink final : public CByteSink {
 public:
  // Bytes the buffer holds. One less than 64 KiB: the buffer flushes as soon as the
  // count reaches it.
  static constexpr uint32_t kBufferSize = 65535;

  CFileByteSink();
  ~CFileByteSink() override;  // closes the file (flushing it first)
  CFileByteSink(const CFileByteSink&) = delete;
  CFileByteSink& operator=(const CFileByteSink&) = delete;

  // Closes any file already open (flushing it), then creates or truncates `path` for
  // binary writing. True when the file could be opened.
  bool open(const std::u16string& path);
  // The same for a path already in the platform's multibyte form.
  bool open(const std::string& platformPath);
  // Closes any file already open, then writes to `descriptor`, which stays the
  // caller's: close() flushes but leaves it open.
  void attach(int descriptor);
  // Writes every waiting byte to the file in one write and empties the buffer.
  void flush();
  // Flushes, then closes the file if one is open.
  void close();

  // True when, since the last `open`, the file could not be opened or a write or the
  // close failed or wrote less than asked: the file does not hold what was given.
  bool failed() const { return failed_; }
  // The system's error number of the first failure (errno), 0 when there was none.
  int error() const { return error_; }
  // Bytes waiting in the buffer.
  uint32_t pending() const { return count_; }

  void putByte(unsigned char b) override;
  void writeBytes(const unsigned char* p, size_t n) override;

 private:
  void noteFailure();

  std::unique_ptr<unsigned char[]> buffer_;
  uint32_t count_ = 0;
  int handle_ = -1;
  bool owned_ = true;
  bool failed_ = false;
  int error_ = 0;
};

// Collects 16-bit characters in memory. Bytes are not decoded: a single byte becomes
// one character, and `writeBytes` joins each pair of bytes into one character in the
// machine's byte order, so the two bytes a UTF-16 little-endian encoder writes for a
// code unit come back as that code unit (on little-endian machines).
class QUILLET_API CStringByteSink final : public CByteSink {
 public:
  // Characters the buffer holds before its first growth; each growth doubles it.
  static constexpr size_t kInitialCapacity = 1024;

  CStringByteSink();
  CStringByteSink(const CStringByteSink&) = delete;
  CStringByteSink& operator=(const CStringByteSink&) = delete;

  void putByte(unsigned char b) override;
  // Stores n / 2 characters; an odd last byte is dropped.
  void writeBytes(const unsigned char* p, size_t n) override;

  // The text collected so far, up to its first 0 character.
  std::u16string text() const;
  // Characters stored, and the buffer's current capacity in characters.
  size_t size() const { return count_; }
  size_t capacity() const { return capacity_; }

 private:
  void store(char16_t c);

  std::unique_ptr<char16_t[]> buffer_;
  size_t capacity_ = kInitialCapacity;
  size_t count_ = 0;
};

}  // namespace quillet::xml

#endif
