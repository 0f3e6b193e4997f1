#include "xml/reader/CharSource.h"

namespace quillet::xml {

namespace {
// The lenient decoding of a sequence of `length` bytes (see CUTF8CharSource).
char16_t DecodeUtf8(int length, unsigned char b, unsigned char c1, unsigned char c2, unsigned char c3) {
  switch (length) {
    case 2: return static_cast<char16_t>(((b & 0x1F) << 6) | (c1 & 0x3F));
    case 3: return static_cast<char16_t>(((b & 0x0F) << 12) | ((c1 & 0x3F) << 6) | (c2 & 0x3F));
    default: return static_cast<char16_t>(((c1 & 0x0F) << 12) | ((c2 & 0x3F) << 6) | (c3 & 0x3F));
  }
}

int SequenceLength(unsigned char lead) { return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

int stepBack(CByteSource* bytes, int count) {
  for (int i = 0; i < count; ++i) {
    if (const int r = bytes->unreadByte()) return r;
  }
  return 0;
}
}  // namespace

void CUTF8CharSource::attach(CByteSource* bytes) {
  bytes_ = bytes;
  length_ = 0;
  buffered_ = false;
}

int CUTF8CharSource::acceptByte(unsigned char) { return kRecognised; }

int CUTF8CharSource::readChar(char16_t& c) {
  buffered_ = false;
  unsigned char b = 0;
  if (const int r = bytes_->readByte(b)) return r;
  if (b < 0x80) {
    length_ = 1;
    c = b;
    return 0;
  }
  // The length is recorded before the continuation bytes are read, so a push-back
  // after a truncated sequence steps back over what the sequence claimed.
  length_ = SequenceLength(b);
  unsigned char c1 = 0, c2 = 0, c3 = 0;
  if (const int r = bytes_->readByte(c1)) return r;
  if (length_ > 2) {
    if (const int r = bytes_->readByte(c2)) return r;
  }
  if (length_ > 3) {
    if (const int r = bytes_->readByte(c3)) return r;
  }
  c = DecodeUtf8(length_, b, c1, c2, c3);
  return 0;
}

std::size_t CUTF8CharSource::readBufferedRun(unsigned char asciiClass, bool wide, std::u16string& out) {
  const unsigned char* const begin = bytes_->bufferedBegin();
  const unsigned char* const end = bytes_->bufferedEnd();
  const unsigned char* p = begin;
  CRunAppender run(out);
  const CAsciiBlockScanner blocks(wide ? BlockStopsOf(asciiClass) : AsciiBlockStops{});
  int last = 0;
  while (p != end) {
    if (blocks.usable() && static_cast<std::size_t>(end - p) >= kAsciiBlockSize) {
      const std::size_t n = blocks.widen(p, run.blockSpace());
      run.take(n);
      p += n;
      if (n != 0) last = 1;
      if (n == kAsciiBlockSize) continue;
    }
    const unsigned char b = *p;
    if (IsByteOf(b, asciiClass)) {
      run.put(b);
      ++p;
      last = 1;
      continue;
    }
    if (!wide || b < 0x80) break;
    // A sequence the buffer cuts off, or one that decodes to ASCII (an overlong form,
    // which may be markup), is left to readChar and the grammar.
    const int length = SequenceLength(b);
    if (end - p < length) break;
    const char16_t c = DecodeUtf8(length, b, p[1], length > 2 ? p[2] : 0, length > 3 ? p[3] : 0);
    if (c < 0x80) break;
    run.put(c);
    p += length;
    last = length;
  }
  bytes_->skipBuffered(static_cast<std::size_t>(p - begin));
  if (last != 0) noteBuffered(last);
  return run.finish();
}

int CUTF8CharSource::ungetChar() {
  const int count = length_;
  length_ = 0;  // a second push-back in a row does nothing
  return stepBack(bytes_, count);
}

int CUTF8CharSource::peekChar(char16_t& c) {
  const int before = length_;
  if (const int r = readChar(c)) {
    length_ = before;
    return r;
  }
  const int r = stepBack(bytes_, length_);
  length_ = before;
  return r;
}

int CUTF8CharSource::skipChar() {
  char16_t c;
  return readChar(c);
}

void CUTF16CharSource::attach(CByteSource* bytes) {
  bytes_ = bytes;
  state_ = kStart;
}

int CUTF16CharSource::acceptByte(unsigned char byte) {
  switch (state_) {
    case kStart:
      if (byte == 0xFF) { state_ = kSeenFF; return kNeedMore; }
      if (byte == 0xFE) { state_ = kSeenFE; return kNeedMore; }
      return kNotThisEncoding;
    case kSeenFF:
      if (byte == 0xFE) { state_ = kLittleEndian; return kRecognised; }
      return kNotThisEncoding;
    case kSeenFE:
      if (byte == 0xFF) { state_ = kBigEndian; return kRecognised; }
      return kNotThisEncoding;
    default:
      return kNotThisEncoding;
  }
}

std::size_t CUTF16CharSource::readBufferedRun(unsigned char asciiClass, bool wide, std::u16string& out) {
  const unsigned char* const begin = bytes_->bufferedBegin();
  const unsigned char* const end = bytes_->bufferedEnd();
  // As readChar: anything but little-endian reads big-endian.
  const std::size_t high = state_ == kLittleEndian ? 1 : 0;
  const unsigned char* p = begin;
  CRunAppender run(out);
  while (end - p >= 2) {
    const char16_t unit = static_cast<char16_t>(p[high] << 8 | p[1 - high]);
    if (!(unit < 0x80 ? IsByteOf(static_cast<unsigned char>(unit), asciiClass) : wide)) break;
    run.put(unit);
    p += 2;
  }
  bytes_->skipBuffered(static_cast<std::size_t>(p - begin));
  return run.finish();
}

int CUTF16CharSource::readChar(char16_t& c) {
  unsigned char b0 = 0, b1 = 0;
  if (const int r = bytes_->readByte(b0)) return r;
  if (const int r = bytes_->readByte(b1)) return r;
  c = state_ == kLittleEndian ? static_cast<char16_t>(b1 << 8 | b0) : static_cast<char16_t>(b0 << 8 | b1);
  return 0;
}

int CUTF16CharSource::ungetChar() { return stepBack(bytes_, 2); }

int CUTF16CharSource::peekChar(char16_t& c) {
  if (const int r = readChar(c)) return r;
  return stepBack(bytes_, 2);
}

int CUTF16CharSource::skipChar() {
  if (const int r = bytes_->skipByte()) return r;
  return bytes_->skipByte();
}

}  // namespace quillet::xml
