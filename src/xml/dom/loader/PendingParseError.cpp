#include "xml/dom/loader/PendingParseError.h"

#include "xml/common/U16String.h"

namespace quillet::xml {

namespace {
// Loads run on one thread at a time (the library takes no locks), so the slot needs
// none either.
std::unique_ptr<CSAXParseException>& Slot() {
  static std::unique_ptr<CSAXParseException> slot;
  return slot;
}

// Room for one line, its line end included.
constexpr size_t kMaxLineLength = 1023;

void AppendLine(std::u16string& text, std::u16string line) {
  if (line.size() > kMaxLineLength - 1) line.resize(kMaxLineLength - 1);
  text += line;
  text += u'\n';
}

std::u16string Decimal(long value) { return U16FromAscii(std::to_string(value).c_str()); }
}  // namespace

std::unique_ptr<CSAXParseException> TakePendingParseError() { return std::move(Slot()); }

void ReplacePendingParseError(std::unique_ptr<CSAXParseException> error) { Slot() = std::move(error); }

const CSAXParseException* PeekPendingParseError() { return Slot().get(); }

std::u16string FormatParseErrorText(const CSAXParseException& error) {
  std::u16string text;
  // Each line is C text: a message with a NUL in it ends there, and the line with it.
  const std::u16string& message = error.getMessage();
  AppendLine(text, u"Error Message : " + message.substr(0, message.find(u'\0')));
  AppendLine(text, u"Error Code    : " + Decimal(error.getCode()));
  AppendLine(text, u"Error occurred near line " + Decimal(error.getLineNumber()) + u", column " +
                       Decimal(error.getColumnNumber()));
  return text;
}

}  // namespace quillet::xml
