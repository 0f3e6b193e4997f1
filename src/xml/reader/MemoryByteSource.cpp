#include "quillet/xml/MemoryByteSource.h"

namespace quillet::xml {

int CMemoryByteSource::peekByte(unsigned char& byte) {
  if (next_ == end_) return kByteSourceEndOfInput;
  byte = *next_;
  return kByteSourceOk;
}

int CMemoryByteSource::readByte(unsigned char& byte) {
  if (next_ == end_) return kByteSourceEndOfInput;
  byte = *next_++;
  return kByteSourceOk;
}

int CMemoryByteSource::unreadByte() {
  if (next_ == data_) return kByteSourceCannotStepBack;
  --next_;
  return kByteSourceOk;
}

int CMemoryByteSource::skipByte() {
  unsigned char scratch;
  return readByte(scratch);
}

int CMemoryByteSource::tell(long& position) {
  position = static_cast<long>(next_ - data_);
  return kByteSourceOk;
}

int CMemoryByteSource::seek(long position) {
  if (position < 0 || position > end_ - data_) return kByteSourceSeekFailed;
  next_ = data_ + position;
  return kByteSourceOk;
}

}  // namespace quillet::xml
