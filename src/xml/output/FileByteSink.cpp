#include "quillet/xml/ByteSink.h"

#include <cerrno>
#include <cstring>

#include "platform/Platform.h"

namespace quillet::xml {

CFileByteSink::CFileByteSink() : buffer_(new unsigned char[kBufferSize]) {}

CFileByteSink::~CFileByteSink() { close(); }

bool CFileByteSink::open(const std::u16string& path) { return open(platform::WideToAnsi(path)); }

bool CFileByteSink::open(const std::string& platformPath) {
  close();
  count_ = 0;
  failed_ = false;
  error_ = 0;
  owned_ = true;
  handle_ = platform::OpenForWriting(platformPath);
  if (handle_ < 0) {
    handle_ = -1;
    noteFailure();
  }
  return handle_ >= 0;
}

void CFileByteSink::attach(int descriptor) {
  close();
  count_ = 0;
  failed_ = false;
  error_ = 0;
  owned_ = false;
  handle_ = descriptor;
}

void CFileByteSink::noteFailure() {
  if (!failed_) error_ = errno != 0 ? errno : EIO;
  failed_ = true;
}

void CFileByteSink::flush() {
  if (count_ == 0) return;
  // Bytes buffered while no file is open are dropped: they have nowhere to go, and
  // `failed_` already says so since the open that did not succeed.
  if (handle_ >= 0) {
    const long written = platform::WriteFile(handle_, buffer_.get(), count_);
    if (written != static_cast<long>(count_)) noteFailure();
  }
  count_ = 0;
}

void CFileByteSink::close() {
  flush();
  if (handle_ < 0) return;
  if (owned_ && !platform::CloseFile(handle_)) noteFailure();
  handle_ = -1;
}

void CFileByteSink::putByte(unsigned char b) {
  buffer_[count_++] = b;
  if (count_ == kBufferSize) flush();
}

void CFileByteSink::writeBytes(const unsigned char* p, size_t n) {
  if (n == 0) return;
  if (count_ + n >= kBufferSize) flush();
  if (n >= kBufferSize) {
    // Larger than the whole buffer: it could never be stored, so it goes straight to
    // the file after the bytes that were waiting.
    if (handle_ >= 0) {
      const long written = platform::WriteFile(handle_, p, n);
      if (written < 0 || static_cast<size_t>(written) != n) noteFailure();
    }
    return;
  }
  std::memcpy(buffer_.get() + count_, p, n);
  count_ += static_cast<uint32_t>(n);
}

}  // namespace quillet::xml
