// A byte source over bytes the caller already holds.
#ifndef QUILLET_XML_MEMORYBYTESOURCE_H
#define QUILLET_XML_MEMORYBYTESOURCE_H

#include <cstddef>

#include "quillet/export.h"
#include "quillet/xml/ByteSource.h"

namespace quillet::xml {

// Reads the caller's buffer, which must outlive the source; nothing is copied.
class QUILLET_API CMemoryByteSource : public CByteSource {
 public:
  CMemoryByteSource(const void* data, std::size_t size) : data_(static_cast<const unsigned char*>(data)) {
    next_ = data_;
    end_ = data_ + size;
  }

  int peekByte(unsigned char& byte) override;
  int readByte(unsigned char& byte) override;
  int unreadByte() override;
  int skipByte() override;
  int tell(long& position) override;
  // A position past the end fails with kByteSourceSeekFailed and changes nothing.
  int seek(long position) override;

 private:
  const unsigned char* data_;  // the whole input is [data_, end_); next_ is the next byte
};

}  // namespace quillet::xml

#endif
