// Shared helpers of the output tests.
#ifndef QUILLET_TESTS_XML_OUTPUT_OUTPUTTESTSUPPORT_H
#define QUILLET_TESTS_XML_OUTPUT_OUTPUTTESTSUPPORT_H

#include <string>

#include "quillet/xml/ByteSink.h"

namespace quillet::xml {

// Collects the bytes exactly as they are handed over.
class VectorSink : public CByteSink {
 public:
  void putByte(unsigned char b) override { bytes.push_back(static_cast<char>(b)); }
  void writeBytes(const unsigned char* p, size_t n) override { bytes.append(reinterpret_cast<const char*>(p), n); }
  std::string bytes;
};

}  // namespace quillet::xml

#endif
