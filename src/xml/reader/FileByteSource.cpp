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
  valid_ = 0;
  read_ = 0;
  filePosition_ = 0;
  return platform::SeekFile(descriptor, 0) == 0 ? kByteSourceOk : kByteSourceSeekFailed;
}

// Reads the next block. On failure the buffer stays as it was, so that bytes already
// read can still be stepped back over.
int CFileByteSource::refill() {
  if (descriptor_ == -1 || !buffer_) return kByteSourceEndOfInput;
  const long n = platform::ReadFile(descriptor_, buffer_.get(), blockSize_);
  if (n <= 0) return kByteSourceEndOfInput;
  valid_ = static_cast<std::size_t>(n);
  read_ = 0;
  filePosition_ += n;
  return kByteSourceOk;
}

int CFileByteSource::peekByte(unsigned char& byte) {
  if (read_ == valid_) {
    if (const int r = refill()) return r;
  }
  byte = buffer_[read_];
  return kByteSourceOk;
}

int CFileByteSource::readByte(unsigned char& byte) {
  if (read_ == valid_) {
    if (const int r = refill()) return r;
  }
  byte = buffer_[read_++];
  return kByteSourceOk;
}

int CFileByteSource::skipByte() {
  unsigned char scratch;
  return readByte(scratch);
}

int CFileByteSource::unreadByte() {
  if (read_ > 0) {
    --read_;
    return kByteSourceOk;
  }
  const long bufferStart = filePosition_ - static_cast<long>(valid_);
  if (bufferStart <= 0) return kByteSourceCannotStepBack;
  // Step back across the block boundary: read the bytes just before this buffer again
  // (a whole block, or fewer near the start of the file).
  const long blockStart = bufferStart > static_cast<long>(blockSize_) ? bufferStart - static_cast<long>(blockSize_) : 0;
  if (platform::SeekFile(descriptor_, blockStart) != blockStart) return kByteSourceSeekFailed;
  const std::size_t wanted = static_cast<std::size_t>(bufferStart - blockStart);
  std::size_t got = 0;
  while (got < wanted) {
    const long n = platform::ReadFile(descriptor_, buffer_.get() + got, wanted - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got != wanted) return kByteSourceEndOfInput;
  valid_ = got;
  filePosition_ = blockStart + static_cast<long>(got);
  read_ = got - 1;
  return kByteSourceOk;
}

int CFileByteSource::tell(long& position) {
  position = filePosition_ - static_cast<long>(valid_) + static_cast<long>(read_);
  return kByteSourceOk;
}

int CFileByteSource::seek(long position) {
  const long bufferStart = filePosition_ - static_cast<long>(valid_);
  if (position >= bufferStart && position <= filePosition_ && buffer_) {
    read_ = static_cast<std::size_t>(position - bufferStart);
    return kByteSourceOk;
  }
  if (descriptor_ == -1 || platform::SeekFile(descriptor_, position) != position) return kByteSourceSeekFailed;
  filePosition_ = position;
  valid_ = 0;
  read_ = 0;
  refill();  // at the end of the file the buffer stays empty; the next read reports it
  return kByteSourceOk;
}

}  // namespace quillet::xml
