#include "xml/reader/CharSource.h"

namespace quillet::xml {

namespace {
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
}

int CUTF8CharSource::acceptByte(unsigned char) { return kRecognised; }

int CUTF8CharSource::readChar(char16_t& c) {
  unsigned char b = 0;
  if (const int r = bytes_->readByte(b)) return r;
  if (b < 0x80) {
    length_ = 1;
    c = b;
    return 0;
  }
  // The length is recorded before the continuation bytes are read, so a push-back
  // after a truncated sequence steps back over what the sequence claimed.
  length_ = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  unsigned char c1 = 0, c2 = 0, c3 = 0;
  if (const int r = bytes_->readByte(c1)) return r;
  if (length_ == 2) {
    c = static_cast<char16_t>(((b & 0x1F) << 6) | (c1 & 0x3F));
    return 0;
  }
  if (const int r = bytes_->readByte(c2)) return r;
  if (length_ == 3) {
    c = static_cast<char16_t>(((b & 0x0F) << 12) | ((c1 & 0x3F) << 6) | (c2 & 0x3F));
    return 0;
  }
  if (const int r = bytes_->readByte(c3)) return r;
  c = static_cast<char16_t>(((c1 & 0x0F) << 12) | ((c2 & 0x3F) << 6) | (c3 & 0x3F));
  return 0;
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
