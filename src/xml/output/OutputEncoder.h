// Output encoders: turn the writer's 16-bit code units into bytes for a byte sink.
// The writer picks one by the encoding name a document was loaded with.
#ifndef QUILLET_XML_OUTPUT_OUTPUTENCODER_H
#define QUILLET_XML_OUTPUT_OUTPUTENCODER_H

#include <cstddef>
#include <memory>
#include <string>

#include "quillet/xml/ByteSink.h"

namespace quillet::xml {

// Encodes code units into a borrowed sink. `putChar` hands the sink the bytes of one
// code unit in one call; `write` encodes a whole run into a buffer of the encoder's own
// and hands it over one buffer at a time, which is what the writer uses. Either way
// the sink receives the same bytes in the same order, and nothing stays behind in the
// encoder when a call returns. `begin` and `end` frame a whole document (only the
// UTF-16 encoder writes anything there: its byte-order mark).
class COutputEncoder {
 public:
  explicit COutputEncoder(CByteSink* sink) : sink_(sink) {}
  virtual ~COutputEncoder();
  COutputEncoder(const COutputEncoder&) = delete;
  COutputEncoder& operator=(const COutputEncoder&) = delete;

  virtual void begin();
  virtual void end();
  // Writes the bytes of one code unit to the sink in one call; returns their number.
  virtual int putChar(char16_t c) = 0;
  // Writes the `n` code units of `s`, in order. This base version calls putChar for
  // each; the encoders below encode in bulk.
  virtual void write(const char16_t* s, size_t n);

  void write(const std::u16string& s) { write(s.data(), s.size()); }

 protected:
  // Bytes an encoder gathers before it hands them to the sink.
  static constexpr size_t kBufferBytes = 16384;

  // Encodes `s` with `encode(code unit, out)`, which stores at most three bytes at out
  // and returns how many, into buffer_, handing it to the sink whenever it may not
  // hold three more bytes and once at the end. With `ascii`, the encoding writes an
  // ASCII unit as its one byte, and runs of them are narrowed in blocks.
  template <typename Encode>
  void writeBuffered(const char16_t* s, size_t n, Encode encode, bool ascii = false);

  CByteSink* sink_;
  // A string sink makes one character of each byte pair of a call and drops an odd
  // byte, so the boundaries of its calls matter: encoders of one byte a code unit
  // write to it one code unit a call, as putChar does.
  bool oneUnitPerCall_ = false;

 private:
  std::unique_ptr<unsigned char[]> buffer_;
};

// UTF-8: a surrogate is not paired with its partner, so each half becomes its own
// three-byte sequence.
class CUTF8Encoder final : public COutputEncoder {
 public:
  explicit CUTF8Encoder(CByteSink* sink);
  int putChar(char16_t c) override;
  void write(const char16_t* s, size_t n) override;
};

// UTF-16 little-endian, preceded by the byte-order mark FF FE.
class CUTF16Encoder final : public COutputEncoder {
 public:
  using COutputEncoder::COutputEncoder;
  void begin() override;
  int putChar(char16_t c) override;
  void write(const char16_t* s, size_t n) override;
};

// UTF-16 little-endian without a byte-order mark.
class CUnicodeEncoder final : public COutputEncoder {
 public:
  using COutputEncoder::COutputEncoder;
  int putChar(char16_t c) override;
  void write(const char16_t* s, size_t n) override;
};

// One byte per code unit: its low 8 bits, with no check and no substitution.
class CSingleByteEncoder final : public COutputEncoder {
 public:
  explicit CSingleByteEncoder(CByteSink* sink);
  int putChar(char16_t c) override;
  void write(const char16_t* s, size_t n) override;
};

// The "<XML>" form's single bytes in a Windows code page instead of the low 8 bits.
// The text is gathered and converted in one piece at end() (a code page may take two
// bytes for a character, and a surrogate pair is one character), so nothing reaches
// the sink before end(). When the code page cannot hold a character, end() writes
// nothing at all and failed() tells which character it was.
class CCodePageEncoder final : public COutputEncoder {
 public:
  CCodePageEncoder(CByteSink* sink, unsigned codePage) : COutputEncoder(sink), codePage_(codePage) {}
  void begin() override;
  void end() override;
  // Gathers the code unit; no byte is written yet, so it returns 0.
  int putChar(char16_t c) override;
  void write(const char16_t* s, size_t n) override;

  // Whether end() refused the text; then failedCharacter() is the first character the
  // code page cannot hold (0 when the code page itself is not supported here).
  bool failed() const { return failed_; }
  char32_t failedCharacter() const { return failedCharacter_; }
  unsigned codePage() const { return codePage_; }

 private:
  unsigned codePage_;
  std::u16string text_;
  bool failed_ = false;
  char32_t failedCharacter_ = 0;
};

// The encoder for an encoding name, writing to `sink`: "ASCII" and "ISO-8859-1"
// single byte, "UTF16" and "UTF-16" UTF-16 with a byte-order mark, "UTF8" and "UTF-8"
// UTF-8, "UNICODE" UTF-16 without one. Names compare exactly, letter case included;
// any other name gives null.
std::unique_ptr<COutputEncoder> CreateOutputEncoder(const std::u16string& name, CByteSink* sink);

}  // namespace quillet::xml

#endif
