#include "quillet/xml/MemoryByteSource.h"

namespace quillet::xml {

int CMemoryByteSource::peekByte(unsigned char& byte) {
  if (position_ >= size_) return kByteSourceEndOfInput;
  byte = data_[position_];
  return kByteSourceOk;
}

int CMemoryByteSource::readByte(unsigned char& byte) {
  if (position_ >= size_) return kByteSourceEndOfInput;
  byte = data_[position_++];
  return kByteSourceOk;
}

int CMemoryByteSource::unreadByte() {
  if (position_ == 0) return kByteSourceCannotStepBack;
  --position_;
  return kByteSourceOk;
}

int CMemoryByteSource::skipByte() {
  unsigned char scratch;
  return readByte(scratch);
}

int CMemoryByteSource::tell(long& position) {
  position = static_cast<long>(position_);
  return kByteSourceOk;
}

int CMemoryByteSource::seek(long position) {
  if (position < 0 || static_cast<std::size_t>(position) > size_) return kByteSourceSeekFailed;
  position_ = static_cast<std::size_t>(position);
  return kByteSourceOk;
}

}  // namespace quillet::xml
