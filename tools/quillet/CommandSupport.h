// What the collection commands share: reporting failures in one form, checking texts
// against the prefix's code page, calling exports with a fresh last-error text, and
// reading texts of any length through the sized C calls.
#ifndef QUILLET_TOOL_COMMANDSUPPORT_H
#define QUILLET_TOOL_COMMANDSUPPORT_H

#include <functional>
#include <string>
#include <vector>

namespace quillet::tool {

// The tool's texts (its command line, its output) are UTF-8 on every system; the
// library's are in the ANSI code page, which is UTF-8 too except on Windows. ToAnsi
// converts a text for a library call, FromAnsi a text the library gave back; neither
// changes anything elsewhere than on Windows. A character the code page lacks becomes
// "?" on the way in: check texts that matter with CheckCodePageText first.
std::string ToAnsi(const std::string& utf8);
std::string FromAnsi(const std::string& ansi);

// Writes "quillet: COMMAND: MESSAGE" (or "quillet: MESSAGE" for an empty command) to
// standard error, leaves `code` as the exit code and returns it.
int Fail(const std::string& command, int code, const std::string& message);

// Empties the library's last-error text, so that after the next call a non-empty
// text is known to come from that call and not from an earlier one.
void ForgetLastError();

// Leaves `code` as the tool's exit code (170, a file that could not be written,
// becomes 1). For a failure (non-zero) it reports the library's last-error text, or,
// when the call set none, the code's meaning. Returns the exit code.
int Finish(int code, const std::string& command);

// Whether `value`, the text of `option`, can be written in the prefix's ANSI code page
// (in which HTML Help reads its files). When not, reports which character cannot
// ("'Д' (U+0414) cannot be written in code page 1252"), or that the text is not UTF-8,
// sets exit code 2 and returns false: nothing has been read or written yet.
bool CheckCodePageText(const std::string& command, const std::string& option, const std::string& value);

// The candidate closest to `word` in spelling, when one is close enough to be a likely
// typing error; "" otherwise.
std::string ClosestMatch(const std::string& word, const std::vector<std::string>& candidates);

// Reads a text through a sized call (a QuilletC...Sized function bound to its
// handle), growing the buffer until the text fits. Returns the call's result (160 for
// a text past a gigabyte); `text` is set only on 0.
int ReadSized(const std::function<int(char*, unsigned long)>& call, std::string& text);

// The two kinds of file the collection commands read.
enum class HelpFileKind {
  kRegistry,    // a collection registry: Collections or DocCompilations below the root
  kCollection,  // a collection file: root HTMLHelpCollection (any letter case) with Folders
};

// What is wrong with a file (an ANSI path) given to a command, and the exit code that says so: 0 and
// "" when it is of the kind the command needs. A file that is not a regular file, or
// of the wrong kind, gives kExitFailed; a missing file or one that is not well-formed
// gives the code the library gives it (5 or 110 for a registry, 110 for a
// collection). The message names the file: "/tmp is a directory, not a file",
// "x.dat is not a collection file: its root element is HTMLHelpDocInfo, not
// HTMLHelpCollection", "x.col is not well-formed XML (line 3, column 7: ...)".
struct FileProblem {
  int code = 0;
  std::string message;
};
FileProblem CheckHelpFile(const std::string& path, HelpFileKind kind);

}  // namespace quillet::tool

#endif
