#include "xml/output/OutputEncoder.h"

#include "platform/Platform.h"
#include "xml/common/AsciiBlocks.h"
#include "xml/common/U16String.h"

namespace quillet::xml {

COutputEncoder::~COutputEncoder() = default;

void COutputEncoder::begin() {}
void COutputEncoder::end() {}

void COutputEncoder::write(const char16_t* s, size_t n) {
  for (size_t i = 0; i < n; ++i) putChar(s[i]);
}

// `encode` is a lambda, a type of its own each time, so that every encoder gets a loop
// with its encoding inlined.
template <typename Encode>
void COutputEncoder::writeBuffered(const char16_t* s, size_t n, Encode encode, bool ascii) {
  if (n == 0) return;
  if (!buffer_) buffer_.reset(new unsigned char[kBufferBytes]);
  unsigned char* const start = buffer_.get();
  // Room for one more code unit, or for a block of them.
  unsigned char* const last = start + kBufferBytes - 3 - (ascii ? kAsciiUnitBlock : 0);
  unsigned char* out = start;
  for (const char16_t* end = s + n; s != end; ++s) {
    if (out > last) {
      sink_->writeBytes(start, static_cast<size_t>(out - start));
      out = start;
    }
    // Runs of ASCII, one byte a unit in every encoding that comes here, go up to eight
    // units at a time.
    if (ascii && static_cast<size_t>(end - s) >= kAsciiUnitBlock) {
      if (const size_t units = NarrowAsciiUnits(s, out); units != 0) {
        out += units;
        s += units - 1;
        continue;
      }
    }
    out += encode(*s, out);
  }
  sink_->writeBytes(start, static_cast<size_t>(out - start));
}

namespace {

bool IsStringSink(const CByteSink* sink) { return dynamic_cast<const CStringByteSink*>(sink) != nullptr; }

int EncodeUtf8(char16_t c, unsigned char* out) {
  if (c < 0x80) {
    out[0] = static_cast<unsigned char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
    out[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 2;
  }
  out[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
  out[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
  out[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
  return 3;
}

int EncodeLittleEndian(char16_t c, unsigned char* out) {
  out[0] = static_cast<unsigned char>(c & 0xFF);
  out[1] = static_cast<unsigned char>(c >> 8);
  return 2;
}

int EncodeLowByte(char16_t c, unsigned char* out) {
  out[0] = static_cast<unsigned char>(c & 0xFF);
  return 1;
}

}  // namespace

CUTF8Encoder::CUTF8Encoder(CByteSink* sink) : COutputEncoder(sink) { oneUnitPerCall_ = IsStringSink(sink); }

int CUTF8Encoder::putChar(char16_t c) {
  unsigned char bytes[3];
  const int n = EncodeUtf8(c, bytes);
  sink_->writeBytes(bytes, static_cast<size_t>(n));
  return n;
}

void CUTF8Encoder::write(const char16_t* s, size_t n) {
  if (oneUnitPerCall_) return COutputEncoder::write(s, n);
  writeBuffered(s, n, [](char16_t c, unsigned char* out) { return EncodeUtf8(c, out); }, true);
}

void CUTF16Encoder::begin() {
  // Each byte of the mark goes in a write of its own: a string sink keeps only whole
  // byte pairs, so it drops the mark instead of storing U+FEFF before the text.
  static const unsigned char kFF = 0xFF, kFE = 0xFE;
  sink_->writeBytes(&kFF, 1);
  sink_->writeBytes(&kFE, 1);
}

int CUTF16Encoder::putChar(char16_t c) {
  unsigned char bytes[2];
  sink_->writeBytes(bytes, static_cast<size_t>(EncodeLittleEndian(c, bytes)));
  return 2;
}

void CUTF16Encoder::write(const char16_t* s, size_t n) { writeBuffered(s, n, [](char16_t c, unsigned char* out) { return EncodeLittleEndian(c, out); }); }

int CUnicodeEncoder::putChar(char16_t c) {
  unsigned char bytes[2];
  sink_->writeBytes(bytes, static_cast<size_t>(EncodeLittleEndian(c, bytes)));
  return 2;
}

void CUnicodeEncoder::write(const char16_t* s, size_t n) { writeBuffered(s, n, [](char16_t c, unsigned char* out) { return EncodeLittleEndian(c, out); }); }

CSingleByteEncoder::CSingleByteEncoder(CByteSink* sink) : COutputEncoder(sink) { oneUnitPerCall_ = IsStringSink(sink); }

int CSingleByteEncoder::putChar(char16_t c) {
  unsigned char byte;
  sink_->writeBytes(&byte, static_cast<size_t>(EncodeLowByte(c, &byte)));
  return 1;
}

void CSingleByteEncoder::write(const char16_t* s, size_t n) {
  if (oneUnitPerCall_) return COutputEncoder::write(s, n);
  writeBuffered(s, n, [](char16_t c, unsigned char* out) { return EncodeLowByte(c, out); }, true);
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
