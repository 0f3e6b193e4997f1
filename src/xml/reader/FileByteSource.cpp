#include "quillet/xml/FileByteSource.h"

#include "platform/Platform.h"

namespace quillet::xml {

CFileByteSource::CFileByteSource(std::size_t blockSize) : blockSize_(blockSize == 0 ? 1 : blockSize) {}

CFileByteSource::~CFileByteSource() {
  if (descriptor_ != -1) {
    platform::CloseFile(descriptor_);
    descriptor_ = -1;
  }
}

int CFileByteSource::attach(int descriptor) {
  if (descriptor_ != -1 && descriptor_ != descriptor) platform::CloseFile(descriptor_);
  descriptor_ = descriptor;
  if (!buffer_) buffer_ = std::make_unique<unsigned char[]>(blockSize_);
  setWindow(0, 0);
  filePosition_ = 0;
  return platform::SeekFile(descriptor, 0) == 0 ? kByteSourceOk : kByteSourceSeekFailed;
}

// Reads the next block. On failure the buffer stays as it was, so that bytes already
// read can still be stepped back over.
int CFileByteSource::refill() {
  if (descriptor_ == -1 || !buffer_) return kByteSourceEndOfInput;
  const long n = platform::ReadFile(descriptor_, buffer_.get(), blockSize_);
  if (n <= 0) return kByteSourceEndOfInput;
  setWindow(static_cast<std::size_t>(n), 0);
  filePosition_ += n;
  return kByteSourceOk;
}

int CFileByteSource::peekByte(unsigned char& byte) {
  if (next_ == end_) {
    if (const int r = refill()) return r;
  }
  byte = *next_;
  return kByteSourceOk;
}

int CFileByteSource::readByte(unsigned char& byte) {
  if (next_ == end_) {
    if (const int r = refill()) return r;
  }
  byte = *next_++;
  return kByteSourceOk;
}

int CFileByteSource::skipByte() {
  unsigned char scratch;
  return readByte(scratch);
}

int CFileByteSource::unreadByte() {
  if (buffer_ && next_ != buffer_.get()) {
    --next_;
    return kByteSourceOk;
  }
  const long bufferStart = filePosition_ - (buffer_ ? valid() : 0);
  if (bufferStart <= 0) return kByteSourceCannotStepBack;
  // Step back across the block boundary: read the bytes just before this buffer again
  // (a whole block, or fewer near the start of the file).
  const long block = static_cast<long>(blockSize_);
  const long blockStart = bufferStart > block ? bufferStart - block : 0;
  if (platform::SeekFile(descriptor_, blockStart) != blockStart) return kByteSourceSeekFailed;
  const std::size_t wanted = static_cast<std::size_t>(bufferStart - blockStart);
  std::size_t got = 0;
  while (got < wanted) {
    const long n = platform::ReadFile(descriptor_, buffer_.get() + got, wanted - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got != wanted) return kByteSourceEndOfInput;
  setWindow(got, got - 1);
  filePosition_ = bufferStart;
  return kByteSourceOk;
}

int CFileByteSource::tell(long& position) {
  position = buffer_ ? filePosition_ - valid() + offset() : filePosition_;
  return kByteSourceOk;
}

int CFileByteSource::seek(long position) {
  if (buffer_) {
    const long bufferStart = filePosition_ - valid();
    if (position >= bufferStart && position <= filePosition_) {
      next_ = buffer_.get() + (position - bufferStart);
      return kByteSourceOk;
    }
  }
  if (descriptor_ == -1 || !buffer_ || platform::SeekFile(descriptor_, position) != position) {
    return kByteSourceSeekFailed;
  }
  filePosition_ = position;
  setWindow(0, 0);
  refill();  // at the end of the file the buffer stays empty; the next read reports it
  return kByteSourceOk;
}

}  // namespace quillet::xml
