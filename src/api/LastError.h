// The process-wide last-error text of the exported interface.
#ifndef QUILLET_API_LASTERROR_H
#define QUILLET_API_LASTERROR_H

#include <string>

namespace quillet {

// Replaces the last-error text with a copy of `text` (null stores the empty text).
void SetLastErrorText(const char* text);
inline void SetLastErrorText(const std::string& text) { SetLastErrorText(text.c_str()); }

// The current last-error text.
const std::string& LastErrorText();

// Copies `text` and its NUL into `buffer` of `size` bytes, cutting the text so that
// the copy never passes the buffer's end. Nothing is written for size 0 or a null buffer.
void CopyTextBounded(const std::string& text, char* buffer, unsigned long size);

}  // namespace quillet

#endif
