#include "xml/output/XMLDeclParser.h"

namespace quillet::xml {

namespace {
// The states, in the order a declaration passes through them.
enum State {
  kOpening = 0,          // "<?xml "
  kWhiteSpace = 1,       // optional white space, then afterWhiteSpace_
  kVersionName = 2,      // "version"
  kVersionEquals = 3,
  kVersionQuote = 4,
  kVersionValue = 5,
  kAfterVersion = 6,     // "encoding", "standalone" or "?>"
  kStandaloneName = 7,   // "standalone"
  kStandaloneEquals = 8,
  kStandaloneQuote = 9,
  kStandaloneValue = 10,
  kEncodingName = 11,    // "encoding"
  kEncodingEquals = 12,
  kEncodingQuote = 13,
  kEncodingValue = 14,
  kAfterEncoding = 15,   // "standalone" or "?>"
  kClosing = 16,         // "?>"
  kFinished = 17,        // nothing more is expected
};

constexpr char16_t kOpeningText[] = u"<?xml ";
constexpr char16_t kVersionText[] = u"version";
constexpr char16_t kStandaloneText[] = u"standalone";
constexpr char16_t kEncodingText[] = u"encoding";

bool IsWhiteSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsQuote(char16_t c) { return c == u'\'' || c == u'"'; }
bool IsAsciiAlnum(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}
bool IsVersionChar(char16_t c) {
  return IsAsciiAlnum(c) || c == u'_' || c == u'.' || c == u':' || c == u'-';
}
bool IsEncodingChar(char16_t c) { return IsAsciiAlnum(c) || c == u'_' || c == u'.' || c == u'-'; }
bool IsStandaloneChar(char16_t c) {
  return c == u'y' || c == u'e' || c == u's' || c == u'n' || c == u'o';
}
}  // namespace

int CXMLDeclParser::feed(const std::u16string& text) {
  int result = kContinue;
  for (char16_t c : text) {
    result = step(c);
    if (result != kContinue && result != kOpened) break;
  }
  return result;
}

void CXMLDeclParser::enter(int state) {
  state_ = state;
  // The states that match a literal start matching it from its first character.
  if (state == kOpening || state == kVersionName || state == kStandaloneName || state == kEncodingName ||
      state == kClosing) {
    literalIndex_ = 0;
  }
}

void CXMLDeclParser::skipWhiteSpaceThen(int state) {
  afterWhiteSpace_ = state;
  enter(kWhiteSpace);
}

int CXMLDeclParser::fail(const std::u16string& message) {
  errorMessage_ = message;
  return kError;
}

int CXMLDeclParser::step(char16_t c) {
  // A state that hands the character on to the next state loops here instead of
  // recursing.
  for (;;) {
    switch (state_) {
      case kOpening:
        if (c != kOpeningText[literalIndex_]) return kNotDecl;
        if (++literalIndex_ < 6) return kContinue;
        skipWhiteSpaceThen(kVersionName);
        return kOpened;

      case kWhiteSpace:
        if (IsWhiteSpace(c)) return kContinue;
        enter(afterWhiteSpace_);
        continue;

      case kVersionName:
        if (c != kVersionText[literalIndex_]) return fail(u"XML decl must start with a version attribute");
        if (++literalIndex_ == 7) skipWhiteSpaceThen(kVersionEquals);
        return kContinue;

      case kVersionEquals:
        if (c != u'=') return fail(u"Expecting equals after version start");
        skipWhiteSpaceThen(kVersionQuote);
        return kContinue;

      case kVersionQuote:
        if (!IsQuote(c)) return fail(u"Expecting starting quote after verison number");
        quote_ = c;
        enter(kVersionValue);
        return kContinue;

      case kVersionValue:
        if (c == quote_) {
          skipWhiteSpaceThen(kAfterVersion);
          return kContinue;
        }
        if (!IsVersionChar(c)) return fail(u"Invalid character in version string");
        version_.push_back(c);
        return kContinue;

      case kAfterVersion:
        if (c == u'e') {
          enter(kEncodingName);
        } else if (c == u's') {
          enter(kStandaloneName);
        } else if (c == u'?') {
          enter(kClosing);
        } else {
          return fail(u"Expecting encoding/standalone attribute or end of decl");
        }
        continue;

      case kStandaloneName:
        // The message names the encoding attribute although this is the standalone
        // one; callers have always seen this text.
        if (c != kStandaloneText[literalIndex_]) return fail(u"encoding attribute name string is ill formed");
        if (++literalIndex_ == 10) skipWhiteSpaceThen(kStandaloneEquals);
        return kContinue;

      case kStandaloneEquals:
        if (c != u'=') return fail(u"Expecting equals after standalone start");
        skipWhiteSpaceThen(kStandaloneQuote);
        return kContinue;

      case kStandaloneQuote:
        if (!IsQuote(c)) return fail(u"Expecting starting quote standalone EQ");
        quote_ = c;
        enter(kStandaloneValue);
        return kContinue;

      case kStandaloneValue:
        if (c == quote_) {
          skipWhiteSpaceThen(kClosing);
          return kContinue;
        }
        if (!IsStandaloneChar(c)) return fail(u"Invalid character in standalone string");
        standalone_.push_back(c);
        return kContinue;

      case kEncodingName:
        if (c != kEncodingText[literalIndex_]) return fail(u"encoding attribute name string is ill formed");
        if (++literalIndex_ == 8) skipWhiteSpaceThen(kEncodingEquals);
        return kContinue;

      case kEncodingEquals:
        if (c != u'=') return fail(u"Expecting equals after encoding start");
        skipWhiteSpaceThen(kEncodingQuote);
        return kContinue;

      case kEncodingQuote:
        if (!IsQuote(c)) return fail(u"Expecting starting quote encoding EQ");
        quote_ = c;
        enter(kEncodingValue);
        return kContinue;

      case kEncodingValue:
        if (c == quote_) {
          skipWhiteSpaceThen(kAfterEncoding);
          return kContinue;
        }
        if (!IsEncodingChar(c)) return fail(u"Invalid character in encoding string");
        encoding_.push_back(c);
        return kContinue;

      case kAfterEncoding:
        if (c == u's') {
          enter(kStandaloneName);
        } else if (c == u'?') {
          enter(kClosing);
        } else {
          return fail(u"Invalid character '" + std::u16string(1, c) + u"' - expecting SDDecl or end of PI");
        }
        continue;

      case kClosing:
        if (literalIndex_ == 0 && c == u'?') {
          literalIndex_ = 1;
          return kContinue;
        }
        if (literalIndex_ == 1 && c == u'>') {
          enter(kFinished);
          return kComplete;
        }
        return fail(u"XML decl must end with '?>'");

      default:
        return fail(u"Unexpected state in xmldecl parse unit");
    }
  }
}

}  // namespace quillet::xml
