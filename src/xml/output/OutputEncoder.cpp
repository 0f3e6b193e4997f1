#include "xml/output/OutputEncoder.h"

#include "platform/Platform.h"
#include "xml/common/U16String.h"

namespace quillet::xml {

COutputEncoder::~COutputEncoder() = default;

void COutputEncoder::begin() {}
void COutputEncoder::end() {}

void COutputEncoder::write(const char16_t* s, size_t n) {
  for (size_t i = 0; i < n; ++i) putChar(s[i]);
}

int CUTF8Encoder::putChar(char16_t c) {
  unsigned char bytes[3];
  int n;
  if (c < 0x80) {
    bytes[0] = static_cast<unsigned char>(c);
    n = 1;
  } else if (c < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
    bytes[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    n = 2;
  } else {
    bytes[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
    bytes[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    n = 3;
  }
  sink_->writeBytes(bytes, static_cast<size_t>(n));
  return n;
}

void CUTF16Encoder::begin() {
  // Each byte of the mark goes in a write of its own: a string sink keeps only whole
  // byte pairs, so it drops the mark instead of storing U+FEFF before the text.
  static const unsigned char kFF = 0xFF, kFE = 0xFE;
  sink_->writeBytes(&kFF, 1);
  sink_->writeBytes(&kFE, 1);
}

namespace {
int PutLittleEndian(CByteSink* sink, char16_t c) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>(c >> 8)};
  sink->writeBytes(bytes, 2);
  return 2;
}
}  // namespace

int CUTF16Encoder::putChar(char16_t c) { return PutLittleEndian(sink_, c); }

int CUnicodeEncoder::putChar(char16_t c) { return PutLittleEndian(sink_, c); }

int CSingleByteEncoder::putChar(char16_t c) {
  const unsigned char byte = static_cast<unsigned char>(c & 0xFF);
  sink_->writeBytes(&byte, 1);
  return 1;
}

void CCodePageEncoder::begin() {
  text_.clear();
  failed_ = false;
  failedCharacter_ = 0;
}

int CCodePageEncoder::putChar(char16_t c) {
  text_.push_back(c);
  return 0;
}

void CCodePageEncoder::write(const char16_t* s, size_t n) { text_.append(s, n); }

void CCodePageEncoder::end() {
  std::string bytes;
  size_t failedAt = 0;
  if (!platform::EncodeCodePage(codePage_, text_, bytes, failedAt)) {
    failed_ = true;
    failedCharacter_ = failedAt < text_.size() ? CharacterAt(text_, failedAt) : 0;
    return;
  }
  sink_->writeBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

namespace {
enum class EncoderKind { kSingleByte, kUtf16, kUtf8, kUnicode };

struct EncodingName {
  const char16_t* name;
  EncoderKind kind;
};

// Looked up in this order; the first exact match wins. Separate from the reader's
// list of input encodings on purpose: the two accept different names.
constexpr EncodingName kEncodingNames[] = {
    {u"ASCII", EncoderKind::kSingleByte}, {u"ISO-8859-1", EncoderKind::kSingleByte},
    {u"UTF16", EncoderKind::kUtf16},      {u"UTF-16", EncoderKind::kUtf16},
    {u"UTF8", EncoderKind::kUtf8},        {u"UTF-8", EncoderKind::kUtf8},
    {u"UNICODE", EncoderKind::kUnicode},
};
}  // namespace

std::unique_ptr<COutputEncoder> CreateOutputEncoder(const std::u16string& name, CByteSink* sink) {
  for (const EncodingName& entry : kEncodingNames) {
    if (name != entry.name) continue;
    switch (entry.kind) {
      case EncoderKind::kSingleByte: return std::make_unique<CSingleByteEncoder>(sink);
      case EncoderKind::kUtf16: return std::make_unique<CUTF16Encoder>(sink);
      case EncoderKind::kUtf8: return std::make_unique<CUTF8Encoder>(sink);
      case EncoderKind::kUnicode: return std::make_unique<CUnicodeEncoder>(sink);
    }
  }
  return nullptr;
}

}  // namespace quillet::xml
