// What the collection commands share: calling an export with a fresh last-error text,
// reporting its failure, and reading texts of any length through the sized C calls.
#ifndef QUILLET_TOOL_COMMANDSUPPORT_H
#define QUILLET_TOOL_COMMANDSUPPORT_H

#include <functional>
#include <string>

namespace quillet::tool {

// Empties the library's last-error text, so that after the next call a non-empty
// text is known to come from that call and not from an earlier one.
void ForgetLastError();

// Leaves `code` as the tool's exit code. For a failure (non-zero) it writes the
// library's last-error text to standard error, or, when the call set none, a line
// naming what failed and the code's meaning. Returns `code`.
int Finish(int code, const std::string& what);

// Reads a text through a sized call (a QuilletC...Sized function bound to its
// handle), growing the buffer until the text fits. Returns the call's result (160 for
// a text past a gigabyte); `text` is set only on 0.
int ReadSized(const std::function<int(char*, unsigned long)>& call, std::string& text);

}  // namespace quillet::tool

#endif
