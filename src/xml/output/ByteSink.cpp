#include "quillet/xml/ByteSink.h"

#include <cstring>

namespace quillet::xml {

CByteSink::~CByteSink() = default;

// --- CStringByteSink -------------------------------------------------------------------

CStringByteSink::CStringByteSink() : buffer_(new char16_t[kInitialCapacity]) {}

void CStringByteSink::store(char16_t c) {
  buffer_[count_++] = c;
  if (count_ == capacity_) {
    std::unique_ptr<char16_t[]> bigger(new char16_t[capacity_ * 2]);
    std::memcpy(bigger.get(), buffer_.get(), count_ * sizeof(char16_t));
    buffer_ = std::move(bigger);
    capacity_ *= 2;
  }
}

void CStringByteSink::putByte(unsigned char b) { store(b); }

void CStringByteSink::writeBytes(const unsigned char* p, size_t n) {
  for (size_t i = 0; i + 1 < n; i += 2) {
    char16_t c;
    std::memcpy(&c, p + i, sizeof c);  // the machine's byte order
    store(c);
  }
}

std::u16string CStringByteSink::text() const {
  size_t end = 0;
  while (end < count_ && buffer_[end] != 0) ++end;
  return std::u16string(buffer_.get(), end);
}

}  // namespace quillet::xml
