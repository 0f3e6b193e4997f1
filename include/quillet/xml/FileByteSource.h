// The byte source over an open file.
#ifndef QUILLET_XML_FILEBYTESOURCE_H
#define QUILLET_XML_FILEBYTESOURCE_H

#include <cstddef>
#include <memory>

#include "quillet/export.h"
#include "quillet/xml/ByteSource.h"

namespace quillet::xml {

// Reads a file descriptor in blocks and can step back across a block boundary by
// reading the previous block again. The descriptor is owned from `attach` on and
// closed by the destructor. A failing read counts as the end of input.
class QUILLET_API CFileByteSource : public CByteSource {
 public:
  static constexpr std::size_t kDefaultBlockSize = 64000;

  // `blockSize` (at least 1) is the number of bytes read at a time; tests make it
  // small to put block boundaries everywhere.
  explicit CFileByteSource(std::size_t blockSize = kDefaultBlockSize);
  ~CFileByteSource() override;
  CFileByteSource(const CFileByteSource&) = delete;
  CFileByteSource& operator=(const CFileByteSource&) = delete;

  // Takes over a descriptor opened for binary reading and rewinds it to the start.
  // kByteSourceSeekFailed when the file cannot be rewound (the descriptor is still
  // owned and will be closed).
  int attach(int descriptor);

  int peekByte(unsigned char& byte) override;
  int readByte(unsigned char& byte) override;
  int unreadByte() override;
  int skipByte() override;
  int tell(long& position) override;
  int seek(long position) override;

 private:
  int refill();
  // Bytes of the buffer that hold file data, and the offset of the next byte; the
  // buffer's state lives in the base class's fast-path pointers.
  long valid() const { return static_cast<long>(end_ - buffer_.get()); }
  long offset() const { return static_cast<long>(next_ - buffer_.get()); }
  void setWindow(std::size_t valid, std::size_t offset) {
    end_ = buffer_.get() + valid;
    next_ = buffer_.get() + offset;
  }

  std::size_t blockSize_;
  std::unique_ptr<unsigned char[]> buffer_;
  long filePosition_ = 0;  // file position just after the buffer's contents
  int descriptor_ = -1;
};

}  // namespace quillet::xml

#endif
